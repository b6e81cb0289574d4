// Real skinned menus run through the intercepted TrackPopupMenu: results, delivered commands, the
// owner's notifications in order, submenu timing, placement at the screen edge and real pointer
// and keyboard input played from a second thread while the menu's loop runs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "CSkinApiHookManager.h"
#include "CSkinEngine.h"
#include "CSkinHookManager.h"
#include "CSkinMenuTracker.h"
#include "CSkinObjectApplicationFrame.h"
#include "Input.h"
#include "Wait.h"
#include "WindowClass.h"

namespace {

constexpr UINT kOpen = 101, kSave = 102, kDisabled = 103, kExit = 104, kSubA = 201, kSubB = 202;
constexpr int kMorePosition = 3;

struct Note {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Note& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};

std::vector<Note> g_log;                 // owner's menu notifications, main thread only
LRESULT g_menuCharReply = 0;             // the owner's answer to WM_MENUCHAR
std::mutex g_levelsLock;
std::vector<std::vector<RECT>> g_levels;  // item screen rectangles per open level, at the last idle
std::vector<HWND> g_levelWindows;
std::atomic<int> g_idles{0};
std::atomic<int> g_targetPresses{0};
// A handler of the command message g_nestOn opens g_nextMenu (once) and keeps what it answered.
UINT g_nestOn = 0;
HMENU g_nextMenu = nullptr;
std::atomic<bool> g_nextStarted{false};
std::atomic<int> g_nextResult{-1};
// WM_INITMENU for this menu appends an item to it, as an owner that fills its bar late does.
HMENU g_growOnInit = nullptr;

bool Recorded(UINT message) {
    switch (message) {
        case WM_ENTERMENULOOP:
        case WM_EXITMENULOOP:
        case WM_INITMENU:
        case WM_INITMENUPOPUP:
        case WM_UNINITMENUPOPUP:
        case WM_MENUSELECT:
        case WM_MENUCHAR:
        case WM_MENUCOMMAND:
        case WM_COMMAND:
        case WM_SYSCOMMAND: return true;
        default: return false;
    }
}

void SnapshotLevels() {
    std::lock_guard<std::mutex> lock(g_levelsLock);
    g_levels.clear();
    g_levelWindows.clear();
    CSkinMenuTracker* tracker = CSkinMenuTracker::Current();
    for (CSkinMenuWindow* w = tracker ? tracker->Root() : nullptr; w; w = w->m_pChild) {
        std::vector<RECT> rects;
        for (int i = 0; i < w->ItemCount(); ++i) rects.push_back(w->ItemScreenRect(w->ItemAt(i)));
        g_levels.push_back(rects);
        g_levelWindows.push_back(w->m_hWnd);
    }
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) g_log.push_back({message, wParam, lParam});
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
        SnapshotLevels();
        ++g_idles;
    }
    if (message == WM_MENUCHAR) return g_menuCharReply;
    if (message == g_nestOn && g_nextMenu) {
        HMENU next = std::exchange(g_nextMenu, nullptr);
        g_nextStarted = true;
        g_nextResult = TrackPopupMenu(next, TPM_RETURNCMD, 250, 180, 0, hwnd, nullptr);
        return 0;
    }
    if (message == WM_INITMENU && g_growOnInit && reinterpret_cast<HMENU>(wParam) == g_growOnInit)
        AppendMenuA(g_growOnInit, MF_STRING, 999, "&Late");
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) return 0;  // recorded, not acted on
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) ++g_targetPresses;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool StartSkin() {
    CSkinEngine* engine = CSkinEngine::Instance();
    if (engine->IsEnabled()) return true;
    CSkinHookManager::Instance();
    CSkinApiHookManager::Instance()->Register(engine);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return engine->LoadSkin(path, nullptr) && engine->IsEnabled();
}

// Input from the player thread.
void MoveTo(POINT p) {
    harness::SendPointerMove(p);
    Sleep(60);
}

void Button(DWORD flag) {
    harness::SendMouseButton(flag);
    Sleep(60);
}

