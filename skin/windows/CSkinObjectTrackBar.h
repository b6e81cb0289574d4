#pragma once
// Trackbars drawn from the theme class "TRACKBAR": the channel, the tick marks in the theme's
// tick colour and the thumb whose part follows where the ticks are; the thumb shows hover,
// drag, focus and disabled states. Dragging and keys stay the control's.
#include "CSkinObjectBuffered.h"

class CSkinObjectTrackBar : public CSkinObjectBuffered {
    DECLARE_DYNCREATE(CSkinObjectTrackBar)
public:
    CSkinObjectTrackBar();

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;
    BOOL IsThumbHot() const { return m_hot; }

protected:
    DECLARE_MESSAGE_MAP()

    void DrawClient(HDC buffer, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) override;
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnPassAndRedraw(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTicFreq(WPARAM wParam, LPARAM lParam);

private:
    void DrawTicks(HDC dc, CSkinClassTheme& theme, const RECT& channel, const RECT& thumb, COLORREF fallback);
    void SetHot(BOOL hot);

    BOOL m_hot = FALSE;
    int m_ticFreq = 1;
};
