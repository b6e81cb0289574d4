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
    void OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) override;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnPaintMessage(WPARAM wParam, LPARAM lParam);

private:
    // Created with WS_BORDER alone: the system takes the style away and draws a one-pixel border of
    // its own inside the client area, in its window-frame colour; the skin draws it over in the theme's.
    BOOL m_ownPlainBorder = FALSE;
};
