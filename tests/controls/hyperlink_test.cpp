// The hyperlink on real statics with real input: hit rectangle by alignment, cursor, hover colour and
// timer, clicks and keys opening the target through the shell (a URL scheme registered for the test
// records what it receives), the shell-error messages, the tooltip rules, background and font.
#include "CHyperLink.h"
#include "TestParent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

const char kScheme[] = "tamrivel-test";

std::string ProgramDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.find_last_of('\\') + 1);
}

std::string RecorderLog() { return ProgramDir() + "url_recorder.log"; }

std::string ReadRecorded() {
    std::ifstream in(RecorderLog(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Waits until the recorder wrote 'lines' lines (and a little longer, to catch extra ones).
std::string WaitForRecorded(int lines, DWORD timeoutMs = 8000) {
    PumpUntil([&] {
        const std::string r = ReadRecorded();
        return int(std::count(r.begin(), r.end(), '\n')) >= lines;
    }, timeoutMs);
    PumpFor(lines ? 600 : 1500);
    return ReadRecorded();
}

// Answers every message box of this thread while the test waits, keeping their texts (as UTF-8).
std::vector<std::string> g_boxes;

BOOL CALLBACK CloseBox(HWND hwnd, LPARAM) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
        wchar_t text[512] = {};
        GetDlgItemTextW(hwnd, 0xFFFF, text, 512);
        char utf8[1024] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        g_boxes.push_back(utf8);
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

void CALLBACK BoxWatcher(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), CloseBox, 0); }

struct BoxCatcher {
    UINT_PTR timer;
    BoxCatcher() : timer(SetTimer(nullptr, 0, 30, BoxWatcher)) { g_boxes.clear(); }
    ~BoxCatcher() { KillTimer(nullptr, timer); }
};

// Tooltips of this thread that carry a tool for the link (a popup's owner is the top-level window,
// so the tool registration is what ties a tooltip to its link).
std::vector<HWND> TooltipsOf(HWND link) {
    struct Search { HWND link; std::vector<HWND> found; } s{link, {}};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char cls[64] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        if (lstrcmpiA(cls, "tooltips_class32") != 0) return TRUE;
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = GetParent(s->link);
        ti.uId = reinterpret_cast<UINT_PTR>(s->link);
        if (SendMessageA(hwnd, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti))) s->found.push_back(hwnd);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindTooltip(HWND link) {
    const std::vector<HWND> all = TooltipsOf(link);
    return all.empty() ? nullptr : all.front();
}

std::string ToolText(HWND tooltip, HWND link) {
    char buffer[256] = {};
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = GetParent(link);
    ti.uId = reinterpret_cast<UINT_PTR>(link);
    ti.uFlags = TTF_IDISHWND;
    ti.lpszText = buffer;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&ti));
    return buffer;
}

int TextWidth(HWND link) {
    char text[256] = {};
    GetWindowTextA(link, text, sizeof text);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(link, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

int CountColour(const std::vector<uint32_t>& px, uint32_t rgb) { return int(std::count(px.begin(), px.end(), rgb)); }

constexpr uint32_t kBlue = 0x0000FF, kRed = 0xFF0000, kPurple = 0x800080;

class HyperLink : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, kScheme, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("URL:Tamrivel test"), 18);
        RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        HKEY command = nullptr;
        RegCreateKeyExA(key, "shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &command, nullptr);
        const std::string line = "\"" + ProgramDir() + "url_recorder.exe\" \"%1\"";
        RegSetValueExA(command, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(line.c_str()), DWORD(line.size() + 1));
        RegCloseKey(command);
        RegCloseKey(key);
    }
    static void TearDownTestSuite() { RegDeleteTreeA(HKEY_CLASSES_ROOT, kScheme); }

    void SetUp() override {
        DeleteFileA(RecorderLog().c_str());
        // A handler started by an earlier test may have taken the foreground, and with it the keyboard.
        SetForegroundWindow(HostWindow());
        PumpUntil([] { return GetForegroundWindow() == HostWindow(); }, 2000);
        ParkPointer();
        PumpFor(30);
    }
    void TearDown() override {
        MouseButton(false);
        ParkPointer();
        PumpFor(30);
    }

    HWND Text(CHyperLink& link, const char* text, DWORD align, int id, int x, int y, int w, int h = 16) {
        HWND hwnd = parent.AddChild("STATIC", text, align, id, x, y, w, h);
        EXPECT_TRUE(link.SubclassWindow(hwnd));
        return hwnd;
    }

    // The pointer at a screen point, with the cursor the control chose there.
    void PointAt(int x, int y) {
        MouseMoveTo(x, y);
        PumpUntil([&] {
            POINT p;
            GetCursorPos(&p);
            return p.x == x && p.y == y;
        }, 1000);
        PumpFor(40);
    }

    TestParent parent{700, 220, 10, 10};
};

}  // namespace

