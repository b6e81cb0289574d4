#include "CSkinObjectProgress.h"

IMPLEMENT_DYNCREATE(CSkinObjectProgress, CSkinObjectFrame)

CSkinObjectProgress::CSkinObjectProgress() {
    m_themeClassName = "PROGRESS";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
