// The skinned frame's geometry over plain data: borders by style, the client rectangle with the own
// scroll bars, which caption buttons a window gets, where they sit, which one a point hits and how
// the system's hit codes read under a skinned frame.
#include <gtest/gtest.h>

#include "SkinFrameGeometry.h"

using namespace skin;

namespace {

FrameMetrics Metrics() {
    FrameMetrics m;
    m.cxBorder = m.cyBorder = 1;
    m.cxEdge = m.cyEdge = 2;
    m.sizingBorder = 1;
    m.captionHeight = 26;
    m.smallCaptionHeight = 18;
    m.cxVScroll = 17;
    m.cyHScroll = 15;
    return m;
}

TEST(FrameGeometry, BordersByStyle) {
    struct Case {
        DWORD style, exStyle;
        bool maximized;
        int systemFrame;
        FrameBorders want;
        const char* what;
    } cases[] = {
        {WS_CAPTION | WS_SYSMENU, WS_EX_WINDOWEDGE, false, 0, {3, 29, 3, 3}, "captioned, window edge and border"},
        {WS_CAPTION | WS_THICKFRAME, WS_EX_WINDOWEDGE, false, 0, {4, 30, 4, 4}, "sizable"},
        {WS_CAPTION, WS_EX_TOOLWINDOW, false, 0, {1, 19, 1, 1}, "tool window: small caption"},
        {WS_CAPTION, WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, false, 0, {4, 30, 4, 4}, "static and client edge"},
        {WS_CHILD | WS_BORDER, 0, false, 0, {1, 1, 1, 1}, "thin border"},
        {WS_CHILD, WS_EX_CLIENTEDGE, false, 0, {2, 2, 2, 2}, "client edge only"},
        {WS_CHILD, 0, false, 0, {0, 0, 0, 0}, "no frame"},
        {WS_CAPTION | WS_THICKFRAME, WS_EX_WINDOWEDGE, true, 4, {4, 30, 4, 4}, "maximized: the system's frame"},
        {WS_CAPTION, WS_EX_TOOLWINDOW, true, 3, {3, 21, 3, 3}, "maximized tool window"},
    };
    for (const Case& c : cases) {
        const FrameBorders b = CalcFrameBorders(c.style, c.exStyle, Metrics(), c.maximized, c.systemFrame);
        EXPECT_EQ(c.want.left, b.left) << c.what;
        EXPECT_EQ(c.want.top, b.top) << c.what;
        EXPECT_EQ(c.want.right, b.right) << c.what;
        EXPECT_EQ(c.want.bottom, b.bottom) << c.what;
    }
}

TEST(FrameGeometry, ClientRectLeavesRoomForOwnBars) {
    const FrameBorders b{3, 29, 3, 3};
    struct Case {
        DWORD style, exStyle;
        RECT window, want;
    } cases[] = {
        {0, 0, {0, 0, 200, 100}, {3, 29, 197, 97}},
        {WS_VSCROLL | WS_HSCROLL, 0, {10, 10, 210, 110}, {13, 39, 190, 92}},
        {WS_VSCROLL, WS_EX_LEFTSCROLLBAR, {0, 0, 200, 100}, {20, 29, 197, 97}},
        {WS_VSCROLL, WS_EX_LAYOUTRTL, {0, 0, 200, 100}, {20, 29, 197, 97}},
        // Smaller than its frame: the client area collapses instead of turning inside out.
        {WS_VSCROLL, 0, {0, 0, 20, 20}, {3, 29, 3, 29}},
    };
    for (const Case& c : cases) {
        const RECT r = CalcClientRect(c.window, b, c.style, c.exStyle, Metrics());
        EXPECT_TRUE(EqualRect(&r, &c.want)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(FrameGeometry, CaptionButtonsByStyle) {
    struct Want {
        int hit, part;
        UINT command;
        BOOL enabled;
    };
    struct Case {
        DWORD style, exStyle;
        bool minimized, maximized, closeEnabled;
        std::vector<Want> want;
        const char* what;
    } cases[] = {
        {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, false, false, true,
         {{HTCLOSE, 18, SC_CLOSE, TRUE}, {HTMAXBUTTON, 17, SC_MAXIMIZE, FALSE}, {HTMINBUTTON, 15, SC_MINIMIZE, TRUE}},
         "minimize box only: maximize shown disabled"},
        {WS_CAPTION, 0, false, false, true, {}, "dialog frame without system menu: no buttons"},
        {WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW, false, false, true,
         {{HTCLOSE, 19, SC_CLOSE, TRUE}}, "tool window: the small close only"},
        {WS_CAPTION | WS_SYSMENU, 0, false, false, false, {{HTCLOSE, 18, SC_CLOSE, FALSE}}, "grayed close"},
        {WS_CAPTION | WS_SYSMENU, WS_EX_MDICHILD, false, false, false, {{HTCLOSE, 18, SC_CLOSE, TRUE}},
         "an MDI child's close does not follow the menu"},
        {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, false, true, true,
         {{HTCLOSE, 18, SC_CLOSE, TRUE}, {HTMAXBUTTON, 21, SC_RESTORE, TRUE}, {HTMINBUTTON, 15, SC_MINIMIZE, TRUE}},
         "maximized: restore"},
        {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, true, false, true,
         {{HTCLOSE, 18, SC_CLOSE, TRUE}, {HTMAXBUTTON, 17, SC_MAXIMIZE, TRUE}, {HTMINBUTTON, 21, SC_RESTORE, TRUE}},
         "minimized: the minimize slot restores"},
        {WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP, false, false, true,
         {{HTCLOSE, 18, SC_CLOSE, TRUE}, {HTHELP, 23, SC_CONTEXTHELP, TRUE}}, "help"},
        {WS_BORDER | WS_SYSMENU, 0, false, false, true, {}, "no full caption"},
    };
    for (const Case& c : cases) {
        const std::vector<CaptionButton> got = BuildCaptionButtons(c.style, c.exStyle, c.minimized, c.maximized, c.closeEnabled);
        ASSERT_EQ(c.want.size(), got.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(c.want[i].hit, got[i].hitCode) << c.what << " #" << i;
            EXPECT_EQ(c.want[i].part, got[i].part) << c.what << " #" << i;
            EXPECT_EQ(c.want[i].command, got[i].command) << c.what << " #" << i;
            EXPECT_EQ(c.want[i].enabled, got[i].enabled) << c.what << " #" << i;
        }
    }
}

TEST(FrameGeometry, ButtonLayoutAndHitTest) {
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    std::vector<CaptionButton> buttons = BuildCaptionButtons(style, WS_EX_WINDOWEDGE, false, false, true);
    CaptionLayout layout{{0, 0, 200, 120}, {3, 29, 3, 3}, style, WS_EX_WINDOWEDGE, false, nullptr, nullptr};
    // b = 3, offset 1 for the window edge, s = 29 - 3 - 5.
    EXPECT_EQ(128, LayoutCaptionButtons(buttons, layout, Metrics()));
    const RECT close{174, 5, 195, 26}, max{151, 5, 172, 26}, min{128, 5, 149, 26};
    EXPECT_TRUE(EqualRect(&buttons[0].rect, &close));
    EXPECT_TRUE(EqualRect(&buttons[1].rect, &max));
    EXPECT_TRUE(EqualRect(&buttons[2].rect, &min));

    // An image of three frames side by side, each twice as wide as high: wider buttons.
    layout.buttonSize = [](int s, void*) { return CaptionButtonSizeFromImage(3 * 42, 21, 3, true, s); };
    LayoutCaptionButtons(buttons, layout, Metrics());
    EXPECT_EQ(4 + 42, buttons[0].rect.right - buttons[0].rect.left);
    EXPECT_EQ(21, buttons[0].rect.bottom - buttons[0].rect.top);
    // Tool windows keep square buttons whatever the image.
    layout.exStyle |= WS_EX_TOOLWINDOW;
    LayoutCaptionButtons(buttons, layout, Metrics());
    EXPECT_EQ(21, buttons[0].rect.right - buttons[0].rect.left);

    buttons[0].rect = close;
    buttons[1].rect = max;
    buttons[2].rect = min;
    struct Hit {
        POINT p;
        bool maximized;
        int want;
    } hits[] = {
        {{180, 10}, false, 0},  {{160, 10}, false, -1},  // the disabled maximize is never hit
        {{130, 25}, false, 2},  {{150, 10}, false, -1},  // the gap between buttons
        {{180, 3}, false, -1},  {{180, 3}, true, 0},     // a maximized window reaches up to the screen edge
        {{196, 10}, false, -1}, {{196, 10}, true, 0},    // and its close to the right edge
        {{149, 3}, true, -1},   {{130, 3}, true, 2},
    };
    for (const Hit& h : hits)
        EXPECT_EQ(h.want, CaptionButtonAt(buttons, h.p, h.maximized)) << h.p.x << "," << h.p.y << " " << h.maximized;
}

TEST(FrameGeometry, ButtonStatesAndMappedHitCodes) {
    struct State {
        bool enabled, hot, pressed, otherPressed, active;
        int want;
    } states[] = {
        {true, false, false, false, true, 1},  {true, true, false, false, true, 2},
        {true, true, true, false, true, 3},    {true, false, true, false, true, 1},  // pressed, pointer gone
        {true, true, false, true, true, 1},    // another button is held down
        {false, true, true, false, true, 4},   {true, true, false, false, false, 6},
        {false, false, false, false, false, 8},
    };
    for (const State& s : states)
        EXPECT_EQ(s.want, CaptionButtonState(s.enabled, s.hot, s.pressed, s.otherPressed, s.active));

    struct Map {
        int code;
        bool flat;
        int want;
    } maps[] = {
        {HTMENU, false, HTCAPTION},      {HTMINBUTTON, false, HTCAPTION}, {HTMAXBUTTON, false, HTCAPTION},
        {HTCLOSE, false, HTCAPTION},     {HTHELP, false, HTCAPTION},      {HTVSCROLL, false, HTCLIENT},
        {HTHSCROLL, true, HTHSCROLL},    {HTLEFT, false, HTLEFT},         {HTSYSMENU, false, HTSYSMENU},
    };
    for (const Map& m : maps) EXPECT_EQ(m.want, MapSystemHitCode(m.code, m.flat)) << m.code;

    // Where the system finds nothing: the skin's caption strip drags; its borders, a menu bar below the
    // caption and a window without caption stay nothing.
    const FrameBorders b{4, 30, 4, 4};
    const SIZE window{200, 100};
    const RECT client{4, 30, 196, 96}, belowBar{4, 50, 196, 96};
    struct Area {
        POINT p;
        RECT client;
        bool caption;
        int want;
    } areas[] = {
        {{100, 29}, client, true, HTCAPTION},   {{4, 10}, client, true, HTCAPTION},
        {{195, 10}, client, true, HTCAPTION},   {{3, 10}, client, true, HTNOWHERE},
        {{196, 10}, client, true, HTNOWHERE},   {{100, 30}, client, true, HTNOWHERE},
        {{100, 40}, belowBar, true, HTNOWHERE}, {{100, 10}, client, false, HTNOWHERE},
    };
    for (const Area& a : areas)
        EXPECT_EQ(a.want, SkinCaptionHitCode(a.p, window, a.client, b, a.caption)) << a.p.x << "," << a.p.y;
}

}  // namespace

namespace {

// A 12 x 4 caption image: rounded corners of 3, 2 and 1 pixels on the top rows, and a second
// see-through run inside the right margin of row 0; a see-through top line in between on row 0 only.
std::vector<bool> CaptionMask() {
    const char* rows[] = {
        "...X......X.",  // '.' see-through
        "..XXXXXXXX..",
        ".XXXXXXXXXX.",
        "XXXXXXXXXXXX",
    };
    std::vector<bool> mask;
    for (const char* r : rows)
        for (int x = 0; x < 12; ++x) mask.push_back(r[x] == '.');
    return mask;
}

TEST(FrameRegion, PiecesAndCuts) {
    const RegionPiece rows = ScanRegionPieceRows(CaptionMask(), 12, 4, 4, 4, false);
    // Start runs touch the left edge and stay below the margin.
    ASSERT_EQ(3u, rows.start.size());
    EXPECT_EQ(3, rows.start[0].right);
    EXPECT_EQ(2, rows.start[1].right);
    EXPECT_EQ(1, rows.start[2].right);
    // End runs: every run within the right margin, relative to its first column (8).
    ASSERT_EQ(4u, rows.end.size());
    const RECT r0a{3, 0, 4, 1}, r0b{0, 0, 2, 1};
    EXPECT_TRUE(EqualRect(&rows.end[0], &r0a));
    EXPECT_TRUE(EqualRect(&rows.end[1], &r0b));
    // Row 0 is not see-through between the margins (column 3 is opaque but outside; columns 4..7 clear).
    EXPECT_EQ(1, rows.lines);
    // Counted from the bottom, the opaque last row ends the count at once.
    EXPECT_EQ(0, ScanRegionPieceRows(CaptionMask(), 12, 4, 4, 4, true).lines);

    // Columns: the same image read down its columns.
    const RegionPiece columns = ScanRegionPieceColumns(CaptionMask(), 12, 4, 2, 1, false);
    ASSERT_FALSE(columns.start.empty());
    const RECT c0{0, 0, 1, 2};  // column 0: rows 0 and 1 see-through, within the top margin of 2
    EXPECT_TRUE(EqualRect(&columns.start[0], &c0));

    FramePieces pieces;
    pieces.caption = rows;
    const std::vector<RECT> cuts = FrameRegionCuts(pieces, 100, 60, 20, 4);
    auto cut = [&](int x, int y) {
        const POINT p{x, y};
        for (const RECT& r : cuts)
            if (PtInRect(&r, p)) return true;
        return false;
    };
    EXPECT_TRUE(cut(0, 0));
    EXPECT_TRUE(cut(2, 0));
    EXPECT_FALSE(cut(3, 0));
    EXPECT_TRUE(cut(99, 0));   // end run at column 11 of the image
    EXPECT_FALSE(cut(98, 0));  // opaque column 10
    EXPECT_TRUE(cut(50, 0));   // the see-through top line
    EXPECT_FALSE(cut(50, 1));
    EXPECT_TRUE(cut(0, 2));
    EXPECT_FALSE(cut(1, 2));
    EXPECT_FALSE(cut(0, 3));
}

}  // namespace
