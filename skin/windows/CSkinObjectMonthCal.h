#pragma once
// Month calendars keep the frame's behaviour and take the skin's colours.
#include "CSkinObjectFrame.h"

class CSkinObjectMonthCal : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectMonthCal)
public:
    CSkinObjectMonthCal();
    void ReloadMetrics() override;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnCreateMonthCal(WPARAM wParam, LPARAM lParam);
};
