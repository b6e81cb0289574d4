#pragma once
// Header controls drawn from the theme class "HEADER": every item with its image and text, hot
// under the pointer and pressed while the button is down on it. A header with a filter row
// (common controls 5.80 and later) is left to the control: the row is its own.
#include <windows.h>
#include <commctrl.h>

#include "CSkinObjectBuffered.h"

class CSkinObjectHeader : public CSkinObjectBuffered {
    DECLARE_DYNCREATE(CSkinObjectHeader)
public:
    CSkinObjectHeader();

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;
    int GetHotItem() const { return m_hot; }
    int GetPressedItem() const { return m_pressed; }

protected:
    DECLARE_MESSAGE_MAP()

    bool LeavesPaintToControl() const override;
    HBRUSH GetPaintFill(HDC buffer, CSkinSchema* schema) override;
    void DrawClient(HDC buffer, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) override;
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);

private:
    void PaintItem(HDC dc, CSkinClassTheme& theme, int index, HIMAGELIST images, int margin);
    int ItemAt(LPARAM point) const;
    void SetHot(int index);

    int m_hot = -1;
    int m_pressed = -1;
};
