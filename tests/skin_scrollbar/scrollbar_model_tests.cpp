// Layout, hit test and tracking of the scroll-bar model, with hand-computed figures.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "CSkinScrollBarInfo.h"
#include "CSkinScrollBarTracking.h"

namespace {

SCROLLINFO Info(int min, int max, UINT page, int pos) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, min, max, page, pos, 0};
    return si;
}

CSkinScrollBarInfo Laid(bool vertical, RECT rect, SCROLLINFO si, int arrow = 17) {
    CSkinScrollBarInfo bar;
    bar.vertical = vertical;
    bar.visible = TRUE;
    LayoutScrollBar(bar, rect, si, arrow);
    return bar;
}

struct LayoutCase {
    const char* name;
    bool vertical;
    RECT rect;
    SCROLLINFO si;
    int arrow;
    int firstArrowEnd, secondArrowStart, thumbStart, thumbEnd, trackSpace;
};

TEST(ScrollBarLayout, Figures) {
    const RECT v200{0, 0, 17, 200};
    const LayoutCase cases[] = {
        {"top", true, v200, Info(0, 99, 10, 0), 17, 17, 183, 17, 34, 149},
        {"middle rounds half away from zero", true, v200, Info(0, 99, 10, 45), 17, 17, 183, 92, 109, 149},
        {"last page touches the arrow", true, v200, Info(0, 99, 10, 90), 17, 17, 183, 166, 183, 149},
        {"position past the range stays on the track", true, v200, Info(0, 99, 10, 500), 17, 17, 183, 166, 183, 149},
        {"page 0 keeps the arrow-sized thumb", true, v200, Info(0, 100, 0, 50), 17, 17, 183, 92, 109, 149},
        {"large arrows raise the minimum thumb", true, v200, Info(0, 999, 10, 0), 40, 40, 160, 40, 60, 100},
        {"page equal to the range fills the track", true, v200, Info(0, 9, 10, 0), 17, 17, 183, 17, 183, 0},
        {"page beyond the range fills the track", true, v200, Info(0, 9, 50, 0), 17, 17, 183, 17, 183, 0},
        {"maximum below minimum", true, v200, Info(10, 0, 0, 5), 17, 17, 183, 17, 183, 0},
        {"maximum below minimum with a page", true, v200, Info(10, 0, 5, 5), 17, 17, 183, 17, 183, 0},
        {"whole int range", true, v200, Info(INT_MIN, INT_MAX, 0, 0), 17, 17, 183, 92, 109, 149},
        {"shorter than two arrows", true, RECT{0, 0, 17, 20}, Info(0, 99, 10, 0), 17, 10, 10, 10, 26, 0},
        {"odd length shorter than two arrows", true, RECT{0, 0, 17, 21}, Info(0, 99, 10, 0), 17, 10, 11, 10, 26, 0},
        {"horizontal at the end", false, RECT{10, 5, 310, 22}, Info(0, 999, 100, 900), 17, 27, 293, 266, 293, 239},
    };
    for (const LayoutCase& c : cases) {
        CSkinScrollBarInfo bar = Laid(c.vertical, c.rect, c.si, c.arrow);
        EXPECT_EQ(c.firstArrowEnd, bar.firstArrowEnd) << c.name;
        EXPECT_EQ(c.secondArrowStart, bar.secondArrowStart) << c.name;
        EXPECT_EQ(c.thumbStart, bar.thumbStart) << c.name;
        EXPECT_EQ(c.thumbEnd, bar.thumbEnd) << c.name;
        EXPECT_EQ(c.trackSpace, bar.trackSpace) << c.name;
        EXPECT_EQ(c.thumbEnd - c.thumbStart, bar.thumbSize) << c.name;
    }
}

