// Buttons from style to pixels: roles and theme states by table, layout figures, and drawings
// into 32-bit sections compared with the theme's own rendering of the same part and state.
#include <gtest/gtest.h>

#include "SkinButtonDraw.h"
#include "SkinTestSupport.h"

using namespace skin;
using namespace skintest;

namespace {

CSkinClassTheme* ButtonTheme() {
    static CSkinClassTheme* theme = [] {
        CSkinEngine* engine = CSkinEngine::Instance();
        return engine->LoadSkin(ExePath().c_str(), nullptr) ? engine->GetThemeClass(nullptr, "BUTTON") : nullptr;
    }();
    return theme;
}

HFONT TestFont() {
    static HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                                    0, "Tahoma");
    return font;
}

// Pixels of a inside r that differ from b; outside `except` only.
int Differences(const Canvas& a, const Canvas& b, const RECT& r, const RECT& except = RECT{}) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            POINT p{x, y};
            if (PtInRect(&except, p)) continue;
            if (a.At(x, y) != b.At(x, y)) ++n;
        }
    return n;
}

ButtonFace Face(DWORD type, const char* text = "") {
    ButtonFace f;
    f.style = WS_CHILD | WS_VISIBLE | type;
    f.text = text;
    f.font = TestFont();
    return f;
}

}  // namespace

TEST(SkinButtonRole, EveryTypeHasItsRole) {
    struct Row {
        DWORD style;
        int type;
        ButtonKind kind;
        bool pushLike, isDefault, split;
        ButtonContent content;
    };
    const Row rows[] = {
        {BS_PUSHBUTTON, 0, ButtonKind::Push, true, false, false, ButtonContent::Inner},
        {BS_DEFPUSHBUTTON, 1, ButtonKind::Push, true, true, false, ButtonContent::Inner},
        {BS_CHECKBOX, 2, ButtonKind::CheckBox, false, false, false, ButtonContent::BesideCheck},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, 3, ButtonKind::CheckBox, true, false, false, ButtonContent::Inner},
        {BS_RADIOBUTTON, 4, ButtonKind::Radio, false, false, false, ButtonContent::BesideRadio},
        {BS_3STATE, 5, ButtonKind::CheckBox, false, false, false, ButtonContent::BesideCheck},
        {BS_AUTO3STATE, 6, ButtonKind::CheckBox, false, false, false, ButtonContent::BesideCheck},
        {BS_GROUPBOX, 7, ButtonKind::GroupBox, false, false, false, ButtonContent::GroupCaption},
        {BS_USERBUTTON, 8, ButtonKind::User, false, false, false, ButtonContent::Client},
        {BS_AUTORADIOBUTTON | BS_PUSHLIKE, 9, ButtonKind::Radio, true, false, false, ButtonContent::Inner},
        {BS_PUSHBOX, 10, ButtonKind::User, false, false, false, ButtonContent::Client},
        {BS_OWNERDRAW, 11, ButtonKind::NotSkinned, false, false, false, ButtonContent::Inner},
        {BS_SPLITBUTTON, 12, ButtonKind::Push, true, false, true, ButtonContent::Inner},
        {BS_DEFSPLITBUTTON, 13, ButtonKind::Push, true, true, true, ButtonContent::Inner},
        {14, 14, ButtonKind::NotSkinned, false, false, false, ButtonContent::Inner},
        {15 | BS_PUSHLIKE, 15, ButtonKind::NotSkinned, false, false, false, ButtonContent::Inner},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        const ButtonRole r = ClassifyButton(WS_CHILD | BS_MULTILINE | row.style);
        EXPECT_EQ(row.type, r.type);
        EXPECT_EQ(row.kind, r.kind);
        EXPECT_EQ(row.pushLike, r.pushLike);
        EXPECT_EQ(row.isDefault, r.isDefault);
        EXPECT_EQ(row.split, r.split);
        EXPECT_EQ(row.content, r.content);
        EXPECT_TRUE(r.multiLine);
    }
    // The override replaces the window's own type bits, 255 keeps them.
    EXPECT_EQ(ButtonKind::GroupBox, ClassifyButton(BS_PUSHBUTTON, BS_GROUPBOX).kind);
    EXPECT_EQ(ButtonKind::NotSkinned, ClassifyButton(BS_PUSHBUTTON, BS_OWNERDRAW).kind);
    EXPECT_EQ(ButtonKind::CheckBox, ClassifyButton(BS_CHECKBOX, 255).kind);
}

