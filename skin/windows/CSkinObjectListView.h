#pragma once
// List views keep colours of their own: the skin gives them the theme's window and text colours
// while it is on, and the system's back when it goes off. On Windows 9x the skin's own scroll
// bars drag the view through LVM_SCROLL, the only way those list views follow a thumb.
#include "CSkinObjectColoredView.h"

class CSkinObjectListView : public CSkinObjectColoredView {
    DECLARE_DYNCREATE(CSkinObjectListView)
public:
    CSkinObjectListView();

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnScroll(WPARAM wParam, LPARAM lParam);

private:
    void ApplyColors() override;
};
