#include "CSkinObjectTreeView.h"

IMPLEMENT_DYNCREATE(CSkinObjectTreeView, CSkinObjectScrolled)

CSkinObjectTreeView::CSkinObjectTreeView() {
    m_themeClassName = "TREEVIEW";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}
