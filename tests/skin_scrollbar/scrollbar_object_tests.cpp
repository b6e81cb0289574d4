// The skinned scroll-bar control on pixels, printed into a 32-bit section: its parts in the theme's
// states against DrawThemeBackground of the same part, state and rectangle, hover from real pointer
// moves, and the disabled look.
#include <gtest/gtest.h>

#include <memory>

#include "CSkinOwnScrollBars.h"
#include "SkinClientBrush.h"
#include "SkinScrollBarDraw.h"
#include "SkinTestSupport.h"
#include "SkinnedBar.h"
#include "WindowClass.h"

using namespace sbtest;
using skintest::Canvas;

namespace {

struct Expect {
    int part, state, from, to;
};

class SkinnedScrollBar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartSkin());
        parent = std::make_unique<ScrollParent>(RECT{100, 100, 400, 500});
        bar = std::make_unique<SkinnedBar>(*parent, RECT{40, 40, 57, 340});
        MoveTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3});
        Pump(300);
    }
    void TearDown() override {
        bar.reset();
        parent.reset();
    }
    // The control printed, and the same pieces drawn by the theme over the control's background.
    void ExpectPieces(const std::vector<Expect>& pieces, const char* what) {
        CSkinClassTheme* theme = CSkinEngine::Instance()->GetSchema()->GetClassTheme("SCROLLBAR");
        ASSERT_TRUE(theme);
        Canvas printed(17, 300), reference(17, 300);
        SendMessageA(bar->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
        const RECT all{0, 0, 17, 300};
        FillRect(reference.dc(), &all,
                 SkinClientBrush(bar->hwnd(), reference.dc(), WM_CTLCOLORSCROLLBAR, CSkinEngine::Instance()->GetMetrics()));
        for (const Expect& p : pieces) {
            const RECT r{0, p.from, 17, p.to};
            theme->DrawThemeBackground(reference.dc(), p.part, p.state, r);
        }
        for (const Expect& p : pieces) {
            int differ = 0;
            for (int y = p.from; y < p.to; ++y)
                for (int x = 0; x < 17; ++x) differ += printed.At(x, y) != reference.At(x, y);
            EXPECT_EQ(0, differ) << what << ": part " << p.part << " state " << p.state << " rows " << p.from << ".."
                                 << p.to;
        }
    }

    std::unique_ptr<ScrollParent> parent;
    std::unique_ptr<SkinnedBar> bar;
};

TEST_F(SkinnedScrollBar, AttachedAndLaidOutFromTheControl) {
    CSkinObjectScrollBar* object = ScrollBarObject(bar->hwnd());
    ASSERT_TRUE(object);
    const CSkinScrollBarInfo& info = object->GetScrollBarInfo();
    EXPECT_TRUE(info.vertical);
    EXPECT_EQ(SB_CTL, info.bar);
    EXPECT_EQ(17, info.firstArrowEnd);
    EXPECT_EQ(283, info.secondArrowStart);
    EXPECT_EQ(17, info.thumbStart);
    EXPECT_EQ(44, info.thumbEnd);
    SetScrollPos(bar->hwnd(), SB_CTL, 45, TRUE);
    EXPECT_EQ(137, object->GetScrollBarInfo().thumbStart) << "a redrawing SetScrollPos lays the bar out at once";
}

TEST_F(SkinnedScrollBar, HoverShowsBothArrowsHoveredAndTheHotTrack) {
    ExpectPieces({{1, 1, 0, 17}, {3, 1, 17, 44}, {9, 1, 17, 44}, {7, 1, 44, 283}, {1, 5, 283, 300}}, "idle");
    POINT over{8, 200};
    ClientToScreen(bar->hwnd(), &over);
    MoveTo(over);
    Pump(300);
    EXPECT_EQ(ScrollHitPageAfter, bar->bar().hotPart);
    ExpectPieces({{1, 17, 0, 17}, {3, 1, 17, 44}, {9, 1, 17, 44}, {7, 2, 44, 283}, {1, 18, 283, 300}}, "hovering the track");
    MoveTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3});
    Pump(300);
    EXPECT_EQ(ScrollHitNone, bar->bar().hotPart) << "leaving clears the hot part";
    ExpectPieces({{1, 1, 0, 17}, {3, 1, 17, 44}, {9, 1, 17, 44}, {7, 1, 44, 283}, {1, 5, 283, 300}}, "after leaving");
}

TEST_F(SkinnedScrollBar, DisabledControlShowsDisabledArrowsAndNoThumb) {
    EnableWindow(bar->hwnd(), FALSE);
    Pump(200);
    ExpectPieces({{1, 4, 0, 17}, {7, 4, 17, 283}, {1, 8, 283, 300}}, "disabled");
    EnableWindow(bar->hwnd(), TRUE);
    Pump(200);
    ExpectPieces({{1, 1, 0, 17}, {3, 1, 17, 44}, {9, 1, 17, 44}, {7, 1, 44, 283}, {1, 5, 283, 300}}, "enabled again");
}

}  // namespace

