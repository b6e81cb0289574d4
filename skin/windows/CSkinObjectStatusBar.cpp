#include "CSkinObjectStatusBar.h"

IMPLEMENT_DYNCREATE(CSkinObjectStatusBar, CSkinObjectFrame)

CSkinObjectStatusBar::CSkinObjectStatusBar() {
    m_themeClassName = "STATUSBAR";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
