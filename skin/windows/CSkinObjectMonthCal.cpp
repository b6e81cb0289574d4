#include "CSkinObjectMonthCal.h"

IMPLEMENT_DYNCREATE(CSkinObjectMonthCal, CSkinObjectFrame)

CSkinObjectMonthCal::CSkinObjectMonthCal() {
    m_themeClassName = "WINDOW";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