void Click() {
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

void Key(WORD vk) {
    harness::SendKeyPress(vk);
    Sleep(60);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms = 3000) {
    const DWORD end = GetTickCount() + ms;
    while (!condition()) {
        if (static_cast<LONG>(GetTickCount() - end) > 0) return false;
        Sleep(10);
    }
    return true;
}

size_t OpenLevels() {
    std::lock_guard<std::mutex> lock(g_levelsLock);
    return g_levels.size();
}

// Centre of an item of an open level, as seen at the last idle moment; waits for the level.
POINT ItemCentre(size_t level, int position) {
    WaitUntil([&] { return OpenLevels() > level; });
    std::lock_guard<std::mutex> lock(g_levelsLock);
    if (level >= g_levels.size() || position >= static_cast<int>(g_levels[level].size())) return {0, 0};
    const RECT& r = g_levels[level][position];
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT LevelWindowRect(size_t level) {
    RECT r = {};
    std::lock_guard<std::mutex> lock(g_levelsLock);
    if (level < g_levelWindows.size()) GetWindowRect(g_levelWindows[level], &r);
    return r;
}

std::vector<HWND> MenuWindows(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(thread, [](HWND h, LPARAM lp) {
        char name[64] = "";
        GetClassNameA(h, name, sizeof name);
        if (!strcmp(name, "SkinManagerMenu") && IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A submenu opened by its timer is no input, so the owner hears of no idle moment until the
// pointer stirs: wait for the window, then nudge the pointer within the item for a snapshot.
bool WaitForLevels(size_t levels, DWORD thread, DWORD ms = 3000) {
    if (!WaitUntil([&] { return MenuWindows(thread).size() == levels; }, ms)) return false;
    POINT c;
    GetCursorPos(&c);
    MoveTo({c.x + 1, c.y});
    return WaitUntil([&] { return OpenLevels() == levels; });
}

class Tracker : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(StartSkin());
        const HBRUSH window = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        harness::RegisterWindowClass("TrackerOwner", OwnerProc, window, LoadCursor(nullptr, IDC_ARROW));
        harness::RegisterWindowClass("TrackerTarget", TargetProc, window, LoadCursor(nullptr, IDC_ARROW));
    }

    void SetUp() override {
        g_log.clear();
        g_menuCharReply = 0;
        g_idles = 0;
        g_targetPresses = 0;
        g_nestOn = 0;
        g_nextMenu = nullptr;
        g_nextStarted = false;
        g_nextResult = -1;
        g_growOnInit = nullptr;
        {
            std::lock_guard<std::mutex> lock(g_levelsLock);
            g_levels.clear();
            g_levelWindows.clear();
        }
        m_owner = CreateWindowExA(0, "TrackerOwner", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_owner);
        SetForegroundWindow(m_owner);
        SetFocus(m_owner);
        m_menu = CreatePopupMenu();
        AppendMenuA(m_menu, MF_STRING, kOpen, "&Open");
        AppendMenuA(m_menu, MF_STRING | MF_CHECKED, kSave, "&Save\tCtrl+S");
        AppendMenuA(m_menu, MF_SEPARATOR, 0, nullptr);
        m_sub = CreatePopupMenu();
        AppendMenuA(m_sub, MF_STRING, kSubA, "Sub &A");
        AppendMenuA(m_sub, MF_STRING, kSubB, "Sub &B");
        AppendMenuA(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_sub), "&More");
        AppendMenuA(m_menu, MF_STRING | MF_GRAYED, kDisabled, "&Disabled");
        AppendMenuA(m_menu, MF_STRING, kExit, "E&xit");
        Park();
        Pump();
        g_log.clear();
    }

    void TearDown() override {
        DestroyMenu(m_menu);
        DestroyWindow(m_owner);
        Pump();
        EXPECT_TRUE(MenuWindows(GetCurrentThreadId()).empty());
        EXPECT_EQ(nullptr, CSkinMenuTracker::Current());
    }

    static void Pump() { harness::PumpMessages(0); }

    // The pointer away from where menus open.
    static void Park() {
        SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);
    }

    // Runs the menu on this thread while the script plays input from another.
    int Run(UINT flags, POINT at, const std::function<void()>& script) {
        std::atomic<bool> started{false};
        std::thread player([&] {
            WaitUntil([] { return g_idles > 0; });
            script();
        });
        const int result = TrackPopupMenu(m_menu, flags, at.x, at.y, 0, m_owner, nullptr);
        player.join();
        return result;
    }

    std::vector<Note> Notes(bool withIdle = false) const {
        std::vector<Note> notes;
        for (const Note& n : g_log)
            if (withIdle || n.message != WM_ENTERIDLE) notes.push_back(n);
        return notes;
    }

    HWND m_owner = nullptr;
    HMENU m_menu = nullptr;
    HMENU m_sub = nullptr;
};

TEST_F(Tracker, ReturnCommandGivesTheIdAndPostsNothingWhileCancelGivesZero) {
    EXPECT_EQ(static_cast<int>(kSave), Run(TPM_RETURNCMD, {200, 150}, [] {
                  Key(VK_DOWN);
                  Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
    Pump();
    for (const Note& n : g_log) EXPECT_NE(static_cast<UINT>(WM_COMMAND), n.message);
    g_log.clear();
    EXPECT_EQ(0, Run(TPM_RETURNCMD, {200, 150}, [] { Key(VK_ESCAPE); }));
    Pump();
    for (const Note& n : g_log) EXPECT_NE(static_cast<UINT>(WM_COMMAND), n.message);
}

TEST_F(Tracker, WithoutReturnCommandTheCommandIsPostedAfterTheLoopEnds) {
    EXPECT_EQ(1, Run(0, {200, 150}, [] {
                  Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
    // Posted: not there yet when the call returns.
    for (const Note& n : g_log) EXPECT_NE(static_cast<UINT>(WM_COMMAND), n.message);
    ASSERT_FALSE(g_log.empty());
    EXPECT_EQ(static_cast<UINT>(WM_UNINITMENUPOPUP), g_log.back().message);
    Pump();
    ASSERT_FALSE(g_log.empty());
    EXPECT_EQ((Note{WM_COMMAND, kOpen, 0}), g_log.back());
    // Cancelling still answers 1 and delivers nothing.
    g_log.clear();
    EXPECT_EQ(1, Run(0, {200, 150}, [] { Key(VK_ESCAPE); }));
    Pump();
    for (const Note& n : g_log) EXPECT_NE(static_cast<UINT>(WM_COMMAND), n.message);
}

TEST_F(Tracker, NotifyByPositionReportsWmMenuCommandAndReturnCommandStillGivesTheId) {
    MENUINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_NOTIFYBYPOS;
    ASSERT_TRUE(SetMenuInfo(m_menu, &info));
    EXPECT_EQ(1, Run(0, {200, 150}, [] {
                  Key(VK_UP);  // wraps to the last item
                  Key(VK_RETURN);
              }));
    Pump();
    bool found = false;
    for (const Note& n : g_log) {
        EXPECT_NE(static_cast<UINT>(WM_COMMAND), n.message);
        if (n.message == WM_MENUCOMMAND) {
            found = true;
            EXPECT_EQ(5u, n.wParam);
            EXPECT_EQ(reinterpret_cast<LPARAM>(m_menu), n.lParam);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(static_cast<int>(kExit), Run(TPM_RETURNCMD, {200, 150}, [] {
                  Key(VK_UP);
                  Key(VK_RETURN);
              }));
}

// A command handed over by a sent message comes when the menu has gone: its handler can open the
// next menu on the same thread.
TEST_F(Tracker, AHandlerOfASentCommandOpensTheNextMenu) {
    struct Case {
        const char* name;
        UINT flags;
        DWORD style;
        UINT message;
    } cases[] = {
        {"by position", 0, MNS_NOTIFYBYPOS, WM_MENUCOMMAND},
        {"window menu", CSkinMenuTracker::kSystemMenuFlag, 0, WM_SYSCOMMAND},
    };
    for (const Case& c : cases) {
        MENUINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = MIM_STYLE;
        info.dwStyle = c.style;
        ASSERT_TRUE(SetMenuInfo(m_menu, &info));
        g_nestOn = c.message;
        g_nextMenu = m_sub;
        g_nextStarted = false;
        g_nextResult = -1;
        EXPECT_EQ(1, Run(c.flags, {200, 150}, [] {
                      Key(VK_DOWN);
                      Key(VK_RETURN);  // Open
                      WaitUntil([] { return g_nextStarted.load(); });
                      Sleep(200);
                      Key(VK_DOWN);
                      Key(VK_RETURN);  // Sub A of the next menu
                  }))
            << c.name;
        Pump();
        EXPECT_EQ(static_cast<int>(kSubA), g_nextResult.load()) << c.name;
        EXPECT_EQ(nullptr, CSkinMenuTracker::Current()) << c.name;
    }
}

TEST_F(Tracker, ReturnOnADisabledItemClosesWithoutCommand) {
    // Down: Open, Save, More, Disabled (the separator is stepped over).
    EXPECT_EQ(0, Run(TPM_RETURNCMD, {200, 150}, [] {
                  for (int i = 0; i < 4; ++i) Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
    EXPECT_EQ(1, Run(0, {200, 150}, [] {
                  for (int i = 0; i < 4; ++i) Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
    Pump();
    for (const Note& n : g_log) EXPECT_NE(static_cast<UINT>(WM_COMMAND), n.message);
}

TEST_F(Tracker, MenuCharRepliesNamingPositionsOutsideTheMenuAreIgnored) {
    // 'q' names no item: the owner is asked; an execute reply past the end leaves the menu open.
    g_menuCharReply = MAKELRESULT(40, MNC_EXECUTE);
    std::atomic<bool> stillOpen{false};
    EXPECT_EQ(0, Run(TPM_RETURNCMD, {200, 150}, [&] {
                  Key('Q');
                  Sleep(200);
                  stillOpen = !MenuWindows(GetWindowThreadProcessId(FindWindowA("TrackerOwner", nullptr), nullptr)).empty();
                  Key(VK_ESCAPE);
              }));
    EXPECT_TRUE(stillOpen);
    bool asked = false;
    for (const Note& n : g_log)
        if (n.message == WM_MENUCHAR) {
            asked = true;
            EXPECT_EQ(MAKEWPARAM('q', MF_POPUP), n.wParam);
            EXPECT_EQ(reinterpret_cast<LPARAM>(m_menu), n.lParam);
        }
    EXPECT_TRUE(asked);
    // The same reply naming an item inside the menu executes it.
    g_menuCharReply = MAKELRESULT(5, MNC_EXECUTE);
    EXPECT_EQ(static_cast<int>(kExit), Run(TPM_RETURNCMD, {200, 150}, [] { Key('Q'); }));
    // A mnemonic of the menu itself needs no owner.
    g_log.clear();
    EXPECT_EQ(static_cast<int>(kSave), Run(TPM_RETURNCMD, {200, 150}, [] { Key('S'); }));
    for (const Note& n : g_log) EXPECT_NE(static_cast<UINT>(WM_MENUCHAR), n.message);
}

TEST_F(Tracker, APressOutsideClosesTheMenuAndReachesTheWindowUnderIt) {
    HWND target = CreateWindowExA(0, "TrackerTarget", "target", WS_POPUP | WS_VISIBLE, 700, 500, 200, 150, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(target);
    Pump();
    EXPECT_EQ(0, Run(TPM_RETURNCMD, {200, 150}, [] {
                  MoveTo({800, 575});
                  Click();
              }));
    EXPECT_TRUE(MenuWindows(GetCurrentThreadId()).empty());
    const DWORD end = GetTickCount() + 2000;
    while (g_targetPresses == 0 && GetTickCount() < end) {
        Pump();
        Sleep(10);
    }
    EXPECT_EQ(1, g_targetPresses.load());
    DestroyWindow(target);
}

TEST_F(Tracker, ClickingAnItemChoosesIt) {
    EXPECT_EQ(static_cast<int>(kExit), Run(TPM_RETURNCMD, {200, 150}, [] {
                  MoveTo(ItemCentre(0, 5));
                  Click();
              }));
}

TEST_F(Tracker, SubmenusOpenAfterTheMenuDelayAndSurviveADiagonalMove) {
    const UINT delay = CSkinMenuTracker(m_owner).SubmenuDelay();
    std::atomic<DWORD> opened{0};
    std::atomic<bool> keptOpen{false}, closedWhenStaying{false};
    const DWORD thread = GetCurrentThreadId();
    EXPECT_EQ(static_cast<int>(kSubB), Run(TPM_RETURNCMD, {200, 150}, [&] {
                  const POINT more = ItemCentre(0, kMorePosition);
                  const POINT below = ItemCentre(0, kMorePosition + 1);
                  const DWORD start = GetTickCount();
                  MoveTo(more);
                  WaitUntil([&] { return MenuWindows(thread).size() == 2; }, delay + 2000);
                  opened = GetTickCount() - start;
                  WaitForLevels(2, thread);
                  // Across the item below towards the submenu, arriving within the delay.
                  const RECT sub = LevelWindowRect(1);
                  MoveTo({below.x + 20, below.y});
                  MoveTo({sub.left + 10, sub.top + 10});
                  Sleep(delay + 300);
                  keptOpen = MenuWindows(thread).size() == 2;
                  // Staying on the item below beyond the delay closes it.
                  MoveTo(below);
                  Sleep(delay + 400);
                  closedWhenStaying = MenuWindows(thread).size() == 1;
                  // Back onto More, then in and choose.
                  MoveTo(more);
                  WaitForLevels(2, thread, delay + 2000);
                  MoveTo(ItemCentre(1, 1));
                  Click();
              }));
    EXPECT_GE(opened.load(), delay * 8 / 10);
    EXPECT_LT(opened.load(), delay + 1500);
    EXPECT_TRUE(keptOpen);
    EXPECT_TRUE(closedWhenStaying);
}

// Reaching the submenu on its margin, beside any item, keeps it open as reaching an item does.
TEST_F(Tracker, ASubmenuReachedOnItsMarginStaysOpen) {
    const UINT delay = CSkinMenuTracker(m_owner).SubmenuDelay();
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> opened{false}, kept{false};
    EXPECT_EQ(0, Run(TPM_RETURNCMD, {200, 150}, [&] {
                  const POINT below = ItemCentre(0, kMorePosition + 1);
                  MoveTo(ItemCentre(0, kMorePosition));
                  opened = WaitForLevels(2, thread, delay + 2000);
                  const RECT sub = LevelWindowRect(1);
                  MoveTo({below.x + 20, below.y});  // the parent starts closing it
                  MoveTo({sub.right - 2, sub.bottom - 2});
                  Sleep(delay + 300);
                  kept = MenuWindows(thread).size() == 2;
                  Key(VK_ESCAPE);
                  Key(VK_ESCAPE);
              }));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(kept);
}

TEST_F(Tracker, AtTheRightScreenEdgeMenusAndSubmenusOpenLeftwards) {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const POINT at = {work.right - 10, 150};
    std::atomic<bool> checked{false};
    RECT root = {}, sub = {};
    EXPECT_EQ(static_cast<int>(kSubA), Run(TPM_RETURNCMD, at, [&] {
                  root = LevelWindowRect(0);
                  Key(VK_DOWN);
                  Key(VK_DOWN);
                  Key(VK_DOWN);  // More
                  Key(VK_RIGHT);
                  WaitUntil([] { return OpenLevels() == 2; });
                  sub = LevelWindowRect(1);
                  checked = true;
                  Key(VK_RETURN);
              }));
    ASSERT_TRUE(checked);
    EXPECT_EQ(at.x, root.right);  // opened to the left of the point
    // Leftwards, overlapping the item's left margin by 3 pixels as a right-hand submenu does.
    EXPECT_LT(sub.left, root.left);
    EXPECT_LE(sub.right, root.left + 6);
}

// A mirrored menu opens its submenus to the left: Left goes in and Right comes back out.
TEST_F(Tracker, InAMirroredMenuRightClosesTheSubmenuLeftOpened) {
    DestroyWindow(m_owner);
    m_owner = CreateWindowExA(WS_EX_LAYOUTRTL, "TrackerOwner", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(m_owner);
    SetForegroundWindow(m_owner);
    SetFocus(m_owner);
    Pump();
    const DWORD thread = GetCurrentThreadId();
    std::atomic<size_t> afterLeft{0}, afterRight{0};
    EXPECT_EQ(0, Run(TPM_RETURNCMD, {600, 150}, [&] {
                  Key(VK_DOWN);
                  Key(VK_DOWN);
                  Key(VK_DOWN);  // More
                  Key(VK_LEFT);
                  WaitUntil([&] { return MenuWindows(thread).size() == 2; });
                  afterLeft = MenuWindows(thread).size();
                  Key(VK_RIGHT);
                  WaitUntil([&] { return MenuWindows(thread).size() == 1; }, 1000);
                  afterRight = MenuWindows(thread).size();
                  Key(VK_ESCAPE);
                  Key(VK_ESCAPE);
              }));
    EXPECT_EQ(2u, afterLeft.load());
    EXPECT_EQ(1u, afterRight.load());
}

TEST_F(Tracker, AnOwnerDestroyedWhileASubmenuIsOpenEndsTheRunCleanly) {
    HWND owner = m_owner;
    EXPECT_EQ(0, Run(TPM_RETURNCMD, {200, 150}, [owner] {
                  Key(VK_DOWN);
                  Key(VK_DOWN);
                  Key(VK_DOWN);
                  Key(VK_RIGHT);  // More's submenu
                  WaitUntil([] { return OpenLevels() == 2; });
                  PostMessageA(owner, WM_CLOSE, 0, 0);  // the default procedure destroys it
              }));
    EXPECT_FALSE(IsWindow(m_owner));
    Pump();
    EXPECT_TRUE(MenuWindows(GetCurrentThreadId()).empty());
    // The next menu runs as usual.
    m_owner = CreateWindowExA(0, "TrackerOwner", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(m_owner);
    SetFocus(m_owner);
    EXPECT_EQ(static_cast<int>(kOpen), Run(TPM_RETURNCMD, {200, 150}, [] {
                  Key(VK_DOWN);
                  Key(VK_RETURN);
              }));
}

// The owner's notifications, as a sequence, for one run by keyboard and one by mouse.
TEST_F(Tracker, NotificationOrderByKeyboard) {
    Run(0, {200, 150}, [] {
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_DOWN);  // More
        Key(VK_RIGHT);
        Key(VK_RETURN);  // Sub A
    });
    Pump();
    const LPARAM menu = reinterpret_cast<LPARAM>(m_menu), sub = reinterpret_cast<LPARAM>(m_sub);
    const std::vector<Note> expected = {
        {WM_ENTERMENULOOP, 0, 0},
        {WM_INITMENU, static_cast<WPARAM>(menu), 0},
        {WM_INITMENUPOPUP, static_cast<WPARAM>(menu), 0},
        {WM_MENUSELECT, MAKEWPARAM(kOpen, 0), menu},
        {WM_MENUSELECT, MAKEWPARAM(kSave, MF_CHECKED), menu},
        {WM_MENUSELECT, MAKEWPARAM(kMorePosition, MF_POPUP), menu},
        {WM_INITMENUPOPUP, static_cast<WPARAM>(sub), MAKELPARAM(kMorePosition, 0)},
        {WM_MENUSELECT, MAKEWPARAM(kSubA, 0), sub},
        {WM_UNINITMENUPOPUP, static_cast<WPARAM>(sub), 0},
        {WM_MENUSELECT, MAKEWPARAM(kMorePosition, MF_POPUP), menu},
        {WM_MENUSELECT, 0xFFFF0000, 0},
        {WM_EXITMENULOOP, 0, 0},
        {WM_UNINITMENUPOPUP, static_cast<WPARAM>(menu), 0},
        {WM_COMMAND, kSubA, 0},
    };
    EXPECT_EQ(expected, Notes());
}

TEST_F(Tracker, NotificationOrderByMouse) {
    const DWORD thread = GetCurrentThreadId();
    Run(0, {200, 150}, [&] {
        MoveTo(ItemCentre(0, kMorePosition));
        WaitForLevels(2, thread);
        MoveTo(ItemCentre(1, 1));
        Click();  // Sub B
    });
    Pump();
    const LPARAM menu = reinterpret_cast<LPARAM>(m_menu), sub = reinterpret_cast<LPARAM>(m_sub);
    const std::vector<Note> expected = {
        {WM_ENTERMENULOOP, 0, 0},
        {WM_INITMENU, static_cast<WPARAM>(menu), 0},
        {WM_INITMENUPOPUP, static_cast<WPARAM>(menu), 0},
        {WM_MENUSELECT, MAKEWPARAM(kMorePosition, MF_POPUP | MF_MOUSESELECT), menu},
        {WM_INITMENUPOPUP, static_cast<WPARAM>(sub), MAKELPARAM(kMorePosition, 0)},
        {WM_MENUSELECT, MAKEWPARAM(kSubB, MF_MOUSESELECT), sub},
        {WM_UNINITMENUPOPUP, static_cast<WPARAM>(sub), 0},
        {WM_MENUSELECT, MAKEWPARAM(kMorePosition, MF_POPUP | MF_MOUSESELECT), menu},
        {WM_MENUSELECT, 0xFFFF0000, 0},
        {WM_EXITMENULOOP, 0, 0},
        {WM_UNINITMENUPOPUP, static_cast<WPARAM>(menu), 0},
        {WM_COMMAND, kSubB, 0},
    };
    EXPECT_EQ(expected, Notes());
    // The owner was told of idleness with the deepest menu window, before the command.
    EXPECT_GT(g_idles.load(), 0);
}

// The window menu of a captioned window: a right click on the caption, a click on the icon and
// Alt+Space open it; what the window cannot do is grayed, and its command comes as WM_SYSCOMMAND.
class SystemMenu : public Tracker {
protected:
    void SetUp() override {
        Tracker::SetUp();
        m_frame = CreateWindowExA(0, "TrackerOwner", "framed", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300,
                                  200, 320, 220, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
        SetForegroundWindow(m_frame);
        SetFocus(m_frame);
        Pump();
        g_log.clear();
    }
    void TearDown() override {
        DestroyWindow(m_frame);
        Tracker::TearDown();
    }

    // A screen point of the frame whose hit code is `code`, searched along the caption row.
    POINT FindHit(int code) const {
        RECT r;
        GetWindowRect(m_frame, &r);
        POINT client = {0, 0};
        ClientToScreen(m_frame, &client);
        const int y = (r.top + client.y) / 2;
        for (int x = r.left; x < r.right; ++x)
            if (SendMessageA(m_frame, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) return {x + 3, y};
        return {-1, -1};
    }

    // Plays the script on another thread while this one pumps: the menu's loop runs from inside a
    // message of the frame.
    void Play(const std::function<void()>& script) { harness::PlayWhilePumping(script); }

    bool SystemMenuOpened() const {
        for (const Note& n : g_log)
            if (n.message == WM_INITMENUPOPUP && n.wParam == reinterpret_cast<WPARAM>(GetSystemMenu(m_frame, FALSE)) &&
                HIWORD(n.lParam) == 1)
                return true;
        return false;
    }

    int Commands(UINT command) const {
        int count = 0;
        for (const Note& n : g_log)
            if (n.message == WM_SYSCOMMAND && (n.wParam & 0xFFF0) == command) ++count;
        return count;
    }

    HWND m_frame = nullptr;
};

TEST_F(SystemMenu, OpensByCaptionRightClickIconClickAndAltSpace) {
    const DWORD thread = GetCurrentThreadId();
    const POINT caption = FindHit(HTCAPTION), icon = FindHit(HTSYSMENU);
    ASSERT_GE(caption.x, 0);
    ASSERT_GE(icon.x, 0);
    struct Way {
        const char* name;
        std::function<void()> open;
    } ways[] = {
        {"right click on the caption", [&] {
             MoveTo(caption);
             Button(MOUSEEVENTF_RIGHTDOWN);
             Button(MOUSEEVENTF_RIGHTUP);
         }},
        {"click on the icon", [&] {
             MoveTo(icon);
             Click();
         }},
        {"Alt+Space", [&] {
             harness::SendChord(VK_MENU, VK_SPACE);
             Sleep(100);
         }},
    };
    for (const Way& way : ways) {
        g_log.clear();
        std::atomic<bool> shown{false};
        Play([&] {
            way.open();
            shown = WaitUntil([&] { return MenuWindows(thread).size() == 1; });
            Key(VK_ESCAPE);
            WaitUntil([&] { return MenuWindows(thread).empty(); });
        });
        EXPECT_TRUE(shown) << way.name;
        EXPECT_TRUE(SystemMenuOpened()) << way.name;
        EXPECT_EQ(0, Commands(SC_CLOSE)) << way.name;
    }
}

TEST_F(SystemMenu, GraysWhatTheWindowCannotDoAndSendsTheChosenCommand) {
    const DWORD thread = GetCurrentThreadId();
    const POINT caption = FindHit(HTCAPTION);
    ASSERT_GE(caption.x, 0);
    HMENU menu = GetSystemMenu(m_frame, FALSE);
    UINT maximize = 0, size = 0, move = 0;
    Play([&] {
        MoveTo(caption);
        Button(MOUSEEVENTF_RIGHTDOWN);
        Button(MOUSEEVENTF_RIGHTUP);
        WaitUntil([&] { return MenuWindows(thread).size() == 1; });
        maximize = GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND);
        size = GetMenuState(menu, SC_SIZE, MF_BYCOMMAND);
        move = GetMenuState(menu, SC_MOVE, MF_BYCOMMAND);
        Key('C');  // "&Close"
        WaitUntil([&] { return MenuWindows(thread).empty(); });
    });
    // A fixed window without a maximize box: neither maximize nor size is offered; move is.
    EXPECT_TRUE(maximize & MF_GRAYED);
    EXPECT_TRUE(size & MF_GRAYED);
    EXPECT_FALSE(move & MF_GRAYED);
    EXPECT_EQ(1, Commands(SC_CLOSE));
    EXPECT_TRUE(IsWindow(m_frame));
}

// The menu bar of an application frame, run by the keyboard: Alt selects its first item, the
// arrows walk it and pass into the window menu past its ends, a mnemonic opens its popup, and
// Escape closes one level at a time.
class MenuBar : public SystemMenu {
protected:
    void SetUp() override {
        SystemMenu::SetUp();
        m_bar = CreateMenu();
        m_file = CreatePopupMenu();
        AppendMenuA(m_file, MF_STRING, kOpen, "&Open");
        AppendMenuA(m_file, MF_STRING, kExit, "E&xit");
        m_edit = CreatePopupMenu();
        AppendMenuA(m_edit, MF_STRING, kSave, "&Save");
        AppendMenuA(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_file), "&File");
        AppendMenuA(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_edit), "&Edit");
        ASSERT_TRUE(SetMenu(m_frame, m_bar));
        DrawMenuBar(m_frame);
        SetForegroundWindow(m_frame);
        SetFocus(m_frame);
        Pump();
        g_log.clear();
    }
    void TearDown() override {
        SetMenu(m_frame, nullptr);
        DestroyMenu(m_bar);
        SystemMenu::TearDown();
    }
    std::vector<Note> Of(UINT message) const {
        std::vector<Note> notes;
        for (const Note& n : g_log)
            if (n.message == message) notes.push_back(n);
        return notes;
    }
    // The run holds the mouse capture of the menu's thread while it lasts.
    static bool Running(DWORD thread) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && info.hwndCapture != nullptr;
    }
    static void Chord(WORD modifier, WORD vk) {
        harness::SendChord(modifier, vk);
        Sleep(100);
    }
    HMENU m_bar = nullptr, m_file = nullptr, m_edit = nullptr;
};

TEST_F(MenuBar, AltThenArrowsWalkTheBarAndWrapIntoTheWindowMenu) {
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> systemPopup{false};
    Play([&] {
        Key(VK_MENU);
        Key(VK_RIGHT);   // Edit
        Key(VK_RIGHT);   // past the end: the window menu
        Key(VK_DOWN);    // opens it
        systemPopup = WaitUntil([&] { return MenuWindows(thread).size() == 1; });
        Key(VK_ESCAPE);  // the popup
        Key(VK_ESCAPE);  // the run
        WaitUntil([&] { return !Running(thread); });
    });
    EXPECT_TRUE(systemPopup);
    const LPARAM bar = reinterpret_cast<LPARAM>(m_bar);
    const std::vector<Note> selects = Of(WM_MENUSELECT);
    ASSERT_GE(selects.size(), 3u);
    EXPECT_EQ((Note{WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), bar}), selects[0]);  // File
    EXPECT_EQ((Note{WM_MENUSELECT, MAKEWPARAM(1, MF_POPUP), bar}), selects[1]);  // Edit
    EXPECT_EQ(static_cast<WPARAM>(MF_SYSMENU | MF_POPUP), HIWORD(selects[2].wParam) & (MF_SYSMENU | MF_POPUP));
    EXPECT_TRUE(SystemMenuOpened());
    EXPECT_EQ((Note{WM_MENUSELECT, 0xFFFF0000, 0}), selects.back());
    ASSERT_FALSE(Of(WM_INITMENU).empty());
    EXPECT_EQ(static_cast<WPARAM>(bar), Of(WM_INITMENU)[0].wParam);
    EXPECT_EQ(1u, Of(WM_EXITMENULOOP).size());
}

TEST_F(MenuBar, AMnemonicOpensItsPopupAndEscapeClosesLevelByLevel) {
    const DWORD thread = GetCurrentThreadId();
    size_t afterMnemonic = 0, afterFirstEscape = 0;
    bool runningAfterFirstEscape = false;
    Play([&] {
        Chord(VK_MENU, 'E');
        WaitUntil([&] { return MenuWindows(thread).size() == 1; });
        afterMnemonic = MenuWindows(thread).size();
        Key(VK_ESCAPE);
        WaitUntil([&] { return MenuWindows(thread).empty(); });
        afterFirstEscape = MenuWindows(thread).size();
        runningAfterFirstEscape = Running(thread);
        Key(VK_ESCAPE);
        WaitUntil([&] { return !Running(thread); });
    });
    EXPECT_EQ(1u, afterMnemonic);
    EXPECT_EQ(0u, afterFirstEscape);
    EXPECT_TRUE(runningAfterFirstEscape);  // the bar item stays selected
    const std::vector<Note> popups = Of(WM_INITMENUPOPUP);
    ASSERT_EQ(1u, popups.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_edit), popups[0].wParam);
    EXPECT_EQ(MAKELPARAM(1, 0), popups[0].lParam);
    EXPECT_EQ(1u, Of(WM_UNINITMENUPOPUP).size());
    EXPECT_TRUE(Of(WM_COMMAND).empty());
}

TEST_F(MenuBar, AnAltLetterNamingNoItemEndsTheRunOnce) {
    const DWORD thread = GetCurrentThreadId();
    Play([&] {
        Chord(VK_MENU, 'Q');
        Sleep(300);
        WaitUntil([&] { return !Running(thread); });
    });
    EXPECT_EQ(1u, Of(WM_ENTERMENULOOP).size());
    EXPECT_EQ(1u, Of(WM_EXITMENULOOP).size());
    ASSERT_EQ(1u, Of(WM_MENUCHAR).size());
    EXPECT_EQ(MAKEWPARAM('q', 0), Of(WM_MENUCHAR)[0].wParam);  // asked for the bar, not a popup
    EXPECT_FALSE(Running(thread));
}

TEST_F(MenuBar, AClickOnABarItemOpensItsPopupAndAnItemThereIsChosen) {
    const DWORD thread = GetCurrentThreadId();
    CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(m_frame);
    CSkinObjectBase* object = sink ? sink->GetSkinObject() : nullptr;
    auto* frame = dynamic_cast<CSkinObjectApplicationFrame*>(object);
    ASSERT_TRUE(frame && frame->GetMenuBarWindow());
    CSkinMenuWindow* barWindow = frame->GetMenuBarWindow();
    ASSERT_EQ(2, barWindow->ItemCount());
    const RECT file = barWindow->ItemScreenRect(barWindow->ItemAt(0));
    Play([&] {
        MoveTo({(file.left + file.right) / 2, (file.top + file.bottom) / 2});
        Click();
        WaitForLevels(2, thread);
        MoveTo(ItemCentre(1, 1));  // Exit
        Click();
        WaitUntil([&] { return !Running(thread); });
    });
    Pump();
    const std::vector<Note> commands = Of(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(kExit), commands[0].wParam);
}

// An owner may add to its bar when told the menu opens; the pressed item keeps its place.
TEST_F(MenuBar, AnItemAddedOnInitMenuLeavesThePressedItemInPlace) {
    const DWORD thread = GetCurrentThreadId();
    CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(m_frame);
    auto* frame = dynamic_cast<CSkinObjectApplicationFrame*>(sink ? sink->GetSkinObject() : nullptr);
    ASSERT_TRUE(frame && frame->GetMenuBarWindow());
    CSkinMenuWindow* barWindow = frame->GetMenuBarWindow();
    const RECT file = barWindow->ItemScreenRect(barWindow->ItemAt(0));
    g_growOnInit = m_bar;
    bool opened = false;
    Play([&] {
        MoveTo({(file.left + file.right) / 2, (file.top + file.bottom) / 2});
        Click();
        opened = WaitUntil([&] { return MenuWindows(thread).size() == 1; }, 1500);
        Key(VK_ESCAPE);
        Key(VK_ESCAPE);
        WaitUntil([&] { return !Running(thread); });
    });
    EXPECT_EQ(3, GetMenuItemCount(m_bar));
    EXPECT_TRUE(opened);
    ASSERT_FALSE(Of(WM_INITMENUPOPUP).empty());
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_file), Of(WM_INITMENUPOPUP)[0].wParam);
}

}  // namespace
