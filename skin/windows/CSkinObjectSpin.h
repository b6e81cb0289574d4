#pragma once
// Up-down controls drawn from the theme class "SPIN": two arrow buttons with hover and press,
// disabled with an empty range or a disabled buddy. Auto-repeat stays the control's.
#include "CSkinObjectBuffered.h"
#include "SkinControlGeometry.h"

class CSkinObjectSpin : public CSkinObjectBuffered {
    DECLARE_DYNCREATE(CSkinObjectSpin)
public:
    CSkinObjectSpin();

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;

protected:
    DECLARE_MESSAGE_MAP()

    HBRUSH GetPaintFill(HDC buffer, CSkinSchema* schema) override;
    void DrawClient(HDC buffer, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) override;
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnPassAndRedraw(WPARAM wParam, LPARAM lParam);

private:
    bool ButtonsEnabled() const;
    skin::SpinButton ButtonAt(LPARAM point) const;
    void SetHot(skin::SpinButton button);

    skin::SpinButton m_hot = skin::SpinButton::None;
    skin::SpinButton m_pressed = skin::SpinButton::None;
};
