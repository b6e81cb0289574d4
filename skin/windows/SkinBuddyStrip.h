#pragma once
// The strip of an edit's border that a buddy up-down control covers.
#include <windows.h>

namespace skin {

// own, next: window rectangles (screen) of the edit and of its next sibling. The up-down is placed
// over the edit's border by exactly 2 pixels; the overlap in edit window coordinates, else empty.
// Any other overlap (a sibling lying over the edit by chance) is not a buddy.
inline RECT BuddyStrip(const RECT& own, const RECT& next) {
    RECT overlap{};
    if (!IntersectRect(&overlap, &own, &next) || overlap.right - overlap.left != 2) return RECT{};
    OffsetRect(&overlap, -own.left, -own.top);
    return overlap;
}

}  // namespace skin
