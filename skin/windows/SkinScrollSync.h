#pragma once
// When the skin must follow scroll positions a control changes without telling anyone.
#include <windows.h>

namespace skin {

// Common controls 6.0 and later set their positions through the intercepted scroll calls, which
// repaint the skin's bars themselves. Version as major * 65536 + minor; 0 = unknown (4.0).
inline bool NeedsScrollSync(DWORD comctlVersion) { return comctlVersion < MAKELONG(0, 6); }

// Only position and range count: the page and track position are the bar's own business.
inline bool ScrollInfoMoved(const SCROLLINFO& saved, const SCROLLINFO& now) {
    return saved.nPos != now.nPos || saved.nMax != now.nMax || saved.nMin != now.nMin;
}

}  // namespace skin
