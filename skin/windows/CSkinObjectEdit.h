#pragma once
// Edits: the border from the "EDIT" class, colours from the parent (static colours while the edit
// cannot be typed into), own scroll bars kept in step, and a buddy up-down's edge left alone.
#include "CSkinObjectScrolled.h"

class CSkinObjectEdit : public CSkinObjectScrolled {
    DECLARE_DYNCREATE(CSkinObjectEdit)
public:
    CSkinObjectEdit();
    // Static colours while the edit cannot be typed into.
    UINT GetCtlColorMessage() override;
    // The frame, except where a buddy up-down lies over the border.
    void DrawFrame(HDC dc) override;
};
