// Scroll bars drawn from the theme: the pieces and states chosen for layouts and looks, and the pixels
// of DrawThemeScrollBar against DrawThemeBackground of the same part, state and rectangle.
#include <gtest/gtest.h>

#include "CSkinScrollBarTracking.h"
#include "SkinScrollBarDraw.h"
#include "SkinTestSupport.h"

using namespace skintest;

namespace {

uint32_t Solid(int r, int g, int b, int a = 255) { return (uint32_t(a) << 24) | (r << 16) | (g << 8) | b; }

class NoHost : public CSkinScrollBarTracking::Host {
public:
    void Notify(int, int) override {}
    void SetRepeatTimer(UINT) override {}
    void KillRepeatTimer() override {}
    void Repaint() override {}
};

enum class Tracked { Nothing, ThisInside, ThisOutside, ThisDragging, Other };
enum class ThemeKind { Arrows20, Arrows16, Own };

struct Piece {
    int part, state, from, to;
};

struct DrawCase {
    const char* name;
    bool vertical;
    RECT rect;
    SCROLLINFO si;
    int arrow;
    int hotPart;
    Tracked tracked;
    int enabled;
    std::vector<Piece> pieces;
};

SCROLLINFO Info(int min, int max, UINT page, int pos) { return SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, min, max, page, pos, 0}; }

class ScrollBarDraw : public ::testing::Test {
protected:
    // Every frame of every part a colour of its own; the after-thumb track half transparent, so that
    // the background fill shows through it; grippers smaller than the thumb.
    void Strip(const std::string& name, int frames, int w, int h, int alpha, int seed) {
        std::vector<uint32_t> px;
        for (int f = 0; f < frames; ++f)
            for (int i = 0; i < w * h; ++i) px.push_back(Solid(seed, 10 + f * 12, 255 - f * 9, alpha));
        dir.Write(name, EncodePng(w, h * frames, px, alpha != 255));
    }
    CSkinClassTheme* SyntheticTheme(int arrowImages) {
        Strip("ARROWS.PNG", arrowImages, 17, 17, 255, 20);
        const char* names[] = {"THUMBH.PNG", "THUMBV.PNG", "LOWH.PNG", "UPH.PNG", "LOWV.PNG", "UPV.PNG", "GRIPH.PNG", "GRIPV.PNG"};
        for (int i = 0; i < 8; ++i) {
            const bool gripper = i >= 6;
            Strip(names[i], 4, gripper ? 6 : 17, gripper ? 6 : 17, i == 5 ? 128 : 255, 40 + i * 25);
        }
        std::string text = "[Scrollbar.ArrowBtn]\nImageFile = ARROWS.PNG\nImageCount = " + std::to_string(arrowImages) +
                           "\nImageLayout = Vertical\nSizingType = Stretch\n";
        const char* parts[] = {"ThumbBtnHorz", "ThumbBtnVert", "LowerTrackHorz", "UpperTrackHorz",
                               "LowerTrackVert", "UpperTrackVert", "GripperHorz", "GripperVert"};
        for (int i = 0; i < 8; ++i)
            text += std::string("[Scrollbar.") + parts[i] + "]\nImageFile = " + names[i] +
                    "\nImageCount = 4\nImageLayout = Vertical\nSizingType = " + (i >= 6 ? "TrueSize" : "Stretch") + "\n";
        schema = SchemaFromText(text, dir.Path());
        return schema->GetClassTheme("SCROLLBAR");
    }
    CSkinClassTheme* OwnTheme() {
        CSkinEngine* engine = CSkinEngine::Instance();
        if (!engine->LoadSkin(ExePath().c_str(), nullptr)) return nullptr;
        return engine->GetSchema()->GetClassTheme("SCROLLBAR");
    }

    TempDir dir;
    CSkinRef<CSkinSchema> schema;
};

const RECT kV120{0, 0, 17, 120};  // arrows 0..17 and 103..120; info (0, 99, 10, 45) puts the thumb at 52..68

