#include "CSkinObjectListView.h"

#include <commctrl.h>

#include "SkinControlPaint.h"

IMPLEMENT_DYNCREATE(CSkinObjectListView, CSkinObjectColoredView)

BEGIN_MESSAGE_MAP(CSkinObjectListView, CSkinObjectColoredView)
    ON_MESSAGE(WM_HSCROLL, OnScroll)
    ON_MESSAGE(WM_VSCROLL, OnScroll)
END_MESSAGE_MAP()

CSkinObjectListView::CSkinObjectListView() {
    m_themeClassName = "LISTVIEW";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

void CSkinObjectListView::ApplyColors() {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    const CSkinRef<CSkinSchema> schema = skin::HoldSchema(*this);
    const bool skinned = m_engine && m_engine->IsEnabled() && schema;
    const COLORREF window = skinned ? skin::ThemeSysColor(schema.Get(), COLOR_WINDOW) : GetSysColor(COLOR_WINDOW);
    const COLORREF text = skinned ? skin::ThemeSysColor(schema.Get(), COLOR_WINDOWTEXT) : GetSysColor(COLOR_WINDOWTEXT);
    ::SendMessageA(m_hWnd, LVM_SETBKCOLOR, 0, window);
    ::SendMessageA(m_hWnd, LVM_SETTEXTCOLOR, 0, text);
    ::SendMessageA(m_hWnd, LVM_SETTEXTBKCOLOR, 0, window);
}


LRESULT CSkinObjectListView::OnScroll(WPARAM wParam, LPARAM lParam) {
    const int code = LOWORD(wParam);
    if (!m_engine || !m_engine->IsWin9x() || lParam || (code != SB_THUMBPOSITION && code != SB_THUMBTRACK))
        return Default();
    const bool vertical = CurrentMessage() == WM_VSCROLL;
    const int target = static_cast<short>(HIWORD(wParam));
    const int current = ::GetScrollPos(m_hWnd, vertical ? SB_VERT : SB_HORZ);
    if (!vertical) {
        ::SendMessageA(m_hWnd, LVM_SCROLL, static_cast<WPARAM>(target - current), 0);
    } else {
        const DWORD spacing = static_cast<DWORD>(::SendMessageA(m_hWnd, LVM_GETITEMSPACING, TRUE, 0));
        ::SendMessageA(m_hWnd, LVM_SCROLL, 0, static_cast<LPARAM>((target - current) * static_cast<int>(HIWORD(spacing))));
    }
    return 0;
}
