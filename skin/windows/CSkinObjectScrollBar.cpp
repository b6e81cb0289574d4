#include "CSkinObjectScrollBar.h"

IMPLEMENT_DYNCREATE(CSkinObjectScrollBar, CSkinObjectFrame)

CSkinObjectScrollBar::CSkinObjectScrollBar() {
    m_themeClassName = "SCROLLBAR";
    m_ctlColorMessage = WM_CTLCOLORSCROLLBAR;
}
