// Real framed windows under the skin: what WM_PRINT gives of the whole window against the theme's own
// rendering of the same parts, the caption buttons pressed with real pointer input, and the system's
// frame kept when frames are not to be skinned.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "CSkinObjectFrame.h"
#include "SkinGdi.h"
#include "SkinWindowsTestSupport.h"

using namespace skinwintest;

namespace {

const COLORREF kClientColor = RGB(20, 200, 120);
int g_minimizeCommands = 0;
int g_closeCommands = 0;

// A dialog, as the program's own window is: its procedure is the system's, so the skin object
// sees every message.
INT_PTR CALLBACK FrameDialogProc(HWND h, UINT m, WPARAM w, LPARAM) {
    switch (m) {
    case WM_SYSCOMMAND:
        // Counted, not carried out: the window stays where the test expects it.
        if ((w & 0xFFF0) == SC_MINIMIZE) {
            ++g_minimizeCommands;
            return TRUE;
        }
        if ((w & 0xFFF0) == SC_CLOSE) {
            ++g_closeCommands;
            return TRUE;
        }
        return FALSE;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        RECT r;
        GetClientRect(h, &r);
        skin::FillSolid(reinterpret_cast<HDC>(w), r, kClientColor);
        SetWindowLongPtrA(h, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    case WM_INITDIALOG:
        return TRUE;
    default:
        return FALSE;
    }
}

HWND CreateFrameDialog(DWORD style, HWND parent) {
    struct {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tmpl{};
    tmpl.dialog.style = style;
    tmpl.dialog.cx = 100;
    tmpl.dialog.cy = 60;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &tmpl.dialog, parent, FrameDialogProc, 0);
}

class Dib {
public:
    Dib(int w, int h) : m_w(w), m_h(h), m_dc(nullptr) {
        m_bitmap.Reset(skin::CreateDib32(w, h, reinterpret_cast<void**>(&m_bits)));
        m_dc.Select(m_bitmap.Get());
        skin::FillSolid(m_dc.Get(), RECT{0, 0, w, h}, RGB(255, 0, 255));
    }
    HDC dc() const { return m_dc.Get(); }
    COLORREF At(int x, int y) const {
        const DWORD p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of r that differ from the other bitmap's.
    int Differ(const Dib& other, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) != other.At(x, y);
        return n;
    }

private:
    int m_w, m_h;
    DWORD* m_bits = nullptr;
    skin::Bitmap m_bitmap;
    skin::MemoryDC m_dc;
};

CSkinObjectFrame* FrameOf(HWND hwnd) {
    CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(hwnd);
    return sink ? dynamic_cast<CSkinObjectFrame*>(sink->GetSkinObject()) : nullptr;
}

// Input is played from a thread of its own, since a press on a caption button runs a modal loop on
// the window's thread until the release.
void SendMove(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    Sleep(150);
}

void SendButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
    Sleep(150);
}

void PlayWhilePumping(const std::function<void()>& script) {
    std::atomic<bool> done{false};
    std::thread player([&] {
        script();
        done = true;
    });
    MSG msg;
    while (!done) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(2);
    }
    player.join();
    Pump(100);
}

// Press at from, move along the way, release at the last point.
void Click(POINT from, std::vector<POINT> way = {}) {
    PlayWhilePumping([&] {
        SendMove(from);
        SendButton(true);
        for (POINT p : way) SendMove(p);
        SendButton(false);
    });
}

void MoveTo(POINT screen) {
    PlayWhilePumping([&] { SendMove(screen); });
}

class SkinFrameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartSkin());
        CSkinEngine::Instance()->SetApplyOptions(SkinApplyAll);
        g_minimizeCommands = g_closeCommands = 0;
    }
    void TearDown() override {
        if (hwnd) DestroyWindow(hwnd);
        if (parent) DestroyWindow(parent);
        CSkinEngine::Instance()->SetApplyOptions(SkinApplyAll);
        MoveTo(POINT{5, 700});
    }
    // The framed window is a child of a plain top-level window: without a window manager, the system
    // leaves the caption of a top-level window to it, and pointer input there would go nowhere.
    void Create(DWORD style, const char* title = "") {
        parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 50, 50, 500, 360, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, parent);
        hwnd = CreateFrameDialog(style | WS_CHILD, parent);
        ASSERT_NE(nullptr, hwnd);
        SetWindowTextA(hwnd, title);
        SetWindowPos(hwnd, nullptr, 60, 60, 320, 200, SWP_NOZORDER);
        ShowWindow(hwnd, SW_SHOWNORMAL);
        SetForegroundWindow(parent);
        UpdateWindow(hwnd);
        Pump(150);
    }
    // A point of the window on the screen.
    POINT Screen(POINT inWindow) const {
        RECT w;
        GetWindowRect(hwnd, &w);
        return POINT{w.left + inWindow.x, w.top + inWindow.y};
    }
    POINT Centre(const RECT& r) const { return Screen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}); }

    HWND hwnd = nullptr;
    HWND parent = nullptr;
};

