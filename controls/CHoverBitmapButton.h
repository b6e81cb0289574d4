#pragma once
// A bitmap button that shows a third picture while the pointer is over it: the first mouse move
// swaps the normal picture for the hover picture and asks for a leave notification, which swaps it
// back. Pressing shows the selected picture as any bitmap button does.
#include "CBitmapButton.h"

class CHoverBitmapButton : public CBitmapButton {
public:
    CHoverBitmapButton() = default;
    ~CHoverBitmapButton() override = default;

    // Remembers the normal and hover ids and loads normal, selected and disabled (no focus picture).
    BOOL SetHoverBitmaps(UINT normalId, UINT selectedId, UINT hoverId, UINT disabledId);

protected:
    void PreSubclassWindow() override;
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    void SwapNormalPicture(UINT id);

    // Per button rather than shared: a second button, or one destroyed while hovered, then cannot
    // leave another one believing a leave notification is pending.
    UINT m_nNormalId = 0;
    UINT m_nHoverId = 0;
    UINT m_bTracking = 0;
};
