#include "CSkinObjectTab.h"

IMPLEMENT_DYNCREATE(CSkinObjectTab, CSkinObjectFrame)

CSkinObjectTab::CSkinObjectTab() {
    m_themeClassName = "TAB";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