TEST_F(SkinFrameWindow, PrintGivesTheThemedFrameAroundTheClient) {
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const int w = window.right - window.left, h = window.bottom - window.top;
    const skin::FrameBorders b = frame->GetBorders();
    // The client area is what the skin's borders leave, not what the system's frame would.
    EXPECT_EQ(w - b.left - b.right, client.right);
    EXPECT_EQ(h - b.top - b.bottom, client.bottom);
    ASSERT_GT(b.top, 20);

    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
    ASSERT_TRUE(frame->IsCaptionActive());
    Dib printed(w, h);
    SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()), PRF_NONCLIENT | PRF_CLIENT);

    CSkinClassTheme* theme = CSkinEngine::Instance()->GetThemeClass(nullptr, "WINDOW");
    ASSERT_NE(nullptr, theme);
    Dib reference(w, h);
    const RECT left{0, b.top, b.left, h - b.bottom}, right{w - b.right, b.top, w, h - b.bottom},
        bottom{0, h - b.bottom, w, h}, strip{0, 0, w, b.top};
    theme->DrawThemeBackground(reference.dc(), 7, 1, left);
    theme->DrawThemeBackground(reference.dc(), 8, 1, right);
    theme->DrawThemeBackground(reference.dc(), 9, 1, bottom);
    theme->DrawThemeBackground(reference.dc(), 1, 1, strip);
    // Close, a disabled maximize (no maximize box) and minimize, drawn where the frame put them.
    const std::vector<skin::CaptionButton>& buttons = frame->GetCaptionButtons();
    ASSERT_EQ(3u, buttons.size());
    const int parts[] = {18, 17, 15}, states[] = {1, 4, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(parts[i], buttons[i].part);
        EXPECT_GT(buttons[i].rect.right - buttons[i].rect.left, 10);
        EXPECT_LE(buttons[i].rect.right, w - b.right);
        theme->DrawThemeBackground(reference.dc(), parts[i], states[i], buttons[i].rect);
    }
    EXPECT_EQ(0, printed.Differ(reference, left));
    EXPECT_EQ(0, printed.Differ(reference, right));
    EXPECT_EQ(0, printed.Differ(reference, bottom));
    // The caption right of the icon: background and buttons.
    const RECT captionPast{b.left + GetSystemMetrics(SM_CXSMICON) + 4, 0, w, b.top};
    EXPECT_EQ(0, printed.Differ(reference, captionPast));
    // The client drawn by the window, in its place.
    EXPECT_EQ(kClientColor, printed.At(b.left + 1, b.top + 1));
    EXPECT_EQ(kClientColor, printed.At(w - b.right - 2, h - b.bottom - 2));

    // The window region takes away the caption's see-through corner and keeps the rest.
    skin::GdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, GetWindowRgn(hwnd, region.Get()));
    EXPECT_FALSE(PtInRegion(region.Get(), w - 1, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), w / 2, h / 2));
    EXPECT_TRUE(PtInRegion(region.Get(), w / 2, 1));
    EXPECT_TRUE(PtInRegion(region.Get(), w - 1, h / 2));

    // Inactive: the frame's inactive states.
    SendMessageA(hwnd, WM_NCACTIVATE, FALSE, 0);
    Dib inactive(w, h), inactiveReference(w, h);
    SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(inactive.dc()), PRF_NONCLIENT);
    theme->DrawThemeBackground(inactiveReference.dc(), 7, 2, left);
    EXPECT_EQ(0, inactive.Differ(inactiveReference, left));
    EXPECT_NE(0, inactive.Differ(printed, strip)) << "the caption shows the inactive state";
}