TEST(SkinButtonRole, ParentBrushAnswers) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    struct Row {
        bool parent;
        LRESULT answer;
        ButtonFill fill;
        int sysColor;
        HBRUSH brush;
    } rows[] = {
        {false, reinterpret_cast<LRESULT>(red), ButtonFill::SkinFace, COLOR_BTNFACE, nullptr},
        {true, 0, ButtonFill::SkinFace, COLOR_BTNFACE, nullptr},
        {true, COLOR_WINDOW + 1, ButtonFill::SystemColor, COLOR_WINDOW, nullptr},
        {true, 1, ButtonFill::SystemColor, 0, nullptr},
        {true, 30, ButtonFill::SystemColor, 29, nullptr},
        {true, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), ButtonFill::Transparent, COLOR_BTNFACE, nullptr},
        {true, reinterpret_cast<LRESULT>(red), ButtonFill::Brush, COLOR_BTNFACE, red},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        const ButtonBackground b = ClassifyParentBrush(row.parent, row.answer);
        EXPECT_EQ(row.fill, b.fill);
        EXPECT_EQ(row.sysColor, b.sysColor);
        EXPECT_EQ(row.brush, b.brush);
    }
    DeleteObject(red);
}

TEST(SkinButtonState, PartAndStateByFlags) {
    struct Row {
        DWORD style;
        bool enabled, pushed, hot;
        int check;
        int part, state;
    } rows[] = {
        {BS_PUSHBUTTON, true, false, false, 0, 1, 1},
        {BS_PUSHBUTTON, true, false, true, 0, 1, 2},
        {BS_PUSHBUTTON, true, true, true, 0, 1, 3},
        {BS_PUSHBUTTON, false, true, true, 0, 1, 4},
        {BS_DEFPUSHBUTTON, true, false, false, 0, 1, 5},
        {BS_DEFPUSHBUTTON, true, false, true, 0, 1, 2},   // hover wins over defaulted
        {BS_DEFSPLITBUTTON, true, false, false, 0, 1, 5},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, true, false, false, BST_CHECKED, 1, 3},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, true, false, true, BST_CHECKED, 1, 2},
        {BS_AUTOCHECKBOX, true, false, false, BST_UNCHECKED, 3, 1},
        {BS_AUTOCHECKBOX, true, false, true, BST_CHECKED, 3, 6},
        {BS_AUTOCHECKBOX, false, false, false, BST_CHECKED, 3, 8},
        {BS_AUTO3STATE, true, false, false, BST_INDETERMINATE, 3, 9},
        {BS_AUTO3STATE, true, false, true, BST_INDETERMINATE, 3, 10},
        {BS_3STATE, true, true, true, BST_INDETERMINATE, 3, 11},
        {BS_AUTO3STATE, false, false, false, BST_INDETERMINATE, 3, 12},
        {BS_AUTORADIOBUTTON, true, true, false, BST_UNCHECKED, 2, 3},
        {BS_RADIOBUTTON, true, false, false, BST_CHECKED, 2, 5},
        {BS_RADIOBUTTON, false, false, false, BST_CHECKED, 2, 8},
        {BS_GROUPBOX, true, true, true, 0, 4, 1},
        {BS_GROUPBOX, false, false, false, 0, 4, 2},
        {BS_OWNERDRAW, true, false, false, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.style << " hot " << row.hot << " check " << row.check);
        ButtonFlags f;
        f.enabled = row.enabled;
        f.pushed = row.pushed;
        f.hot = row.hot;
        f.check = row.check;
        const ButtonPartState ps = ButtonPartAndState(ClassifyButton(row.style), f);
        EXPECT_EQ(row.part, ps.part);
        EXPECT_EQ(row.state, ps.state);
    }
}

