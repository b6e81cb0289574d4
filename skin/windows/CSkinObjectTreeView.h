#pragma once
// Tree views keep colours of their own: the skin gives them the theme's window, text and line
// colours while it is on, and their defaults back when it goes off.
#include "CSkinObjectColoredView.h"

class CSkinObjectTreeView : public CSkinObjectColoredView {
    DECLARE_DYNCREATE(CSkinObjectTreeView)
public:
    CSkinObjectTreeView();

private:
    void ApplyColors() override;
};
