#include "CSkinObjectTrackBar.h"

IMPLEMENT_DYNCREATE(CSkinObjectTrackBar, CSkinObjectFrame)

CSkinObjectTrackBar::CSkinObjectTrackBar() {
    m_themeClassName = "TRACKBAR";
    m_ctlColorMessage = WM_CTLCOLORSTATIC;
}
