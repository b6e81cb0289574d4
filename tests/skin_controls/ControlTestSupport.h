#pragma once
// A parent window that answers every control-colour request with one known brush, controls
// created in it, their client pictures printed into canvases, and the theme's parts drawn the
// same way for comparison.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "CSkinEngine.h"
#include "SkinTestSupport.h"
#include "SkinWindowsTestSupport.h"

namespace ctltest {

constexpr COLORREF kParentColor = RGB(30, 140, 90);

// A popup of the test's own class, made once per program (a top-level window takes Wine a
// while); notifications are counted in the globals below.
HWND SharedParent();
// Destroys every child of the window.
void DestroyChildren(HWND parent);
HWND CreateControl(HWND parent, const char* className, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0,
                   int id = 100);
// The control's WM_PRINTCLIENT picture.
std::unique_ptr<skintest::Canvas> PrintClient(HWND control);
// Pixels of rect (client coordinates) that differ between two canvases of the same size.
int Differences(const skintest::Canvas& a, const skintest::Canvas& b, const RECT& rect);
// The skin object of a window as T, or null.
template <typename T>
T* SkinOf(HWND window) {
    CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(window);
    return sink ? dynamic_cast<T*>(sink->GetSkinObject()) : nullptr;
}
CSkinClassTheme* Theme(const char* className);
// Turns the skin off the way a failed load does, and on again from this program's resources.
void SkinOff();
bool SkinOn();

// What the parent saw of custom-draw notifications, and what it answers to CDDS_PREPAINT.
struct CustomDrawLog {
    int prePaint = 0;
    int postPaint = 0;
    LRESULT prePaintAnswer = CDRF_DODEFAULT;
};
extern CustomDrawLog g_customDraw;

}  // namespace ctltest
