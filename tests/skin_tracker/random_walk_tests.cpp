// A random walk of real pointer and keyboard input over SkinGallery.exe with its menus, from a
// seed the test prints (TAMRIVEL_WALK_SEED replays another): the program must not crash or hang,
// must leave no menu window behind and must give back its window and GDI objects.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "AppUnderTest.h"
#include "GalleryControls.h"
#include "Input.h"
#include "Wait.h"

using harness::AppUnderTest;

namespace {

constexpr int kEvents = 10000;
// Events each program run gets before its objects are counted: the first menus, dialogs and hovers
// fill the skin's image caches and make the controls' tooltip windows, once per run (the counts
// then stay flat over thousands of events).
constexpr int kWarmUpEvents = 1000;

struct Window {
    DWORD process;
    const char* title;
    HWND found;
};

HWND MainWindow(DWORD process) {
    Window search{process, gallery::kMainTitle, nullptr};
    EnumWindows([](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Window*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->process && IsWindowVisible(hwnd) && AppUnderTest::WindowText(hwnd) == s->title) {
            s->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> TopLevels(DWORD process, const char* className) {
    struct Search {
        DWORD process;
        const char* className;
        std::vector<HWND> found;
    } search{process, className, {}};
    EnumWindows([](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        char name[64] = "";
        GetClassNameA(hwnd, name, sizeof name);
        if (owner == s->process && IsWindowVisible(hwnd) && (!s->className || !strcmp(name, s->className)))
            s->found.push_back(hwnd);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Every window of the process, top-level and child: what the walk may leave behind in USER objects.
size_t WindowCount(DWORD process) {
    size_t count = 0;
    for (HWND top : TopLevels(process, nullptr)) {
        ++count;
        EnumChildWindows(top, [](HWND, LPARAM lp) -> BOOL {
            ++*reinterpret_cast<size_t*>(lp);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

void Mouse(DWORD flags, POINT p = {0, 0}) {
    if (flags & MOUSEEVENTF_MOVE)
        harness::SendPointerMove(p);
    else
        harness::SendMouseButton(flags);
}

void Key(WORD vk) {
    harness::SendKeyPress(vk);
}

class Gallery {
public:
    Gallery() {
        harness::LaunchOptions options;
        const char* exe = getenv("TAMRIVEL_GALLERY");
        options.exe = exe ? exe : "SkinGallery.exe";
        options.commandLine = "\"" + options.exe + "\"";
        m_app = std::make_unique<AppUnderTest>(options);
        harness::WaitUntil([&] { return (m_main = MainWindow(m_app->ProcessId())) != nullptr; }, 30000);
    }
    ~Gallery() {
        if (m_app->IsRunning()) m_app->Terminate();
    }
    HWND Main() const { return m_main; }
    AppUnderTest& App() { return *m_app; }
    // Only the program can count its own GDI objects where the system does not; 0 when it gave no answer.
    DWORD Objects(WPARAM kind) const {
        static const UINT count = RegisterWindowMessageA(gallery::kCountObjectsMessage);
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(m_main, count, kind, 0, SMTO_ABORTIFHUNG, 10000, &answer) ? static_cast<DWORD>(answer)
                                                                                          : 0;
    }

private:
    std::unique_ptr<AppUnderTest> m_app;
    HWND m_main = nullptr;
};

// Ends whatever the walk left open (menus, the gallery's other windows, message boxes).
void Settle(Gallery& gallery) {
    for (int i = 0; i < 6; ++i) {
        Key(VK_ESCAPE);
        Sleep(100);
    }
    for (HWND hwnd : TopLevels(gallery.App().ProcessId(), nullptr))
        if (hwnd != gallery.Main()) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    Sleep(500);
    for (int i = 0; i < 3; ++i) {
        Key(VK_ESCAPE);
        Sleep(100);
    }
}

}  // namespace

TEST(MenuRandomWalk, TenThousandEventsLeaveTheGalleryWholeAndResponsive) {
    unsigned seed = 20261208;
    if (const char* given = getenv("TAMRIVEL_WALK_SEED")) seed = static_cast<unsigned>(strtoul(given, nullptr, 10));
    std::printf("random walk seed %u (TAMRIVEL_WALK_SEED replays it)\n", seed);
    std::fflush(stdout);
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };

    auto gallery = std::make_unique<Gallery>();
    ASSERT_TRUE(gallery->Main());
    // The figures belong to the program now running: a program that ended itself is counted afresh.
    DWORD windowsBeforeAll = 0, gdiBefore = 0;
    size_t windowsBefore = 0;
    int countAt = kWarmUpEvents, countedFrom = -1;
    auto countBefore = [&](int event) {
        Settle(*gallery);
        if (!gallery->App().IsRunning()) return;  // counted afresh after the restart
        windowsBeforeAll = gallery->Objects(gallery::kCountWindows);
        gdiBefore = gallery->Objects(gallery::kCountGdiObjects);
        windowsBefore = WindowCount(gallery->App().ProcessId());
        countedFrom = event;
        ASSERT_GT(windowsBeforeAll, 0u);
        ASSERT_GT(gdiBefore, 0u);
    };
    int restarts = 0, menusSeen = 0;
    const WORD arrows[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    for (int event = 0; event < kEvents; ++event) {
        if (!gallery->App().IsRunning()) {
            // A menu command or the window menu may end the program; it must end cleanly.
            DWORD code = 1;
            gallery->App().WaitForExit(5000, &code);
            ASSERT_EQ(0u, code) << "the gallery ended with " << std::hex << code << " at event " << std::dec << event
                                << ", seed " << seed;
            gallery = std::make_unique<Gallery>();
            ASSERT_TRUE(gallery->Main());
            ++restarts;
            countAt = event + kWarmUpEvents;
            countedFrom = -1;
        }
        if (event == countAt) {
            countBefore(event);
            if (HasFatalFailure()) return;
        }
        RECT r = {};
        GetWindowRect(gallery->Main(), &r);
        if (r.right - r.left < 50 || r.bottom - r.top < 50) r = {0, 0, 800, 600};
        const int kind = pick(100);
        if (kind < 35) {
            // Moves favour the caption and the menu bar, where the menus start.
            const int bottom = pick(3) == 0 ? r.bottom : r.top + 60;
            Mouse(MOUSEEVENTF_MOVE, {r.left + pick(r.right - r.left), r.top + pick(bottom - r.top)});
        } else if (kind < 50) {
            Mouse(MOUSEEVENTF_LEFTDOWN);
            Mouse(MOUSEEVENTF_LEFTUP);
        } else if (kind < 58) {
            Mouse(MOUSEEVENTF_RIGHTDOWN);
            Mouse(MOUSEEVENTF_RIGHTUP);
        } else if (kind < 62) {
            for (int i = 0; i < 2; ++i) {
                Mouse(MOUSEEVENTF_LEFTDOWN);
                Mouse(MOUSEEVENTF_LEFTUP);
            }
        } else if (kind < 67) {
            Key(VK_MENU);
        } else if (kind < 70) {
            Key(VK_F10);
        } else if (kind < 78) {
            Key(VK_ESCAPE);
        } else if (kind < 90) {
            Key(arrows[pick(4)]);
        } else if (kind < 94) {
            Key(VK_RETURN);
        } else {
            Key(static_cast<WORD>('A' + pick(26)));
        }
        Sleep(pick(4) == 0 ? 40 : 2);
        if (event % 25 == 0 && !TopLevels(gallery->App().ProcessId(), "SkinManagerMenu").empty()) ++menusSeen;
        if (event % 500 == 499) {
            DWORD_PTR answer = 0;
            ASSERT_TRUE(SendMessageTimeoutA(gallery->Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) ||
                        !gallery->App().IsRunning())
                << "no answer at event " << event << ", seed " << seed;
        }
    }
    if (!gallery->App().IsRunning()) {
        gallery = std::make_unique<Gallery>();
        ++restarts;
        countedFrom = -1;
    }
    Settle(*gallery);
    std::printf("restarts after the program ended itself: %d; skinned menus seen open at %d of %d samples\n", restarts,
                menusSeen, kEvents / 25);
    // The walk reached the menus at all.
    EXPECT_GT(menusSeen, 0);

    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(gallery->Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_TRUE(TopLevels(gallery->App().ProcessId(), "SkinManagerMenu").empty());
    if (countedFrom >= 0) {
        const size_t windowsAfter = WindowCount(gallery->App().ProcessId());
        const DWORD windowsAfterAll = gallery->Objects(gallery::kCountWindows);
        const DWORD gdiAfter = gallery->Objects(gallery::kCountGdiObjects);
        std::printf("over events %d to %d: visible windows %zu -> %zu, all windows %lu -> %lu, GDI objects %lu -> %lu\n",
                    countedFrom, kEvents, windowsBefore, windowsAfter, windowsBeforeAll, windowsAfterAll, gdiBefore,
                    gdiAfter);
        EXPECT_LE(windowsAfter, windowsBefore + 2);
        EXPECT_EQ(windowsBeforeAll, windowsAfterAll);
        EXPECT_EQ(gdiBefore, gdiAfter);
    } else {
        std::printf("objects not counted: the last program run had fewer than %d events\n", kWarmUpEvents);
    }
    PostMessageA(gallery->Main(), WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(gallery->App().WaitForExit(15000, &code));
    EXPECT_EQ(0u, code);
}
