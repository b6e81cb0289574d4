#pragma once
// Status bars measure their height from the status font, which the skin's metrics replace: they
// are told to measure again when created and whenever the metrics change.
#include "CSkinObjectFrame.h"

class CSkinObjectStatusBar : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectStatusBar)
public:
    CSkinObjectStatusBar();

    void ReloadMetrics() override;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
};