TEST(SkinButtonLayout, Figures) {
    const RECT client{0, 0, 100, 40};
    const ButtonMetrics m{1, 1, 2, 2};
    struct GlyphRow {
        DWORD style;
        RECT expected;
    } glyphs[] = {
        {0, {0, 13, 13, 26}},
        {BS_VCENTER, {0, 13, 13, 26}},
        {BS_TOP, {0, (16 + 4 - 13) / 2, 13, (16 + 4 - 13) / 2 + 13}},
        {BS_BOTTOM, {0, 40 + (20 - 13) / 2 - 20, 13, 40 + (20 - 13) / 2 - 20 + 13}},
        {BS_LEFTTEXT, {87, 13, 100, 26}},
    };
    for (const GlyphRow& g : glyphs) {
        SCOPED_TRACE(g.style);
        EXPECT_TRUE(EqualRect(&g.expected, &static_cast<const RECT&>(GlyphRect(client, g.style, {13, 13}, 16))));
    }
    RECT beside = BesideGlyphRect(client, 0, 13), besideLeft = BesideGlyphRect(client, BS_LEFTTEXT, 13);
    EXPECT_EQ(16, beside.left);
    EXPECT_EQ(100, beside.right);
    EXPECT_EQ(0, besideLeft.left);
    EXPECT_EQ(84, besideLeft.right);

    struct CaptionRow {
        DWORD style;
        SIZE text;
        RECT expected;
    } captions[] = {
        {0, {30, 14}, {9, 0, 43, 14}},
        {BS_LEFT, {30, 14}, {9, 0, 43, 14}},
        {BS_RIGHT, {30, 14}, {100 - 1 - 6 - 34, 0, 100 - 1 - 6, 14}},
        {BS_CENTER, {30, 14}, {33 + 1, 0, 33 + 1 + 34, 14}},
        {0, {0, 12}, {9, 0, 9, 12}},
    };
    for (const CaptionRow& c : captions) {
        SCOPED_TRACE(c.style);
        RECT r = GroupCaptionRect(client, c.style, c.text, m);
        EXPECT_TRUE(EqualRect(&c.expected, &r)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(8, GroupFrameRect(client, 16).top);
    RECT inner = PushContentRect(client, m, false), split = PushContentRect(client, m, true);
    EXPECT_TRUE(EqualRect(&inner, &static_cast<const RECT&>(RECT{2, 2, 98, 38})));
    EXPECT_EQ(86, split.right);
    RECT strip = SplitStripRect(client);
    EXPECT_TRUE(EqualRect(&strip, &static_cast<const RECT&>(RECT{84, 4, 96, 36})));

    // Push-like single-line content keeps the border from the edge it is aligned to; multi-line does not.
    const ButtonRole push = ClassifyButton(BS_PUSHBUTTON), pushMulti = ClassifyButton(BS_PUSHBUTTON | BS_MULTILINE),
                     check = ClassifyButton(BS_CHECKBOX);
    struct PosRow {
        DWORD style;
        const ButtonRole* role;
        POINT expected;
    } positions[] = {
        {0, &push, {2 + (96 - 20) / 2, 2 + (36 - 10) / 2}},
        {BS_LEFT | BS_TOP, &push, {3, 3}},
        {BS_RIGHT | BS_BOTTOM, &push, {98 - 20 - 1, 38 - 10 - 1}},
        {BS_LEFT | BS_TOP, &pushMulti, {2, 2}},
        {0, &check, {2, 2 + (36 - 10) / 2}},
        {BS_CENTER, &check, {2 + (96 - 20) / 2, 2 + (36 - 10) / 2}},
    };
    for (const PosRow& p : positions) {
        SCOPED_TRACE(p.style);
        POINT at = ContentPosition(inner, {20, 10}, p.style, *p.role, m);
        EXPECT_EQ(p.expected.x, at.x);
        EXPECT_EQ(p.expected.y, at.y);
    }

    RECT content{10, 0, 98, 20};
    RECT f = FocusRect(check, client, content, m);
    EXPECT_TRUE(EqualRect(&f, &static_cast<const RECT&>(RECT{9, 0, 100, 22})));
    f = FocusRect(push, client, content, m);
    EXPECT_TRUE(EqualRect(&f, &static_cast<const RECT&>(RECT{1, 1, 99, 39})));
    f = FocusRect(ClassifyButton(BS_USERBUTTON), client, content, m);
    EXPECT_TRUE(EqualRect(&f, &client));
}

// A push button in each state equals the theme's own rendering of that state away from its text,
// and the five states are told apart.
TEST(SkinButtonDraw, PushButtonStatesAreTheThemes) {
    CSkinClassTheme* theme = ButtonTheme();
    ASSERT_NE(nullptr, theme);
    const int W = 90, H = 28;
    const RECT r{0, 0, W, H};
    struct Row {
        DWORD type;
        bool enabled, hot, pushed;
        int state;
    } rows[] = {
        {BS_PUSHBUTTON, true, false, false, 1},  {BS_PUSHBUTTON, true, true, false, 2},
        {BS_PUSHBUTTON, true, true, true, 3},    {BS_PUSHBUTTON, false, true, false, 4},
        {BS_DEFPUSHBUTTON, true, false, false, 5},
    };
    std::vector<std::unique_ptr<Canvas>> themed;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        ButtonFace face = Face(row.type, "OK");
        face.flags.enabled = row.enabled;
        face.flags.hot = row.hot;
        face.flags.pushed = row.pushed;
        ApplySkinMetrics(face, *theme->GetSchema()->GetMetrics());
        Canvas drawn(W, H, RGB(255, 0, 255)), expected(W, H, RGB(255, 0, 255));
        ASSERT_TRUE(DrawThemeButton(drawn.dc(), r, *theme, face));
        theme->DrawThemeBackground(expected.dc(), 1, row.state, r);
        // Text lies inside the content rectangle; everything else is the theme's background.
        RECT text = PushContentRect(r, face.metrics, false);
        InflateRect(&text, -8, -3);
        EXPECT_EQ(0, Differences(drawn, expected, r, text));
        EXPECT_GT(Differences(drawn, expected, text), 0) << "no text";
        face.text.clear();
        Canvas bare(W, H, RGB(255, 0, 255));
        DrawThemeButton(bare.dc(), r, *theme, face);
        EXPECT_EQ(0, Differences(bare, expected, r));
        for (const auto& other : themed) EXPECT_GT(Differences(*other, expected, r), 0);
        auto keep = std::make_unique<Canvas>(W, H);
        BitBlt(keep->dc(), 0, 0, W, H, expected.dc(), 0, 0, SRCCOPY);
        themed.push_back(std::move(keep));
    }
}

TEST(SkinButtonDraw, CheckAndRadioGlyphStates) {
    CSkinClassTheme* theme = ButtonTheme();
    ASSERT_NE(nullptr, theme);
    const int W = 120, H = 24;
    const RECT r{0, 0, W, H};
    struct Row {
        DWORD type;
        bool enabled, hot, pushed;
        int check, part, state;
    } rows[] = {
        {BS_AUTOCHECKBOX, true, false, false, BST_UNCHECKED, 3, 1},
        {BS_AUTOCHECKBOX, true, true, false, BST_CHECKED, 3, 6},
        {BS_AUTOCHECKBOX, false, false, false, BST_CHECKED, 3, 8},
        {BS_AUTO3STATE, true, false, true, BST_INDETERMINATE, 3, 11},
        {BS_AUTORADIOBUTTON, true, false, false, BST_CHECKED, 2, 5},
        {BS_AUTORADIOBUTTON, true, true, false, BST_UNCHECKED, 2, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.part << "/" << row.state);
        ButtonFace face = Face(row.type, "Box");
        face.flags = {row.enabled, row.pushed, row.hot, row.check};
        Canvas drawn(W, H), expected(W, H);
        DrawThemeButton(drawn.dc(), r, *theme, face);
        const SIZE glyph = ThemePartDrawSize(*theme, row.part, 1, {13, 13});
        const RECT box = GlyphRect(r, face.style, glyph, 0 + [&] {
            SIZE s;
            HGDIOBJ old = SelectObject(expected.dc(), TestFont());
            GetTextExtentPoint32A(expected.dc(), " ", 1, &s);
            SelectObject(expected.dc(), old);
            return s.cy;
        }());
        theme->DrawThemeBackground(expected.dc(), row.part, row.state, box);
        EXPECT_EQ(0, Differences(drawn, expected, box));
        // Beside the box: what was there, then text.
        EXPECT_EQ(RGB(255, 255, 255), drawn.At(box.right + 1, 1));
        RECT text = BesideGlyphRect(r, face.style, glyph.cx);
        EXPECT_GT(Differences(drawn, expected, text), 0);
    }
}

TEST(SkinButtonDraw, GroupBoxFrameStopsBehindCaption) {
    CSkinClassTheme* theme = ButtonTheme();
    ASSERT_NE(nullptr, theme);
    const int W = 160, H = 80;
    const RECT r{0, 0, W, H};
    const COLORREF back = RGB(10, 200, 30);
    HBRUSH brush = CreateSolidBrush(back);
    for (bool withText : {true, false}) {
        for (bool transparent : {false, true}) {
            SCOPED_TRACE(testing::Message() << "text " << withText << " transparent " << transparent);
            ButtonFace face = Face(BS_GROUPBOX, withText ? "Group" : "");
            face.parentBrush = transparent ? nullptr : brush;
            ApplySkinMetrics(face, *theme->GetSchema()->GetMetrics());
            Canvas drawn(W, H, back), frameOnly(W, H, back);
            DrawThemeButton(drawn.dc(), r, *theme, face);
            SIZE space, text;
            HGDIOBJ old = SelectObject(frameOnly.dc(), TestFont());
            GetTextExtentPoint32A(frameOnly.dc(), " ", 1, &space);
            GetTextExtentPoint32A(frameOnly.dc(), "Group", 5, &text);
            SelectObject(frameOnly.dc(), old);
            const RECT frame = GroupFrameRect(r, space.cy);
            theme->DrawThemeBackground(frameOnly.dc(), 4, 1, frame);
            if (!withText) {
                EXPECT_EQ(0, Differences(drawn, frameOnly, r)) << "frame line broken without a caption";
                continue;
            }
            int line = frame.top;
            while (line < frame.top + 4 && frameOnly.At(W / 2, line) == back) ++line;
            ASSERT_LT(line, frame.top + 4) << "the theme's frame has no top line";
            const RECT caption = GroupCaptionRect(r, face.style, text, face.metrics);
            const int gapLeft = caption.left - face.metrics.cxEdge;
            // Inside the gap the line is gone; just outside it, on both sides, it is the theme's.
            for (int x = gapLeft; x < caption.right; ++x) {
                if (x >= caption.left + face.metrics.cxEdge && x < caption.left + face.metrics.cxEdge + text.cx)
                    continue;  // the text itself
                EXPECT_EQ(back, drawn.At(x, line)) << x;
            }
            EXPECT_EQ(frameOnly.At(gapLeft - 1, line), drawn.At(gapLeft - 1, line));
            EXPECT_EQ(frameOnly.At(caption.right, line), drawn.At(caption.right, line));
            EXPECT_NE(back, drawn.At(caption.right, line));
            // Text in the caption, the frame everywhere else.
            EXPECT_GT(Differences(drawn, frameOnly, caption), 0);
            EXPECT_EQ(0, Differences(drawn, frameOnly, r, RECT{gapLeft, 0, caption.right, caption.bottom}));
        }
    }
    DeleteObject(brush);
}

// Focus rectangle and mnemonic underline follow the UI state.
TEST(SkinButtonDraw, FocusAndAcceleratorCues) {
    CSkinClassTheme* theme = ButtonTheme();
    ASSERT_NE(nullptr, theme);
    const int W = 90, H = 28;
    const RECT r{0, 0, W, H};
    auto render = [&](ButtonFace face) {
        auto c = std::make_unique<Canvas>(W, H);
        DrawThemeButton(c->dc(), r, *theme, face);
        return c;
    };
    ButtonFace face = Face(BS_PUSHBUTTON, "&Go");
    ApplySkinMetrics(face, *theme->GetSchema()->GetMetrics());
    auto plain = render(face);
    face.focused = true;
    auto focused = render(face);
    face.hideFocus = true;
    auto hiddenFocus = render(face);
    EXPECT_GT(Differences(*plain, *focused, r), 0);
    EXPECT_EQ(0, Differences(*plain, *hiddenFocus, r));
    // The focus rectangle runs just inside the border.
    const RECT f = FocusRect(ClassifyButton(BS_PUSHBUTTON), r, r, face.metrics);
    EXPECT_GT(Differences(*plain, *focused, RECT{f.left, f.top, f.left + 1, f.bottom}), 0);
    EXPECT_EQ(0, Differences(*plain, *focused, r, RECT{f.left, f.top, f.right, f.bottom}));

    face.focused = false;
    face.hideFocus = false;
    face.hideAccel = true;
    auto hiddenAccel = render(face);
    EXPECT_GT(Differences(*plain, *hiddenAccel, r), 0);   // the underline is gone
    face.text = "Go";
    face.hideAccel = false;
    auto noMnemonic = render(face);
    EXPECT_EQ(0, Differences(*hiddenAccel, *noMnemonic, r));

    // Owner-drawn buttons are not the skin's.
    EXPECT_FALSE(DrawThemeButton(plain->dc(), r, *theme, Face(BS_OWNERDRAW, "x")));
}

// Bitmap content is drawn at its place by the alignment, in place of the text.
TEST(SkinButtonDraw, BitmapContentAligned) {
    CSkinClassTheme* theme = ButtonTheme();
    ASSERT_NE(nullptr, theme);
    const int W = 90, H = 30;
    const RECT r{0, 0, W, H};
    Canvas pic(8, 6, RGB(0, 0, 255));
    HBITMAP bitmap = CreateCompatibleBitmap(pic.dc(), 8, 6);
    {
        HDC dc = CreateCompatibleDC(pic.dc());
        HGDIOBJ old = SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, 8, 6, pic.dc(), 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    for (DWORD align : {DWORD(0), DWORD(BS_LEFT | BS_TOP), DWORD(BS_RIGHT | BS_BOTTOM)}) {
        SCOPED_TRACE(align);
        ButtonFace face = Face(BS_PUSHBUTTON | BS_BITMAP | align, "text not drawn");
        face.bitmap = bitmap;
        ApplySkinMetrics(face, *theme->GetSchema()->GetMetrics());
        Canvas c(W, H);
        DrawThemeButton(c.dc(), r, *theme, face);
        const POINT at = ContentPosition(PushContentRect(r, face.metrics, false), {8, 6}, face.style,
                                         ClassifyButton(face.style), face.metrics);
        EXPECT_EQ(RGB(0, 0, 255), c.At(at.x, at.y));
        EXPECT_EQ(RGB(0, 0, 255), c.At(at.x + 7, at.y + 5));
        EXPECT_NE(RGB(0, 0, 255), c.At(at.x + 8, at.y + 6));
        EXPECT_NE(RGB(0, 0, 255), c.At(at.x - 1, at.y));
    }
    DeleteObject(bitmap);
}
