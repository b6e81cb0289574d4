#pragma once
// An owner-drawn button that shows one of up to four bitmap resources: normal, selected (pressed),
// focused and disabled. The parent reflects WM_DRAWITEM to DrawItem.
#include "CButton.h"
#include "CGdiObject.h"

class CBitmapButton : public CButton {
    DECLARE_DYNAMIC(CBitmapButton)
public:
    CBitmapButton() = default;

    // Loads the pictures from the resource module (0 = none); FALSE when the normal picture, or any
    // other one asked for, could not be loaded.
    BOOL LoadBitmaps(UINT idNormal, UINT idSelected = 0, UINT idFocus = 0, UINT idDisabled = 0);
    // Sizes the button to the normal picture.
    void SizeToContent();
    void DrawItem(LPDRAWITEMSTRUCT dis) override;

    // Destroyed in reverse order: disabled, focus, selected, normal.
    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
