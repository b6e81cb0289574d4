#pragma once
// Draws a button from the theme class "BUTTON", given everything about the window as plain data.
#include <windows.h>

#include <string>

#include "SkinButtonLayout.h"
#include "SkinButtonRole.h"
#include "SkinButtonState.h"

class CSkinClassTheme;
class CSkinMetrics;

namespace skin {

struct ButtonFace {
    DWORD style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    DWORD exStyle = 0;
    BYTE typeOverride = 255;
    ButtonFlags flags;
    bool focused = false;
    bool hideAccel = false;          // UISF_HIDEACCEL
    bool hideFocus = false;          // UISF_HIDEFOCUS
    std::string text;
    HFONT font = nullptr;            // null: whatever the context has
    HBITMAP bitmap = nullptr;        // BM_GETIMAGE answers, used with BS_BITMAP / BS_ICON
    HICON icon = nullptr;
    HBRUSH parentBrush = nullptr;    // the parent's button brush, behind a group box's caption; null: left as is
    ButtonMetrics metrics;
    COLORREF btnText = RGB(0, 0, 0);
    COLORREF grayText = RGB(128, 128, 128);
    COLORREF btnShadow = RGB(128, 128, 128);
    COLORREF btnHighlight = RGB(255, 255, 255);
};

// Metrics and colours of the skin, for a face about to be drawn.
void ApplySkinMetrics(ButtonFace& face, const CSkinMetrics& metrics);

// The theme's drawing size of a part (its image frame), or fallback when it has none.
SIZE ThemePartDrawSize(CSkinClassTheme& theme, int part, int state, SIZE fallback);

// FALSE for buttons the skin leaves to the system (owner-drawn, unknown types).
BOOL DrawThemeButton(HDC dc, const RECT& rect, CSkinClassTheme& theme, const ButtonFace& face);

}  // namespace skin
