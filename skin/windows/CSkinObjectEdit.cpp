#include "CSkinObjectEdit.h"

#include "SkinBuddyStrip.h"

IMPLEMENT_DYNCREATE(CSkinObjectEdit, CSkinObjectScrolled)

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
