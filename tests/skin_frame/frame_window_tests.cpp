// Real framed windows under the skin: what WM_PRINT gives of the whole window against the theme's own
// rendering of the same parts, the caption buttons pressed with real pointer input, and the system's
// frame kept when frames are not to be skinned.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "CSkinFrameRegionCache.h"
#include "CSkinObjectFrame.h"
#include "Input.h"
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

HWND CreateFrameDialog(DWORD style, HWND parent, DLGPROC procedure = FrameDialogProc) {
    struct {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tmpl{};
    tmpl.dialog.style = style;
    tmpl.dialog.cx = 100;
    tmpl.dialog.cy = 60;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &tmpl.dialog, parent, procedure, 0);
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
    harness::SendPointerMove(screen);
    Sleep(150);
}

void SendButton(bool down) {
    harness::SendLeftButton(down);
    Sleep(150);
}

using harness::PlayWhilePumping;

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
    // Its buttons take their inactive frames (state + 4): a disabled maximize box still looks disabled.
    theme->DrawThemeBackground(inactiveReference.dc(), 1, 2, strip);
    Dib enabledLook(w, h);
    theme->DrawThemeBackground(enabledLook.dc(), 1, 2, strip);
    for (int i = 0; i < 3; ++i) {
        theme->DrawThemeBackground(inactiveReference.dc(), parts[i], states[i] + 4, buttons[i].rect);
        theme->DrawThemeBackground(enabledLook.dc(), parts[i], 5, buttons[i].rect);
    }
    EXPECT_EQ(0, inactive.Differ(inactiveReference, captionPast));
    EXPECT_NE(0, inactive.Differ(enabledLook, buttons[1].rect)) << "disabled maximize drawn as enabled";
    EXPECT_NE(0, inactive.Differ(printed, buttons[0].rect)) << "inactive close drawn as active";
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

// A dialog that leaves every colour to its default procedure.
INT_PTR CALLBACK PlainDialogProc(HWND, UINT m, WPARAM, LPARAM) { return m == WM_INITDIALOG; }

COLORREF SkinColor(int index) { return CSkinEngine::Instance()->GetMetrics()->colors[index]; }

// The dialog answers its controls' colour requests in the theme's colours, and kinds it does not
// colour stay the system's.
TEST_F(SkinFrameWindow, DialogAnswersControlColoursFromTheTheme) {
    hwnd = CreateFrameDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU, nullptr, PlainDialogProc);
    ASSERT_NE(nullptr, hwnd);
    const HWND label = CreateWindowExA(0, "Static", "label", WS_CHILD | WS_VISIBLE, 4, 4, 80, 20, hwnd, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    const HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 4, 30, 80, 20, hwnd,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(label && edit);
    const CSkinMetrics* m = CSkinEngine::Instance()->GetMetrics();
    ASSERT_NE(nullptr, m);
    ASSERT_NE(m->colors[COLOR_BTNFACE], m->colors[COLOR_WINDOW]) << "the theme must tell the two apart";
    const struct {
        UINT message;
        HWND control;
        HBRUSH brush;
        int background, text;  // -1: not the skin's answer
    } cases[] = {
        {WM_CTLCOLORSTATIC, label, m->brushBtnFace.Get(), COLOR_BTNFACE, COLOR_BTNTEXT},
        {WM_CTLCOLORBTN, label, m->brushBtnFace.Get(), COLOR_BTNFACE, COLOR_BTNTEXT},
        {WM_CTLCOLORDLG, hwnd, m->brushBtnFace.Get(), COLOR_BTNFACE, COLOR_BTNTEXT},
        {WM_CTLCOLOREDIT, edit, m->brushWindow.Get(), COLOR_WINDOW, COLOR_WINDOWTEXT},
        {WM_CTLCOLORLISTBOX, edit, m->brushWindow.Get(), COLOR_WINDOW, COLOR_WINDOWTEXT},
        {WM_CTLCOLORSCROLLBAR, label, nullptr, -1, -1},
        {WM_CTLCOLORMSGBOX, label, nullptr, -1, -1},
    };
    Dib target(8, 8);
    for (const auto& c : cases) {
        SetBkColor(target.dc(), RGB(1, 2, 3));
        SetTextColor(target.dc(), RGB(4, 5, 6));
        const HBRUSH answer = reinterpret_cast<HBRUSH>(
            SendMessageA(hwnd, c.message, reinterpret_cast<WPARAM>(target.dc()), reinterpret_cast<LPARAM>(c.control)));
        if (c.brush) {
            EXPECT_EQ(c.brush, answer) << std::hex << c.message;
            EXPECT_EQ(m->colors[c.background], GetBkColor(target.dc())) << std::hex << c.message;
            EXPECT_EQ(m->colors[c.text], GetTextColor(target.dc())) << std::hex << c.message;
        } else {
            EXPECT_NE(m->brushBtnFace.Get(), answer) << std::hex << c.message;
            EXPECT_NE(m->brushWindow.Get(), answer) << std::hex << c.message;
        }
    }

    // On screen: the dialog's face and the label's background are the theme's.
    RECT client;
    GetClientRect(hwnd, &client);
    Dib face(client.right, client.bottom);
    SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(face.dc()), 0);
    EXPECT_EQ(SkinColor(COLOR_BTNFACE), face.At(client.right - 2, client.bottom - 2));
    Dib text(80, 20);
    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(text.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(SkinColor(COLOR_BTNFACE), text.At(78, 18));
}

