// Real menu windows under the program's theme: layout figures, the classic fallback, and pixels
// read back from the shown window against the theme's own drawing of the same parts.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "CSkinMenuWindow.h"
#include "SkinGdi.h"
#include "SkinTestSupport.h"
#include "SkinWindowsTestSupport.h"
#include "WindowClass.h"

using namespace skinwintest;
using skintest::Canvas;

namespace {

constexpr COLORREF kOwnerDrawn = RGB(255, 0, 255);

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        mis->itemWidth = 50;
        mis->itemHeight = 20;
        return TRUE;
    }
    if (m == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        skin::FillSolid(dis->hDC, dis->rcItem, kOwnerDrawn);
        return TRUE;
    }
    return DefWindowProcA(h, m, w, l);
}

struct MenuHandle {
    HMENU h = CreatePopupMenu();
    ~MenuHandle() { DestroyMenu(h); }
    MenuHandle& Text(UINT id, const char* text, UINT flags = 0) {
        AppendMenuA(h, MF_STRING | flags, id, text);
        return *this;
    }
    MenuHandle& Separator() {
        AppendMenuA(h, MF_SEPARATOR, 0, nullptr);
        return *this;
    }
};

// A menu window of its own over a skinned owner, released as the tracker releases it.
class MenuWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSkin());
        harness::RegisterWindowClass("MenuTestOwner", OwnerProc);
    }
    void SetUp() override {
        m_owner = CreateWindowExA(0, "MenuTestOwner", "owner", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_owner);
    }
    void TearDown() override {
        Close();
        DestroyWindow(m_owner);
        Pump();
    }
    CSkinMenuWindow* Open(HMENU menu, HWND owner = nullptr) {
        Close();
        m_window = new CSkinMenuWindow;
        EXPECT_TRUE(m_window->CreateMenuWindow(owner ? owner : m_owner));
        m_window->m_hMenu = menu;
        m_size = m_window->Layout();
        return m_window;
    }
    void Show() {
        SetWindowPos(m_window->m_hWnd, HWND_TOPMOST, 400, 300, m_size.cx, m_size.cy,
                     SWP_NOOWNERZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        RedrawWindow(m_window->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(50);
    }
    // The shown window's pixels.
    std::unique_ptr<Canvas> Capture() {
        auto canvas = std::make_unique<Canvas>(m_size.cx, m_size.cy, RGB(1, 2, 3));
        HDC dc = GetDC(m_window->m_hWnd);
        BitBlt(canvas->dc(), 0, 0, m_size.cx, m_size.cy, dc, 0, 0, SRCCOPY);
        ReleaseDC(m_window->m_hWnd, dc);
        return canvas;
    }
    void Close() {
        if (!m_window) return;
        m_window->DestroyWindow();
        m_window->InternalRelease();
        m_window = nullptr;
    }
    RECT ItemRect(int position) { return m_window->ItemAt(position)->m_rect; }
    CSkinClassTheme* MenuTheme() { return CSkinEngine::Instance()->GetThemeClass(nullptr, "MENU"); }
    COLORREF SkinColor(int index) { return CSkinEngine::Instance()->GetMetrics()->colors[index]; }

    HWND m_owner = nullptr;
    CSkinMenuWindow* m_window = nullptr;
    SIZE m_size = {0, 0};
};

int Height(const RECT& r) { return r.bottom - r.top; }
int Width(const RECT& r) { return r.right - r.left; }

bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace

TEST_F(MenuWindowTest, ThemedAndClassicFiguresAndOneOwnerDrawnItemMakesTheWholeMenuClassic) {
    struct Case {
        bool ownerDrawn;
        bool themed;
        int gutter, separator, minText;
    } cases[] = {{false, true, 33, 6, 22}, {true, false, 17, 9, 17}};
    for (const Case& c : cases) {
        MenuHandle menu;
        menu.Text(1, "Open\tCtrl+O").Separator().Text(2, "Close");
        if (c.ownerDrawn) AppendMenuA(menu.h, MF_OWNERDRAW, 3, reinterpret_cast<LPCSTR>(7));
        Open(menu.h);
        EXPECT_EQ(m_window->IsThemed() != FALSE, c.themed);
        EXPECT_EQ(m_window->m_nGutter, c.gutter);
        EXPECT_EQ(Height(ItemRect(1)), c.separator);
        EXPECT_GE(Height(ItemRect(0)), c.minText);
        EXPECT_EQ(ItemRect(0).left, 3);
        EXPECT_EQ(ItemRect(0).top, 3);
        if (c.ownerDrawn) {
            EXPECT_EQ(Width(ItemRect(3)), Width(ItemRect(0)));  // the column's width
            EXPECT_EQ(Height(ItemRect(3)), 20);
            Show();
            auto pixels = Capture();
            // Classic: one-pixel frame in the skin's shadow colour around the skin's menu colour, and
            // the owner's own drawing in its item.
            EXPECT_TRUE(Near(pixels->At(0, 0), SkinColor(COLOR_BTNSHADOW)));
            EXPECT_TRUE(Near(pixels->At(m_size.cx - 1, m_size.cy - 1), SkinColor(COLOR_BTNSHADOW)));
            EXPECT_TRUE(Near(pixels->At(1, m_size.cy / 2), SkinColor(COLOR_MENU)));
            const RECT od = ItemRect(3);
            EXPECT_EQ(pixels->At(od.left + 2, od.top + 2), kOwnerDrawn);
        }
    }
}

TEST_F(MenuWindowTest, ColumnBreakStartsFourPixelsRightOfTheWidestItemAndColumnsShareTheirWidth) {
    MenuHandle menu;
    menu.Text(1, "A").Text(2, "A much longer first-column item").Text(3, "B", MF_MENUBREAK).Text(4, "Second column");
    Open(menu.h);
    const RECT a = ItemRect(0), wide = ItemRect(1), b = ItemRect(2), c = ItemRect(3);
    EXPECT_EQ(a.right, wide.right);
    EXPECT_EQ(b.left, wide.right + 4);
    EXPECT_EQ(b.top, 3);
    EXPECT_EQ(b.right, c.right);
    EXPECT_EQ(m_size.cx, c.right + 3);
    EXPECT_EQ(m_size.cy, wide.bottom + 3);
}

TEST_F(MenuWindowTest, DefaultItemIsMeasuredBold) {
    int widths[2];
    for (int isDefault = 0; isDefault < 2; ++isDefault) {
        MenuHandle menu;
        menu.Text(1, "Default action item");
        if (isDefault) SetMenuDefaultItem(menu.h, 0, TRUE);
        Open(menu.h);
        widths[isDefault] = m_size.cx;
    }
    EXPECT_GT(widths[1], widths[0]);
}

TEST_F(MenuWindowTest, AcceleratorEndsTwentyPixelsLeftOfTheItemsRightEdgeAndTheLabelStartsAfterTheGutter) {
    MenuHandle menu;
    menu.Text(1, "Item\tCtrl+Q").Text(2, "A longer item to widen the menu");
    Open(menu.h);
    Show();
    auto pixels = Capture();
    const RECT r = ItemRect(0);
    const COLORREF text = SkinColor(COLOR_MENUTEXT);
    int leftmost = INT_MAX, rightmost = -1;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (Near(pixels->At(x, y), text, 40)) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
    ASSERT_GE(rightmost, 0);
    EXPECT_LE(rightmost, r.right - 20 - 1);
    EXPECT_GE(rightmost, r.right - 20 - 4);
    EXPECT_GE(leftmost, r.left + m_window->m_nGutter);
    EXPECT_LE(leftmost, r.left + m_window->m_nGutter + 3);
}

TEST_F(MenuWindowTest, SelectedItemIsTheThemesHotPopupItem) {
    MenuHandle menu;
    menu.Text(1, "Alpha").Text(2, "Beta item with room at its right end");
    Open(menu.h);
    ASSERT_TRUE(m_window->IsThemed());
    Show();
    auto before = Capture();
    m_window->m_nSelected = 0;
    Show();
    auto after = Capture();

    // The theme's own drawing of the same parts, in the order the menu draws them.
    Canvas expect(m_size.cx, m_size.cy, RGB(1, 2, 3));
    CSkinClassTheme* theme = MenuTheme();
    RECT client = {0, 0, m_size.cx, m_size.cy};
    theme->DrawThemeBackground(expect.dc(), 10, 0, client);
    RECT inner = client;
    InflateRect(&inner, -3, -3);
    theme->DrawThemeBackground(expect.dc(), 9, 0, inner);
    RECT gutter = inner;
    gutter.right = inner.left + m_window->m_nGutter - 5;
    theme->DrawThemeBackground(expect.dc(), 13, 0, gutter);
    const RECT item = ItemRect(0);
    theme->DrawThemeBackground(expect.dc(), 14, 2, item);

    // Right of the label the item is background only.
    int compared = 0, differ = 0, changed = 0;
    for (int y = item.top; y < item.bottom; ++y)
        for (int x = item.left + m_window->m_nGutter + 60; x < item.right; ++x) {
            ++compared;
            if (after->At(x, y) != expect.At(x, y)) ++differ;
            if (after->At(x, y) != before->At(x, y)) ++changed;
        }
    ASSERT_GT(compared, 100);
    EXPECT_EQ(differ, 0);
    EXPECT_GT(changed, compared / 2);  // the selection shows at all
}

TEST_F(MenuWindowTest, CheckPicturesAndItemBitmapsLandInTheGutter) {
    // A black 8 x 8 check bitmap, and a 32-bit half-transparent premultiplied red picture.
    std::vector<BYTE> black(8 * 2, 0);  // monochrome rows padded to 16 bits
    skin::Bitmap check(CreateBitmap(8, 8, 1, 1, black.data()));
    void* bits = nullptr;
    skin::Bitmap picture(skin::CreateDib32(16, 16, &bits));
    ASSERT_TRUE(bits);
    for (int i = 0; i < 16 * 16; ++i) static_cast<uint32_t*>(bits)[i] = 0x80800000u;  // a=128, r=128

    MenuHandle menu;
    menu.Text(1, "Own check").Text(2, "Checked", MF_CHECKED).Text(3, "Picture").Text(4, "Plain");
    SetMenuItemBitmaps(menu.h, 0, MF_BYPOSITION, check.Get(), check.Get());
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = picture.Get();
    SetMenuItemInfoA(menu.h, 2, TRUE, &info);
    Open(menu.h);
    Show();
    auto pixels = Capture();

    const auto mid = [&](int position) { return (ItemRect(position).top + ItemRect(position).bottom) / 2; };
    EXPECT_EQ(pixels->At(16, mid(0)), RGB(0, 0, 0));
    EXPECT_NE(pixels->At(16, mid(3)), RGB(0, 0, 0));
    // The themed check differs from the unchecked look somewhere in its 22-pixel box.
    int checkDiffers = 0;
    for (int y = ItemRect(1).top; y < ItemRect(1).bottom; ++y)
        for (int x = 3; x < 25; ++x)
            if (pixels->At(x, y) != pixels->At(x, y - ItemRect(1).top + ItemRect(3).top)) ++checkDiffers;
    EXPECT_GT(checkDiffers, 4);
    // A radio item shows a bullet, not the tick of an ordinary checked item.
    CheckMenuRadioItem(menu.h, 3, 3, 3, MF_BYPOSITION);
    Show();
    auto radio = Capture();
    int bulletDiffers = 0;
    for (int y = ItemRect(1).top; y < ItemRect(1).bottom; ++y)
        for (int x = 3; x < 25; ++x)
            if (pixels->At(x, y) != radio->At(x, y - ItemRect(1).top + ItemRect(3).top)) ++bulletDiffers;
    EXPECT_GT(bulletDiffers, 4);
    // The picture is blended: red over the light gutter, neither opaque red nor untouched.
    const int cx = (m_window->m_nGutter - 8) / 2 + 3;
    const COLORREF blended = pixels->At(cx, mid(2));
    const COLORREF under = pixels->At(cx, mid(3));
    EXPECT_GT(GetRValue(blended), GetGValue(blended) + 40);
    EXPECT_LT(GetRValue(blended), 255);
    EXPECT_NE(blended, under);
}

// Pictures of a later column go in that column's gutter, not on the first column's items beside it.
TEST_F(MenuWindowTest, PicturesOfTheSecondColumnLandInItsOwnGutter) {
    std::vector<BYTE> black(8 * 2, 0);
    skin::Bitmap check(CreateBitmap(8, 8, 1, 1, black.data()));
    for (bool classic : {false, true}) {
        MenuHandle menu;
        menu.Text(1, "First column item").Text(2, "Below").Text(3, "Second", MF_MENUBREAK).Text(4, "Under it");
        if (classic) AppendMenuA(menu.h, MF_OWNERDRAW, 5, reinterpret_cast<LPCSTR>(7));
        SetMenuItemBitmaps(menu.h, 2, MF_BYPOSITION, check.Get(), check.Get());
        Open(menu.h);
        ASSERT_EQ(m_window->IsThemed() == FALSE, classic);
        Show();
        auto pixels = Capture();
        const RECT first = ItemRect(0), second = ItemRect(2);
        ASSERT_EQ(first.top, second.top);
        const int y = (second.top + second.bottom) / 2;
        const int offset = classic ? 11 : 16;
        EXPECT_EQ(pixels->At(second.left - 3 + offset, y), RGB(0, 0, 0)) << (classic ? "classic" : "themed");
        EXPECT_NE(pixels->At(offset, y), RGB(0, 0, 0)) << (classic ? "classic" : "themed");
    }
}

TEST_F(MenuWindowTest, MirroredOwnerGivesAMirroredWindowWhoseItemsMirrorOnScreen) {
    HWND mirrored = CreateWindowExA(WS_EX_LAYOUTRTL, "MenuTestOwner", "rtl", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(mirrored);
    MenuHandle menu;
    menu.Text(1, "One").Text(2, "Two");
    Open(menu.h, mirrored);
    EXPECT_TRUE(GetWindowLongPtrA(m_window->m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    Show();
    RECT window;
    GetWindowRect(m_window->m_hWnd, &window);
    const RECT item = ItemRect(0);
    const RECT screen = m_window->ItemScreenRect(m_window->ItemAt(0));
    EXPECT_EQ(screen.right, window.right - item.left);
    EXPECT_EQ(screen.left, window.right - item.right);
    EXPECT_EQ(screen.top, window.top + item.top);
    EXPECT_EQ(m_window->ItemAt(2), nullptr);
    EXPECT_EQ(m_window->ItemAt(-1), nullptr);
    // The last release takes a window nobody destroyed with it.
    const HWND popup = m_window->m_hWnd;
    m_window->InternalRelease();
    m_window = nullptr;
    EXPECT_FALSE(IsWindow(popup));
    DestroyWindow(mirrored);
}
