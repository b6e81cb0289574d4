// The application frame's menu bar on real windows: rows and right-justified items from the
// frame's own measuring, the hit test, hover pixels, and the bar laid out again on DrawMenuBar.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "CSkinApiHookManager.h"
#include "CSkinObjectApplicationFrame.h"
#include "SkinGdi.h"
#include "SkinMenuLayout.h"
#include "SkinTestSupport.h"
#include "SkinWindowsTestSupport.h"
#include "WindowClass.h"

using namespace skinwintest;
using skintest::Canvas;

namespace {

class MenuBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // As the program does: windows with procedures of their own are reached through the
        // intercepted default procedures, and DrawMenuBar through its replacement.
        CSkinApiHookManager::Instance()->Register(CSkinEngine::Instance());
        ASSERT_TRUE(StartSkin());
        harness::RegisterWindowClass("MenuBarTestFrame", DefWindowProcA, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    void TearDown() override {
        if (m_hwnd) DestroyWindow(m_hwnd);
        Pump();
    }
    void Create(HMENU bar, int width) {
        m_hwnd = CreateWindowExA(0, "MenuBarTestFrame", "bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, width, 240,
                                 nullptr, bar, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_hwnd);
        Pump(30);
        CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(m_hwnd);
        m_frame = sink ? dynamic_cast<CSkinObjectApplicationFrame*>(sink->GetSkinObject()) : nullptr;
        ASSERT_NE(m_frame, nullptr);
        ASSERT_TRUE(m_frame->IsFrameSkinned());
        ASSERT_NE(m_frame->GetMenuBarWindow(), nullptr);
    }
    // The item's rectangle in window coordinates.
    RECT Item(int position) { return m_frame->GetMenuBarWindow()->ItemAt(position)->m_rect; }
    POINT ScreenPoint(int x, int y) {
        RECT w;
        GetWindowRect(m_hwnd, &w);
        return POINT{w.left + x, w.top + y};
    }
    LRESULT HitTest(POINT screen) { return SendMessageA(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)); }
    std::unique_ptr<Canvas> CaptureWindow() {
        RECT w;
        GetWindowRect(m_hwnd, &w);
        auto canvas = std::make_unique<Canvas>(w.right - w.left, w.bottom - w.top);
        HDC dc = GetWindowDC(m_hwnd);
        BitBlt(canvas->dc(), 0, 0, canvas->width(), canvas->height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(m_hwnd, dc);
        return canvas;
    }
    // Width the frame gives a text item: its shown text in the menu font and two average characters.
    int TextItemWidth(const char* text) {
        HDC dc = GetWindowDC(m_hwnd);
        HGDIOBJ old = SelectObject(dc, CSkinEngine::Instance()->GetMetrics()->menuFont.Get());
        const std::string shown = skin::WithoutMnemonicMarker(text);
        SIZE size;
        GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        TEXTMETRICA tm;
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(m_hwnd, dc);
        return size.cx + 2 * tm.tmAveCharWidth + 2;
    }
    COLORREF SkinColor(int index) { return CSkinEngine::Instance()->GetMetrics()->colors[index]; }

    HWND m_hwnd = nullptr;
    CSkinObjectApplicationFrame* m_frame = nullptr;
};

HMENU MakeBar(std::initializer_list<const char*> texts, bool lastRightJustified) {
    HMENU bar = CreateMenu();
    UINT id = 100;
    for (const char* text : texts) AppendMenuA(bar, MF_STRING, id++, text);
    if (lastRightJustified) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_STRING | MFT_RIGHTJUSTIFY;
        SetMenuItemInfoA(bar, static_cast<UINT>(texts.size() - 1), TRUE, &info);
    }
    return bar;
}

}  // namespace

TEST_F(MenuBarTest, OneRowUnderTheCaptionWithTheRightJustifiedItemAgainstTheRightBorder) {
    Create(MakeBar({"&File", "&Edit", "&Help"}, true), 400);
    const skin::FrameBorders& b = m_frame->GetBorders();
    const RECT bar = m_frame->GetMenuBarRect();
    const int h = GetSystemMetrics(SM_CYMENUSIZE);
    RECT window;
    GetWindowRect(m_hwnd, &window);
    EXPECT_EQ(bar.left, b.left);
    EXPECT_EQ(bar.top, b.top);
    EXPECT_EQ(bar.right, window.right - window.left - b.right);
    EXPECT_EQ(bar.bottom, b.top + h + 1);

    EXPECT_EQ(Item(0).left, b.left);
    EXPECT_EQ(Item(0).right - Item(0).left, TextItemWidth("&File"));
    EXPECT_EQ(Item(1).left, Item(0).right);
    EXPECT_EQ(Item(2).right, bar.right);
    EXPECT_EQ(Item(2).right - Item(2).left, TextItemWidth("&Help"));

    // The client area starts right under the bar.
    POINT origin = {0, 0};
    ClientToScreen(m_hwnd, &origin);
    EXPECT_EQ(origin.y - window.top, bar.bottom);
}