namespace {

TEST(SkinnedSizeGrip, DrawsTheSizeBoxOverTheStaticBrush) {
    ASSERT_TRUE(StartSkin());
    ScrollParent parent(RECT{100, 100, 400, 500});
    SkinnedBar grip(parent, RECT{40, 40, 57, 57}, SBS_SIZEGRIP);
    SkinnedBar box(parent, RECT{80, 40, 97, 57}, SBS_SIZEBOX);
    Pump(200);
    CSkinClassTheme* theme = CSkinEngine::Instance()->GetSchema()->GetClassTheme("SCROLLBAR");
    ASSERT_TRUE(theme);
    const RECT r{0, 0, 17, 17};
    for (const SkinnedBar* bar : {&grip, &box}) {
        Canvas printed(17, 17), reference(17, 17);
        SendMessageA(bar->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
        FillRect(reference.dc(), &r,
                 SkinClientBrush(bar->hwnd(), reference.dc(), WM_CTLCOLORSTATIC, CSkinEngine::Instance()->GetMetrics()));
        if (bar == &grip) theme->DrawThemeBackground(reference.dc(), ScrollPartSizeBox, 1, r);
        int differ = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) differ += printed.At(x, y) != reference.At(x, y);
        EXPECT_EQ(0, differ) << (bar == &grip ? "size grip" : "size box");
    }
    Canvas plain(17, 17);
    FillRect(plain.dc(), &r, SkinClientBrush(grip.hwnd(), plain.dc(), WM_CTLCOLORSTATIC, CSkinEngine::Instance()->GetMetrics()));
    Canvas printed(17, 17);
    SendMessageA(grip.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
    int drawn = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) drawn += printed.At(x, y) != plain.At(x, y);
    EXPECT_GT(drawn, 0) << "the grip shows its picture";
}

}  // namespace

namespace {

// A window with both bars of its own beside a client area inset by 2 pixels: the vertical bar at
// (181, 2)..(198, 181), the horizontal one at (2, 181)..(181, 198).
LRESULT CALLBACK OwnBarsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCALCSIZE) {
        RECT& r = *reinterpret_cast<RECT*>(lParam);
        r.left += 2;
        r.top += 2;
        r.right -= 2 + 17;
        r.bottom -= 2 + 17;
        return 0;
    }
    if (message == WM_NCPAINT) return 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(SkinnedOwnBars, PaintAndHoverInWindowCoordinates) {
    ASSERT_TRUE(StartSkin());
    harness::RegisterWindowClass("SkinScrollBarTestOwnBars", OwnBarsProc);
    HWND hwnd = CreateWindowExA(0, "SkinScrollBarTestOwnBars", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 500, 100, 200,
                                200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SCROLLINFO v{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 0, 0}, h{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 90, 0};
    SetScrollInfo(hwnd, SB_VERT, &v, FALSE);
    SetScrollInfo(hwnd, SB_HORZ, &h, FALSE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);

    const CSkinMetrics& metrics = *CSkinEngine::Instance()->GetMetrics();
    ASSERT_EQ(17, metrics.cxVScroll);
    ASSERT_EQ(17, metrics.cyHScroll);
    CSkinClassTheme* theme = CSkinEngine::Instance()->GetSchema()->GetClassTheme("SCROLLBAR");
    ASSERT_TRUE(theme);
    const HBRUSH background = CreateSolidBrush(RGB(250, 20, 160));
    CSkinOwnScrollBars bars;
    bars.SetWindow(hwnd);
    bars.RefreshVisible();

    struct Piece {
        int part, state, from, to;
    };
    auto check = [&](int bar, const std::vector<Piece>& pieces, const char* what) {
        Canvas painted(200, 200), reference(200, 200);
        bars.Paint(painted.dc(), bar, metrics, *theme, background);
        const RECT r = bar == SB_VERT ? RECT{181, 2, 198, 181} : RECT{2, 181, 181, 198};
        FillRect(reference.dc(), &r, background);
        for (const Piece& p : pieces) {
            const RECT pr = bar == SB_VERT ? RECT{181, p.from, 198, p.to} : RECT{p.from, 181, p.to, 198};
            theme->DrawThemeBackground(reference.dc(), p.part, p.state, pr);
        }
        int differ = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) differ += painted.At(x, y) != reference.At(x, y);
        EXPECT_EQ(0, differ) << what;
    };
    const std::vector<Piece> vIdle{{1, 1, 2, 19}, {3, 1, 19, 35}, {9, 1, 19, 35}, {7, 1, 35, 164}, {1, 5, 164, 181}};
    const std::vector<Piece> hIdle{{1, 9, 2, 19}, {4, 1, 19, 148}, {2, 1, 148, 164}, {8, 1, 148, 164}, {1, 13, 164, 181}};
    check(SB_VERT, vIdle, "vertical");
    check(SB_HORZ, hIdle, "horizontal at the end");

    CSkinOwnScrollBars::Hover hover = bars.UpdateHover(POINT{190, 100});
    EXPECT_TRUE(hover.anyHot);
    EXPECT_TRUE(hover.changed[SB_VERT]);
    EXPECT_FALSE(hover.changed[SB_HORZ]);
    check(SB_VERT, {{1, 17, 2, 19}, {3, 1, 19, 35}, {9, 1, 19, 35}, {7, 2, 35, 164}, {1, 18, 164, 181}}, "hovered");
    check(SB_HORZ, hIdle, "the other bar stays idle");
    EXPECT_EQ(HTVSCROLL, bars.NcHitTest(POINT{190, 100}));
    EXPECT_EQ(HTHSCROLL, bars.NcHitTest(POINT{100, 190}));
    EXPECT_EQ(HTNOWHERE, bars.NcHitTest(POINT{190, 190}));

    hover = bars.UpdateHover(POINT{-1, -1});
    EXPECT_FALSE(hover.anyHot);
    EXPECT_TRUE(hover.changed[SB_VERT]);
    check(SB_VERT, vIdle, "after leaving");
    DeleteObject(background);
    DestroyWindow(hwnd);
}

}  // namespace
