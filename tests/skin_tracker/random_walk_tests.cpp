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
// Events between the two counts of a program run.
constexpr int kCountedEvents = 1000;
// Pictures the system's controls may make once, late in a run, without a DC of their own.
constexpr long kFirstUsePictures = 8;

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
    struct Counts {
        size_t visible = 0;
        DWORD windows = 0, gdi = 0, bitmaps = 0, memoryDCs = 0;
        // The skin's picture caches keep each picture selected into a DC of its own, and fill as the
        // walk meets new parts and sizes (bounded per image): such pairs are left out, while a bitmap
        // or DC without its partner, and any other object, must come back to the figure.
        long Unpaired() const { return static_cast<long>(bitmaps) - static_cast<long>(memoryDCs); }
        long Other() const { return static_cast<long>(gdi - bitmaps - memoryDCs); }
    };
    auto count = [&] {
        Counts c;
        c.visible = WindowCount(gallery->App().ProcessId());
        c.windows = gallery->Objects(gallery::kCountWindows);
        c.gdi = gallery->Objects(gallery::kCountGdiObjects);
        c.bitmaps = gallery->Objects(gallery::kCountBitmaps);
        c.memoryDCs = gallery->Objects(gallery::kCountMemoryDCs);
        return c;
    };
    Counts before;
    int countAt = kWarmUpEvents, countedFrom = -1;
    auto countBefore = [&](int event) {
        Settle(*gallery);
        if (!gallery->App().IsRunning()) return;  // counted afresh after the restart
        before = count();
        countedFrom = event;
        ASSERT_GT(before.windows, 0u);
        ASSERT_GT(before.gdi, 0u);
    };
    // Compared once per program run that lasts long enough: runs end often when the walk finds the
    // commands that close the program, and the last run alone would seldom reach its count.
    int compared = 0;
    auto compareAfter = [&](int event) {
        Settle(*gallery);
        if (!gallery->App().IsRunning() || !IsWindow(gallery->Main())) return;
        const Counts after = count();
        if (!after.windows || !after.gdi) return;  // ended while settling
        std::printf("over events %d to %d: visible windows %zu -> %zu, all windows %lu -> %lu, GDI objects %lu -> %lu "
                    "(bitmaps %lu -> %lu, memory DCs %lu -> %lu)\n",
                    countedFrom, event, before.visible, after.visible, before.windows, after.windows, before.gdi,
                    after.gdi, before.bitmaps, after.bitmaps, before.memoryDCs, after.memoryDCs);
        EXPECT_LE(after.visible, before.visible + 2);
        EXPECT_EQ(before.windows, after.windows);
        EXPECT_EQ(before.Other(), after.Other()) << "GDI objects other than bitmaps and memory DCs";
        // The system's controls make a few pictures of their own on first use (a caret, drop-down
        // arrows) as the walk reaches them; a leak per paint, menu or dialog would pass this bound
        // within a few dozen events.
        EXPECT_LE(after.Unpaired() - before.Unpaired(), kFirstUsePictures) << "bitmaps without a memory DC";
        EXPECT_GE(after.Unpaired() - before.Unpaired(), -kFirstUsePictures) << "memory DCs without a bitmap";
        countedFrom = -1;
        ++compared;
    };
    int restarts = 0, restores = 0, menusSeen = 0;
    const WORD arrows[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    for (int event = 0; event < kEvents; ++event) {
        if (!gallery->App().IsRunning() || !IsWindow(gallery->Main())) {
            // A menu command or the window menu may end the program; it must end cleanly and soon.
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
        // A click on the minimize box leaves nothing to walk on: bring the window back as a user would.
        if (IsIconic(gallery->Main())) {
            PostMessageA(gallery->Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
            ++restores;
            Sleep(100);
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
            // A window already gone belongs to a program on its way out, checked at the next event.
            ASSERT_TRUE(SendMessageTimeoutA(gallery->Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) ||
                        !IsWindow(gallery->Main()) || !gallery->App().IsRunning())
                << "no answer at event " << event << ", seed " << seed;
            if (countedFrom >= 0 && event - countedFrom >= kCountedEvents) compareAfter(event);
        }
    }
    if (!gallery->App().IsRunning()) {
        gallery = std::make_unique<Gallery>();
        ++restarts;
        countedFrom = -1;
    }
    Settle(*gallery);
    std::printf("restarts after the program ended itself: %d; restored from minimized: %d; skinned menus seen open at "
                "%d of %d samples\n",
                restarts, restores, menusSeen, kEvents / 25);
    // The walk reached the menus at all.
    EXPECT_GT(menusSeen, 0);

    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(gallery->Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_TRUE(TopLevels(gallery->App().ProcessId(), "SkinManagerMenu").empty());
    if (countedFrom >= 0) compareAfter(kEvents);
    std::printf("program runs compared for leaks: %d\n", compared);
    PostMessageA(gallery->Main(), WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(gallery->App().WaitForExit(15000, &code));
    EXPECT_EQ(0u, code);
}
