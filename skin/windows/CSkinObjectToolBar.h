#pragma once
// Toolbars drawn from the theme class "TOOLBAR" through the custom-draw protocol: the parent may
// skip or add to the drawing. Toolbars inside the shell's own bands (breadcrumbs, travel band,
// search) keep the system's look: those bands draw around them in their own way.
#include <windows.h>
#include <commctrl.h>

#include "CSkinObjectBuffered.h"

class CSkinObjectToolBar : public CSkinObjectBuffered {
    DECLARE_DYNCREATE(CSkinObjectToolBar)
public:
    CSkinObjectToolBar();

    BOOL OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    void OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) override;
    BOOL IsLeftAlone() const { return m_leftAlone; }

protected:
    DECLARE_MESSAGE_MAP()

    HBRUSH GetPaintFill(HDC buffer, CSkinSchema* schema) override;
    void DrawClient(HDC buffer, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) override;
    void DrawClientWithoutTheme(HDC buffer, const RECT& client, CSkinSchema* schema) override;
    LRESULT OnEraseClassBackground(WPARAM wParam, LPARAM lParam);

private:
    // The custom-draw protocol around the buttons; without a theme only the parent draws.
    void DrawCustom(HDC dc, const RECT& client, CSkinClassTheme* theme, const CSkinSchema* schema);
    LRESULT Notify(HDC dc, DWORD stage, const RECT& rect);
    void DrawButtons(HDC dc, CSkinClassTheme& theme, const CSkinSchema* schema);
    void DrawButton(HDC dc, CSkinClassTheme& theme, const CSkinSchema* schema, const TBBUTTON& button, const RECT& rect,
                    bool hot);

    BOOL m_leftAlone = FALSE;
};
