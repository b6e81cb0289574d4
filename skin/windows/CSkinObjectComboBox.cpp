#include "CSkinObjectComboBox.h"

IMPLEMENT_DYNCREATE(CSkinObjectComboBox, CSkinObjectFrame)

CSkinObjectComboBox::CSkinObjectComboBox() {
    m_themeClassName = "COMBOBOX";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

UINT CSkinObjectComboBox::GetCtlColorMessage() {
    if (!m_hWnd) return m_ctlColorMessage;
    HWND edit = ::GetWindow(m_hWnd, GW_CHILD);
    if (!::IsWindowEnabled(m_hWnd) || (edit && (GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY)))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}