TEST_F(HyperLink, HitRectangleFollowsTheTextByAlignment) {
    CHyperLink left, centre, right;
    HWND l = Text(left, "Contact the author", SS_LEFT, 2001, 20, 20, 300);
    HWND c = Text(centre, "A centred link much wider than its control", SS_CENTER, 2002, 300, 70, 60);
    HWND r = Text(right, "Right", SS_RIGHT, 2003, 20, 120, 300);
    HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    ASSERT_EQ(left.HandCursor(), hand);

    RECT lr;
    GetWindowRect(l, &lr);
    const int lw = TextWidth(l);
    ASSERT_GT(lw, 20);
    ASSERT_LT(lw, 290);
    PointAt(lr.left + lw - 2, lr.top + 1);  // top row: the whole height counts
    EXPECT_TRUE(left.IsPointerOverLink());
    EXPECT_EQ(GetCursor(), hand);
    PointAt(lr.left + lw + 3, lr.bottom - 2);
    EXPECT_FALSE(left.IsPointerOverLink());
    EXPECT_NE(GetCursor(), hand);

    // Wider than its control: the rectangle reaches beyond it by half the excess on each side.
    RECT cr;
    GetWindowRect(c, &cr);
    const int cw = TextWidth(c);
    ASSERT_GT(cw, 100);
    const int d = (60 - cw) / 2;
    PointAt(cr.left + d + 1, cr.top + 5);
    EXPECT_TRUE(centre.IsPointerOverLink());
    PointAt(cr.right - d - 2, cr.top + 5);
    EXPECT_TRUE(centre.IsPointerOverLink());
    PointAt(cr.left + d - 2, cr.top + 5);
    EXPECT_FALSE(centre.IsPointerOverLink());

    RECT rr;
    GetWindowRect(r, &rr);
    const int rw = TextWidth(r);
    PointAt(rr.right - rw + 1, rr.top + 8);
    EXPECT_TRUE(right.IsPointerOverLink());
    EXPECT_EQ(GetCursor(), hand);
    PointAt(rr.right - rw - 3, rr.top + 8);
    EXPECT_FALSE(right.IsPointerOverLink());
}

TEST_F(HyperLink, HoverAndFocusColoursAndTheHoverTimer) {
    CHyperLink link;
    HWND l = Text(link, "Hover over me", SS_LEFT, 2004, 20, 20, 300);
    PumpFor(30);
    auto shown = [&] { return ReadWindowPixels(l, 300, 16); };
    EXPECT_GT(CountColour(shown(), kBlue), 10);
    EXPECT_EQ(CountColour(shown(), kRed), 0);

    RECT r;
    GetWindowRect(l, &r);
    PointAt(r.left + 5, r.top + 8);
    ASSERT_TRUE(PumpUntil([&] { return CountColour(shown(), kRed) > 10; }, 1000)) << "no hover colour";
    EXPECT_EQ(CountColour(shown(), kBlue), 0);

    PointAt(r.left + TextWidth(l) + 10, r.top + 8);  // still inside the control, beside the text
    ASSERT_TRUE(PumpUntil([&] { return CountColour(shown(), kBlue) > 10; }, 1000)) << "hover colour stayed";
    EXPECT_FALSE(KillTimer(l, 1)) << "the hover timer runs only while the pointer is over the text";

    ASSERT_TRUE(FocusOn(l));
    EXPECT_TRUE(PumpUntil([&] { return CountColour(shown(), kRed) > 10; }, 1000))
        << "a focused link shows the hover colour";
    SetFocus(parent.m_hWnd);
    link.MarkVisited(TRUE);
    PumpFor(40);
    EXPECT_GT(CountColour(shown(), kPurple), 10);
}

