// Time from opening a 20-item popup menu (a submenu, checked items, a separator) to the owner's
// first WM_ENTERIDLE: the skin's tracker against the system's own menu, in alternating rounds of
// the same run; the ratio is skinned over system (medians).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CSkinEngine.h"
#include "CSkinMenuTracker.h"

#include "BenchClock.h"
#include "BenchSkin.h"

using bench::Median;
using bench::Now;

namespace {

constexpr int kRounds = 41;

double g_opened = 0;
double g_idle = 0;
bool g_skinned = false;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU && g_idle == 0) {
        g_idle = Now();
        if (g_skinned) {
            if (CSkinMenuTracker* tracker = CSkinMenuTracker::Current()) tracker->EndMenu(0, 0, 0);
        } else {
            EndMenu();
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HMENU BuildMenu() {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    for (int i = 0; i < 5; ++i) AppendMenuA(sub, MF_STRING, 500 + i, ("Sub item " + std::to_string(i)).c_str());
    for (int i = 0; i < 20; ++i) {
        if (i == 9) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (i == 4) {
            AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More items");
        } else {
            const UINT flags = MF_STRING | ((i % 3 == 0) ? MF_CHECKED : 0);
            AppendMenuA(menu, flags, 100 + i, ("Menu item number " + std::to_string(i) + "\tCtrl+" + std::to_string(i)).c_str());
        }
    }
    return menu;
}

double OneRun(HWND owner, HMENU menu, bool skinned) {
    g_skinned = skinned;
    g_idle = 0;
    // Nothing else queued, so the first idle moment is the menu's own.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    g_opened = Now();
    if (skinned)
        CSkinMenuTracker::TrackMenu(menu, TPM_RETURNCMD, 200, 100, owner, nullptr);
    else
        TrackPopupMenu(menu, TPM_RETURNCMD, 200, 100, 0, owner, nullptr);
    return g_idle > 0 ? (g_idle - g_opened) * 1e3 : -1;
}

}  // namespace

int main() {
    if (!bench::LoadOwnSkin() || !CSkinEngine::Instance()->IsEnabled()) {
        std::printf("menu_bench: the skin did not load\n");
        return 1;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MenuBenchOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "MenuBenchOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    SetCursorPos(5, 700);
    HMENU menu = BuildMenu();
    OneRun(owner, menu, true);  // warm-up: class registration, fonts, theme images
    OneRun(owner, menu, false);
    std::vector<double> skinned, system;
    for (int i = 0; i < kRounds; ++i) {
        const double s = OneRun(owner, menu, true);
        const double y = OneRun(owner, menu, false);
        if (s >= 0) skinned.push_back(s);
        if (y >= 0) system.push_back(y);
    }
    if (skinned.empty() || system.empty()) {
        std::printf("menu_bench: no idle notification (skinned %zu, system %zu)\n", skinned.size(), system.size());
        return 1;
    }
    const double ms = Median(skinned), sys = Median(system);
    std::printf("open to first WM_ENTERIDLE, 20 items, median of %d rounds\n", kRounds);
    std::printf("  system menu   %8.3f ms\n", sys);
    std::printf("  skinned menu  %8.3f ms\n", ms);
    std::printf("  ratio skinned/system %.2f (goal <= 1.5)\n", ms / sys);
    DestroyMenu(menu);
    DestroyWindow(owner);
    return 0;
}
