#include "SkinFrameGeometry.h"

#include <algorithm>

namespace skin {

namespace {
const int kCloseButton = 18, kSmallCloseButton = 19, kMaxButton = 17, kRestoreButton = 21, kMinButton = 15,
          kHelpButton = 23;
}  // namespace

int FrameEdgeCount(DWORD style, DWORD exStyle) {
    int edges = (exStyle & WS_EX_WINDOWEDGE) ? 2 : (exStyle & WS_EX_STATICEDGE) ? 1 : 0;
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) ++edges;
    return edges;
}

FrameBorders CalcFrameBorders(DWORD style, DWORD exStyle, const FrameMetrics& m, bool maximizedTopLevel,
                              int systemFrame) {
    FrameBorders b;
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    if (maximizedTopLevel) {
        b.left = b.right = b.bottom = systemFrame;
        b.top = systemFrame + (tool ? m.smallCaptionHeight : m.captionHeight);
        return b;
    }
    if (HasFullCaption(style)) b.top = tool ? m.smallCaptionHeight : m.captionHeight;
    int edges = FrameEdgeCount(style, exStyle);
    if (style & WS_THICKFRAME) edges += m.sizingBorder;
    b.left += edges * m.cxBorder;
    b.right += edges * m.cxBorder;
    b.top += edges * m.cyBorder;
    b.bottom += edges * m.cyBorder;
    if (exStyle & WS_EX_CLIENTEDGE) {
        b.left += m.cxEdge;
        b.right += m.cxEdge;
        b.top += m.cyEdge;
        b.bottom += m.cyEdge;
    }
    return b;
}

RECT CalcClientRect(RECT r, const FrameBorders& b, DWORD style, DWORD exStyle, const FrameMetrics& m) {
    r.left += b.left;
    r.top += b.top;
    r.right -= b.right;
    r.bottom -= b.bottom;
    if (style & WS_VSCROLL) {
        if (exStyle & (WS_EX_LEFTSCROLLBAR | WS_EX_LAYOUTRTL))
            r.left += m.cxVScroll;
        else
            r.right -= m.cxVScroll;
    }
    if (style & WS_HSCROLL) r.bottom -= m.cyHScroll;
    r.bottom = std::max(r.bottom, r.top);
    r.right = std::max(r.right, r.left);
    return r;
}

std::vector<CaptionButton> BuildCaptionButtons(DWORD style, DWORD exStyle, bool minimized, bool maximized,
                                               bool closeEnabled) {
    std::vector<CaptionButton> buttons;
    if (!HasFullCaption(style)) return buttons;
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    const bool sysMenu = (style & WS_SYSMENU) != 0;
    const bool dialogFrame = (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME);
    if (!dialogFrame || sysMenu) {
        const bool askMenu = sysMenu && !tool && !(exStyle & WS_EX_MDICHILD);
        buttons.push_back({HTCLOSE, tool ? kSmallCloseButton : kCloseButton, SC_CLOSE,
                           askMenu ? BOOL(closeEnabled) : TRUE, RECT{}});
    }
    const bool minMax = !tool && sysMenu && (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    if (minMax) {
        const BOOL canMax = (style & WS_MAXIMIZEBOX) != 0;
        if (!maximized)
            buttons.push_back({HTMAXBUTTON, kMaxButton, SC_MAXIMIZE, canMax, RECT{}});
        else if (!minimized)
            buttons.push_back({HTMAXBUTTON, kRestoreButton, SC_RESTORE, canMax, RECT{}});
        const BOOL canMin = (style & WS_MINIMIZEBOX) != 0;
        buttons.push_back(minimized ? CaptionButton{HTMINBUTTON, kRestoreButton, SC_RESTORE, canMin, RECT{}}
                                    : CaptionButton{HTMINBUTTON, kMinButton, SC_MINIMIZE, canMin, RECT{}});
    }
    if ((exStyle & WS_EX_CONTEXTHELP) && !tool && sysMenu)
        buttons.push_back({HTHELP, kHelpButton, SC_CONTEXTHELP, TRUE, RECT{}});
    return buttons;
}

int LayoutCaptionButtons(std::vector<CaptionButton>& buttons, const CaptionLayout& l, const FrameMetrics& m) {
    RECT work = l.work;
    const int b = FrameEdgeCount(l.style, l.exStyle) * m.cxBorder;
    const bool clientEdge = (l.exStyle & WS_EX_CLIENTEDGE) != 0;
    if (l.maximized && l.borders.left > 6) {
        // The frame of a maximized window lies beyond the screen: bring the buttons back inside.
        const int inset = l.borders.left - b - (clientEdge ? m.cxEdge : 0);
        InflateRect(&work, -inset, -inset);
    }
    const int h = l.borders.top - work.top;
    int o = ((l.style & WS_THICKFRAME) ? (m.sizingBorder + 1) / 2 : 0) +
            ((l.exStyle & (WS_EX_WINDOWEDGE | WS_EX_STATICEDGE)) ? 1 : 0);
    int s = h - b - 5;
    if (clientEdge) {
        s = h - b - 7;
        o -= 1;
    }
    s = std::max(s, 0);
    SIZE size{s, s};
    if (!(l.exStyle & WS_EX_TOOLWINDOW) && l.buttonSize) size = l.buttonSize(s, l.context);
    int x = work.right - size.cx - b - 2;
    const int y = o + (h - size.cy) / 2 + work.top;
    int left = work.right - b;
    for (CaptionButton& button : buttons) {
        button.rect = RECT{x, y, x + size.cx, y + size.cy};
        left = x;
        x -= size.cx + 2;
    }
    return left;
}

SIZE CaptionButtonSizeFromImage(int w, int h, int count, bool horizontal, int s) {
    count = std::max(count, 1);
    if (horizontal)
        w /= count;
    else
        h /= count;
    if (w <= 0 || h <= 0) return SIZE{s, s};
    return SIZE{MulDiv(w - h, 4, h) + MulDiv(w, s, h), s};
}

int CaptionButtonAt(const std::vector<CaptionButton>& buttons, POINT p, bool maximizedTopLevel) {
    for (size_t i = 0; i < buttons.size(); ++i) {
        const CaptionButton& button = buttons[i];
        if (!button.enabled) continue;
        RECT r = button.rect;
        if (maximizedTopLevel) {
            r.top -= 2;
            if (i == 0) r.right += 2;
        }
        if (PtInRect(&r, p)) return static_cast<int>(i);
    }
    return -1;
}

int CaptionButtonState(bool enabled, bool hot, bool pressed, bool otherPressed, bool active) {
    int state = 4;  // CBS_DISABLED
    if (enabled) state = (pressed && hot) ? 3 : (hot && !otherPressed && !pressed) ? 2 : 1;
    return active ? state : state + 4;
}

int MapSystemHitCode(int code, bool flatScrollBars) {
    switch (code) {
    case HTMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
        return HTCAPTION;
    case HTHSCROLL:
    case HTVSCROLL:
        return flatScrollBars ? code : HTCLIENT;
    default:
        return code;
    }
}

int SkinCaptionHitCode(POINT p, SIZE window, RECT client, const FrameBorders& b, bool fullCaption) {
    const RECT caption{b.left, 0, window.cx - b.right, std::min<LONG>(b.top, client.top)};
    return fullCaption && PtInRect(&caption, p) ? HTCAPTION : HTNOWHERE;
}

}  // namespace skin