TEST_F(MenuBarTest, ANarrowWindowWrapsTheBarIntoRowsAndTheClientAreaShrinksByARow) {
    Create(MakeBar({"&File", "&Edit", "&View", "&Project", "&Build", "&Window", "&Help"}, true), 600);
    const int h = GetSystemMetrics(SM_CYMENUSIZE);
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int wideClient = client.bottom;
    EXPECT_EQ(m_frame->GetMenuBarRect().bottom - m_frame->GetMenuBarRect().top, h + 1);

    // Same height as now: the frame may have resized the window after creation to keep its client size.
    RECT created;
    GetWindowRect(m_hwnd, &created);
    SetWindowPos(m_hwnd, nullptr, 0, 0, 200, created.bottom - created.top, SWP_NOMOVE | SWP_NOZORDER);
    Pump(30);
    const RECT bar = m_frame->GetMenuBarRect();
    const int rows = (bar.bottom - bar.top - 1) / h;
    EXPECT_GE(rows, 2);
    GetClientRect(m_hwnd, &client);
    EXPECT_EQ(client.bottom, wideClient - (rows - 1) * h);
    // Every item lies inside the bar, rows start at its left edge, and the justified item ends the last row.
    int rowStarts = 0;
    for (int i = 0; i < 7; ++i) {
        const RECT r = Item(i);
        EXPECT_GE(r.left, bar.left);
        EXPECT_LE(r.right, bar.right) << i;
        EXPECT_LT(r.bottom, bar.bottom + 1);
        if (r.left == bar.left) ++rowStarts;
    }
    EXPECT_EQ(rowStarts, rows);
    EXPECT_EQ(Item(6).right, bar.right);
    EXPECT_EQ(Item(6).bottom, bar.bottom - 1);
}

