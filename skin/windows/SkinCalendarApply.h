#pragma once
// A calendar keeps colours of its own (a month calendar, or a date-time picker's drop-down): it is
// given the skin's while the engine is on and the system's back once it is off.
#include <windows.h>

#include "CSkinEngine.h"
#include "CSkinSchema.h"
#include "SkinCalendarColours.h"

namespace skin {

// setMessage: MCM_SETCOLOR for the calendar itself, DTM_SETMCCOLOR for a picker's drop-down.
inline void ApplyCalendarColours(HWND window, UINT setMessage, const CSkinEngine* engine) {
    if (!window || !::IsWindow(window)) return;
    const CSkinMetrics* m = engine && engine->IsEnabled() ? engine->GetMetrics() : nullptr;
    for (const CalendarColour& c : m ? CalendarColours(m->colors) : SystemCalendarColours())
        ::SendMessageA(window, setMessage, c.slot, static_cast<LPARAM>(c.colour));
}

}  // namespace skin