// A class whose background is a system colour is erased in the theme's colour; the class, which other
// windows share, keeps its own value.
TEST_F(SkinFrameWindow, SystemColourBackgroundErasesInTheThemesColour) {
    WNDCLASSA wc = {};
    // The system's own procedure, as a system class has.
    wc.lpfnWndProc = reinterpret_cast<WNDPROC>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "DefWindowProcA")));
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "SkinFrameSystemColoured";
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                           wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_NE(nullptr, FrameOf(hwnd));
    Dib erased(40, 30);
    EXPECT_NE(0, SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.dc()), 0));
    EXPECT_EQ(SkinColor(COLOR_BTNFACE), erased.At(20, 15));
    EXPECT_EQ(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1), GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));

    // A real brush is the program's choice and stays.
    skin::Brush own(CreateSolidBrush(RGB(9, 99, 199)));
    SetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(own.Get()));
    SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.dc()), 0);
    EXPECT_EQ(RGB(9, 99, 199), erased.At(20, 15));
    SetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND, COLOR_BTNFACE + 1);
}

int g_keyMenus = 0;
int g_contextMenus = 0;
WPARAM g_contextWindow = 0;
LPARAM g_contextPoint = 0;

// Counts the menu-bar commands and context-menu requests it is sent, and answers both itself.
INT_PTR CALLBACK MenuDialogProc(HWND, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_SYSCOMMAND:
        if ((w & 0xFFF0) != SC_KEYMENU || l != 0) return FALSE;
        ++g_keyMenus;
        return TRUE;
    case WM_CONTEXTMENU:
        ++g_contextMenus;
        g_contextWindow = w;
        g_contextPoint = l;
        return TRUE;
    case WM_INITDIALOG:
        return TRUE;
    default:
        return FALSE;
    }
}

