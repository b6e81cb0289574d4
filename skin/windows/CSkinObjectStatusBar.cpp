#include "CSkinObjectStatusBar.h"

IMPLEMENT_DYNCREATE(CSkinObjectStatusBar, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSkinObjectStatusBar, CSkinObjectFrame)
    ON_MESSAGE(WM_CREATE, OnCreateMessage)
END_MESSAGE_MAP()

CSkinObjectStatusBar::CSkinObjectStatusBar() {
    m_themeClassName = "STATUSBAR";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

LRESULT CSkinObjectStatusBar::OnCreateMessage(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (result != -1) ::SendMessageA(m_hWnd, WM_WININICHANGE, 0, 0);
    return result;
}

void CSkinObjectStatusBar::ReloadMetrics() {
    CSkinObjectFrame::ReloadMetrics();
    if (m_hWnd && ::IsWindow(m_hWnd)) ::PostMessageA(m_hWnd, WM_WININICHANGE, 0, 0);
}
