#include "CSkinObjectHeader.h"

IMPLEMENT_DYNCREATE(CSkinObjectHeader, CSkinObjectFrame)

CSkinObjectHeader::CSkinObjectHeader() {
    m_themeClassName = "HEADER";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}
