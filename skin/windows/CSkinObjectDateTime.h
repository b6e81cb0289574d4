#pragma once
// Date-time pickers look like drop-down combos: the theme's "COMBOBOX" border and button around
// the content the control paints, the theme's check box for DTS_SHOWNONE, and the drop-down
// calendar in the skin's colours.
#include "CSkinObjectComboBox.h"

class CSkinObjectDateTime : public CSkinObjectComboBox {
    DECLARE_DYNCREATE(CSkinObjectDateTime)
public:
    CSkinObjectDateTime();
    void ReloadMetrics() override;

protected:
    DECLARE_MESSAGE_MAP()
    bool IsSimpleCombo() const override { return false; }
    // With DTS_UPDOWN the control's own up-down takes the button's place.
    bool HasDropDownButton() const override;
    bool IsDroppedDown() override;
    void DrawComboExtras(HDC buffer, const RECT& client, int state) override;

    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnCreateDateTime(WPARAM wParam, LPARAM lParam);

private:
    // Where the control keeps its DTS_SHOWNONE check box, in client coordinates.
    RECT CheckBoxRect(const RECT& client);
    // The theme's button: the right (or left) scroll-bar width inside the border.
    RECT DropDownButtonRect();
};
