#include "CSkinObjectToolBar.h"

IMPLEMENT_DYNCREATE(CSkinObjectToolBar, CSkinObjectFrame)

CSkinObjectToolBar::CSkinObjectToolBar() {
    m_themeClassName = "TOOLBAR";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
