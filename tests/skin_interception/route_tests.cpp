// The intercepted default procedures and thread creation, end to end: a window with its own
// procedure reaches its skin object only through DefWindowProcA/CallWindowProcA as this
// program imports them, and a thread started through CreateThread attaches its windows.
#include <gtest/gtest.h>

#include "CSkinHookManager.h"
#include "CSkinObjectClassInfo.h"
#include "CSkinObjectFrame.h"
#include "InterceptionTestSupport.h"
#include "MessageMap.h"

using namespace interceptiontest;

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;
constexpr LRESULT kProbeAnswer = 42;
constexpr char kProbeClass[] = "InterceptionRouteProbe";

// A skin object that answers one message of its own; everything else goes on as without skin.
class CRouteProbeObject : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CRouteProbeObject)
public:
    CRouteProbeObject() = default;

protected:
    LRESULT OnProbe(WPARAM, LPARAM) { return kProbeAnswer; }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CRouteProbeObject, CSkinObjectFrame)
BEGIN_MESSAGE_MAP(CRouteProbeObject, CSkinObjectFrame)
ON_MESSAGE(kProbeMessage, OnProbe)
END_MESSAGE_MAP()

using SystemWndProc = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

SystemWndProc SystemDefWindowProcA() {
    return reinterpret_cast<SystemWndProc>(GetProcAddress(GetModuleHandleA("user32.dll"), "DefWindowProcA"));
}

enum class Road { DefWindowProc, CallWindowProc, SystemDirectly };
Road g_road = Road::DefWindowProc;

// The application's own procedure: it ends in the default procedure as this program imports it.
LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (g_road) {
    case Road::DefWindowProc: return DefWindowProcA(hwnd, msg, wp, lp);
    case Road::CallWindowProc:
        return CallWindowProcA(reinterpret_cast<WNDPROC>(SystemDefWindowProcA()), hwnd, msg, wp, lp);
    case Road::SystemDirectly: break;
    }
    return SystemDefWindowProcA()(hwnd, msg, wp, lp);
}

void RegisterProbeClass() {
    static bool done = [] {
        CSkinHookManager::Instance()->AddWindowClass(kProbeClass,
                                                     new CSkinObjectClassInfo(RUNTIME_CLASS(CRouteProbeObject)));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kProbeClass;
        return RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(done);
}

HWND CreateProbe() {
    return CreateWindowExA(0, kProbeClass, "probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TEST(InterceptionRoutes, OwnProcedureReachesItsSkinObjectOnlyThroughTheInterceptedDefaults) {
    RegisterProbeClass();
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    HWND hwnd = CreateProbe();
    ASSERT_NE(nullptr, hwnd);
    ASSERT_NE(nullptr, Engine()->FindSkinObject(hwnd));
    // Not subclassed: the object is reached by the default-procedure road alone.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(OwnProc), GetWindowLongPtrA(hwnd, GWLP_WNDPROC));

    const struct {
        Road road;
        LRESULT expected;
    } cases[] = {{Road::DefWindowProc, kProbeAnswer}, {Road::CallWindowProc, kProbeAnswer}, {Road::SystemDirectly, 0}};
    for (const auto& c : cases) {
        g_road = c.road;
        EXPECT_EQ(c.expected, SendMessageA(hwnd, kProbeMessage, 0, 0)) << static_cast<int>(c.road);
    }
    g_road = Road::DefWindowProc;
    DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, Engine()->FindSkinObject(hwnd));
}

TEST(InterceptionRoutes, UnskinnedDefaultsAnswerAsTheSystem) {
    RegisterProbeClass();
    HWND hwnd;
    {
        Skinned skin;
        ASSERT_TRUE(skin.ok);
        hwnd = CreateProbe();
        ASSERT_NE(nullptr, hwnd);
    }
    g_road = Road::DefWindowProc;
    EXPECT_EQ(0, SendMessageA(hwnd, kProbeMessage, 0, 0));
    DestroyWindow(hwnd);
}

namespace {

struct ThreadReport {
    bool created = false;
    bool attached = false;
};

DWORD WINAPI CreateWindowOnThread(LPVOID param) {
    auto* report = static_cast<ThreadReport*>(param);
    HWND hwnd = CreateProbe();
    report->created = hwnd != nullptr;
    report->attached = hwnd && Engine()->FindSkinObject(hwnd) != nullptr;
    if (hwnd) DestroyWindow(hwnd);
    return 0;
}

ThreadReport RunThread() {
    ThreadReport report;
    HANDLE thread = CreateThread(nullptr, 0, CreateWindowOnThread, &report, 0, nullptr);
    if (!thread) return report;
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    return report;
}

}  // namespace

TEST(InterceptionRoutes, ThreadsStartedThroughCreateThreadAttachTheirWindows) {
    RegisterProbeClass();
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    const ThreadReport hooked = RunThread();
    EXPECT_TRUE(hooked.created);
    EXPECT_TRUE(hooked.attached);

    // The thread's hook comes from the interception: without the wrapper nothing is attached.
    Engine()->attachNewThreads = FALSE;
    const ThreadReport plain = RunThread();
    Engine()->attachNewThreads = TRUE;
    EXPECT_TRUE(plain.created);
    EXPECT_FALSE(plain.attached);
}

namespace {

// The middle pixel of a window's background as its own procedure erases it, through DefWindowProcA.
COLORREF ErasedColour(HWND hwnd) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 40;
    bi.bmiHeader.biHeight = -30;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const COLORREF colour = GetPixel(dc, 20, 15);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colour;
}

}  // namespace

// A framed window whose class procedure is the program's own and ends in DefWindowProcA: the frame
// object erases it in the theme's face colour, and the system's colour comes back without the skin.
TEST(InterceptionRoutes, OwnProcedureCallingDefWindowProcErasesInTheThemesColour) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT { return DefWindowProcA(h, m, w, l); };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "InterceptionOwnEraser";
    ASSERT_NE(0, RegisterClassA(&wc));
    HWND hwnd;
    COLORREF skinned, expected;
    {
        Skinned skin;
        ASSERT_TRUE(skin.ok);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                               wc.hInstance, nullptr);
        ASSERT_NE(nullptr, hwnd);
        CSkinWindowSink* sink = Engine()->FindSkinObject(hwnd);
        ASSERT_NE(nullptr, dynamic_cast<CSkinObjectFrame*>(sink ? sink->GetSkinObject() : nullptr));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(wc.lpfnWndProc), GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
        expected = Engine()->GetMetrics()->colors[COLOR_BTNFACE];
        skinned = ErasedColour(hwnd);
    }
    const COLORREF plain = ErasedColour(hwnd);
    DestroyWindow(hwnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
    EXPECT_EQ(expected, skinned);
    EXPECT_NE(plain, skinned) << "the theme's face is the system's: the test proves nothing";
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), plain);
}
