// Combo boxes and date-time pickers under the skin: the drop-down button follows the pointer through
// the theme's states, borders of the window's own are taken away, the picker's check box and calendar
// come from the skin and the whole theme button opens the calendar.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "CSkinObjectComboBox.h"
#include "EditTestSupport.h"
#include "SkinWindowsTestSupport.h"

using namespace edittest;
using skinwintest::Pump;

namespace {

const COLORREF kNormalBorder = RGB(134, 139, 145);

class SkinComboWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skinwintest::StartSkin());
        engine = CSkinEngine::Instance();
        theme = engine->GetThemeClass(nullptr, "COMBOBOX");
        ASSERT_NE(nullptr, theme);
        parent = CreateParent(100, 100, 320, 260);
        ASSERT_NE(nullptr, parent);
        MovePointer({20, 20});
    }
    void TearDown() override {
        if (GetCapture()) ReleaseCapture();
        if (parent) DestroyWindow(parent);
        Pump(50);
    }
    HWND Child(const char* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h) {
        HWND c = CreateWindowExA(exStyle, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        UpdateWindow(parent);
        Pump(100);
        return c;
    }
    HWND Combo(DWORD style, DWORD exStyle = 0) {
        HWND c = Child("ComboBox", style | WS_VSCROLL, exStyle, 20, 20, 160, 150);
        for (const char* item : {"alpha", "beta", "gamma"}) SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(c, CB_SETCURSEL, 0, 0);
        return c;
    }
    POINT Centre(HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The theme's button in state, where a border-fill combo of this client size puts it.
    RECT ButtonRect(HWND combo) {
        RECT c;
        GetClientRect(combo, &c);
        const int v = engine->GetMetrics()->cxVScroll;
        return RECT{c.right - 1 - v, 1, c.right - 1, c.bottom - 1};
    }
    // Pixels of the button rectangle that differ from the theme's drop-down button in state.
    int OffButton(HWND combo, const skintest::Canvas& shot, int state) {
        RECT c;
        GetClientRect(combo, &c);
        const RECT b = ButtonRect(combo);
        skintest::Canvas expected(c.right, c.bottom, kEditColour);
        theme->DrawThemeBackground(expected.dc(), 1, state, b);
        int n = 0;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                if (shot.At(x, y) != expected.At(x, y)) ++n;
        return n;
    }
    int StatesDiffer(HWND combo, int a, int b) {
        RECT c;
        GetClientRect(combo, &c);
        skintest::Canvas one(c.right, c.bottom, kEditColour), two(c.right, c.bottom, kEditColour);
        theme->DrawThemeBackground(one.dc(), 1, a, ButtonRect(combo));
        theme->DrawThemeBackground(two.dc(), 1, b, ButtonRect(combo));
        int n = 0;
        for (int y = 0; y < c.bottom; ++y)
            for (int x = 0; x < c.right; ++x) n += one.At(x, y) != two.At(x, y);
        return n;
    }

    CSkinEngine* engine = nullptr;
    CSkinClassTheme* theme = nullptr;
    HWND parent = nullptr;
};

TEST_F(SkinComboWindow, DropDownListFollowsPointerThroughTheThemesStates) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    ASSERT_NE(nullptr, combo);
    ASSERT_GT(StatesDiffer(combo, 3, 2), 0);
    ASSERT_GT(StatesDiffer(combo, 3, 1), 0);
    const COLORREF hotBorder = theme->GetThemeColor(0, 2, TMT_BORDERCOLOR, kNormalBorder);
    ASSERT_NE(kNormalBorder, hotBorder);

    auto shot = ScreenOf(combo);
    EXPECT_EQ(0, OffButton(combo, *shot, 1)) << "normal";
    EXPECT_EQ(kNormalBorder, shot->At(0, shot->height() / 2));

    MovePointer(Centre(combo));
    shot = ScreenOf(combo);
    EXPECT_EQ(0, OffButton(combo, *shot, 2)) << "hot";
    EXPECT_EQ(hotBorder, shot->At(0, shot->height() / 2));

    // Held down: the list is open and the button shows pressed for as long as the button is held.
    LeftButton(true);
    EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(80);
    EXPECT_EQ(0, OffButton(combo, *ScreenOf(combo), 3)) << "held open";
    LeftButton(false);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Pump(80);

    MovePointer({20, 20});
    Pump(600);  // the system looks for the pointer's leaving on a timer of its hover time
    shot = ScreenOf(combo);
    EXPECT_EQ(0, OffButton(combo, *shot, 1)) << "left again";
    EXPECT_EQ(kNormalBorder, shot->At(0, shot->height() / 2));

    EnableWindow(combo, FALSE);
    Pump(80);
    // A disabled combo asks for static colours; its button is the theme's disabled one.
    RECT c;
    GetClientRect(combo, &c);
    skintest::Canvas expected(c.right, c.bottom, kStaticColour);
    const RECT b = ButtonRect(combo);
    theme->DrawThemeBackground(expected.dc(), 1, 4, b);
    shot = ScreenOf(combo);
    int off = 0;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) off += shot->At(x, y) != expected.At(x, y);
    EXPECT_EQ(0, off) << "disabled";
}

