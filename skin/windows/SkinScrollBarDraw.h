#pragma once
// Drawing a scroll bar from the theme's "SCROLLBAR" class: which part goes where in which state, and
// the drawing itself.
#include <windows.h>
#include <vector>

#include "CSkinScrollBarInfo.h"

class CSkinClassTheme;
class CSkinScrollBarTracking;

// Theme parts of class "SCROLLBAR".
enum SkinScrollPart : int {
    ScrollPartArrow = 1,
    ScrollPartThumbHorz = 2,
    ScrollPartThumbVert = 3,
    ScrollPartLowerTrackHorz = 4,
    ScrollPartUpperTrackHorz = 5,
    ScrollPartLowerTrackVert = 6,
    ScrollPartUpperTrackVert = 7,
    ScrollPartGripperHorz = 8,
    ScrollPartGripperVert = 9,
    ScrollPartSizeBox = 10
};

// How the bar is to look apart from its layout.
struct SkinScrollBarLook {
    int pressedPart = ScrollHitNone;
    int hotPart = ScrollHitNone;
    BOOL barHot = FALSE;
    // -1: enabled while the range has room for a page (own bars); 0 or 1: the control's window state.
    int enabled = -1;
};

struct SkinScrollBarPiece {
    int part;
    int state;
    RECT rect;
};

// The look of bar given the tracking state of its window (null when nothing is tracked there).
SkinScrollBarLook ScrollBarLook(const CSkinScrollBarInfo& bar, const CSkinScrollBarTracking* tracking);

// The pieces in drawing order; empty rectangles are left out, and everything when the bar has no thickness.
// hoverStates: the arrow strip has the four states shown on both arrows while the bar is hot.
std::vector<SkinScrollBarPiece> PlanScrollBar(const CSkinScrollBarInfo& bar, const SkinScrollBarLook& look,
                                              BOOL hoverStates);

// Whether the theme's arrow strip carries hover states (20 images rather than 16).
BOOL ScrollBarHasHoverStates(const CSkinClassTheme& theme);

// Fills the bar with background (when given), then draws its pieces.
void DrawThemeScrollBar(HDC dc, const CSkinScrollBarInfo& bar, CSkinClassTheme& theme, const SkinScrollBarLook& look,
                        HBRUSH background);
