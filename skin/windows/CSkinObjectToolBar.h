#pragma once
// Toolbars drawn from the theme class "TOOLBAR" through the custom-draw protocol: the parent may
// skip or add to the drawing. Toolbars inside the shell's own bands (breadcrumbs, travel band,
// search) keep the system's look: those bands draw around them in their own way.
#include <windows.h>
#include <commctrl.h>

#include "CSkinObjectFrame.h"

class CSkinObjectToolBar : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectToolBar)
public:
    CSkinObjectToolBar();

    BOOL OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    void OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) override;
    BOOL IsLeftAlone() const { return m_leftAlone; }

protected:
    DECLARE_MESSAGE_MAP()

    LRESULT OnPaintMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC dc);
    LRESULT Notify(HDC dc, DWORD stage, const RECT& rect);
    void DrawButtons(HDC dc, CSkinClassTheme& theme, const CSkinSchema* schema);
    void DrawButton(HDC dc, CSkinClassTheme& theme, const CSkinSchema* schema, const TBBUTTON& button, const RECT& rect,
                    bool hot);

    BOOL m_leftAlone = FALSE;
};
