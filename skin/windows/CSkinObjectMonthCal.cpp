#include "CSkinObjectMonthCal.h"

#include <commctrl.h>

#include "SkinCalendarApply.h"

IMPLEMENT_DYNCREATE(CSkinObjectMonthCal, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSkinObjectMonthCal, CSkinObjectFrame)
    ON_MESSAGE(WM_CREATE, OnCreateMonthCal)
END_MESSAGE_MAP()

CSkinObjectMonthCal::CSkinObjectMonthCal() {
    m_themeClassName = "WINDOW";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

void CSkinObjectMonthCal::ReloadMetrics() {
    CSkinObjectFrame::ReloadMetrics();
    skin::ApplyCalendarColours(m_hWnd, MCM_SETCOLOR, m_engine);
}

LRESULT CSkinObjectMonthCal::OnCreateMonthCal(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = OnCreate(wParam, lParam);
    // Attached before the control existed: it would keep the system's colours until the next skin change.
    if (result != -1 && m_engine && m_engine->IsEnabled()) skin::ApplyCalendarColours(m_hWnd, MCM_SETCOLOR, m_engine);
    return result;
}
