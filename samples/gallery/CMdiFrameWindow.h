#pragma once
#include <windows.h>

// The gallery's MDI frame: a top-level window owned by the gallery, its MDI client and a few
// children, with New, Cascade and Tile on its Window menu. One frame at a time.
class CMdiFrameWindow {
public:
    // Opens the frame (or brings the open one forward).
    static HWND Open(HINSTANCE instance, HWND owner);
    // Lets the open frame's client take its keyboard shortcuts (Ctrl+F6 and the like).
    static bool TranslateAccelerators(MSG* msg);

private:
    static bool RegisterClasses(HINSTANCE instance);
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static HWND NewChild();

    static HWND s_frame;
    static HWND s_client;
    static int s_childCount;
};
