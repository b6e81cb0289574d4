#pragma once
// Tab controls drawn from the theme class "TAB": the pane below the item rows, every item with
// its edge variant, the selected one last and grown over its neighbours, the item under the
// pointer hot. TCS_BUTTONS tabs are drawn as push buttons.
#include <windows.h>
#include <commctrl.h>

#include "CSkinObjectBuffered.h"

class CSkinObjectTab : public CSkinObjectBuffered {
    DECLARE_DYNCREATE(CSkinObjectTab)
public:
    CSkinObjectTab();

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;
    int GetHotItem() const { return m_hot; }

protected:
    DECLARE_MESSAGE_MAP()

    void DrawClient(HDC buffer, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) override;
    LRESULT OnEraseTabBackground(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

private:
    void PaintItem(HDC dc, CSkinClassTheme& tabTheme, CSkinClassTheme* buttonTheme, int index, int count, int selected,
                   bool buttons, HIMAGELIST images);
    void InvalidateItem(int index);
    void SetHot(int index);

    int m_hot = -1;
};
