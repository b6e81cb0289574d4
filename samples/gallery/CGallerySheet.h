#pragma once
#include <windows.h>

// The gallery's property sheet and wizard: the same two pages, shown modally either way.
class CGallerySheet {
public:
    // Runs the sheet until it closes; returns what PropertySheet returned.
    static INT_PTR Show(HINSTANCE instance, HWND owner, bool wizard);

private:
    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
};
