#include "CSkinObjectButton.h"

IMPLEMENT_DYNCREATE(CSkinObjectButton, CSkinObjectFrame)

CSkinObjectButton::CSkinObjectButton() {
    m_themeClassName = "BUTTON";
    m_ctlColorMessage = WM_CTLCOLORBTN;
}