TEST_F(MenuBarTest, HitTestAnswersMenuInsideTheBarBelowItsTopRow) {
    Create(MakeBar({"&File", "&Edit"}, false), 400);
    const RECT bar = m_frame->GetMenuBarRect();
    const RECT file = Item(0);
    struct Case {
        POINT windowPoint;
        LRESULT expect;
    } cases[] = {
        {{(file.left + file.right) / 2, (file.top + file.bottom) / 2}, HTMENU},
        {{bar.right - 5, bar.top + 1}, HTMENU},  // past the last item, still the bar
        {{(file.left + file.right) / 2, bar.bottom - 1}, HTMENU},
        {{(file.left + file.right) / 2, bar.bottom + 5}, HTCLIENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTest(ScreenPoint(c.windowPoint.x, c.windowPoint.y)), c.expect)
            << c.windowPoint.x << "," << c.windowPoint.y;
    EXPECT_NE(HitTest(ScreenPoint((file.left + file.right) / 2, bar.top)), HTMENU);
}

TEST_F(MenuBarTest, HoverHighlightsTheItemUnderThePointerAndLeavingClearsIt) {
    Create(MakeBar({"&File", "&Edit"}, false), 400);
    const RECT edit = Item(1);
    const RECT bar = m_frame->GetMenuBarRect();
    const POINT corner = {edit.left + 1, edit.top + 1};  // no text there
    auto pixels = CaptureWindow();
    EXPECT_EQ(pixels->At(corner.x, corner.y), SkinColor(COLOR_BTNFACE));
    EXPECT_EQ(pixels->At(bar.left + 2, bar.bottom - 1), SkinColor(COLOR_WINDOW));

    const POINT over = ScreenPoint((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
    SendMessageA(m_hwnd, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(over.x, over.y));
    EXPECT_EQ(m_frame->GetMenuBarWindow()->m_nSelected, 1);
    pixels = CaptureWindow();
    EXPECT_EQ(pixels->At(corner.x, corner.y), SkinColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(pixels->At(Item(0).left + 1, Item(0).top + 1), SkinColor(COLOR_BTNFACE));
    // The highlighted text is drawn in the highlight text colour.
    int textPixels = 0;
    for (int y = edit.top; y < edit.bottom; ++y)
        for (int x = edit.left; x < edit.right; ++x)
            if (pixels->At(x, y) == SkinColor(COLOR_HIGHLIGHTTEXT)) ++textPixels;
    EXPECT_GT(textPixels, 5);

    // Over the caption: no item is hot any more.
    const POINT caption = ScreenPoint(bar.left + 60, m_frame->GetBorders().top / 2);
    SendMessageA(m_hwnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    EXPECT_EQ(m_frame->GetMenuBarWindow()->m_nSelected, -1);
    pixels = CaptureWindow();
    EXPECT_EQ(pixels->At(corner.x, corner.y), SkinColor(COLOR_BTNFACE));
}

TEST_F(MenuBarTest, DrawMenuBarLaysTheBarOutAgain) {
    HMENU menu = MakeBar({"&File"}, false);
    Create(menu, 160);
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int before = client.bottom;
    for (const char* text : {"&Edit", "&View", "&Project", "&Window"}) AppendMenuA(menu, MF_STRING, 200, text);
    EXPECT_TRUE(DrawMenuBar(m_hwnd));
    const int h = GetSystemMetrics(SM_CYMENUSIZE);
    const RECT bar = m_frame->GetMenuBarRect();
    EXPECT_EQ(m_frame->GetMenuBarWindow()->ItemCount(), 5);
    EXPECT_GT(bar.bottom - bar.top, h + 1);
    GetClientRect(m_hwnd, &client);
    EXPECT_EQ(client.bottom, before - (bar.bottom - bar.top - h - 1));
    // Taking the menu away removes the bar.
    SetMenu(m_hwnd, nullptr);
    SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_TRUE(IsRectEmpty(&m_frame->GetMenuBarRect()));
    DestroyMenu(menu);
}

namespace {
HWND g_mdiClient = nullptr;
LRESULT CALLBACK MdiFrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefFrameProcA(h, g_mdiClient, m, w, l);
}
LRESULT CALLBACK MdiChildProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefMDIChildProcA(h, m, w, l); }
}  // namespace

// A maximized MDI child puts its system menu and its buttons into the frame's bar: a 20-pixel
// picture item first, and the three buttons, each as wide as the bar is high, packed at the right.
TEST_F(MenuBarTest, MaximizedMdiChildPutsItsIconItemFirstAndItsButtonsAtTheRightEnd) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MdiFrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MenuBarTestMdiFrame";
    RegisterClassA(&wc);
    wc.lpfnWndProc = MdiChildProc;
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = "MenuBarTestMdiChild";
    RegisterClassA(&wc);

    HMENU bar = MakeBar({"&File", "&Window"}, false);
    m_hwnd = CreateWindowExA(0, "MenuBarTestMdiFrame", "mdi", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 500, 300,
                             nullptr, bar, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(m_hwnd);
    CLIENTCREATESTRUCT ccs = {GetSubMenu(bar, 1), 50000};
    g_mdiClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 200,
                                  m_hwnd, nullptr, GetModuleHandleA(nullptr), &ccs);
    ASSERT_TRUE(g_mdiClient);
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = "MenuBarTestMdiChild";
    mcs.szTitle = "child";
    mcs.hOwner = GetModuleHandleA(nullptr);
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    mcs.style = WS_MAXIMIZE;
    HWND child = reinterpret_cast<HWND>(SendMessageA(g_mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_TRUE(child);
    Pump(50);
    CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(m_hwnd);
    m_frame = sink ? dynamic_cast<CSkinObjectApplicationFrame*>(sink->GetSkinObject()) : nullptr;
    ASSERT_NE(m_frame, nullptr);
    ASSERT_TRUE(DrawMenuBar(m_hwnd));
    ASSERT_NE(m_frame->GetMenuBarWindow(), nullptr);

    const int count = GetMenuItemCount(bar);
    ASSERT_GE(count, 5) << "the system put no child items into the bar";
    ASSERT_EQ(m_frame->GetMenuBarWindow()->ItemCount(), count);
    const int h = GetSystemMetrics(SM_CYMENUSIZE);
    const RECT barRect = m_frame->GetMenuBarRect();
    EXPECT_EQ(Item(0).right - Item(0).left, 20);
    EXPECT_EQ(Item(1).left, Item(0).right);
    int right = barRect.right;
    for (int i = count - 1; i >= count - 3; --i) {
        EXPECT_EQ(Item(i).right, right) << i;
        EXPECT_EQ(Item(i).right - Item(i).left, h) << i;
        right = Item(i).left;
    }
    // The child's icon is drawn in the first item.
    auto pixels = CaptureWindow();
    const RECT icon = Item(0);
    int notFace = 0;
    for (int y = icon.top; y < icon.bottom - 1; ++y)
        for (int x = icon.left; x < icon.right; ++x)
            if (pixels->At(x, y) != SkinColor(COLOR_BTNFACE)) ++notFace;
    EXPECT_GT(notFace, 20);
    DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
    g_mdiClient = nullptr;
}
