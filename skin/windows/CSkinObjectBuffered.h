#pragma once
// Base of the skin objects that draw their control from its theme class into an off-screen copy
// of the client area: the copy is filled first, then drawn over, then shown in one piece, so
// nothing flickers between the background and the parts.
#include "CSkinObjectPainted.h"
#include "CSkinSchema.h"

class CSkinObjectBuffered : public CSkinObjectPainted {
    DECLARE_DYNAMIC(CSkinObjectBuffered)

protected:
    CSkinObjectBuffered() = default;

    void Paint(HDC dc) override;
    // What the copy is filled with before anything is drawn: by default the client brush the
    // frame gives the control.
    virtual HBRUSH GetPaintFill(HDC buffer, CSkinSchema* schema);
    // Everything over the fill, with the object's theme class.
    virtual void DrawClient(HDC buffer, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) = 0;
    // A skin without the theme class: the fill alone shows, unless a class draws more.
    virtual void DrawClientWithoutTheme(HDC buffer, const RECT& client, CSkinSchema* schema) {}
    // The window's font and transparent text, for controls that write their items' texts.
    void SelectWindowText(HDC buffer);
};
