// Edits and list boxes under the skin: which colour request fills the inside of the themed border,
// and a buddy up-down lying over the border keeps its own edge.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "CSkinObjectEdit.h"
#include "EditTestSupport.h"
#include "SkinWindowsTestSupport.h"

using namespace edittest;
using skinwintest::Pump;

namespace {

class SkinEditWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skinwintest::StartSkin());
        parent = CreateParent(100, 100, 320, 200);
        ASSERT_NE(nullptr, parent);
        MovePointer({20, 20});
    }
    void TearDown() override {
        if (parent) DestroyWindow(parent);
        Pump(50);
    }
    HWND Child(const char* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h) {
        HWND c = CreateWindowExA(exStyle, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        UpdateWindow(parent);
        Pump(80);
        return c;
    }
    COLORREF ThemeBorder(const char* cls) {
        CSkinClassTheme* theme = CSkinEngine::Instance()->GetThemeClass(nullptr, cls);
        return theme ? theme->GetThemeColor(0, 0, TMT_BORDERCOLOR, CLR_INVALID) : CLR_INVALID;
    }
    HWND parent = nullptr;
};

TEST_F(SkinEditWindow, BorderInteriorComesFromTheColourRequestOfTheEditsState) {
    struct Row {
        const char* name;
        const char* cls;
        DWORD style;
        bool disabled;
        UINT request;
        COLORREF inside;
    } rows[] = {
        {"writable edit", "Edit", ES_AUTOHSCROLL, false, WM_CTLCOLOREDIT, kEditColour},
        {"read-only edit", "Edit", ES_AUTOHSCROLL | ES_READONLY, false, WM_CTLCOLORSTATIC, kStaticColour},
        {"disabled edit", "Edit", ES_AUTOHSCROLL, true, WM_CTLCOLORSTATIC, kStaticColour},
        {"list box", "ListBox", LBS_NOTIFY, false, WM_CTLCOLORLISTBOX, kListColour},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND c = Child(row.cls, row.style, WS_EX_CLIENTEDGE, 20, 20, 160, 60);
        ASSERT_NE(nullptr, c);
        if (row.disabled) EnableWindow(c, FALSE);
        LastColourRequest().erase(c);
        RedrawFrame(c);
        EXPECT_EQ(row.request, LastColourRequest()[c]);
        auto shot = ScreenOf(c);
        const int mid = shot->height() / 2;
        const COLORREF border = ThemeBorder(strcmp(row.cls, "Edit") == 0 ? "EDIT" : "LISTBOX");
        EXPECT_EQ(border, shot->At(0, mid)) << "outer pixel: the theme's border";
        EXPECT_EQ(border, shot->At(shot->width() - 1, mid));
        EXPECT_EQ(row.inside, shot->At(1, mid)) << "inside the border: the answer to the request";
        EXPECT_EQ(row.inside, shot->At(shot->width() - 2, mid));
        DestroyWindow(c);
    }
}

TEST_F(SkinEditWindow, PlainBorderedListBoxTakesTheThemesBorderColour) {
    // WS_BORDER alone stays a non-client border on a list box: the frame must not fall back to the
    // system's window-frame colour there.
    HWND list = Child("ListBox", LBS_NOTIFY | WS_BORDER, 0, 20, 20, 160, 60);
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & WS_BORDER);
    RedrawFrame(list);
    auto shot = ScreenOf(list);
    EXPECT_EQ(ThemeBorder("LISTBOX"), shot->At(0, shot->height() / 2));
    EXPECT_EQ(ThemeBorder("LISTBOX"), shot->At(shot->width() / 2, 0));
    EXPECT_EQ(ThemeBorder("LISTBOX"), shot->At(shot->width() - 1, shot->height() - 1));
}

TEST_F(SkinEditWindow, EditCreatedWithPlainBorderShowsTheThemesBorderColour) {
    // The system draws such a border itself, inside the client area; it must still come out themed.
    struct Row {
        const char* name;
        DWORD style;
    } rows[] = {{"single line", ES_AUTOHSCROLL}, {"read-only", ES_AUTOHSCROLL | ES_READONLY}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND e = Child("Edit", row.style | WS_BORDER, 0, 20, 20, 160, 24);
        ASSERT_NE(nullptr, e);
        SetWindowTextA(e, "text");
        UpdateWindow(e);
        Pump(80);
        auto shot = ScreenOf(e);
        EXPECT_EQ(ThemeBorder("EDIT"), shot->At(0, shot->height() / 2));
        EXPECT_EQ(ThemeBorder("EDIT"), shot->At(shot->width() / 2, 0));
        EXPECT_EQ(ThemeBorder("EDIT"), shot->At(shot->width() - 1, shot->height() - 1));
        DestroyWindow(e);
    }
}

TEST_F(SkinEditWindow, BuddyUpDownKeepsItsEdgeWhenTheEditFrameIsRepainted) {
    HWND edit = Child("Edit", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 20, 20, 120, 24);
    // The up-down sits over the edit's right border by 2 pixels, as a buddy does.
    HWND spin = Child(UPDOWN_CLASSA, 0, 0, 20 + 120 - 2, 20, 18, 24);
    ASSERT_TRUE(edit && spin);
    ASSERT_EQ(spin, GetWindow(edit, GW_HWNDNEXT));
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    InvalidateRect(spin, nullptr, TRUE);
    UpdateWindow(spin);
    Pump(80);
    auto before = ScreenOf(spin);
    RedrawFrame(edit);
    auto after = ScreenOf(spin);
    // What the edit's frame would paint there: its border colour outside, its brush inside.
    int differsFromEditBorder = 0;
    for (int y = 2; y < before->height() - 2; ++y) {
        for (int x = 0; x < 2; ++x) EXPECT_EQ(before->At(x, y), after->At(x, y)) << x << "," << y;
        if (before->At(1, y) != ThemeBorder("EDIT")) ++differsFromEditBorder;
    }
    EXPECT_GT(differsFromEditBorder, 0) << "the up-down's edge must be told apart from the edit's border";
    // The rest of the edit's border is still drawn.
    auto shot = ScreenOf(edit);
    EXPECT_EQ(ThemeBorder("EDIT"), shot->At(0, shot->height() / 2));
}

}  // namespace