TEST_F(HyperLink, TextLinkClickOpensOnTheTextAndTheParentHearsEveryClick) {
    CHyperLink link;
    HWND l = Text(link, "Open it", SS_LEFT, 2005, 20, 20, 300);
    const std::string target = "tamrivel-test://Message/?Uin=10000&tip=a%20b";
    link.SetTarget(target.c_str());
    RECT r;
    GetWindowRect(l, &r);

    PointAt(r.left + TextWidth(l) + 20, r.top + 8);  // beside the text: nothing opens
    MouseButton(true);
    MouseButton(false);
    EXPECT_EQ(WaitForRecorded(0), "");
    EXPECT_EQ(parent.clicks[2005], 1);
    EXPECT_FALSE(link.WasVisited());

    PointAt(r.left + 4, r.top + 8);
    MouseButton(true);
    MouseButton(false);
    EXPECT_EQ(WaitForRecorded(1), target + "\n") << "the shell receives the exact target, once";
    EXPECT_EQ(parent.clicks[2005], 2);
    EXPECT_TRUE(link.WasVisited());
}

TEST_F(HyperLink, PictureLinkIsLinkEverywhereAndKeepsItsClicks) {
    CHyperLink link;
    HWND p = parent.AddChild("STATIC", "", SS_BITMAP, 2006, 20, 60, 185, 21);
    SendMessageA(p, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(130))));
    ASSERT_TRUE(link.SubclassWindow(p));
    EXPECT_FALSE(link.IsTextLink());
    EXPECT_EQ(FindTooltip(p), nullptr) << "no target yet, so no tooltip";
    link.SetTarget("tamrivel-test:mail");
    RECT r;
    GetWindowRect(p, &r);
    PointAt(r.right - 2, r.bottom - 2);
    EXPECT_TRUE(link.IsPointerOverLink());
    EXPECT_EQ(GetCursor(), link.HandCursor());
    MouseButton(true);
    MouseButton(false);
    EXPECT_EQ(WaitForRecorded(1), "tamrivel-test:mail\n");
    EXPECT_EQ(parent.clicks[2006], 0) << "a picture link keeps STN_CLICKED from its parent";
}

TEST_F(HyperLink, SpaceAndEnterOpenOncePerPress) {
    CHyperLink link;
    HWND l = Text(link, "Keys", SS_LEFT, 2007, 20, 20, 100);
    link.SetTarget("tamrivel-test:keys");
    ASSERT_TRUE(FocusOn(l));
    Key(VK_SPACE, true);
    Key(VK_SPACE, false);
    Key(VK_RETURN, true);
    Key(VK_RETURN, true);  // held down: the repeat opens nothing more
    Key(VK_RETURN, false);
    EXPECT_EQ(WaitForRecorded(2), "tamrivel-test:keys\ntamrivel-test:keys\n");

    auto msg = [&](UINT message, WPARAM key) {
        MSG m = {};
        m.hwnd = l, m.message = message, m.wParam = key;
        return m;
    };
    MSG enterDown = msg(WM_KEYDOWN, VK_RETURN), spaceDown = msg(WM_KEYDOWN, VK_SPACE),
        enterChar = msg(WM_CHAR, VK_RETURN), tab = msg(WM_KEYDOWN, VK_TAB);
    auto code = [&](MSG* m) { return SendMessageA(l, WM_GETDLGCODE, m ? m->wParam : 0, reinterpret_cast<LPARAM>(m)); };
    EXPECT_EQ(code(&enterDown), DLGC_WANTMESSAGE);
    EXPECT_EQ(code(&spaceDown), DLGC_WANTMESSAGE);
    EXPECT_EQ(code(&enterChar), DLGC_WANTCHARS);
    EXPECT_EQ(code(&tab), DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(code(nullptr), DLGC_UNDEFPUSHBUTTON);
}

TEST_F(HyperLink, ShellErrorsShowTheirMessage) {
    CHyperLink link;
    HWND l = Text(link, "Broken", SS_LEFT, 2008, 20, 20, 100);
    (void)l;
    link.MarkVisited(TRUE);
    link.SetTarget("tamrivel-nosuch-scheme:abc");
    BoxCatcher boxes;
    EXPECT_FALSE(link.OpenTarget(nullptr, SW_SHOW, nullptr, nullptr));
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0], "There is no application associated with the given file name extension.");

    g_boxes.clear();
    link.ShowOpenError(1);
    link.ShowOpenError(0);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0], "An unknown error number 1 occured.");
    EXPECT_EQ(g_boxes[1], "The operating system is out of memory or resources.");

    // A failed open by key marks the link not visited.
    link.MarkVisited(TRUE);
    link.SetTarget("C:\\tamrivel-no-such-folder\\missing.txt");
    g_boxes.clear();
    ASSERT_TRUE(FocusOn(l));
    Key(VK_SPACE, true);
    Key(VK_SPACE, false);
    ASSERT_TRUE(PumpUntil([] { return !g_boxes.empty(); }, 8000));
    PumpFor(100);
    EXPECT_EQ(g_boxes[0], "The specified file was not found.");
    EXPECT_FALSE(link.WasVisited());
}