TEST_F(SkinFrameWindow, CaptionButtonClickOnlyWhenReleasedOverIt) {
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    const RECT minimize = frame->GetCaptionButtons().at(2).rect;
    const POINT away = Screen(POINT{40, frame->GetBorders().top / 2});

    // Pressed, dragged off, released outside: nothing.
    EXPECT_EQ(HTMINBUTTON, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(Centre(minimize).x, Centre(minimize).y)));
    Click(Centre(minimize), {away});
    EXPECT_EQ(0, g_minimizeCommands);
    EXPECT_EQ(nullptr, GetCapture());

    // Pressed, dragged off and back before the release: the command.
    Click(Centre(minimize), {away, Centre(minimize)});
    EXPECT_EQ(1, g_minimizeCommands);
    // A plain click, for good measure.
    Click(Centre(minimize));
    EXPECT_EQ(2, g_minimizeCommands);

    // The disabled maximize is not a button at all: a press there is the caption's.
    const RECT maximize = frame->GetCaptionButtons().at(1).rect;
    EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(Centre(maximize).x, Centre(maximize).y)));
}

TEST_F(SkinFrameWindow, GrayedCloseCannotBeHit) {
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    const RECT close = frame->GetCaptionButtons().at(0).rect;
    const POINT centre = Centre(close);
    EXPECT_EQ(HTCLOSE, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)));

    EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(100);
    EXPECT_NE(HTCLOSE, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)));
    Click(centre);
    EXPECT_EQ(0, g_closeCommands);

    // Drawn disabled.
    RECT window;
    GetWindowRect(hwnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    Dib printed(w, h), reference(w, h);
    SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()), PRF_NONCLIENT);
    CSkinClassTheme* theme = CSkinEngine::Instance()->GetThemeClass(nullptr, "WINDOW");
    const int state = frame->IsCaptionActive() ? 4 : 8;
    theme->DrawThemeBackground(reference.dc(), 1, frame->IsCaptionActive() ? 1 : 2, RECT{0, 0, w, frame->GetBorders().top});
    theme->DrawThemeBackground(reference.dc(), 18, state, close);
    EXPECT_EQ(0, printed.Differ(reference, close));

    // Enabled again without any style change: the button follows the menu.
    EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    EXPECT_EQ(HTCLOSE, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)));
    Click(centre);
    EXPECT_EQ(1, g_closeCommands);
}

TEST_F(SkinFrameWindow, WithoutSkinnedFramesTheSystemKeepsItsFrame) {
    CSkinEngine::Instance()->SetApplyOptions(SkinApplyAll & ~SkinApplyFrame);
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    RECT system{0, 0, 100, 100};
    AdjustWindowRectEx(&system, GetWindowLongA(hwnd, GWL_STYLE), FALSE, GetWindowLongA(hwnd, GWL_EXSTYLE));
    EXPECT_EQ(window.right - window.left - (system.right - system.left - 100), client.right);
    EXPECT_EQ(window.bottom - window.top - (system.bottom - system.top - 100), client.bottom);

    // The system answers the hit test: its own caption buttons, not the skin's.
    POINT onCaption{window.left + 60, window.top - system.top / 2};
    EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(onCaption.x, onCaption.y)));

    // Switched on again, the same window takes the skin's frame.
    CSkinEngine::Instance()->SetApplyOptions(SkinApplyAll);
    Pump(100);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(window.bottom - window.top - frame->GetBorders().top - frame->GetBorders().bottom, client.bottom);
}

// The skin draws the menu bar: a window with one keeps the skin's frame, its client area below the bar.
TEST_F(SkinFrameWindow, AWindowWithAMenuBarKeepsTheSkinsFrameWithTheBarAboveItsClientArea) {
    hwnd = CreateFrameDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU, nullptr);
    ASSERT_NE(nullptr, hwnd);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(frame->IsFrameSkinned());
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 100, "File");
    ASSERT_TRUE(SetMenu(hwnd, bar));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_TRUE(frame->IsFrameSkinned());
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const skin::FrameBorders& b = frame->GetBorders();
    EXPECT_EQ(window.bottom - window.top - b.top - b.bottom - (GetSystemMetrics(SM_CYMENUSIZE) + 1), client.bottom);
}

}  // namespace
