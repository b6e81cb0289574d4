// Real buttons under the skin, driven with real pointer input: what reaches the screen follows
// hover, press and leave as the theme draws those states; split buttons still notify their
// drop-down; owner-drawn ones stay their owner's; a see-through parent shows through.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "CSkinObjectButton.h"
#include "Input.h"
#include "SkinTestSupport.h"
#include "SkinWindowsTestSupport.h"
#include "WindowClass.h"

using namespace skin;
using namespace skinwintest;

namespace {

const COLORREF kParentColor = RGB(30, 140, 90);
HBRUSH g_parentBrush = nullptr;
bool g_nullBrush = false;
int g_dropDowns = 0;
int g_drawItems = 0;
int g_clicks = 0;

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_CTLCOLORBTN:
        return g_nullBrush ? reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH))
                           : reinterpret_cast<LRESULT>(g_parentBrush);
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, g_parentBrush);
        return TRUE;
    }
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(l)->code == BCN_DROPDOWN) ++g_dropDowns;
        return 0;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ++g_drawItems;
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(w) == BN_CLICKED) ++g_clicks;
        return 0;
    default:
        return DefWindowProcA(h, m, w, l);
    }
}

void MoveTo(POINT screen) {
    harness::SendPointerMove(screen);
    Pump(120);
}

void Button(bool down) {
    harness::SendLeftButton(down);
    Pump(120);
}

class SkinButtonWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartSkin());
        theme = CSkinEngine::Instance()->GetThemeClass(nullptr, "BUTTON");
        ASSERT_NE(nullptr, theme);
        if (!g_parentBrush) g_parentBrush = CreateSolidBrush(kParentColor);
        harness::RegisterWindowClass("ButtonTestParent", ParentProc, nullptr, LoadCursor(nullptr, IDC_ARROW));
        g_nullBrush = false;
        g_dropDowns = g_drawItems = g_clicks = 0;
        parent = CreateWindowExA(WS_EX_TOPMOST, "ButtonTestParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                                 100, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, parent);
        MoveTo({20, 20});
    }
    void TearDown() override {
        if (parent) DestroyWindow(parent);
        Pump(50);
    }
    HWND Child(DWORD style, const char* text, int x, int y, int w, int h, int id = 100) {
        HWND b = CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        UpdateWindow(parent);
        Pump(80);
        return b;
    }
    CSkinObjectButton* Skin(HWND b) {
        CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(b);
        return sink ? dynamic_cast<CSkinObjectButton*>(sink->GetSkinObject()) : nullptr;
    }
    // What the screen shows of the window's client area.
    std::unique_ptr<skintest::Canvas> Screen(HWND b) {
        RECT r;
        GetClientRect(b, &r);
        POINT at{0, 0};
        ClientToScreen(b, &at);
        auto c = std::make_unique<skintest::Canvas>(r.right, r.bottom);
        harness::CopyScreen(c->dc(), {at.x, at.y, at.x + r.right, at.y + r.bottom});
        return c;
    }
    // Pixels outside the content rectangle that differ from the theme's part and state.
    int OffTheme(HWND b, const skintest::Canvas& shot, int part, int state) {
        RECT r;
        GetClientRect(b, &r);
        skintest::Canvas expected(r.right, r.bottom, kParentColor);
        theme->DrawThemeBackground(expected.dc(), part, state, r);
        RECT text = r;
        InflateRect(&text, -10, -5);
        // A click gives the focus, and Wine keeps no UI state to hide its cue: skip that line.
        const bool focused = GetFocus() == b;
        int n = 0;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                POINT p{x, y};
                const bool onCue = (x == 1 || x == r.right - 2) || (y == 1 || y == r.bottom - 2);
                if (focused && onCue) continue;
                if (!PtInRect(&text, p) && shot.At(x, y) != expected.At(x, y)) ++n;
            }
        return n;
    }
    POINT CentreOf(HWND b) {
        RECT r;
        GetWindowRect(b, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    CSkinClassTheme* theme = nullptr;
    HWND parent = nullptr;
};

}  // namespace

TEST_F(SkinButtonWindow, HoverPressAndLeaveShowTheThemesStates) {
    HWND b = Child(BS_PUSHBUTTON, "OK", 20, 20, 100, 30);
    ASSERT_NE(nullptr, Skin(b));
    EXPECT_EQ(0, OffTheme(b, *Screen(b), 1, 1)) << "normal";
    MoveTo(CentreOf(b));
    EXPECT_TRUE(Skin(b)->IsHot());
    EXPECT_EQ(0, OffTheme(b, *Screen(b), 1, 2)) << "hot";
    Button(true);
    EXPECT_TRUE(Skin(b)->IsPushed());
    EXPECT_EQ(0, OffTheme(b, *Screen(b), 1, 3)) << "pressed";
    // Dragged off while held: the system releases the push state; still captured, so still hot.
    MoveTo({CentreOf(b).x + 150, CentreOf(b).y + 60});
    EXPECT_FALSE(Skin(b)->IsPushed());
    EXPECT_EQ(0, OffTheme(b, *Screen(b), 1, 2)) << "captured off the button";
    Button(false);
    EXPECT_EQ(0, g_clicks);
    EXPECT_FALSE(Skin(b)->IsHot());
    EXPECT_EQ(0, OffTheme(b, *Screen(b), 1, 1)) << "left";
    // A full click still clicks.
    MoveTo(CentreOf(b));
    Button(true);
    Button(false);
    EXPECT_EQ(1, g_clicks);
}