// Alt pressed and released alone opens the top-level window's menu bar once, from whichever window had
// the keys; a click between the two makes it no menu key.
TEST_F(SkinFrameWindow, AltAloneOpensTheMenuBarOfTheTopLevelWindow) {
    // The command is to reach the window's own procedure, not the skin's menu tracking.
    CSkinEngine::Instance()->SetApplyOptions(SkinApplyAll & ~SkinApplyMenus);
    hwnd = CreateFrameDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, nullptr, MenuDialogProc);
    ASSERT_NE(nullptr, hwnd);
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 100, "File");
    ASSERT_TRUE(SetMenu(hwnd, bar));
    const HWND button = CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE, 4, 4, 60, 20, hwnd, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, button);
    const LPARAM down = 0x20380001, up = static_cast<LPARAM>(0xE0380001u);
    const struct {
        HWND target;
        bool clickBetween;
        int menus;
    } cases[] = {{hwnd, false, 1}, {button, false, 1}, {hwnd, true, 0}, {button, true, 0}};
    for (const auto& c : cases) {
        g_keyMenus = 0;
        SendMessageA(c.target, WM_SYSKEYDOWN, VK_MENU, down);
        SendMessageA(c.target, WM_SYSKEYDOWN, VK_MENU, down | 0x40000000);  // held: a repeat
        if (c.clickBetween) {
            SendMessageA(c.target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            SendMessageA(c.target, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        }
        SendMessageA(c.target, WM_SYSKEYUP, VK_MENU, up);
        EXPECT_EQ(c.menus, g_keyMenus) << (c.target == hwnd ? "dialog" : "button") << " " << c.clickBetween;
        EXPECT_FALSE(CSkinObjectFrame::IsMenuKeyPending());
    }
}

// A right click on the window's own scroll bar asks for the context menu at that point, and the
// window keeps the skin's layout afterwards.
TEST_F(SkinFrameWindow, RightClickOnOwnScrollBarAsksForTheContextMenu) {
    parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 50, 50, 500, 360, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    hwnd = CreateFrameDialog(WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_VSCROLL, parent, MenuDialogProc);
    ASSERT_NE(nullptr, hwnd);
    SetWindowPos(hwnd, nullptr, 20, 20, 300, 200, SWP_NOZORDER | SWP_FRAMECHANGED);
    Pump(50);
    RECT window, clientBefore, clientAfter;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &clientBefore);
    const skin::FrameBorders b = FrameOf(hwnd)->GetBorders();
    const POINT onBar{window.right - b.right - 3, (window.top + window.bottom) / 2};
    ASSERT_EQ(HTVSCROLL, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)));
    g_contextMenus = 0;
    SendMessageA(hwnd, WM_NCRBUTTONUP, HTVSCROLL, MAKELPARAM(onBar.x, onBar.y));
    EXPECT_EQ(1, g_contextMenus);
    EXPECT_EQ(reinterpret_cast<WPARAM>(hwnd), g_contextWindow);
    EXPECT_EQ(MAKELPARAM(onBar.x, onBar.y), g_contextPoint);
    GetClientRect(hwnd, &clientAfter);
    EXPECT_EQ(clientBefore.right, clientAfter.right);
    EXPECT_EQ(clientBefore.bottom, clientAfter.bottom);
    EXPECT_EQ(WS_VSCROLL, static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & WS_VSCROLL);
    // On the caption it is not the skin's to answer.
    g_contextMenus = 0;
    SendMessageA(hwnd, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(window.left + 30, window.top + b.top / 2));
    EXPECT_GE(1, g_contextMenus);
}

// A top-level dialog sized by the system for its own frame keeps the client area its template asks for
// under the skin's frame.
TEST_F(SkinFrameWindow, CreatedDialogKeepsItsTemplateClientSize) {
    hwnd = CreateFrameDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU, nullptr, PlainDialogProc);
    ASSERT_NE(nullptr, hwnd);
    RECT wanted{0, 0, 100, 60}, client, system{0, 0, 100, 100};
    MapDialogRect(hwnd, &wanted);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(wanted.right, client.right);
    EXPECT_EQ(wanted.bottom, client.bottom);
    using Adjust = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD);
    const auto adjust = reinterpret_cast<Adjust>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectEx")));
    adjust(&system, GetWindowLongA(hwnd, GWL_STYLE), FALSE, GetWindowLongA(hwnd, GWL_EXSTYLE));
    const skin::FrameBorders b = FrameOf(hwnd)->GetBorders();
    EXPECT_NE(b.top + b.bottom, system.bottom - system.top - 100) << "the two frames must differ for this to tell";
}