TEST_F(SkinComboWindow, OwnBordersAreTakenAwayAtCreation) {
    struct Row {
        const char* name;
        DWORD style;
        DWORD exStyle;
        const char* borderClass;
    } rows[] = {
        {"simple", CBS_SIMPLE, WS_EX_CLIENTEDGE, "EDIT"},
        {"drop-down", CBS_DROPDOWN, WS_EX_STATICEDGE, "COMBOBOX"},
        {"drop-down list", CBS_DROPDOWNLIST, WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, "COMBOBOX"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND combo = Combo(row.style | WS_BORDER, row.exStyle);
        ASSERT_NE(nullptr, combo);
        EXPECT_FALSE(GetWindowLongPtrA(combo, GWL_STYLE) & WS_BORDER);
        EXPECT_FALSE(GetWindowLongPtrA(combo, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        RECT w, c;
        GetWindowRect(combo, &w);
        GetClientRect(combo, &c);
        EXPECT_EQ(w.right - w.left, c.right) << "no non-client area left";
        EXPECT_EQ(w.bottom - w.top, c.bottom);
        CSkinClassTheme* borderTheme = engine->GetThemeClass(nullptr, row.borderClass);
        ASSERT_NE(nullptr, borderTheme);
        auto shot = ScreenOf(combo);
        EXPECT_EQ(borderTheme->GetThemeColor(0, 0, TMT_BORDERCOLOR, CLR_INVALID), shot->At(0, 4));
        EXPECT_EQ(borderTheme->GetThemeColor(0, 0, TMT_BORDERCOLOR, CLR_INVALID), shot->At(4, 0));
        DestroyWindow(combo);
    }
}

TEST_F(SkinComboWindow, DropDownEditKeepsItsTextWhenTheComboRepaints) {
    HWND combo = Combo(CBS_DROPDOWN);
    SetWindowTextA(combo, "WWWWWWWW");
    Pump(80);
    HWND edit = GetWindow(combo, GW_CHILD);
    ASSERT_NE(nullptr, edit);
    auto before = ScreenOf(edit);
    ASSERT_GT(before->CountNot(before->At(0, 0)), 10) << "the edit shows its text";
    // Only the combo itself is painted again: its buffer must not cover the edit.
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    Pump(80);
    auto after = ScreenOf(edit);
    int changed = 0;
    for (int y = 0; y < before->height(); ++y)
        for (int x = 0; x < before->width(); ++x) changed += before->At(x, y) != after->At(x, y);
    EXPECT_EQ(0, changed);
}

TEST_F(SkinComboWindow, DateTimePickerThemesCheckBoxAndCalendarAndOpensFromTheWholeButton) {
    HWND picker = Child(DATETIMEPICK_CLASSA, DTS_SHOWNONE | DTS_SHORTDATEFORMAT, 0, 20, 20, 180, 24);
    ASSERT_NE(nullptr, picker);
    const CSkinMetrics* m = engine->GetMetrics();
    EXPECT_EQ(m->colors[COLOR_WINDOW], static_cast<COLORREF>(SendMessageA(picker, DTM_GETMCCOLOR, MCSC_MONTHBK, 0)));
    EXPECT_EQ(m->colors[COLOR_ACTIVECAPTION], static_cast<COLORREF>(SendMessageA(picker, DTM_GETMCCOLOR, MCSC_TITLEBK, 0)));
    EXPECT_EQ(m->colors[COLOR_GRAYTEXT], static_cast<COLORREF>(SendMessageA(picker, DTM_GETMCCOLOR, MCSC_TRAILINGTEXT, 0)));

    auto shot = ScreenOf(picker);
    EXPECT_EQ(kNormalBorder, shot->At(0, shot->height() / 2)) << "drawn as a combo";
    EXPECT_EQ(0, OffButton(picker, *shot, 1));

    // Its check box is the theme's: compare with the theme's checked and unchecked boxes.
    CSkinClassTheme* button = engine->GetThemeClass(nullptr, "BUTTON");
    ASSERT_NE(nullptr, button);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&now));
    Pump(80);
    auto matchesBox = [&](int state) {
        auto s = ScreenOf(picker);
        // The box is the control's own child button where it keeps one (itself skinned), else where
        // the control says, else at the left, centred.
        RECT box{};
        DATETIMEPICKERINFO info{};
        info.cbSize = sizeof info;
        HWND child = FindWindowExA(picker, nullptr, "Button", nullptr);
        if (child) {
            GetWindowRect(child, &box);
            MapWindowPoints(nullptr, picker, reinterpret_cast<POINT*>(&box), 2);
        } else if (SendMessageA(picker, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info)) &&
                   !IsRectEmpty(&info.rcCheck)) {
            box = info.rcCheck;
        } else {
            RECT c;
            GetClientRect(picker, &c);
            const int side = std::min<int>(13, c.bottom - 4);
            box = RECT{2, (c.bottom - side) / 2, 2 + side, (c.bottom - side) / 2 + side};
        }
        // No more than the glyph: the box's own background is its parent's business.
        box.right = std::min<LONG>(box.right, box.left + 13);
        box.bottom = std::min<LONG>(box.bottom, box.top + 13);
        skintest::Canvas expected(s->width(), s->height(), kEditColour);
        button->DrawThemeBackground(expected.dc(), 3, state, box);
        int off = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) off += s->At(x, y) != expected.At(x, y);
        return off;
    };
    EXPECT_EQ(0, matchesBox(5)) << "checked";
    // Unchecked, as far as the control's own box follows it.
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    Pump(80);
    HWND child = FindWindowExA(picker, nullptr, "Button", nullptr);
    const bool stillChecked = child && SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EXPECT_EQ(0, matchesBox(stillChecked ? 5 : 1)) << "unchecked";

    // The theme's button is wider than the control's own: its left edge opens the calendar too.
    RECT w;
    GetWindowRect(picker, &w);
    const RECT b = ButtonRect(picker);
    MovePointer({w.left + b.left + 1, (w.top + w.bottom) / 2});
    LeftButton(true);
    LeftButton(false);
    const HWND calendar = reinterpret_cast<HWND>(SendMessageA(picker, DTM_GETMONTHCAL, 0, 0));
    EXPECT_NE(nullptr, calendar);
    if (calendar) {
        EXPECT_EQ(m->colors[COLOR_WINDOW], static_cast<COLORREF>(SendMessageA(calendar, MCM_GETCOLOR, MCSC_MONTHBK, 0)));
        SendMessageA(picker, WM_KEYDOWN, VK_ESCAPE, 0);
        Pump(80);
    }
}

TEST_F(SkinComboWindow, MonthCalendarCreatedUnderTheSkinTakesItsColours) {
    HWND calendar = Child(MONTHCAL_CLASSA, 0, 0, 20, 20, 240, 180);
    ASSERT_NE(nullptr, calendar);
    const CSkinMetrics* m = engine->GetMetrics();
    struct Row {
        int slot;
        int colour;
    } rows[] = {{MCSC_BACKGROUND, COLOR_WINDOW}, {MCSC_MONTHBK, COLOR_WINDOW}, {MCSC_TEXT, COLOR_WINDOWTEXT},
                {MCSC_TITLEBK, COLOR_ACTIVECAPTION}, {MCSC_TITLETEXT, COLOR_CAPTIONTEXT},
                {MCSC_TRAILINGTEXT, COLOR_GRAYTEXT}};
    for (const Row& row : rows)
        EXPECT_EQ(m->colors[row.colour], static_cast<COLORREF>(SendMessageA(calendar, MCM_GETCOLOR, row.slot, 0)))
            << "slot " << row.slot;
}

}  // namespace
