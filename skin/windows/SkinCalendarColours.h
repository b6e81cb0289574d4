#pragma once
// The six colours of a month calendar (its own, or a date-time picker's drop-down) in the skin.
#include <windows.h>
#include <commctrl.h>

#include <array>

namespace skin {

struct CalendarColour {
    int slot;  // MCSC_*
    COLORREF colour;
};

// colors: the skin's system colours by index.
inline std::array<CalendarColour, 6> CalendarColours(const COLORREF (&colors)[31]) {
    return {{{MCSC_BACKGROUND, colors[COLOR_WINDOW]},
             {MCSC_MONTHBK, colors[COLOR_WINDOW]},
             {MCSC_TEXT, colors[COLOR_WINDOWTEXT]},
             {MCSC_TITLEBK, colors[COLOR_ACTIVECAPTION]},
             {MCSC_TITLETEXT, colors[COLOR_CAPTIONTEXT]},
             {MCSC_TRAILINGTEXT, colors[COLOR_GRAYTEXT]}}};
}

// The system's own colours in the same slots, for a calendar the skin lets go of.
inline std::array<CalendarColour, 6> SystemCalendarColours() {
    COLORREF colors[31] = {};
    for (int i = 0; i < 31; ++i) colors[i] = GetSysColor(i);
    return CalendarColours(colors);
}

}  // namespace skin