// Maximized inside its MDI client, a child's skinned borders and caption lie outside the client.
TEST_F(SkinFrameWindow, MaximizedMdiChildPushesItsBordersOutOfSight) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    WNDCLASSA wc = {};
    wc.hInstance = GetModuleHandleA(nullptr);
    // The system's own procedures, so that the skin sees the messages as a system window's.
    wc.lpfnWndProc = reinterpret_cast<WNDPROC>(reinterpret_cast<void*>(GetProcAddress(user32, "DefMDIChildProcA")));
    wc.lpszClassName = "SkinFrameMdiChild";
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 50, 50, 500, 360, nullptr, nullptr,
                             wc.hInstance, nullptr);
    CLIENTCREATESTRUCT ccs{nullptr, 5000};
    const HWND mdiClient = CreateWindowExA(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE, 0, 0, 480, 340, parent, nullptr,
                                           wc.hInstance, &ccs);
    ASSERT_NE(nullptr, mdiClient);
    MDICREATESTRUCTA mcs{wc.lpszClassName, "Child", wc.hInstance, 10, 10, 200, 150,
                         WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX, 0};
    hwnd = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(nullptr, hwnd);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump(50);
    ASSERT_TRUE(IsZoomed(hwnd));
    const skin::FrameBorders b = frame->GetBorders();
    RECT client, child;
    GetClientRect(mdiClient, &client);
    GetWindowRect(hwnd, &child);
    MapWindowPoints(nullptr, mdiClient, reinterpret_cast<POINT*>(&child), 2);
    EXPECT_EQ(-b.left, child.left);
    EXPECT_EQ(-b.top, child.top);
    EXPECT_EQ(client.right + b.right, child.right);
    EXPECT_EQ(client.bottom + b.bottom, child.bottom);
    MINMAXINFO mmi{};
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(-b.top, mmi.ptMaxPosition.y);
    DestroyWindow(hwnd);
    hwnd = nullptr;
}

// An MDI client's object is held by its frame's object while attached, by one reference that goes
// with it.
TEST_F(SkinFrameWindow, MdiClientIsHeldByItsFrameWhileAttached) {
    parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 50, 50, 500, 360, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, FrameOf(parent));
    CLIENTCREATESTRUCT ccs{nullptr, 5000};
    for (int round = 0; round < 2; ++round) {
        const HWND client = CreateWindowExA(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE, 0, 0, 480, 340, parent,
                                            nullptr, GetModuleHandleA(nullptr), &ccs);
        ASSERT_NE(nullptr, client);
        CSkinObjectFrame* object = FrameOf(client);
        ASSERT_NE(nullptr, object);
        EXPECT_EQ(object, FrameOf(parent)->GetMdiClientObject()) << round;
        object->AddRef();
        DestroyWindow(client);
        EXPECT_EQ(nullptr, FrameOf(parent)->GetMdiClientObject()) << round;
        // Ours is the last reference: neither the window map nor the frame keeps one.
        EXPECT_EQ(0, object->Release()) << round;
    }
}

// The caption button under the pointer is drawn hot, and normal again once the pointer has left.
TEST_F(SkinFrameWindow, CaptionButtonUnderThePointerIsDrawnHot) {
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
    RECT window;
    GetWindowRect(hwnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    CSkinClassTheme* theme = CSkinEngine::Instance()->GetThemeClass(nullptr, "WINDOW");
    const RECT minimize = frame->GetCaptionButtons().at(2).rect;
    const RECT strip{0, 0, w, frame->GetBorders().top};
    const struct {
        POINT pointer;
        int state;
    } steps[] = {{Centre(minimize), 2}, {Screen(POINT{w / 2, h / 2}), 1}};
    for (const auto& step : steps) {
        MoveTo(step.pointer);
        Pump(150);  // the hover timer notices a pointer that left
        Dib printed(w, h), reference(w, h);
        SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()), PRF_NONCLIENT);
        theme->DrawThemeBackground(reference.dc(), 1, 1, strip);
        theme->DrawThemeBackground(reference.dc(), 15, step.state, minimize);
        EXPECT_EQ(0, printed.Differ(reference, minimize)) << "state " << step.state;
    }
}

