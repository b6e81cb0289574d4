// Per-message cost of a message no skin object handles, sent to a plain button, a button
// subclassed by the framework and a plain application window: first without the skin, then
// skinned (the button on the subclass road, the application window on the default-procedure
// road); and creating plus destroying a button, skinned against plain. Ratios are against the
// plain figures of the same run (medians of alternating rounds).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "CButton.h"
#include "CSkinHookManager.h"
#include "CSkinObjectBase.h"
#include "SkinRoutes.h"

#include "BenchClock.h"
#include "BenchSkin.h"

using bench::Median;
using bench::Now;

namespace {

constexpr UINT kUnhandled = WM_APP + 50;
constexpr int kMessages = 20000;
constexpr int kRounds = 9;
constexpr int kCreations = 300;

// The application's own procedure; on a skinned thread its DefWindowProc is the intercepted one.
bool g_intercepted = false;
thread_local bool t_plainThread = false;
LRESULT CALLBACK OwnProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    LRESULT result = 0;
    if (g_intercepted && !t_plainThread && skin::DefaultProcRoute(h, reinterpret_cast<void*>(&DefWindowProcA), skin::RouteDefWindowProc, nullptr, m, w, l, result))
        return result;
    return DefWindowProcA(h, m, w, l);
}

// Microseconds per message, one round.
double PerMessage(HWND hWnd) {
    const double t0 = Now();
    for (int i = 0; i < kMessages; ++i) SendMessageA(hWnd, kUnhandled, i, 0);
    return (Now() - t0) * 1e6 / kMessages;
}

// Microseconds per button created and destroyed, one round.
double PerCreation() {
    const double t0 = Now();
    for (int i = 0; i < kCreations; ++i)
        DestroyWindow(CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr));
    return (Now() - t0) * 1e6 / kCreations;
}

struct Figures {
    std::vector<double> button, frameworkButton, ownWindow, creation;
};

// One round of every case on the calling thread: skinned on a thread with the creation hook,
// plain on one without.
void Round(Figures& f) {
    HWND button = CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    HWND framed = CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    CButton program;
    program.SubclassWindow(framed);
    HWND own = CreateWindowExA(0, "TamrivelBenchOwn", "", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
    f.button.push_back(PerMessage(button));
    f.frameworkButton.push_back(PerMessage(framed));
    f.ownWindow.push_back(PerMessage(own));
    f.creation.push_back(PerCreation());
    DestroyWindow(button);
    DestroyWindow(framed);
    DestroyWindow(own);
}

DWORD WINAPI PlainRound(LPVOID figures) {
    t_plainThread = true;
    Round(*static_cast<Figures*>(figures));
    return 0;
}

}  // namespace

int main() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TamrivelBenchOwn";
    RegisterClassA(&wc);

    CSkinHookManager::Instance();
    if (!bench::LoadOwnSkin()) {
        std::printf("skin did not load\n");
        return 1;
    }
    g_intercepted = true;
    // Rounds alternate so that a busy machine weighs on both sides alike. Plain rounds run on a
    // thread started without the wrapper: it has no creation hook, so nothing there is skinned.
    Figures plain, skinned;
    for (int r = 0; r < kRounds; ++r) {
        HANDLE thread = CreateThread(nullptr, 0, PlainRound, &plain, 0, nullptr);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        Round(skinned);
    }

    // Where a skinned message's time goes: the steps of the road, each alone.
    {
        HWND probe = CreateWindowExA(0, "Button", "b", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
        auto step = [](const char* name, auto&& body) {
            const double t0 = Now();
            for (int i = 0; i < kMessages; ++i) body();
            std::printf("%-40s %10.3f\n", name, (Now() - t0) * 1e6 / kMessages);
        };
        step("step: find the object with a reference", [&] { skin::FindSkinObjectRef(probe); });
        step("step: current-message scope", [&] { CurrentMessageScope scope(probe, kUnhandled, 0, 0); });
        CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(probe);
        step("step: push and pop", [&] { object->PushMessage(kUnhandled, 0, nullptr, nullptr); object->PopMessage(); });
        step("step: message map", [&] { WPARAM w = 0; LPARAM l = 0; LRESULT r = 0; object->OnSubclassMessage(kUnhandled, w, l, r); });
        step("step: pass on", [&] { object->CallPrevious(object->GetPreviousProc(), kUnhandled, 0, 0); });
        object.Reset();
        DestroyWindow(probe);
    }
    std::printf("%-40s %10s %10s %7s\n", "case", "plain us", "skinned us", "ratio");
    auto row = [](const char* name, double a, double b) { std::printf("%-40s %10.3f %10.3f %7.2f\n", name, a, b, b / a); };
    row("message to a button (subclass road)", Median(plain.button), Median(skinned.button));
    row("message to a framework-subclassed button", Median(plain.frameworkButton), Median(skinned.frameworkButton));
    row("message to an own window (default road)", Median(plain.ownWindow), Median(skinned.ownWindow));
    row("create and destroy a button", Median(plain.creation), Median(skinned.creation));
    return 0;
}