// The one message with a character that code page 936 lacks still shows it.
TEST_F(HyperLink, BadFormatMessageKeepsItsRegisteredSign) {
    CHyperLink link;
    BoxCatcher boxes;
    link.ShowOpenError(ERROR_BAD_FORMAT);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0], "The .exe file is invalid (non-Win32\xc2\xae" " .exe or error in .exe image).");
}

TEST_F(HyperLink, TooltipIsMadeByTheFirstTargetWithText) {
    CHyperLink empty;
    HWND e = parent.AddChild("STATIC", "", SS_BITMAP, 2009, 20, 20, 30, 20);
    ASSERT_TRUE(empty.SubclassWindow(e));
    empty.SetTarget("");
    EXPECT_EQ(FindTooltip(e), nullptr) << "an empty target without tooltip text makes no tooltip";

    CHyperLink link;
    HWND l = Text(link, "Caption as target", SS_LEFT, 2010, 20, 60, 200);
    EXPECT_STREQ(link.GetTarget(), "Caption as target");
    HWND tip = FindTooltip(l);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(ToolText(tip, l), "Caption as target");
    link.SetTooltipText("Say hello");
    EXPECT_EQ(ToolText(tip, l), "Say hello");
    link.SetTarget("tamrivel-test:new");
    EXPECT_EQ(ToolText(tip, l), "Say hello") << "a new target keeps the program's wording";
    link.SetTooltipText("Say hello again");
    EXPECT_EQ(ToolText(tip, l), "Say hello again");
    EXPECT_EQ(TooltipsOf(l).size(), 1u) << "one tooltip per link";

    // Without wording of its own, the tooltip names each new target.
    CHyperLink plain;
    HWND p = Text(plain, "First", SS_LEFT, 2013, 20, 100, 200);
    plain.SetTarget("tamrivel-test:second");
    HWND plainTip = FindTooltip(p);
    ASSERT_NE(plainTip, nullptr);
    EXPECT_EQ(ToolText(plainTip, p), "tamrivel-test:second");
}

// Flags above the type (SS_NOPREFIX, SS_NOTIFY, SS_CENTERIMAGE) leave a text static a text link.
TEST_F(HyperLink, TextLinkIsKnownByTheTypeAlone) {
    const struct {
        DWORD style;
        bool text;
    } cases[] = {
        {SS_LEFT | SS_NOPREFIX, true},
        {SS_CENTER | SS_NOPREFIX | SS_NOTIFY, true},
        {SS_RIGHT | SS_CENTERIMAGE, true},
        {SS_BITMAP | SS_NOPREFIX, false},
        {SS_LEFTNOWORDWRAP, false},
    };
    int id = 2020;
    for (const auto& c : cases) {
        CHyperLink link;
        HWND hwnd = parent.AddChild("STATIC", "Kind", c.style, id++, 20, 20, 100, 16);
        ASSERT_TRUE(link.SubclassWindow(hwnd));
        EXPECT_EQ(link.IsTextLink() != FALSE, c.text) << std::hex << c.style;
        link.UnsubclassWindow();
        DestroyWindow(hwnd);
    }
}

