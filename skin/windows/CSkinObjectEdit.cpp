#include "CSkinObjectEdit.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "CSkinSchema.h"
#include "SkinBuddyStrip.h"
#include "SkinGdi.h"

IMPLEMENT_DYNCREATE(CSkinObjectEdit, CSkinObjectScrolled)

BEGIN_MESSAGE_MAP(CSkinObjectEdit, CSkinObjectScrolled)
    ON_MESSAGE(WM_PAINT, OnPaintMessage)
END_MESSAGE_MAP()

CSkinObjectEdit::CSkinObjectEdit() {
    m_themeClassName = "EDIT";
    m_ctlColorMessage = WM_CTLCOLOREDIT;
}

UINT CSkinObjectEdit::GetCtlColorMessage() {
    if (!m_hWnd) return m_ctlColorMessage;
    if (!::IsWindowEnabled(m_hWnd) || (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & ES_READONLY)) return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

void CSkinObjectEdit::DrawFrame(HDC dc) {
    if (!dc || !m_hWnd) return;
    RECT strip{};
    const HWND next = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    if (next && ::IsWindowVisible(next)) {
        RECT own{}, other{};
        ::GetWindowRect(m_hWnd, &own);
        ::GetWindowRect(next, &other);
        strip = skin::BuddyStrip(own, other);
    }
    // The caller's DC may be a WM_PRINT target: its clip region is given back as it was.
    const int saved = SaveDC(dc);
    if (!IsRectEmpty(&strip)) ExcludeClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
    DrawFrameWithPlainBorder(dc);
    RestoreDC(dc, saved);
}

void CSkinObjectEdit::OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) {
    CSkinObjectScrolled::OnAttached(createStruct, autoAttached);
    m_ownPlainBorder = createStruct && (createStruct->style & WS_BORDER) &&
                       !(createStruct->dwExStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
}

LRESULT CSkinObjectEdit::OnPaintMessage(WPARAM wParam, LPARAM) {
    const LRESULT result = Default();
    // Only while the system still keeps the border to itself (the style bit gone from the window).
    if (!m_ownPlainBorder || !IsFrameSkinned() || (GetStyle() & WS_BORDER)) return result;
    CSkinClassTheme* theme = m_engine->GetThemeClass(this, m_themeClassName);
    if (!theme || theme->GetThemeEnumValue(0, 0, TMT_BGTYPE, BT_IMAGEFILE) != BT_BORDERFILL) return result;
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    // A multi-line edit leaves the sides next to its scroll bars open.
    const DWORD style = GetStyle();
    if (style & ES_MULTILINE) {
        if (style & WS_HSCROLL) ++rect.bottom;
        if (style & WS_VSCROLL) ++rect.right;
    }
    const HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : ::GetDC(m_hWnd);
    if (!dc) return result;
    skin::Brush border(CreateSolidBrush(theme->GetThemeColor(0, 0, TMT_BORDERCOLOR, RGB(0, 0, 0))));
    if (border && rect.right > rect.left && rect.bottom > rect.top) FrameRect(dc, &rect, border.Get());
    if (!wParam) ::ReleaseDC(m_hWnd, dc);
    return result;
}
