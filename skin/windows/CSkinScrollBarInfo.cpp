#include "CSkinScrollBarInfo.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "SkinScrollMath.h"

using skin::MulDivRound;

void LayoutScrollBar(CSkinScrollBarInfo& bar, const RECT& rect, const SCROLLINFO& info, int arrowSize) {
    bar.rect = rect;
    if (bar.vertical) {
        bar.axisStart = rect.top;
        bar.axisEnd = rect.bottom;
        bar.crossStart = rect.left;
        bar.crossEnd = rect.right;
    } else {
        bar.axisStart = rect.left;
        bar.axisEnd = rect.right;
        bar.crossStart = rect.top;
        bar.crossEnd = rect.bottom;
    }
    const int a = std::max(arrowSize, 0);
    bar.thumbSize = a;
    bar.minimum = info.nMin;
    bar.maximum = info.nMax;
    bar.page = static_cast<int>(std::min<UINT>(info.nPage, INT_MAX));
    bar.position = info.nPos;

    const int length = std::max(bar.axisEnd - bar.axisStart, 0);
    const int e = std::min(a, length / 2);
    bar.firstArrowEnd = bar.axisStart + e;
    bar.secondArrowStart = bar.axisEnd - e;
    const int trackLength = length - 2 * e;

    // 64-bit: a full int range would overflow maximum + 1 - minimum.
    const int64_t range = int64_t(bar.maximum) + 1 - bar.minimum;
    const int minimumThumb = std::max(16, a / 2);
    if (bar.page != 0 && range != 0) bar.thumbSize = std::max(MulDivRound(trackLength, bar.page, range), minimumThumb);
    const int64_t p = bar.page != 0 ? bar.page : 1;
    // A page as large as the range, or an empty or inverted range, leaves nothing to scroll: the thumb
    // fills the track from its start so that no drag can begin and no position outside the range is made.
    const bool nothingToScroll = range <= p;
    if (nothingToScroll && range != p) bar.thumbSize = std::max(trackLength, bar.page != 0 ? minimumThumb : a);

    bar.trackStart = bar.axisStart + e;
    bar.trackSpace = std::max(bar.axisEnd - (bar.trackStart + e + bar.thumbSize), 0);
    if (nothingToScroll) {
        bar.thumbStart = bar.trackStart;
    } else {
        const int offset = MulDivRound(int64_t(bar.position) - bar.minimum, bar.trackSpace, range - p);
        bar.thumbStart = bar.trackStart + std::clamp(offset, 0, bar.trackSpace);
    }
    bar.thumbEnd = bar.thumbStart + bar.thumbSize;
}

int HitTestScrollBar(const CSkinScrollBarInfo& bar, int x, int y) {
    const POINT pt{x, y};
    if (!bar.visible || !PtInRect(&bar.rect, pt)) return ScrollHitNone;
    const int c = bar.vertical ? y : x;
    if (c < bar.firstArrowEnd) return ScrollHitFirstArrow;
    if (c >= bar.secondArrowStart) return ScrollHitSecondArrow;
    if (c < bar.thumbStart) return ScrollHitPageBefore;
    if (c < bar.thumbEnd) return ScrollHitThumb;
    return ScrollHitPageAfter;
}

int ScrollPositionFromThumb(const CSkinScrollBarInfo& bar, int thumbStart) {
    if (thumbStart < bar.trackStart) return bar.minimum;
    if (thumbStart >= bar.trackStart + bar.trackSpace)
        return bar.page != 0 ? static_cast<int>(std::clamp<int64_t>(int64_t(bar.maximum) - bar.page + 1, INT_MIN, INT_MAX))
                             : bar.maximum;
    const int64_t span = int64_t(bar.maximum) - bar.minimum - (bar.page != 0 ? bar.page - 1 : 0);
    const int64_t value = bar.minimum + MulDivRound(span, thumbStart - bar.trackStart, bar.trackSpace);
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

RECT ScrollBarSpan(const CSkinScrollBarInfo& bar, int from, int to) {
    return bar.vertical ? RECT{bar.crossStart, from, bar.crossEnd, to} : RECT{from, bar.crossStart, to, bar.crossEnd};
}

RECT ScrollBarRectInWindow(int bar, const RECT& c, BOOL leftScrollBar, int vScrollWidth, int hScrollHeight) {
    switch (bar) {
        case SB_VERT: {
            const int left = leftScrollBar ? c.left - vScrollWidth : c.right;
            return RECT{left, c.top, left + vScrollWidth, c.bottom};
        }
        case SB_HORZ:
            return RECT{c.left, c.bottom, c.right, c.bottom + hScrollHeight};
        default:
            return RECT{0, 0, c.right - c.left, c.bottom - c.top};
    }
}

CSkinScrollBarInfo MovedScrollBar(const CSkinScrollBarInfo& bar, int dx, int dy) {
    CSkinScrollBarInfo moved = bar;
    OffsetRect(&moved.rect, dx, dy);
    const int along = bar.vertical ? dy : dx, across = bar.vertical ? dx : dy;
    for (int* v : {&moved.axisStart, &moved.axisEnd, &moved.firstArrowEnd, &moved.secondArrowStart,
                   &moved.grabbedThumbStart, &moved.thumbStart, &moved.thumbEnd, &moved.trackStart})
        *v += along;
    moved.crossStart += across;
    moved.crossEnd += across;
    return moved;
}
