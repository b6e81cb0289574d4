#pragma once
#include <windows.h>

// A plain window of a class the gallery registers itself: it fills its client area and shows
// its text (or, without text, its class name). Serves both the gallery's own unknown class and
// the stand-ins named like classes the skin never touches.
class CCanvasWindow {
public:
    // Registers the class for this module; true when it is (or already was) ours.
    static bool Register(HINSTANCE instance, const char* className);

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void Paint(HWND hwnd);
};