TEST(ScrollBarHitTest, Codes) {
    CSkinScrollBarInfo bar = Laid(true, RECT{0, 0, 17, 200}, Info(0, 99, 10, 45));  // thumb 92..109
    CSkinScrollBarInfo shortBar = Laid(true, RECT{0, 0, 17, 21}, Info(0, 99, 10, 0));
    CSkinScrollBarInfo hidden = bar;
    hidden.visible = FALSE;
    CSkinScrollBarInfo horz = Laid(false, RECT{10, 5, 310, 22}, Info(0, 999, 100, 900));  // thumb 266..293
    struct {
        const CSkinScrollBarInfo* bar;
        int x, y, hit;
    } cases[] = {
        {&bar, 8, 0, 60},    {&bar, 8, 16, 60},  {&bar, 8, 17, 62},   {&bar, 8, 91, 62},   {&bar, 8, 92, 64},
        {&bar, 8, 108, 64},  {&bar, 8, 109, 63}, {&bar, 8, 182, 63},  {&bar, 8, 183, 61},  {&bar, 0, 199, 61},
        {&bar, 8, 200, 0},   {&bar, 17, 50, 0},  {&bar, -1, 50, 0},   {&hidden, 8, 50, 0}, {&shortBar, 8, 9, 60},
        {&shortBar, 8, 10, 64}, {&shortBar, 8, 11, 61}, {&horz, 10, 5, 60}, {&horz, 265, 21, 62}, {&horz, 266, 5, 64},
        {&horz, 293, 5, 61}, {&horz, 150, 22, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.hit, HitTestScrollBar(*c.bar, c.x, c.y)) << c.x << "," << c.y;
}

TEST(ScrollBarLayout, PositionFromThumb) {
    CSkinScrollBarInfo paged = Laid(true, RECT{0, 0, 17, 200}, Info(0, 99, 10, 0));  // track 17, space 149
    CSkinScrollBarInfo unpaged = Laid(true, RECT{0, 0, 17, 200}, Info(0, 100, 0, 0));
    CSkinScrollBarInfo offset = Laid(true, RECT{0, 0, 17, 200}, Info(-50, 49, 10, 0));
    struct {
        const CSkinScrollBarInfo* bar;
        int thumbStart, position;
    } cases[] = {{&paged, 16, 0},    {&paged, 17, 0},     {&paged, 92, 45},   {&paged, 165, 89}, {&paged, 166, 90},
                 {&unpaged, 166, 100}, {&unpaged, 92, 50}, {&offset, 92, -5}, {&offset, 166, 40}};
    for (const auto& c : cases)
        EXPECT_EQ(c.position, ScrollPositionFromThumb(*c.bar, c.thumbStart)) << c.thumbStart;
}

// Records what tracking asks of its window; as an application would, it answers line and page
// commands by moving the position and laying the bar out again.
class Recorder : public CSkinScrollBarTracking::Host {
public:
    Recorder(CSkinScrollBarInfo& bar, RECT rect, SCROLLINFO si) : m_bar(bar), m_rect(rect), m_si(si) {}
    void Notify(int command, int position) override {
        commands.push_back(command);
        positions.push_back(position);
        int step = 0;
        if (command == SB_LINEUP) step = -1;
        if (command == SB_LINEDOWN) step = 1;
        if (command == SB_PAGEUP) step = -static_cast<int>(m_si.nPage);
        if (command == SB_PAGEDOWN) step = static_cast<int>(m_si.nPage);
        if (step) {
            m_si.nPos = std::max(m_si.nMin, std::min<int>(m_si.nPos + step, m_si.nMax - m_si.nPage + 1));
            LayoutScrollBar(m_bar, m_rect, m_si, 17);
        }
    }
    void SetRepeatTimer(UINT delay) override { delays.push_back(delay); }
    void KillRepeatTimer() override { ++kills; }
    void Repaint() override { ++repaints; }
    void Clear() {
        commands.clear();
        positions.clear();
        delays.clear();
        kills = repaints = 0;
    }

    std::vector<int> commands, positions;
    std::vector<UINT> delays;
    int kills = 0, repaints = 0;

private:
    CSkinScrollBarInfo& m_bar;
    RECT m_rect;
    SCROLLINFO m_si;
};

using Ints = std::vector<int>;
using Uints = std::vector<UINT>;

struct TrackFixture {
    TrackFixture(SCROLLINFO si, RECT r = RECT{0, 0, 17, 200})
        : rect(r), bar(Laid(true, r, si)), host(bar, r, si), tracking(bar, host, 500) {}
    RECT rect;
    CSkinScrollBarInfo bar;
    Recorder host;
    CSkinScrollBarTracking tracking;
};

TEST(ScrollBarTracking, ArrowRepeatsAtOnceThenSlowThenFast) {
    TrackFixture f(Info(0, 99, 10, 50));
    ASSERT_TRUE(f.tracking.Begin(POINT{8, 190}, FALSE, 17));
    EXPECT_EQ(ScrollHitSecondArrow, f.bar.hotPart);
    EXPECT_TRUE(f.host.commands.empty());
    EXPECT_TRUE(f.tracking.OnMouse(WM_LBUTTONDOWN, POINT{8, 190}, TRUE));
    EXPECT_EQ(Ints{SB_LINEDOWN}, f.host.commands);
    EXPECT_EQ(Uints{400}, f.host.delays);
    f.tracking.OnRepeatTimer(POINT{8, 190});
    f.tracking.OnRepeatTimer(POINT{8, 191});
    EXPECT_EQ((Ints{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN}), f.host.commands);
    EXPECT_EQ((Uints{400, 50, 50}), f.host.delays);
    EXPECT_EQ(0, f.tracking.GetTrackPosition());

    // Out of the arrow the repeats stop; back in they start again at once.
    f.host.Clear();
    EXPECT_TRUE(f.tracking.OnMouse(WM_MOUSEMOVE, POINT{8, 150}, TRUE));
    f.tracking.OnRepeatTimer(POINT{8, 150});
    EXPECT_TRUE(f.host.commands.empty());
    EXPECT_FALSE(f.tracking.inside);
    EXPECT_EQ(1, f.host.repaints);
    EXPECT_TRUE(f.tracking.OnMouse(WM_MOUSEMOVE, POINT{30, 190}, TRUE));  // beside the bar is outside too
    EXPECT_TRUE(f.host.commands.empty());
    EXPECT_TRUE(f.tracking.OnMouse(WM_MOUSEMOVE, POINT{8, 195}, TRUE));
    EXPECT_EQ(Ints{SB_LINEDOWN}, f.host.commands);
    EXPECT_EQ(Uints{50}, f.host.delays);

    f.host.Clear();
    EXPECT_FALSE(f.tracking.OnMouse(WM_LBUTTONUP, POINT{8, 195}, FALSE));
    f.tracking.End();
    EXPECT_EQ(Ints{SB_ENDSCROLL}, f.host.commands);
    EXPECT_EQ(1, f.host.kills);
    EXPECT_EQ(ScrollHitNone, f.bar.hotPart);
}

TEST(ScrollBarTracking, DragSnapsBackFarAwayAndReturns) {
    TrackFixture f(Info(0, 99, 10, 45));  // thumb 92..109
    ASSERT_TRUE(f.tracking.Begin(POINT{8, 100}, FALSE, 17));
    EXPECT_EQ(ScrollHitThumb, f.bar.hotPart);
    EXPECT_EQ((Ints{SB_THUMBTRACK}), f.host.commands);
    EXPECT_EQ(Ints{45}, f.host.positions);
    f.host.Clear();

    struct Step {
        POINT pt;
        int thumbStart, trackPosition;
    } steps[] = {
        {{8, 100}, 92, 45},           // the press itself moves nothing
        {{8, 130}, 122, 63},          // 90 * 30 / 149 = 18.1 past 45
        {{8 + 17 * 8 + 17, 130}, 92, 45},  // beyond eight thicknesses beside the bar: back where grabbed
        {{8 + 17 * 8, 130}, 122, 63},  // just inside the snap rectangle again
        {{8, 200 + 2 * 17 - 1}, 166, 90},  // below the bar, within two thumb lengths: clamped to the end
        {{8, 200 + 2 * 17}, 92, 45},       // past them: back
        {{8, -30}, 17, 0},
    };
    std::vector<int> sent;
    for (const Step& s : steps) {
        EXPECT_TRUE(f.tracking.OnMouse(s.pt.x == 8 && s.pt.y == 100 ? WM_LBUTTONDOWN : WM_MOUSEMOVE, s.pt, TRUE));
        EXPECT_EQ(s.thumbStart, f.bar.thumbStart) << s.pt.x << "," << s.pt.y;
        EXPECT_EQ(s.thumbStart + 17, f.bar.thumbEnd);
        EXPECT_EQ(s.trackPosition, f.tracking.GetTrackPosition()) << s.pt.x << "," << s.pt.y;
        if (sent.empty() ? s.trackPosition != 45 : s.trackPosition != sent.back()) sent.push_back(s.trackPosition);
    }
    EXPECT_EQ(Ints(sent.size(), SB_THUMBTRACK), f.host.commands);
    EXPECT_EQ(sent, f.host.positions);

    f.host.Clear();
    EXPECT_FALSE(f.tracking.OnMouse(WM_LBUTTONUP, POINT{8, 130}, FALSE));
    EXPECT_EQ(Ints{63}, f.host.positions);  // the release point counts
    f.host.Clear();
    f.tracking.End();
    EXPECT_EQ((Ints{SB_THUMBPOSITION, SB_ENDSCROLL}), f.host.commands);
    EXPECT_EQ(63, f.host.positions[0]);
    EXPECT_EQ(0, f.host.kills);
}

TEST(ScrollBarTracking, NoDragWithoutRoomAndReleaseEndsThePress) {
    // The thumb fills the track: nothing to drag, nothing sent.
    TrackFixture full(Info(0, 9, 10, 0));
    EXPECT_FALSE(full.tracking.Begin(POINT{8, 100}, FALSE, 17));
    EXPECT_FALSE(full.tracking.Begin(POINT{8, 100}, TRUE, 17));
    EXPECT_TRUE(full.host.commands.empty());
    TrackFixture tiny(Info(0, 99, 10, 0), RECT{0, 0, 17, 40});  // 6 pixels of track for a 16-pixel thumb
    EXPECT_FALSE(tiny.tracking.Begin(POINT{8, 20}, FALSE, 17));
    EXPECT_TRUE(tiny.host.commands.empty());

    // On bars too short for their thumb, the second arrow still scrolls.
    for (int height : {21, 40}) {
        TrackFixture shortBar(Info(0, 99, 10, 0), RECT{0, 0, 17, height});
        ASSERT_TRUE(shortBar.tracking.Begin(POINT{8, height - 2}, FALSE, 17)) << height;
        EXPECT_EQ(SB_LINEDOWN, shortBar.tracking.command) << height;
        EXPECT_EQ(ScrollHitSecondArrow, shortBar.bar.hotPart) << height;
    }

    // Shift on an arrow is still a line press.
    TrackFixture arrow(Info(0, 99, 10, 0));
    ASSERT_TRUE(arrow.tracking.Begin(POINT{8, 5}, TRUE, 17));
    EXPECT_FALSE(arrow.tracking.dragging);
    EXPECT_EQ(SB_LINEUP, arrow.tracking.command);

    // A release the loop missed ends a press as it ends a drag.
    TrackFixture f(Info(0, 99, 10, 45));
    ASSERT_TRUE(f.tracking.Begin(POINT{8, 5}, FALSE, 17));
    EXPECT_TRUE(f.tracking.OnMouse(WM_LBUTTONDOWN, POINT{8, 5}, TRUE));
    EXPECT_FALSE(f.tracking.OnMouse(WM_MOUSEMOVE, POINT{8, 6}, FALSE));
}

}  // namespace

namespace {

TEST(ScrollBarLayout, OwnBarRectangles) {
    const RECT client{4, 30, 204, 130};  // in window coordinates
    struct {
        int bar;
        BOOL left;
        RECT expected;
    } cases[] = {
        {SB_VERT, FALSE, {204, 30, 221, 130}},
        {SB_VERT, TRUE, {-13, 30, 4, 130}},
        {SB_HORZ, FALSE, {4, 130, 204, 146}},
        {SB_HORZ, TRUE, {4, 130, 204, 146}},
        {SB_CTL, FALSE, {0, 0, 200, 100}},
    };
    for (const auto& c : cases) {
        const RECT r = ScrollBarRectInWindow(c.bar, client, c.left, 17, 16);
        EXPECT_TRUE(EqualRect(&c.expected, &r)) << c.bar << " " << c.left << ": " << r.left << "," << r.top << ","
                                                << r.right << "," << r.bottom;
    }
}

}  // namespace
