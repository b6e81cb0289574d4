// Pictures of the skinned progress bars, tab controls and trackbars, printed from real controls
// and compared pixel by pixel with the theme's parts drawn where the controls' own geometry
// puts them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vssym32.h>

#include <vector>

#include "CSkinObjectProgress.h"
#include "CSkinObjectTab.h"
#include "ControlTestSupport.h"

using namespace ctltest;
using skinwintest::Pump;

namespace {

class SkinControlPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SkinOn());
        parent = SharedParent();
        ASSERT_NE(nullptr, parent);
    }
    void TearDown() override {
        if (parent) DestroyChildren(parent);
        Pump(20);
    }
    // The control's client background as the skin fills it: the parent's brush.
    std::unique_ptr<skintest::Canvas> Background(HWND control) {
        RECT r;
        GetClientRect(control, &r);
        return std::make_unique<skintest::Canvas>(r.right, r.bottom, kParentColor);
    }
    HWND parent = nullptr;
};

// ---- progress bars

struct ProgressCase {
    const char* name;
    DWORD style;
    int width, height, pos;
};

class ProgressChunks : public SkinControlPaint, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressChunks, BarThenChunksOfTheThemeSizeAndSpacingUpToThePosition) {
    const ProgressCase& c = GetParam();
    HWND bar = CreateControl(parent, PROGRESS_CLASSA, c.style, 10, 10, c.width, c.height);
    ASSERT_NE(nullptr, SkinOf<CSkinObjectProgress>(bar));
    SendMessageA(bar, PBM_SETRANGE32, 0, 100);
    SendMessageA(bar, PBM_SETPOS, c.pos, 0);
    const auto shot = PrintClient(bar);

    CSkinClassTheme* theme = Theme("PROGRESS");
    ASSERT_NE(nullptr, theme);
    const bool vertical = (c.style & PBS_VERTICAL) != 0;
    const int barPart = vertical ? PP_BARVERT : PP_BAR;
    const int chunkSize = theme->GetThemeInt(0, 0, TMT_PROGRESSCHUNKSIZE, 0);
    const int space = theme->GetThemeInt(0, 0, TMT_PROGRESSSPACESIZE, -1);
    ASSERT_GT(chunkSize, 0);
    ASSERT_GE(space, 0);
    const RECT margins = theme->GetThemeRect(barPart, 1, TMT_CONTENTMARGINS, 0, 0, 0, 0);
    const RECT client{0, 0, c.width, c.height};
    const RECT content{margins.left, margins.top, c.width - margins.right, c.height - margins.bottom};
    auto expected = Background(bar);
    theme->DrawThemeBackground(expected->dc(), barPart, 1, client);
    const int length = vertical ? content.bottom - content.top : content.right - content.left;
    const int filled = length * c.pos / 100;
    std::vector<std::pair<int, int>> runs;  // along the bar from its start
    if (c.style & PBS_SMOOTH)
        runs.push_back({0, filled});
    else
        for (int at = 0; at < filled; at += chunkSize + space) runs.push_back({at, std::min(at + chunkSize, length)});
    for (const auto& run : runs) {
        const RECT r = vertical ? RECT{content.left, content.bottom - run.second, content.right, content.bottom - run.first}
                                : RECT{content.left + run.first, content.top, content.left + run.second, content.bottom};
        theme->DrawThemeBackground(expected->dc(), vertical ? PP_CHUNKVERT : PP_CHUNK, 1, r);
    }
    GdiFlush();
    EXPECT_EQ(0, Differences(*shot, *expected, client)) << c.name;
    // The picture has chunks at all: a bar drawn without them would differ.
    auto empty = Background(bar);
    theme->DrawThemeBackground(empty->dc(), barPart, 1, client);
    GdiFlush();
    EXPECT_GT(Differences(*shot, *empty, client), 0) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Styles, ProgressChunks,
                         ::testing::Values(ProgressCase{"horizontal", 0, 200, 20, 50},
                                           ProgressCase{"horizontal, cut chunk", 0, 157, 18, 73},
                                           ProgressCase{"vertical", PBS_VERTICAL, 20, 150, 60},
                                           ProgressCase{"smooth", PBS_SMOOTH, 200, 20, 35}));

TEST_F(SkinControlPaint, ProgressLosesItsStaticEdgeAtCreation) {
    HWND bar = CreateControl(parent, PROGRESS_CLASSA, 0, 10, 10, 120, 18, WS_EX_STATICEDGE);
    EXPECT_EQ(0u, static_cast<DWORD>(GetWindowLongPtrA(bar, GWL_EXSTYLE)) & WS_EX_STATICEDGE);
}

// Chunks of the marquee block that show in a printed bar: columns of the content's middle row
// that differ from the empty bar, counted in runs.
int VisibleChunks(HWND bar) {
    const auto shot = PrintClient(bar);
    RECT r;
    GetClientRect(bar, &r);
    skintest::Canvas empty(r.right, r.bottom, kParentColor);
    Theme("PROGRESS")->DrawThemeBackground(empty.dc(), PP_BAR, 1, r);
    GdiFlush();
    int runs = 0;
    bool inside = false;
    for (int x = 0; x < r.right; ++x) {
        const bool differs = shot->At(x, r.bottom / 2) != empty.At(x, r.bottom / 2);
        if (differs && !inside) ++runs;
        inside = differs;
    }
    return runs;
}