namespace skin {

namespace {

// Rows of a mask given through an accessor, so columns scan as rows of the transposed image.
template <typename At>
RegionPiece ScanLines(At at, int length, int count, int startMargin, int endMargin, bool fromEnd) {
    RegionPiece piece;
    piece.startMargin = startMargin;
    piece.endMargin = endMargin;
    for (int n = 0; n < count; ++n) {
        if (startMargin > 0) {
            int run = 0;
            while (run < length && run < startMargin && at(run, n)) ++run;
            if (run > 0) piece.start.push_back(RECT{0, n, run, n + 1});
        }
        const int endFirst = length - endMargin;
        for (int x = length - 1; x >= std::max(endFirst, 0);) {
            if (!at(x, n)) {
                --x;
                continue;
            }
            int from = x;
            while (from - 1 >= std::max(endFirst, 0) && at(from - 1, n)) --from;
            piece.end.push_back(RECT{from - endFirst, n, x + 1 - endFirst, n + 1});
            x = from - 1;
        }
    }
    for (int i = 0; i < count; ++i) {
        const int n = fromEnd ? count - 1 - i : i;
        bool clear = true;
        for (int x = startMargin; x < length - endMargin && clear; ++x) clear = at(x, n);
        if (!clear || length - endMargin <= startMargin) break;
        ++piece.lines;
    }
    return piece;
}

RECT Transposed(const RECT& r) { return RECT{r.top, r.left, r.bottom, r.right}; }

void AddMoved(std::vector<RECT>& out, const std::vector<RECT>& rects, int dx, int dy) {
    for (RECT r : rects) {
        OffsetRect(&r, dx, dy);
        out.push_back(r);
    }
}

}  // namespace

RegionPiece ScanRegionPieceRows(const std::vector<bool>& mask, int width, int height, int startMargin, int endMargin,
                                bool fromEnd) {
    return ScanLines([&](int x, int y) { return bool(mask[static_cast<size_t>(y) * width + x]); }, width, height,
                     startMargin, endMargin, fromEnd);
}

RegionPiece ScanRegionPieceColumns(const std::vector<bool>& mask, int width, int height, int startMargin,
                                   int endMargin, bool fromEnd) {
    RegionPiece piece = ScanLines([&](int y, int x) { return bool(mask[static_cast<size_t>(y) * width + x]); },
                                  height, width, startMargin, endMargin, fromEnd);
    for (RECT& r : piece.start) r = Transposed(r);
    for (RECT& r : piece.end) r = Transposed(r);
    return piece;
}

std::vector<RECT> FrameRegionCuts(const FramePieces& p, int cx, int cy, int T, int B) {
    std::vector<RECT> cuts;
    const RegionPiece &c = p.caption, &b = p.bottom, &l = p.left, &r = p.right;
    AddMoved(cuts, c.start, 0, 0);
    AddMoved(cuts, c.end, cx - c.endMargin, 0);
    if (c.lines > 0) cuts.push_back(RECT{c.startMargin, 0, cx - c.endMargin, c.lines});
    AddMoved(cuts, b.start, 0, cy - B);
    AddMoved(cuts, b.end, cx - b.endMargin, cy - B);
    if (b.lines > 0) cuts.push_back(RECT{b.startMargin, cy - b.lines, cx - b.endMargin, cy});
    AddMoved(cuts, l.start, 0, T);
    AddMoved(cuts, l.end, 0, cy - l.endMargin - B);
    if (l.lines > 0) cuts.push_back(RECT{0, T + l.startMargin, l.lines, cy - l.endMargin - B});
    AddMoved(cuts, r.start, cx - B, T);
    AddMoved(cuts, r.end, cx - B, cy - r.endMargin - B);
    if (r.lines > 0) cuts.push_back(RECT{cx - r.lines, T + r.startMargin, cx, cy - r.endMargin - B});
    cuts.erase(std::remove_if(cuts.begin(), cuts.end(), [](const RECT& x) { return x.right <= x.left || x.bottom <= x.top; }),
               cuts.end());
    return cuts;
}

}  // namespace skin
