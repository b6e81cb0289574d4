#pragma once
// Tree views keep colours of their own: the skin gives them the theme's window, text and line
// colours while it is on, and their defaults back when it goes off.
#include "CSkinObjectScrolled.h"

class CSkinObjectTreeView : public CSkinObjectScrolled {
    DECLARE_DYNCREATE(CSkinObjectTreeView)
public:
    CSkinObjectTreeView();

    void ReloadMetrics() override;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);

private:
    void ApplyColors();
};
