#pragma once
// One scroll bar as the skin lays it out: the standalone control and a window's own bars alike.
#include <windows.h>

// Hit codes of a scroll bar; 0 is "not on the bar".
enum SkinScrollHit : int {
    ScrollHitNone = 0,
    ScrollHitFirstArrow = 60,
    ScrollHitSecondArrow = 61,
    ScrollHitPageBefore = 62,
    ScrollHitPageAfter = 63,
    ScrollHitThumb = 64
};

struct CSkinScrollBarInfo {
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    int axisStart = 0;
    int axisEnd = 0;
    int crossStart = 0;
    int crossEnd = 0;
    int thumbSize = 0;
    int firstArrowEnd = 0;
    int secondArrowStart = 0;
    int grabbedThumbStart = 0;  // kept while the thumb is dragged
    int thumbEnd = 0;
    int thumbStart = 0;
    int trackSpace = 0;
    int trackStart = 0;
    RECT rect{};
    int hotPart = 0;
    BOOL vertical = 0;
    int bar = 0;
    BOOL visible = 0;
};

// Lays the bar out in rect from info (nMin, nMax, nPage, nPos are read). arrowSize is the theme's arrow
// length along the axis; the record's vertical flag chooses the axis.
void LayoutScrollBar(CSkinScrollBarInfo& bar, const RECT& rect, const SCROLLINFO& info, int arrowSize);

// The hit code at (x, y), in the coordinates of the record's rectangle.
int HitTestScrollBar(const CSkinScrollBarInfo& bar, int x, int y);

// The bar's position for a thumb start between trackStart and trackStart + trackSpace.
int ScrollPositionFromThumb(const CSkinScrollBarInfo& bar, int thumbStart);

// The rectangle between two axis coordinates, across the whole bar.
RECT ScrollBarSpan(const CSkinScrollBarInfo& bar, int from, int to);

// Where a window's own bar sits, in window coordinates: SB_VERT beside the client area (right of it, or
// left with leftScrollBar) as tall as it, SB_HORZ below it as wide as it; SB_CTL is the client area itself.
RECT ScrollBarRectInWindow(int bar, const RECT& clientInWindow, BOOL leftScrollBar, int vScrollWidth, int hScrollHeight);

// The same layout moved by (dx, dy).
CSkinScrollBarInfo MovedScrollBar(const CSkinScrollBarInfo& bar, int dx, int dy);