std::vector<DrawCase> Cases() {
    const SCROLLINFO mid = Info(0, 99, 10, 45);
    return {
        {"idle", true, kV120, mid, 17, 0, Tracked::Nothing, -1,
         {{1, 1, 0, 17}, {6, 1, 17, 52}, {3, 1, 52, 68}, {9, 1, 52, 68}, {7, 1, 68, 103}, {1, 5, 103, 120}}},
        {"hover over the track shows both arrows hovered", true, kV120, mid, 17, 62, Tracked::Nothing, -1,
         {{1, 17, 0, 17}, {6, 2, 17, 52}, {3, 1, 52, 68}, {9, 1, 52, 68}, {7, 1, 68, 103}, {1, 18, 103, 120}}},
        {"the hot arrow itself is hot, not hovered", true, kV120, mid, 17, 60, Tracked::Nothing, -1,
         {{1, 2, 0, 17}, {6, 1, 17, 52}, {3, 1, 52, 68}, {9, 1, 52, 68}, {7, 1, 68, 103}, {1, 18, 103, 120}}},
        {"pressed arrow", true, kV120, mid, 17, 61, Tracked::ThisInside, -1,
         {{1, 17, 0, 17}, {6, 1, 17, 52}, {3, 1, 52, 68}, {9, 1, 52, 68}, {7, 1, 68, 103}, {1, 7, 103, 120}}},
        {"pressed track with the cursor gone", true, kV120, mid, 17, 63, Tracked::ThisOutside, -1,
         {{1, 17, 0, 17}, {6, 1, 17, 52}, {3, 1, 52, 68}, {9, 1, 52, 68}, {7, 1, 68, 103}, {1, 18, 103, 120}}},
        {"no hot part while another bar is tracked", true, kV120, mid, 17, 62, Tracked::Other, -1,
         {{1, 17, 0, 17}, {6, 1, 17, 52}, {3, 1, 52, 68}, {9, 1, 52, 68}, {7, 1, 68, 103}, {1, 18, 103, 120}}},
        {"page covering the range disables an own bar", true, kV120, Info(0, 9, 10, 0), 17, 0, Tracked::Nothing, -1,
         {{1, 4, 0, 17}, {7, 4, 17, 103}, {1, 8, 103, 120}}},
        {"disabled control", true, kV120, mid, 17, 62, Tracked::Nothing, 0, {{1, 4, 0, 17}, {7, 4, 17, 103}, {1, 8, 103, 120}}},
        {"enabled control with nothing to scroll", true, kV120, Info(0, 9, 10, 0), 17, 0, Tracked::Nothing, 1,
         {{1, 1, 0, 17}, {3, 1, 17, 103}, {9, 1, 17, 103}, {1, 5, 103, 120}}},
        {"thumb longer than the track is hidden", true, RECT{0, 0, 17, 40}, mid, 17, 0, Tracked::Nothing, -1,
         {{1, 1, 0, 17}, {7, 1, 17, 23}, {1, 5, 23, 40}}},
        {"shorter than two arrows", true, RECT{0, 0, 17, 21}, mid, 17, 0, Tracked::Nothing, -1,
         {{1, 1, 0, 10}, {7, 1, 10, 11}, {1, 5, 11, 21}}},
        {"short vertical thumb has no gripper", true, kV120, Info(0, 100, 0, 0), 12, 0, Tracked::Nothing, -1,
         {{1, 1, 0, 12}, {3, 1, 12, 24}, {7, 1, 24, 108}, {1, 5, 108, 120}}},
        {"horizontal thumb of the same length has one", false, RECT{0, 0, 120, 17}, Info(0, 100, 0, 0), 12, 0,
         Tracked::Nothing, -1, {{1, 9, 0, 12}, {2, 1, 12, 24}, {8, 1, 12, 24}, {5, 1, 24, 108}, {1, 13, 108, 120}}},
        {"horizontal drag", false, RECT{0, 0, 150, 17}, mid, 17, 64, Tracked::ThisDragging, -1,
         {{1, 19, 0, 17}, {4, 1, 17, 67}, {2, 3, 67, 83}, {8, 3, 67, 83}, {5, 1, 83, 133}, {1, 20, 133, 150}}},
        {"horizontal disabled", false, RECT{0, 0, 150, 17}, mid, 17, 0, Tracked::Nothing, 0,
         {{1, 12, 0, 17}, {5, 4, 17, 133}, {1, 16, 133, 150}}},
        {"no thickness draws nothing", true, RECT{0, 0, 0, 120}, mid, 17, 0, Tracked::Nothing, -1, {}},
    };
}

