#include "CSkinObjectListBox.h"

IMPLEMENT_DYNCREATE(CSkinObjectListBox, CSkinObjectScrolled)

CSkinObjectListBox::CSkinObjectListBox() {
    m_themeClassName = "LISTBOX";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

void CSkinObjectListBox::DrawFrame(HDC dc) {
    DrawFrameWithPlainBorder(dc);
}
