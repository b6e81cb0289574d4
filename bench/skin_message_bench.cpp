// Per-message cost of a message no skin object handles, sent to a plain button, a button
// subclassed by the framework and a plain application window: first without the skin, then
// skinned (the button on the subclass road, the application window on the default-procedure
// road); and creating plus destroying a button, skinned against plain. Ratios are against the
// plain figures of the same run (median of repeated rounds).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "CButton.h"
#include "CSkinHookManager.h"
#include "SkinRoutes.h"

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

constexpr UINT kUnhandled = WM_APP + 50;
constexpr int kMessages = 20000;
constexpr int kRounds = 9;
constexpr int kCreations = 300;

// The application's own procedure; once skinned its DefWindowProc is the intercepted one.
bool g_intercepted = false;
LRESULT CALLBACK OwnProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    LRESULT result = 0;
    if (g_intercepted && skin::DefaultProcRoute(h, reinterpret_cast<void*>(&DefWindowProcA), skin::RouteDefWindowProc, nullptr, m, w, l, result))
        return result;
    return DefWindowProcA(h, m, w, l);
}

// Microseconds per message, median over rounds.
double PerMessage(HWND hWnd) {
    std::vector<double> rounds;
    for (int r = 0; r < kRounds; ++r) {
        const double t0 = Now();
        for (int i = 0; i < kMessages; ++i) SendMessageA(hWnd, kUnhandled, i, 0);
        rounds.push_back((Now() - t0) * 1e6 / kMessages);
    }
    return Median(rounds);
}

// Microseconds per button created and destroyed.
double PerCreation() {
    std::vector<double> rounds;
    for (int r = 0; r < kRounds; ++r) {
        const double t0 = Now();
        for (int i = 0; i < kCreations; ++i)
            DestroyWindow(CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr));
        rounds.push_back((Now() - t0) * 1e6 / kCreations);
    }
    return Median(rounds);
}

struct Figures {
    double button, frameworkButton, ownWindow, creation;
};

Figures Measure() {
    Figures f;
    HWND button = CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    HWND framed = CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    CButton program;
    program.SubclassWindow(framed);
    HWND own = CreateWindowExA(0, "TamrivelBenchOwn", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    f.button = PerMessage(button);
    f.frameworkButton = PerMessage(framed);
    f.ownWindow = PerMessage(own);
    f.creation = PerCreation();
    DestroyWindow(button);
    DestroyWindow(framed);
    DestroyWindow(own);
    return f;
}

}  // namespace

int main() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TamrivelBenchOwn";
    RegisterClassA(&wc);

    // Without the skin: no creation hook on this thread yet.
    const Figures plain = Measure();

    CSkinHookManager::Instance();
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (!CSkinEngine::Instance()->LoadSkin(path, nullptr)) {
        std::printf("skin did not load\n");
        return 1;
    }
    g_intercepted = true;
    const Figures skinned = Measure();

    std::printf("%-40s %10s %10s %7s\n", "case", "plain us", "skinned us", "ratio");
    auto row = [](const char* name, double a, double b) { std::printf("%-40s %10.3f %10.3f %7.2f\n", name, a, b, b / a); };
    row("message to a button (subclass road)", plain.button, skinned.button);
    row("message to a framework-subclassed button", plain.frameworkButton, skinned.frameworkButton);
    row("message to an own window (default road)", plain.ownWindow, skinned.ownWindow);
    row("create and destroy a button", plain.creation, skinned.creation);
    return 0;
}