struct MarqueeCase {
    UINT interval;
    int stepsPerTick;
};

class MarqueeSteps : public SkinControlPaint, public ::testing::WithParamInterface<MarqueeCase> {};

TEST_P(MarqueeSteps, EachTickOfTimer102MovesTheBlockByTheIntervalsSteps) {
    HWND bar = CreateControl(parent, PROGRESS_CLASSA, PBS_MARQUEE, 10, 10, 240, 18);
    auto* skin = SkinOf<CSkinObjectProgress>(bar);
    ASSERT_NE(nullptr, skin);
    SendMessageA(bar, PBM_SETMARQUEE, TRUE, GetParam().interval);
    EXPECT_EQ(0, skin->GetMarqueeStep());
    EXPECT_EQ(0, VisibleChunks(bar));  // the block enters from the start
    SendMessageA(bar, WM_TIMER, CSkinObjectProgress::kMarqueeTimer, 0);
    EXPECT_EQ(GetParam().stepsPerTick, skin->GetMarqueeStep());
    EXPECT_EQ(GetParam().stepsPerTick, VisibleChunks(bar));
    SendMessageA(bar, WM_TIMER, CSkinObjectProgress::kMarqueeTimer, 0);
    EXPECT_EQ(2 * GetParam().stepsPerTick, skin->GetMarqueeStep());
    // Starting again begins at the start; stopping stops the timer.
    SendMessageA(bar, PBM_SETMARQUEE, FALSE, 0);
    EXPECT_EQ(0, skin->GetMarqueeStep());
    Pump(3 * GetParam().interval + 100);
    EXPECT_EQ(0, skin->GetMarqueeStep());
}

INSTANTIATE_TEST_SUITE_P(Intervals, MarqueeSteps, ::testing::Values(MarqueeCase{30, 2}, MarqueeCase{100, 1}));

TEST_F(SkinControlPaint, MarqueeRunsOnItsOwnTimerAlsoWithoutAnInterval) {
    for (UINT interval : {30u, 0u}) {
        HWND bar = CreateControl(parent, PROGRESS_CLASSA, PBS_MARQUEE, 10, 10, 240, 18);
        auto* skin = SkinOf<CSkinObjectProgress>(bar);
        ASSERT_NE(nullptr, skin);
        SendMessageA(bar, PBM_SETMARQUEE, TRUE, interval);
        Pump(400);
        EXPECT_GT(skin->GetMarqueeStep(), 2) << "interval " << interval;
        DestroyWindow(bar);
    }
}

// ---- tab controls

// The two-pixel ring just inside a rectangle: where an item's part shows, free of its text.
int RingDifferences(const skintest::Canvas& a, const skintest::Canvas& b, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const bool ring = x < r.left + 2 || x >= r.right - 2 || y < r.top + 2 || y >= r.bottom - 2;
            if (ring && x >= 0 && y >= 0 && x < a.width() && y < a.height() && a.At(x, y) != b.At(x, y)) ++n;
        }
    return n;
}

TEST_F(SkinControlPaint, TabItemsInTheirStatesTheSelectedOneGrownAndDrawnLast) {
    HWND tab = CreateControl(parent, WC_TABCONTROLA, 0, 10, 10, 320, 120);
    ASSERT_NE(nullptr, SkinOf<CSkinObjectTab>(tab));
    const char* names[] = {"First", "Second", "Third", "Fourth"};
    for (int i = 0; i < 4; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(tab, TCM_SETCURSEL, 1, 0);
    RECT hotRect{};
    SendMessageA(tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&hotRect));
    SendMessageA(tab, WM_MOUSEMOVE, 0, MAKELPARAM((hotRect.left + hotRect.right) / 2, (hotRect.top + hotRect.bottom) / 2));
    ASSERT_EQ(2, SkinOf<CSkinObjectTab>(tab)->GetHotItem());
    const auto shot = PrintClient(tab);

    CSkinClassTheme* theme = Theme("TAB");
    ASSERT_NE(nullptr, theme);
    struct Expect {
        int index, part, state, grow;
    } const expectations[] = {
        {0, TABP_TOPTABITEMLEFTEDGE, TTIS_NORMAL, 0},
        {2, TABP_TOPTABITEM, TTIS_HOT, 0},
        {3, TABP_TOPTABITEMRIGHTEDGE, TTIS_NORMAL, 0},
        {1, TABP_TOPTABITEM, TTIS_SELECTED, 2},
    };
    RECT client;
    GetClientRect(tab, &client);
    auto expected = Background(tab);
    RECT selected{};
    SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&selected));
    theme->DrawThemeBackground(expected->dc(), TABP_PANE, 0, RECT{0, selected.bottom, client.right, client.bottom});
    for (const Expect& e : expectations) {
        RECT r{};
        SendMessageA(tab, TCM_GETITEMRECT, e.index, reinterpret_cast<LPARAM>(&r));
        InflateRect(&r, e.grow, e.grow);
        theme->DrawThemeBackground(expected->dc(), e.part, e.state, r);
    }
    GdiFlush();
    for (const Expect& e : expectations) {
        RECT r{};
        SendMessageA(tab, TCM_GETITEMRECT, e.index, reinterpret_cast<LPARAM>(&r));
        InflateRect(&r, e.grow, e.grow);
        EXPECT_EQ(0, RingDifferences(*shot, *expected, r)) << "item " << e.index;
    }
    // The pane's lower part, away from the items, is the pane part.
    EXPECT_EQ(0, Differences(*shot, *expected, RECT{0, client.bottom - 20, client.right, client.bottom}));

    // Leaving clears the hot item: it is drawn normal again.
    SendMessageA(tab, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(-1, SkinOf<CSkinObjectTab>(tab)->GetHotItem());
    const auto after = PrintClient(tab);
    auto normal = Background(tab);
    theme->DrawThemeBackground(normal->dc(), TABP_TOPTABITEM, TTIS_NORMAL, hotRect);
    GdiFlush();
    EXPECT_EQ(0, RingDifferences(*after, *normal, RECT{hotRect.left + 2, hotRect.top + 2, hotRect.right - 2, hotRect.bottom}));
}

