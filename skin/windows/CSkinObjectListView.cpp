#include "CSkinObjectListView.h"

IMPLEMENT_DYNCREATE(CSkinObjectListView, CSkinObjectScrolled)

CSkinObjectListView::CSkinObjectListView() {
    m_themeClassName = "LISTVIEW";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}