// Without hover states in the strip, states 17 to 20 fall back to the plain ones.
int Without20(int part, int state) { return part == 1 && state > 16 ? (state - 17) * 4 + 1 : state; }

void CheckCases(CSkinClassTheme& theme, ThemeKind kind) {
    const HBRUSH background = CreateSolidBrush(RGB(250, 20, 160));
    for (const DrawCase& c : Cases()) {
        CSkinScrollBarInfo bar;
        bar.vertical = c.vertical;
        bar.visible = TRUE;
        LayoutScrollBar(bar, c.rect, c.si, c.arrow);
        bar.hotPart = c.hotPart;
        CSkinScrollBarInfo other;
        NoHost host;
        CSkinScrollBarTracking tracking(c.tracked == Tracked::Other ? other : bar, host, 500);
        tracking.inside = c.tracked == Tracked::ThisInside;
        tracking.dragging = c.tracked == Tracked::ThisDragging;
        SkinScrollBarLook look = ScrollBarLook(bar, c.tracked == Tracked::Nothing ? nullptr : &tracking);
        look.enabled = c.enabled;

        std::vector<Piece> expected = c.pieces;
        if (kind == ThemeKind::Arrows16)
            for (Piece& p : expected) p.state = Without20(p.part, p.state);
        const auto plan = PlanScrollBar(bar, look, kind != ThemeKind::Arrows16);
        ASSERT_EQ(expected.size(), plan.size()) << c.name;
        for (size_t i = 0; i < plan.size(); ++i) {
            const RECT want = c.vertical ? RECT{c.rect.left, expected[i].from, c.rect.right, expected[i].to}
                                         : RECT{expected[i].from, c.rect.top, expected[i].to, c.rect.bottom};
            EXPECT_EQ(expected[i].part, plan[i].part) << c.name << " piece " << i;
            EXPECT_EQ(expected[i].state, plan[i].state) << c.name << " piece " << i;
            EXPECT_TRUE(EqualRect(&want, &plan[i].rect)) << c.name << " piece " << i;
        }

        const int w = std::max<int>(c.rect.right, 1) + 3, h = c.rect.bottom + 3;
        Canvas drawn(w, h), reference(w, h);
        DrawThemeScrollBar(drawn.dc(), bar, theme, look, background);
        if (!expected.empty()) FillRect(reference.dc(), &c.rect, background);
        for (const Piece& p : expected) {
            const RECT r = c.vertical ? RECT{c.rect.left, p.from, c.rect.right, p.to} : RECT{p.from, c.rect.top, p.to, c.rect.bottom};
            theme.DrawThemeBackground(reference.dc(), p.part, p.state, r);
        }
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) differ += drawn.At(x, y) != reference.At(x, y);
        EXPECT_EQ(0, differ) << c.name;
        if (expected.empty()) {
            EXPECT_EQ(0, drawn.CountNot(RGB(255, 255, 255))) << c.name;
        }
    }
    DeleteObject(background);
}

TEST_F(ScrollBarDraw, PiecesAndPixelsWithHoverStates) {
    CSkinClassTheme* theme = SyntheticTheme(20);
    ASSERT_TRUE(theme);
    EXPECT_TRUE(ScrollBarHasHoverStates(*theme));
    CheckCases(*theme, ThemeKind::Arrows20);
}

TEST_F(ScrollBarDraw, PiecesAndPixelsWithoutHoverStates) {
    CSkinClassTheme* theme = SyntheticTheme(16);
    ASSERT_TRUE(theme);
    EXPECT_FALSE(ScrollBarHasHoverStates(*theme));
    CheckCases(*theme, ThemeKind::Arrows16);
}

TEST_F(ScrollBarDraw, OwnThemeHasHoverArrowsAndDrawsEveryLook) {
    CSkinClassTheme* theme = OwnTheme();
    ASSERT_TRUE(theme);
    EXPECT_TRUE(ScrollBarHasHoverStates(*theme));
    CheckCases(*theme, ThemeKind::Own);
}

}  // namespace