// ---- trackbars

struct ThumbCase {
    const char* name;
    DWORD style;
    int part;  // 0: no thumb drawn
    bool enabled;
    int state;
};

class TrackThumb : public SkinControlPaint, public ::testing::WithParamInterface<ThumbCase> {};

TEST_P(TrackThumb, ThumbPartFollowsTheTickStyle) {
    const ThumbCase& c = GetParam();
    const bool vertical = (c.style & TBS_VERT) != 0;
    HWND track = CreateControl(parent, TRACKBAR_CLASSA, c.style | TBS_NOTICKS, 10, 10, vertical ? 44 : 200,
                               vertical ? 200 : 44);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageA(track, TBM_SETPOS, TRUE, 4);
    if (!c.enabled) EnableWindow(track, FALSE);
    const auto shot = PrintClient(track);

    CSkinClassTheme* theme = Theme("TRACKBAR");
    ASSERT_NE(nullptr, theme);
    RECT channel{}, thumb{};
    SendMessageA(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (vertical) channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    auto expected = Background(track);
    theme->DrawThemeBackground(expected->dc(), vertical ? TKP_TRACKVERT : TKP_TRACK, 1, channel);
    if (c.part) theme->DrawThemeBackground(expected->dc(), c.part, c.state, thumb);
    GdiFlush();
    EXPECT_EQ(0, Differences(*shot, *expected, thumb)) << c.name;
    RECT client;
    GetClientRect(track, &client);
    EXPECT_EQ(0, Differences(*shot, *expected, client)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    TickStyles, TrackThumb,
    ::testing::Values(ThumbCase{"bottom", TBS_HORZ, TKP_THUMBBOTTOM, true, TUS_NORMAL},
                      ThumbCase{"top", TBS_HORZ | TBS_TOP, TKP_THUMBTOP, true, TUS_NORMAL},
                      ThumbCase{"both", TBS_HORZ | TBS_BOTH, TKP_THUMB, true, TUS_NORMAL},
                      ThumbCase{"right", TBS_VERT, TKP_THUMBRIGHT, true, TUS_NORMAL},
                      ThumbCase{"left", TBS_VERT | TBS_LEFT, TKP_THUMBLEFT, true, TUS_NORMAL},
                      ThumbCase{"vertical both", TBS_VERT | TBS_BOTH, TKP_THUMBVERT, true, TUS_NORMAL},
                      ThumbCase{"disabled", TBS_HORZ, TKP_THUMBBOTTOM, false, TUS_DISABLED},
                      ThumbCase{"no thumb", TBS_HORZ | TBS_NOTHUMB, 0, true, TUS_NORMAL}));

TEST_F(SkinControlPaint, TrackTicksInTheThemesTickColourAtEveryFrequencyStep) {
    HWND track = CreateControl(parent, TRACKBAR_CLASSA, TBS_HORZ | TBS_AUTOTICKS, 10, 10, 220, 40);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 20));
    SendMessageA(track, TBM_SETTICFREQ, 5, 0);
    const auto shot = PrintClient(track);
    const COLORREF tick = Theme("TRACKBAR")->GetThemeColor(TKP_TICS, 1, TMT_COLOR, 0xFFFFFFFFu);
    const COLORREF expectedColor = tick != 0xFFFFFFFFu ? tick : CSkinEngine::Instance()->GetMetrics()->colors[COLOR_BTNTEXT];
    RECT thumb{};
    SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    // Below the thumb, one row of tick marks: 0, 5, 10, 15, 20.
    int marks = 0;
    const int y = thumb.bottom + 3;
    bool inside = false;
    for (int x = 0; x < shot->width(); ++x) {
        const bool isTick = shot->At(x, y) == expectedColor;
        if (isTick && !inside) ++marks;
        inside = isTick;
    }
    EXPECT_EQ(5, marks);
}

}  // namespace
