#include "ControlTestSupport.h"

#include <commctrl.h>

#include "CSkinApiHookManager.h"
#include "WindowClass.h"

namespace ctltest {

CustomDrawLog g_customDraw;

namespace {

HBRUSH ParentBrush() {
    static HBRUSH brush = CreateSolidBrush(kParentColor);
    return brush;
}

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(ParentBrush());
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, ParentBrush());
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(l);
        if (header->code != NM_CUSTOMDRAW) return 0;
        char name[64] = "";
        GetClassNameA(header->hwndFrom, name, sizeof name);
        if (lstrcmpiA(name, TOOLBARCLASSNAMEA) != 0) return 0;
        const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(l);
        if (draw->dwDrawStage == CDDS_PREPAINT) {
            ++g_customDraw.prePaint;
            return g_customDraw.prePaintAnswer;
        }
        if (draw->dwDrawStage == CDDS_POSTPAINT) ++g_customDraw.postPaint;
        return CDRF_DODEFAULT;
    }
    default:
        return DefWindowProcA(h, m, w, l);
    }
}

}  // namespace

HWND SharedParent() {
    static HWND parent = nullptr;
    if (parent && IsWindow(parent)) return parent;
    harness::RegisterWindowClass("ControlTestParent", ParentProc, nullptr, LoadCursor(nullptr, IDC_ARROW));
    parent = CreateWindowExA(0, "ControlTestParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 400, 300,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return parent;
}

void DestroyChildren(HWND parent) {
    while (HWND child = GetWindow(parent, GW_CHILD)) DestroyWindow(child);
}

HWND CreateControl(HWND parent, const char* className, DWORD style, int x, int y, int w, int h, DWORD exStyle,
                   int id) {
    HWND control = CreateWindowExA(exStyle, className, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

std::unique_ptr<skintest::Canvas> PrintClient(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    auto canvas = std::make_unique<skintest::Canvas>(r.right, r.bottom, RGB(255, 0, 255));
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
    GdiFlush();
    return canvas;
}

int Differences(const skintest::Canvas& a, const skintest::Canvas& b, const RECT& rect) {
    int n = 0;
    for (int y = std::max<LONG>(rect.top, 0); y < rect.bottom && y < a.height() && y < b.height(); ++y)
        for (int x = std::max<LONG>(rect.left, 0); x < rect.right && x < a.width() && x < b.width(); ++x)
            if (a.At(x, y) != b.At(x, y)) ++n;
    return n;
}

CSkinClassTheme* Theme(const char* className) { return CSkinEngine::Instance()->GetThemeClass(nullptr, className); }

void SkinOff() { CSkinEngine::Instance()->LoadSkin("Z:\\nonexistent\\no-theme-here.exe", nullptr); }

bool SkinOn() {
    // As the program does: default procedures (MDI children, dialogs) reach the skin through the
    // interception.
    static const bool intercepted = [] {
        CSkinApiHookManager::Instance()->Register(CSkinEngine::Instance());
        return true;
    }();
    return intercepted && skinwintest::StartSkin() != FALSE;
}

}  // namespace ctltest
