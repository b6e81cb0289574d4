#pragma once
// Up-down controls drawn from the theme class "SPIN": two arrow buttons with hover and press,
// disabled with an empty range or a disabled buddy. Auto-repeat stays the control's.
#include "CSkinObjectFrame.h"
#include "SkinControlGeometry.h"

class CSkinObjectSpin : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectSpin)
public:
    CSkinObjectSpin();

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;

protected:
    DECLARE_MESSAGE_MAP()

    LRESULT OnPaintMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnPassAndRedraw(WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC dc);
    bool ButtonsEnabled() const;
    skin::SpinButton ButtonAt(LPARAM point) const;
    void SetHot(skin::SpinButton button);

    skin::SpinButton m_hot = skin::SpinButton::None;
    skin::SpinButton m_pressed = skin::SpinButton::None;
};