// The corner between a window's two own scroll bars is the face colour, with the theme's size grip
// when the user can size the window from there.
TEST_F(SkinFrameWindow, CornerBetweenOwnBarsShowsTheGripOfASizableWindow) {
    const CSkinMetrics* m = CSkinEngine::Instance()->GetMetrics();
    CSkinClassTheme* bars = CSkinEngine::Instance()->GetThemeClass(nullptr, "SCROLLBAR");
    ASSERT_TRUE(m && bars);
    for (bool sizable : {true, false}) {
        Create(WS_OVERLAPPED | WS_CAPTION | WS_VSCROLL | WS_HSCROLL | (sizable ? WS_THICKFRAME : 0));
        CSkinObjectFrame* frame = FrameOf(hwnd);
        ASSERT_NE(nullptr, frame);
        RECT window;
        GetWindowRect(hwnd, &window);
        const int w = window.right - window.left, h = window.bottom - window.top;
        const skin::FrameBorders b = frame->GetBorders();
        const RECT corner{w - b.right - m->cxVScroll, h - b.bottom - m->cyHScroll, w - b.right, h - b.bottom};
        Dib printed(w, h), reference(w, h);
        SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()), PRF_NONCLIENT);
        skin::FillSolid(reference.dc(), corner, m->colors[COLOR_BTNFACE]);
        if (sizable) bars->DrawThemeBackground(reference.dc(), 10, 1, corner);
        EXPECT_EQ(0, printed.Differ(reference, corner)) << sizable;
        Dib plain(w, h);
        skin::FillSolid(plain.dc(), corner, m->colors[COLOR_BTNFACE]);
        EXPECT_EQ(sizable, printed.Differ(plain, corner) > 0) << "the grip shows only on a sizable window";
        // And sizes the window from there, which the system, not knowing the skin's bars, cannot tell.
        const POINT inCorner = Centre(corner);
        const LRESULT hit = SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(inCorner.x, inCorner.y));
        if (sizable)
            EXPECT_EQ(HTBOTTOMRIGHT, hit);
        else
            EXPECT_NE(HTBOTTOMRIGHT, hit);
        DestroyWindow(hwnd);
        DestroyWindow(parent);
        hwnd = parent = nullptr;
    }
}

// The frame's see-through pieces are scanned once for a frame size and give the same region from the
// cache; a window narrower than the caption's two corners still loses both and keeps its middle.
TEST_F(SkinFrameWindow, RegionPiecesComeFromTheCacheAndFitNarrowWindows) {
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    const skin::FrameBorders b = frame->GetBorders();
    CSkinFrameRegionCache& cache = CSkinFrameRegionCache::Instance();
    cache.Clear();
    skin::GdiHandle<HRGN> scanned(frame->CalcFrameRegion(300, 200));
    skin::FramePieces pieces;
    ASSERT_TRUE(cache.Find(b.top, b.left, false, pieces));
    skin::GdiHandle<HRGN> reused(frame->CalcFrameRegion(300, 200));
    EXPECT_TRUE(EqualRgn(scanned.Get(), reused.Get()));
    EXPECT_FALSE(PtInRegion(scanned.Get(), 299, 0));

    const int narrow = pieces.caption.startMargin + pieces.caption.endMargin - 2;
    ASSERT_GT(narrow, 4);
    skin::GdiHandle<HRGN> small(frame->CalcFrameRegion(narrow, 100));
    EXPECT_FALSE(PtInRegion(small.Get(), 0, 0));
    EXPECT_FALSE(PtInRegion(small.Get(), narrow - 1, 0));
    EXPECT_TRUE(PtInRegion(small.Get(), narrow / 2, b.top / 2));
    EXPECT_TRUE(PtInRegion(small.Get(), narrow / 2, 50));
}

