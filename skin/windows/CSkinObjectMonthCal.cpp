#include "CSkinObjectMonthCal.h"

#include <commctrl.h>

#include "CSkinSchema.h"
#include "SkinCalendarColours.h"

IMPLEMENT_DYNCREATE(CSkinObjectMonthCal, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSkinObjectMonthCal, CSkinObjectFrame)
    ON_MESSAGE(WM_CREATE, OnCreateMonthCal)
END_MESSAGE_MAP()

CSkinObjectMonthCal::CSkinObjectMonthCal() {
    m_themeClassName = "WINDOW";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

void CSkinObjectMonthCal::ApplyColours() {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    const CSkinMetrics* m = m_engine && m_engine->IsEnabled() ? m_engine->GetMetrics() : nullptr;
    for (const skin::CalendarColour& c : m ? skin::CalendarColours(m->colors) : skin::SystemCalendarColours())
        ::SendMessageA(m_hWnd, MCM_SETCOLOR, c.slot, static_cast<LPARAM>(c.colour));
}

void CSkinObjectMonthCal::ReloadMetrics() {
    CSkinObjectFrame::ReloadMetrics();
    ApplyColours();
}

LRESULT CSkinObjectMonthCal::OnCreateMonthCal(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = OnCreate(wParam, lParam);
    // Attached before the control existed: it would keep the system's colours until the next skin change.
    if (result != -1 && m_engine && m_engine->IsEnabled()) ApplyColours();
    return result;
}