// A parent that colours its statics itself, as a skinned or owner-coloured dialog does.
class ColouringParent : public TestParent {
public:
    ColouringParent() : TestParent(300, 60, 10, 250) {}
    ~ColouringParent() override { DeleteObject(brush); }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (TestParent::OnWndMsg(message, wParam, lParam, result))
            return TRUE;
        if (message != WM_CTLCOLORSTATIC)
            return FALSE;
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 160, 80));
        *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    HBRUSH brush = CreateSolidBrush(RGB(0, 160, 80));
};

TEST_F(HyperLink, WithoutBackgroundTheParentsBrushShows) {
    ColouringParent owner;
    CHyperLink link;
    HWND l = owner.AddChild("STATIC", "Ground", SS_LEFT, 2030, 10, 10, 200, 16);
    ASSERT_TRUE(link.SubclassWindow(l));
    ::InvalidateRect(l, nullptr, TRUE);
    PumpFor(50);
    const std::vector<uint32_t> px = ReadWindowPixels(l, 200, 16);
    EXPECT_EQ(px[199], 0x00A050u) << "the parent's brush behind the text";
    EXPECT_GT(CountColour(px, kBlue), 10) << "the link's own text colour";
}

TEST_F(HyperLink, BackgroundColourAndUnderlinedFont) {
    CHyperLink link;
    HWND l = Text(link, "Ground", SS_LEFT, 2011, 20, 20, 200);
    LOGFONTA lf = {};
    HGDIOBJ first = reinterpret_cast<HGDIOBJ>(SendMessageA(l, WM_GETFONT, 0, 0));
    GetObjectA(first, sizeof lf, &lf);
    EXPECT_EQ(lf.lfUnderline, 1);
    link.SetUnderlined(FALSE);
    HGDIOBJ second = reinterpret_cast<HGDIOBJ>(SendMessageA(l, WM_GETFONT, 0, 0));
    GetObjectA(second, sizeof lf, &lf);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced link font is deleted";

    link.SetBackgroundColor(RGB(0, 128, 0));
    PumpFor(30);
    const std::vector<uint32_t> px = ReadWindowPixels(l, 200, 16);
    EXPECT_EQ(px[199], 0x008000u);
    EXPECT_EQ(px[16 * 200 - 1], 0x008000u);
    EXPECT_GT(CountColour(px, kBlue), 10);
    HDC dc = GetDC(l);
    EXPECT_EQ(SendMessageA(l, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), TRUE);
    ReleaseDC(l, dc);
}

// Created rather than subclassed: the link sets itself up when its window is created.
TEST_F(HyperLink, CreatedLinkInitialisesInOnCreate) {
    CHyperLink link;
    ASSERT_TRUE(link.CreateEx(0, "STATIC", "Made by code", WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 150, 200, 18,
                              parent.m_hWnd, reinterpret_cast<HMENU>(2012)));
    EXPECT_STREQ(link.GetTarget(), "Made by code");
    EXPECT_NE(link.GetStyle() & SS_NOTIFY, 0u);
    LOGFONTA lf = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(link.SendMessage(WM_GETFONT)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfUnderline, 1) << "no font of its own: the icon-title font, underlined";
    HWND tip = FindTooltip(link.m_hWnd);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(ToolText(tip, link.m_hWnd), "Made by code");
}

TEST(HandCursor, OwnCursorIsAPointingHandWithItsHotSpotAtTheFingertip) {
    HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(9973));
    ASSERT_NE(own, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(own, &info));
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP bm = {};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, info.hbmColor ? 32 : 64);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}
