#include "CSkinObjectTreeView.h"

#include <commctrl.h>

#include "SkinControlPaint.h"

IMPLEMENT_DYNCREATE(CSkinObjectTreeView, CSkinObjectColoredView)

CSkinObjectTreeView::CSkinObjectTreeView() {
    m_themeClassName = "TREEVIEW";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

void CSkinObjectTreeView::ApplyColors() {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    const CSkinRef<CSkinSchema> schema = skin::HoldSchema(*this);
    if (m_engine && m_engine->IsEnabled() && schema) {
        ::SendMessageA(m_hWnd, TVM_SETBKCOLOR, 0, skin::ThemeSysColor(schema.Get(), COLOR_WINDOW));
        ::SendMessageA(m_hWnd, TVM_SETTEXTCOLOR, 0, skin::ThemeSysColor(schema.Get(), COLOR_WINDOWTEXT));
        ::SendMessageA(m_hWnd, TVM_SETLINECOLOR, 0, skin::ThemeSysColor(schema.Get(), COLOR_GRAYTEXT));
    } else {
        ::SendMessageA(m_hWnd, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(-1));
        ::SendMessageA(m_hWnd, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(-1));
        ::SendMessageA(m_hWnd, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(CLR_DEFAULT));
    }
}
