#include "CSkinObjectApplicationFrame.h"

IMPLEMENT_DYNCREATE(CSkinObjectApplicationFrame, CSkinObjectFrame)

CSkinObjectApplicationFrame::CSkinObjectApplicationFrame() {
    m_themeClassName = "WINDOW";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
