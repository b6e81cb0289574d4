// Threads that get their creation hook through the thread-start wrapper, and many of them
// creating and destroying windows while the skin is loaded again and again.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "GuiObjects.h"
#include "SkinWindowsTestSupport.h"

using namespace skinwintest;

namespace {

LRESULT CALLBACK OwnRoadProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    LRESULT result = 0;
    if (skin::DefaultProcRoute(h, reinterpret_cast<void*>(&DefWindowProcA), skin::RouteDefWindowProc, nullptr, m, w, l, result))
        return result;
    return DefWindowProcA(h, m, w, l);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    RegisterCountedClass("TamrivelStressOwn", OwnRoadProc);
    RegisterCountedClass("TamrivelStressSystem",
                         reinterpret_cast<WNDPROC>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "DefWindowProcA")));
    done = true;
}

struct ThreadReport {
    bool attached = false;
    LPVOID param = nullptr;
};

DWORD WINAPI ProbeThread(LPVOID p) {
    auto* report = static_cast<ThreadReport*>(p);
    report->param = p;
    HWND hWnd = CreateWindowExA(0, "Button", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    report->attached = static_cast<bool>(skin::FindSkinObjectRef(hWnd));
    DestroyWindow(hWnd);
    return 77;
}

TEST(SkinThreads, ThreadsStartedThroughTheWrapperAttachTheirWindows) {
    ASSERT_TRUE(StartSkin());
    using CreateThreadFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
    void* create = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "CreateThread"));
    for (bool wrapped : {true, false}) {
        SCOPED_TRACE(wrapped);
        CSkinEngine::Instance()->attachNewThreads = wrapped;
        ThreadReport report;
        HANDLE thread = skin::CreateThreadThroughHook(create, nullptr, 0, ProbeThread, &report, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
        DWORD code = 0;
        GetExitCodeThread(thread, &code);
        CloseHandle(thread);
        EXPECT_EQ(77u, code);
        EXPECT_EQ(&report, report.param);
        EXPECT_EQ(wrapped, report.attached);
    }
    CSkinEngine::Instance()->attachNewThreads = TRUE;

    // A creation that fails reports the system's failure, unchanged.
    auto failing = [](LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) -> HANDLE {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    };
    CreateThreadFn failingFn = failing;
    SetLastError(0);
    EXPECT_EQ(nullptr, skin::CreateThreadThroughHook(reinterpret_cast<void*>(failingFn), nullptr, 0, ProbeThread,
                                                     nullptr, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
}

// The leak figures below are only worth something if they move: each kind of object made N times
// must raise the count by N, and freeing them must bring it back.
TEST(SkinStress, LiveObjectCountsFollowObjectsMadeAndFreed) {
    constexpr int kEach = 25;
    struct Kind {
        const char* name;
        std::function<HGDIOBJ()> make;
        std::function<void(HGDIOBJ)> free;
    };
    HDC screen = GetDC(nullptr);
    const Kind kinds[] = {
        {"brush", [] { return static_cast<HGDIOBJ>(CreateSolidBrush(RGB(1, 2, 3))); }, [](HGDIOBJ o) { DeleteObject(o); }},
        {"bitmap", [screen] { return static_cast<HGDIOBJ>(CreateCompatibleBitmap(screen, 4, 4)); },
         [](HGDIOBJ o) { DeleteObject(o); }},
        {"memory DC", [screen] { return static_cast<HGDIOBJ>(CreateCompatibleDC(screen)); },
         [](HGDIOBJ o) { DeleteDC(static_cast<HDC>(o)); }},
        {"font", [] { return static_cast<HGDIOBJ>(CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial")); },
         [](HGDIOBJ o) { DeleteObject(o); }},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const DWORD before = harness::LiveGdiObjects();
        std::vector<HGDIOBJ> made;
        for (int i = 0; i < kEach; ++i) {
            made.push_back(kind.make());
            ASSERT_NE(nullptr, made.back());
        }
        EXPECT_EQ(before + kEach, harness::LiveGdiObjects());
        kind.free(made.back());
        made.pop_back();
        EXPECT_EQ(before + kEach - 1, harness::LiveGdiObjects());
        for (HGDIOBJ o : made) kind.free(o);
        EXPECT_EQ(before, harness::LiveGdiObjects());
    }
    ReleaseDC(nullptr, screen);

    // Windows: top-level, children and grandchildren, message-only, and one on another thread.
    const DWORD windowsBefore = harness::LiveWindows();
    auto make = [](HWND parent, DWORD style) {
        return CreateWindowExA(0, "Static", "", style, 0, 0, 20, 20, parent, nullptr, nullptr, nullptr);
    };
    HWND top = make(nullptr, WS_POPUP);
    HWND child = make(top, WS_CHILD);
    make(child, WS_CHILD);
    HWND messageOnly = make(HWND_MESSAGE, WS_CHILD);
    make(messageOnly, WS_CHILD);
    ASSERT_TRUE(top && child && messageOnly);
    EXPECT_EQ(windowsBefore + 5, harness::LiveWindows());
    HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr), done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        HWND own = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
        SetEvent(made);
        WaitForSingleObject(done, 10000);
        DestroyWindow(own);
    });
    WaitForSingleObject(made, 10000);
    EXPECT_EQ(windowsBefore + 6, harness::LiveWindows());
    SetEvent(done);
    other.join();
    CloseHandle(made);
    CloseHandle(done);
    DestroyWindow(child);  // takes its own child along
    EXPECT_EQ(windowsBefore + 3, harness::LiveWindows());
    DestroyWindow(top);
    DestroyWindow(messageOnly);
    EXPECT_EQ(windowsBefore, harness::LiveWindows());
}

constexpr int kThreads = 8;
constexpr int kWindowsPerThread = 500;
constexpr int kReloads = 50;

// The system keeps the window DCs it hands out for reuse, each with its visible region, and grows
// that cache to the most DCs ever held at once. Every thread of the churn, and this one, holding a
// client and a window DC together fills it before anything is counted.
void FillDisplayDcCache() {
    constexpr int kHolders = kThreads + 1;
    HANDLE allHold = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> holding{0};
    std::vector<std::thread> holders;
    for (int i = 0; i < kHolders; ++i)
        holders.emplace_back([&] {
            HWND hWnd = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            HDC client = GetDC(hWnd), window = GetWindowDC(hWnd);
            if (++holding == kHolders) SetEvent(allHold);
            WaitForSingleObject(allHold, 10000);
            ReleaseDC(hWnd, window);
            ReleaseDC(hWnd, client);
            DestroyWindow(hWnd);
        });
    for (std::thread& t : holders) t.join();
    CloseHandle(allHold);
}

struct Worker {
    HANDLE thread = nullptr;
    std::atomic<int> created{0};
    std::atomic<int> attached{0};
};

DWORD WINAPI Churn(LPVOID p) {
    auto* worker = static_cast<Worker*>(p);
    // No edit controls (nor combo boxes, which hold one): Wine's edit text layout is not safe on
    // several threads at once and faults in its shaping cache.
    static const char* const classes[] = {"Button", "msctls_trackbar32", "ListBox", "Static", "msctls_progress32",
                                          "TamrivelStressOwn", "TamrivelStressSystem", "ScrollBar"};
    HWND parent = CreateWindowExA(0, "TamrivelStressOwn", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    MSG m;
    for (int i = 0; i < kWindowsPerThread; ++i) {
        const char* className = classes[i % (sizeof(classes) / sizeof(classes[0]))];
        const bool child = (i / 8) % 2 == 1;
        HWND hWnd = CreateWindowExA(0, className, "x", child ? WS_CHILD | WS_VISIBLE : WS_POPUP, 0, 0, 100, 40,
                                    child ? parent : nullptr, nullptr, nullptr, nullptr);
        if (!hWnd) continue;
        ++worker->created;
        if (skin::FindSkinObjectRef(hWnd)) ++worker->attached;
        SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("text"));
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        DestroyWindow(hWnd);
    }
    DestroyWindow(parent);
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    return 0;
}

TEST(SkinStress, ThreadsCreateAndDestroyWindowsWhileTheSkinIsLoadedAgain) {
    ASSERT_TRUE(StartSkin());
    RegisterClasses();
    CSkinEngine* engine = CSkinEngine::Instance();
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    FillDisplayDcCache();
    Pump(100);
    const size_t mapBefore = engine->GetSkinObjectCount();
    const DWORD windowsBefore = harness::LiveWindows();
    const DWORD gdiBefore = harness::LiveGdiObjects();

    void* create = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "CreateThread"));
    std::vector<Worker> workers(kThreads);
    std::vector<HANDLE> handles;
    for (Worker& w : workers) {
        w.thread = skin::CreateThreadThroughHook(create, nullptr, 0, Churn, &w, 0, nullptr);
        ASSERT_NE(nullptr, w.thread);
        handles.push_back(w.thread);
    }
    for (int i = 0; i < kReloads; ++i) {
        EXPECT_TRUE(engine->LoadSkin(path, nullptr));
        Pump();
    }
    // Pumping while waiting: skin changes post to the workers' windows through this thread too.
    const DWORD deadline = GetTickCount() + 240000;
    size_t finished = 0;
    while (finished < handles.size() && GetTickCount() < deadline) {
        if (WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, 20) == WAIT_OBJECT_0)
            finished = handles.size();
        Pump();
    }
    ASSERT_EQ(handles.size(), finished) << "worker threads hung";
    for (Worker& w : workers) {
        CloseHandle(w.thread);
        EXPECT_EQ(kWindowsPerThread, w.created.load());
        EXPECT_EQ(kWindowsPerThread, w.attached.load());
    }
    Pump(200);
    EXPECT_EQ(mapBefore, engine->GetSkinObjectCount());
    EXPECT_EQ(0, CCountingSkinObject::live);
    EXPECT_EQ(windowsBefore, harness::LiveWindows());
    EXPECT_EQ(gdiBefore, harness::LiveGdiObjects());
}

}  // namespace
