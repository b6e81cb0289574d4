// Scroll bars pressed and dragged with real pointer input: auto-repeat timing, page presses that
// follow the thumb, a drag that snaps back far away and returns, SIF_TRACKPOS along the way, on real
// scroll-bar controls with the skin on and on a window's own bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "CSkinOwnScrollBars.h"
#include "CSkinSchema.h"
#include "CSkinScrollBarTrackLoop.h"
#include "ScrollInput.h"
#include "SkinnedBar.h"
#include "WindowClass.h"

using namespace sbtest;

namespace {

const int kArrow = 17;

// A window with a bar of its own (WS_VSCROLL) in its non-client area, which the skin's own-bar
// component hits and tracks in window coordinates, notifying the window itself (which hands the
// notifications to the parent). The client area is inset by 3 pixels so that window and client
// coordinates differ.
class OwnBarWindow {
public:
    OwnBarWindow(ScrollParent& parent, POINT at) : m_parent(parent), m_metrics(nullptr) {
        static const char* const kClass = "SkinScrollBarTestOwnBar";
        harness::RegisterWindowClass(kClass, Proc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        m_metrics.cxVScroll = m_metrics.cyVScroll = m_metrics.cxHScroll = m_metrics.cyHScroll = kArrow;
        m_hwnd = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VSCROLL, at.x, at.y, 3 + 100 + kArrow + 3, 306,
                                 parent.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetScrollInfo(m_hwnd, SB_VERT, &parent.info, FALSE);
        SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
        m_bars.SetWindow(m_hwnd);
        m_bars.RefreshVisible();
        m_bars.Layout(SB_VERT, m_metrics);
        const HWND h = m_hwnd;
        parent.setPosition = [this, h](int position) {
            SetScrollPos(h, SB_VERT, position, FALSE);
            const CSkinScrollBarTracking* t = m_bars.GetTracking();
            if (!t || !t->dragging) m_bars.Layout(SB_VERT, m_metrics);
        };
        parent.trackPosition = [this] {
            int pos = 0;
            return m_bars.GetTrackPos(SB_VERT, &pos) ? pos : 0;
        };
    }
    ~OwnBarWindow() { DestroyWindow(m_hwnd); }
    // A point of the window on the screen.
    POINT Screen(int x, int y) const {
        RECT w;
        GetWindowRect(m_hwnd, &w);
        return POINT{w.left + x, w.top + y};
    }
    const CSkinOwnScrollBars& bars() const { return m_bars; }

private:
    static POINT InWindow(HWND hwnd, LPARAM screen) {
        RECT w;
        GetWindowRect(hwnd, &w);
        return POINT{static_cast<short>(LOWORD(screen)) - w.left, static_cast<short>(HIWORD(screen)) - w.top};
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<OwnBarWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        switch (message) {
            case WM_NCCALCSIZE: {
                RECT& r = *reinterpret_cast<RECT*>(lParam);
                r.left += 3;
                r.top += 3;
                r.right -= 3 + kArrow;
                r.bottom -= 3;
                return 0;
            }
            case WM_NCHITTEST:
                if (self) {
                    const int hit = self->m_bars.NcHitTest(InWindow(hwnd, lParam));
                    if (hit) return hit;
                }
                break;
            case WM_NCLBUTTONDOWN:
                if (self && wParam == HTVSCROLL) {
                    self->m_bars.Track(SB_VERT, InWindow(hwnd, lParam), FALSE, self->m_metrics, [](int) {});
                    return 0;
                }
                break;
            case WM_NCPAINT:
                return 0;
            case WM_VSCROLL:
                return SendMessageA(GetParent(hwnd), message, wParam, lParam);
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    ScrollParent& m_parent;
    HWND m_hwnd;
    CSkinMetrics m_metrics;
    CSkinOwnScrollBars m_bars;
};

// Parent at (100, 100); the bar 17 x 300 at (40, 40) in it: arrows 0..17 and 283..300, 239 pixels of
// track space for a 27-pixel thumb when the range is 0..99 with a page of 10.
template <typename Bar>
class PointerInput : public ::testing::Test {
protected:
    void SetUp() override {
        parent = std::make_unique<ScrollParent>(RECT{100, 100, 400, 500});
        bar = std::make_unique<Bar>(*parent, RECT{40, 40, 40 + kArrow, 340});
        Pump(200);
    }
    void TearDown() override {
        bar.reset();
        parent.reset();
    }
    POINT Screen(int x, int y) const {
        POINT pt{x, y};
        ClientToScreen(bar->hwnd(), &pt);
        return pt;
    }
    void Start(int position) {
        parent->info.nPos = position;
        parent->setPosition(position);
        parent->notices.clear();
    }
    std::vector<int> Commands() const {
        std::vector<int> c;
        for (const Notice& n : parent->notices) c.push_back(n.command);
        return c;
    }

    std::unique_ptr<ScrollParent> parent;
    std::unique_ptr<Bar> bar;
};

using BarKinds = ::testing::Types<SkinnedBar>;
TYPED_TEST_SUITE(PointerInput, BarKinds);

class OwnBarInput : public PointerInput<SkinnedBar> {};

TYPED_TEST(PointerInput, HeldArrowRepeatsAtOnceThenAfterFourFifthsThenEveryTenth) {
    this->Start(0);
    const double dbl = GetDoubleClickTime();
    double pressedAt = 0, releasedAt = 0;
    PlayWhilePumping([&] {
        MoveTo(this->Screen(8, 292));
        Sleep(100);
        pressedAt = NowMs();
        Button(true);
        Sleep(static_cast<DWORD>(dbl * 3));
        releasedAt = NowMs();
        Button(false);
    });
    const auto& n = this->parent->notices;
    ASSERT_GE(n.size(), 4u);
    EXPECT_EQ(SB_ENDSCROLL, n.back().command);
    std::vector<double> times;
    for (size_t i = 0; i + 1 < n.size(); ++i) {
        EXPECT_EQ(SB_LINEDOWN, n[i].command) << i;
        EXPECT_EQ(0, n[i].trackPosition) << "SIF_TRACKPOS during an arrow press";
        times.push_back(n[i].atMs);
    }
    EXPECT_LT(times[0] - pressedAt, 150) << "the first line at once";
    EXPECT_NEAR(dbl * 4 / 5, times[1] - times[0], dbl * 0.3) << "the second after four fifths";
    std::vector<double> gaps;
    for (size_t i = 2; i < times.size(); ++i) gaps.push_back(times[i] - times[i - 1]);
    ASSERT_FALSE(gaps.empty());
    std::sort(gaps.begin(), gaps.end());
    EXPECT_NEAR(dbl / 10, gaps[gaps.size() / 2], dbl / 10) << "then every tenth";
    const double expected = 2 + (releasedAt - pressedAt - dbl * 4 / 5) / (dbl / 10);
    EXPECT_GE(times.size(), expected * 0.5);
    EXPECT_LE(times.size(), expected * 1.2 + 1);
    EXPECT_EQ(static_cast<int>(times.size()), this->parent->info.nPos);
}

TYPED_TEST(PointerInput, HeldPagePressFollowsTheThumbAndStopsUnderThePointer) {
    this->Start(0);
    PlayWhilePumping([&] {
        MoveTo(this->Screen(8, 200));
        Sleep(100);
        Button(true);
        Sleep(GetDoubleClickTime() * 4);
        Button(false);
    });
    // Six pages put the thumb at 176..203, under the pointer; then the press goes quiet.
    EXPECT_EQ((std::vector<int>{SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN,
                                SB_ENDSCROLL}),
              this->Commands());
    EXPECT_EQ(60, this->parent->info.nPos);
    EXPECT_EQ(ScrollHitThumb, HitTestScrollBar(this->bar->bar(), 8, 200));
}

// Press on the thumb at bar (8, 150), drag to (8, 200), far to the side, back, release; toScreen maps
// bar coordinates to the screen.
template <typename ToScreen>
void DragThereAwayAndBack(ToScreen toScreen) {
    PlayWhilePumping([&] {
        MoveTo(toScreen(8, 150));
        Sleep(100);
        Button(true);
        Sleep(150);
        MoveTo(toScreen(8, 200));  // thumb to 187: 90 * 170 / 239 = 64.0
        Sleep(150);
        MoveTo(toScreen(8 + 8 * kArrow + 20, 200));  // past eight thicknesses beside the bar
        Sleep(150);
        MoveTo(toScreen(8, 200));
        Sleep(150);
        Button(false);
    });
}

void ExpectDragThereAwayAndBack(const ScrollParent& parent) {
    const auto& n = parent.notices;
    std::vector<int> commands, positions, tracked;
    for (const Notice& x : n) {
        commands.push_back(x.command);
        positions.push_back(x.position);
        tracked.push_back(x.trackPosition);
    }
    EXPECT_EQ((std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION,
                                SB_ENDSCROLL}),
              commands);
    ASSERT_EQ(6u, n.size());
    EXPECT_EQ((std::vector<int>{45, 64, 45, 64, 64}), std::vector<int>(positions.begin(), positions.end() - 1));
    EXPECT_EQ((std::vector<int>{45, 64, 45, 64, 64}), std::vector<int>(tracked.begin(), tracked.end() - 1))
        << "SIF_TRACKPOS follows the drag";
    EXPECT_EQ(64, parent.info.nPos);
}

TYPED_TEST(PointerInput, DragFarAwaySnapsBackAndReturns) {
    this->Start(45);  // thumb 137..164
    DragThereAwayAndBack([&](int x, int y) { return this->Screen(x, y); });
    ExpectDragThereAwayAndBack(*this->parent);
}

TEST_F(OwnBarInput, OwnBarTracksInWindowCoordinates) {
    bar.reset();
    OwnBarWindow window(*parent, POINT{40, 40});  // the bar at (103, 3), 17 x 300
    Pump(200);
    Start(45);
    EXPECT_EQ(HTVSCROLL, window.bars().NcHitTest(POINT{110, 150}));
    EXPECT_EQ(HTNOWHERE, window.bars().NcHitTest(POINT{100, 150}));
    DragThereAwayAndBack([&](int x, int y) { return window.Screen(103 + x, 3 + y); });
    ExpectDragThereAwayAndBack(*parent);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(GetWindow(parent->hwnd(), GW_CHILD), SB_VERT, &si);
    EXPECT_EQ(64, si.nPos);
}

TYPED_TEST(PointerInput, ShiftClickInTheTrackPutsTheThumbUnderThePointer) {
    this->Start(0);  // thumb 17..44
    PlayWhilePumping([&] {
        MoveTo(this->Screen(8, 200));
        Sleep(100);
        Shift(true);
        Sleep(50);
        Button(true);
        Sleep(150);
        Button(false);
        Shift(false);
    });
    // Centred: 200 - 27 / 2 = 187, and 90 * 170 / 239 = 64.0.
    EXPECT_EQ((std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}), this->Commands());
    ASSERT_EQ(4u, this->parent->notices.size());
    EXPECT_EQ(0, this->parent->notices[0].position);
    EXPECT_EQ(64, this->parent->notices[1].position);
    EXPECT_EQ(64, this->parent->info.nPos);
}

TYPED_TEST(PointerInput, BarShorterThanTwoArrowsHasOnlyArrows) {
    this->bar.reset();
    this->bar = std::make_unique<TypeParam>(*this->parent, RECT{40, 40, 40 + kArrow, 61});
    this->Start(5);
    for (int y : {3, 18}) {
        this->parent->notices.clear();
        PlayWhilePumping([&] {
            MoveTo(this->Screen(8, y));
            Sleep(100);
            Button(true);
            Sleep(100);
            Button(false);
        });
        EXPECT_EQ((std::vector<int>{y < 10 ? SB_LINEUP : SB_LINEDOWN, SB_ENDSCROLL}), this->Commands()) << y;
    }
}

}  // namespace
