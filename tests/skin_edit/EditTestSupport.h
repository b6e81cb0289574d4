#pragma once
// A parent that answers each control-colour request with a colour of its own and remembers which
// request each control made last; pixels of windows as the screen shows them.
#include <windows.h>

#include <map>
#include <memory>

#include "SkinTestSupport.h"

namespace edittest {

const COLORREF kEditColour = RGB(250, 240, 200);
const COLORREF kStaticColour = RGB(200, 230, 250);
const COLORREF kListColour = RGB(220, 250, 210);

// Last WM_CTLCOLOR* message per control.
std::map<HWND, UINT>& LastColourRequest();
// A top-most popup of the test parent class.
HWND CreateParent(int x, int y, int w, int h);
// The window's whole rectangle as the screen shows it.
std::unique_ptr<skintest::Canvas> ScreenOf(HWND hWnd);
void MovePointer(POINT screen);
void LeftButton(bool down);
// Paints the non-client area again now, and nothing of the siblings.
void RedrawFrame(HWND hWnd);

}  // namespace edittest
