#pragma once
// List boxes (and the list of a combo box): the border from the "LISTBOX" class, colours from the
// parent's list-box colour answer, own scroll bars kept in step. Edits react to the same messages:
// both take the scrolled controls' message map as it stands.
#include "CSkinObjectScrolled.h"

class CSkinObjectListBox : public CSkinObjectScrolled {
    DECLARE_DYNCREATE(CSkinObjectListBox)
public:
    CSkinObjectListBox();
    void DrawFrame(HDC dc) override;
};
