#include "CSkinObjectEdit.h"

IMPLEMENT_DYNCREATE(CSkinObjectEdit, CSkinObjectScrolled)

CSkinObjectEdit::CSkinObjectEdit() {
    m_themeClassName = "EDIT";
    m_ctlColorMessage = WM_CTLCOLOREDIT;
}

UINT CSkinObjectEdit::GetCtlColorMessage() {
    if (!m_hWnd) return m_ctlColorMessage;
    if (!::IsWindowEnabled(m_hWnd) || (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & ES_READONLY)) return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}
