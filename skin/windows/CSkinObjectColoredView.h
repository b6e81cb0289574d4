#pragma once
// Base of the skin objects of views that keep colours of their own (list view, tree view): the
// colours are given again when the control is created and whenever the skin's metrics are
// reloaded, so they follow the skin on and off.
#include "CSkinObjectScrolled.h"

class CSkinObjectColoredView : public CSkinObjectScrolled {
    DECLARE_DYNAMIC(CSkinObjectColoredView)
public:
    void ReloadMetrics() override;

protected:
    CSkinObjectColoredView() = default;

    // The skin's colours into the control while the skin is on, the control's own otherwise.
    virtual void ApplyColors() = 0;

    DECLARE_MESSAGE_MAP()
    LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
};
