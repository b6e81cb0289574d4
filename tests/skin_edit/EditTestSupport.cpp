#include "EditTestSupport.h"

#include "Input.h"
#include "SkinWindowsTestSupport.h"
#include "WindowClass.h"

namespace edittest {

namespace {

HBRUSH Solid(COLORREF colour) { return CreateSolidBrush(colour); }

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    static const HBRUSH edit = Solid(kEditColour), stat = Solid(kStaticColour), list = Solid(kListColour);
    switch (m) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: {
        LastColourRequest()[reinterpret_cast<HWND>(l)] = m;
        const COLORREF c = m == WM_CTLCOLOREDIT ? kEditColour : m == WM_CTLCOLORSTATIC ? kStaticColour : kListColour;
        SetBkColor(reinterpret_cast<HDC>(w), c);
        return reinterpret_cast<LRESULT>(m == WM_CTLCOLOREDIT ? edit : m == WM_CTLCOLORSTATIC ? stat : list);
    }
    default:
        return DefWindowProcA(h, m, w, l);
    }
}

}  // namespace

std::map<HWND, UINT>& LastColourRequest() {
    static std::map<HWND, UINT> requests;
    return requests;
}

HWND CreateParent(int x, int y, int w, int h) {
    harness::RegisterWindowClass("EditTestParent", ParentProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                 LoadCursor(nullptr, IDC_ARROW));
    return CreateWindowExA(WS_EX_TOPMOST, "EditTestParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::unique_ptr<skintest::Canvas> ScreenOf(HWND hWnd) {
    RECT r{};
    GetWindowRect(hWnd, &r);
    auto c = std::make_unique<skintest::Canvas>(r.right - r.left, r.bottom - r.top);
    harness::CopyScreen(c->dc(), r);
    return c;
}

void MovePointer(POINT screen) {
    harness::SendPointerMove(screen);
    skinwintest::Pump(150);
}

void LeftButton(bool down) {
    harness::SendLeftButton(down);
    skinwintest::Pump(150);
}

void RedrawFrame(HWND hWnd) {
    RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    skinwintest::Pump(80);
}

}  // namespace edittest
