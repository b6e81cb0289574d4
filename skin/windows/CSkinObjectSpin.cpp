#include "CSkinObjectSpin.h"

IMPLEMENT_DYNCREATE(CSkinObjectSpin, CSkinObjectFrame)

CSkinObjectSpin::CSkinObjectSpin() {
    m_themeClassName = "SPIN";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