// The whole height of the skin's caption drags the window, also below where the system's lower caption
// ends; the client area starts where the caption does.
TEST_F(SkinFrameWindow, CaptionAnswersAsCaptionOverItsWholeHeight) {
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    const skin::FrameBorders b = frame->GetBorders();
    ASSERT_GT(b.top, GetSystemMetrics(SM_CYCAPTION)) << "the skin's caption must be the higher for this to tell";
    const int x = 60;  // past the icon, short of the buttons
    // Below the system's own border, which it keeps answering for.
    for (int y = GetSystemMetrics(SM_CYFIXEDFRAME); y < b.top; ++y) {
        const POINT at = Screen(POINT{x, y});
        EXPECT_EQ(HTCAPTION, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y))) << "row " << y;
    }
    const POINT below = Screen(POINT{x, b.top});
    EXPECT_EQ(HTCLIENT, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(below.x, below.y)));
}

// Maximized, a top-level window puts the system's frame beyond the screen: the skin's borders are that
// frame, so the client area begins at the screen's edge and the region cuts the frame off there.
TEST_F(SkinFrameWindow, MaximizedWindowKeepsItsClientAreaOnTheScreen) {
    hwnd = CreateFrameDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_VISIBLE,
                             nullptr, PlainDialogProc);
    ASSERT_NE(nullptr, hwnd);
    ShowWindow(hwnd, SW_MAXIMIZE);
    Pump(100);
    ASSERT_TRUE(IsZoomed(hwnd));
    CSkinObjectFrame* frame = FrameOf(hwnd);
    ASSERT_NE(nullptr, frame);
    RECT window, system{0, 0, 100, 100};
    GetWindowRect(hwnd, &window);
    using Adjust = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD);
    const auto adjust = reinterpret_cast<Adjust>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectEx")));
    adjust(&system, GetWindowLongA(hwnd, GWL_STYLE), FALSE, GetWindowLongA(hwnd, GWL_EXSTYLE));
    ASSERT_EQ(system.left, window.left) << "the system places a maximized window its frame beyond the screen";
    const skin::FrameBorders b = frame->GetBorders();
    EXPECT_EQ(-system.left, b.left);
    EXPECT_EQ(-system.left, b.bottom);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(0, origin.x);
    skin::GdiHandle<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, GetWindowRgn(hwnd, region.Get()));
    EXPECT_TRUE(PtInRegion(region.Get(), b.left, b.top + 5));
    EXPECT_FALSE(PtInRegion(region.Get(), b.left - 1, b.top + 5));
}

// A mirrored window lays its frame out from the right: its caption buttons and its own vertical bar are
// hit where they show, and the bar fills the place the layout left it on the screen's left.
TEST_F(SkinFrameWindow, MirroredWindowIsHitWhereItsFrameShows) {
    Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VSCROLL, "Title");
    SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(100);
    CSkinObjectFrame* frame = FrameOf(hwnd);
    const CSkinMetrics* m = CSkinEngine::Instance()->GetMetrics();
    ASSERT_TRUE(frame && m);
    RECT window, client;
    GetWindowRect(hwnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    const skin::FrameBorders b = frame->GetBorders();
    ASSERT_EQ(3u, frame->GetCaptionButtons().size());
    for (const skin::CaptionButton& button : frame->GetCaptionButtons()) {
        if (!button.enabled) continue;
        const int onScreen = w - 1 - (button.rect.left + button.rect.right) / 2;
        EXPECT_LT(onScreen, w / 2) << "the buttons show on the left";
        const POINT at{window.left + onScreen, window.top + (button.rect.top + button.rect.bottom) / 2};
        EXPECT_EQ(button.hitCode, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
    }
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ASSERT_EQ(window.left + b.left + m->cxVScroll, client.left);
    const POINT onBar{client.left - m->cxVScroll / 2, (client.top + client.bottom) / 2};
    EXPECT_EQ(HTVSCROLL, SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)));
    Dib printed(w, h);
    SendMessageA(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()), PRF_NONCLIENT);
    Dib untouched(w, h);
    EXPECT_EQ((h - b.top - b.bottom) * m->cxVScroll,
              printed.Differ(untouched, RECT{b.left, b.top, b.left + m->cxVScroll, h - b.bottom}))
        << "every pixel of the bar's place is painted";
}

}  // namespace