TEST_F(SkinButtonWindow, DefaultAndDisabledButtons) {
    HWND def = Child(BS_DEFPUSHBUTTON, "Yes", 20, 20, 100, 30, 101);
    HWND off = Child(BS_PUSHBUTTON, "No", 20, 70, 100, 30, 102);
    EnableWindow(off, FALSE);
    Pump(80);
    EXPECT_EQ(0, OffTheme(def, *Screen(def), 1, 5)) << "defaulted";
    EXPECT_EQ(0, OffTheme(off, *Screen(off), 1, 4)) << "disabled";
    MoveTo(CentreOf(def));
    EXPECT_EQ(0, OffTheme(def, *Screen(def), 1, 2)) << "hovered default";
    MoveTo(CentreOf(off));
    EXPECT_EQ(0, OffTheme(off, *Screen(off), 1, 4)) << "disabled ignores the pointer";
}

TEST_F(SkinButtonWindow, CheckBoxFollowsClicks) {
    HWND b = Child(BS_AUTOCHECKBOX, "Check", 20, 20, 120, 20);
    ASSERT_NE(nullptr, Skin(b));
    const SIZE glyph = ThemePartDrawSize(*theme, 3, 1, {13, 13});
    auto glyphDiff = [&](int state) {
        auto shot = Screen(b);
        RECT r;
        GetClientRect(b, &r);
        skintest::Canvas expected(r.right, r.bottom, kParentColor);
        HDC dc = expected.dc();
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SIZE space;
        GetTextExtentPoint32A(dc, " ", 1, &space);
        SelectObject(dc, old);
        const RECT box = GlyphRect(r, GetWindowLongA(b, GWL_STYLE), glyph, space.cy);
        theme->DrawThemeBackground(dc, 3, state, box);
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += shot->At(x, y) != expected.At(x, y);
        return n;
    };
    EXPECT_EQ(0, glyphDiff(1));
    MoveTo(CentreOf(b));
    EXPECT_EQ(0, glyphDiff(2));
    Button(true);
    EXPECT_EQ(0, glyphDiff(3));
    Button(false);
    EXPECT_EQ(BST_CHECKED, SendMessageA(b, BM_GETCHECK, 0, 0));
    EXPECT_EQ(0, glyphDiff(6));
    MoveTo({20, 20});
    EXPECT_EQ(0, glyphDiff(5));
    SendMessageA(b, BM_SETCHECK, BST_UNCHECKED, 0);
    Pump(80);
    EXPECT_EQ(0, glyphDiff(1));
}

TEST_F(SkinButtonWindow, SplitButtonKeepsItsDropDown) {
    HWND b = Child(BS_SPLITBUTTON, "Detect", 20, 20, 120, 30);
    ASSERT_NE(nullptr, Skin(b));
    RECT r;
    GetWindowRect(b, &r);
    MoveTo({r.right - 8, (r.top + r.bottom) / 2});
    Button(true);
    Button(false);
    EXPECT_EQ(1, g_dropDowns);
    MoveTo({r.left + 20, (r.top + r.bottom) / 2});
    Button(true);
    Button(false);
    EXPECT_EQ(1, g_dropDowns);
    EXPECT_EQ(1, g_clicks);
    // The marker is drawn in the skin's colours.
    MoveTo({20, 20});
    auto shot = Screen(b);
    RECT client;
    GetClientRect(b, &client);
    const RECT strip = SplitStripRect(client);
    const CSkinMetrics& m = *theme->GetSchema()->GetMetrics();
    EXPECT_EQ(m.colors[COLOR_BTNSHADOW], shot->At(strip.left, client.bottom / 2));
    int arrow = 0;
    for (int y = strip.top; y < strip.bottom; ++y)
        for (int x = strip.left + 2; x < strip.right; ++x) arrow += shot->At(x, y) == m.colors[COLOR_BTNTEXT];
    EXPECT_GE(arrow, 16);
}

TEST_F(SkinButtonWindow, OwnerDrawnStaysTheOwners) {
    HWND b = Child(BS_OWNERDRAW, "", 20, 20, 60, 30);
    EXPECT_GT(g_drawItems, 0);
    auto shot = Screen(b);
    EXPECT_EQ(RGB(0, 0, 0), shot->At(30, 15));
    MoveTo(CentreOf(b));
    EXPECT_FALSE(Skin(b) && Skin(b)->IsHot());
}

// WM_PRINTCLIENT into a section: a parent answering NULL_BRUSH leaves what was there; a parent
// brush fills; the focus cue follows the focus.
TEST_F(SkinButtonWindow, BackgroundAndFocusCues) {
    HWND b = Child(BS_AUTOCHECKBOX, "Box", 20, 20, 120, 20);
    RECT r;
    GetClientRect(b, &r);
    const COLORREF under = RGB(1, 2, 3);
    auto print = [&] {
        auto c = std::make_unique<skintest::Canvas>(r.right, r.bottom, under);
        EXPECT_EQ(TRUE, SendMessageA(b, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c->dc()), PRF_CLIENT));
        return c;
    };
    EXPECT_EQ(kParentColor, print()->At(r.right - 2, 1));
    g_nullBrush = true;
    EXPECT_EQ(under, print()->At(r.right - 2, 1));
    g_nullBrush = false;

    // The focus cue comes and goes with the focus.
    SetFocus(parent);
    Pump(50);
    auto unfocused = print();
    SetFocus(b);
    Pump(50);
    auto focused = print();
    int differ = 0;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x) differ += unfocused->At(x, y) != focused->At(x, y);
    EXPECT_GT(differ, 10);
}
