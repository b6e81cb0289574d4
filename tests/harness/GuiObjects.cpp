#include "GuiObjects.h"

#include <cstring>

namespace harness {

namespace {

// Wine's handle index lives in the low word; Windows never reaches here.
constexpr ULONG_PTR kHandleIndexLimit = 0x10000;

struct WindowTally {
    DWORD process;
    DWORD count;
};

bool OwnedBy(HWND hwnd, DWORD process) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    return owner == process;
}

// The system gives every thread with windows its own input-method window and ends it with the
// thread: not the program's object.
bool SystemPerThread(HWND hwnd) {
    char name[8] = "";
    return GetClassNameA(hwnd, name, sizeof name) && !strcmp(name, "IME");
}

// Named procedures: a lambda has no CALLBACK convention on 32-bit targets.
BOOL CALLBACK CountOwnChild(HWND child, LPARAM lp) {
    auto* t = reinterpret_cast<WindowTally*>(lp);
    if (OwnedBy(child, t->process)) ++t->count;
    return TRUE;
}

void CountTree(HWND top, WindowTally& tally) {
    if (!OwnedBy(top, tally.process) || SystemPerThread(top)) return;
    ++tally.count;
    // A child hosted from another process is that process's object.
    EnumChildWindows(top, CountOwnChild, reinterpret_cast<LPARAM>(&tally));
}

BOOL CALLBACK CountTopLevel(HWND top, LPARAM lp) {
    CountTree(top, *reinterpret_cast<WindowTally*>(lp));
    return TRUE;
}

}  // namespace

DWORD LiveGdiObjects() {
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return n;
    for (ULONG_PTR h = 1; h < kHandleIndexLimit; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h))) ++n;
    return n;
}

DWORD LiveGdiObjectsOfType(DWORD type) {
    DWORD n = 0;
    for (ULONG_PTR h = 1; h < kHandleIndexLimit; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) == type) ++n;
    return n;
}

DWORD LiveWindows() {
    WindowTally tally{GetCurrentProcessId(), 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&tally));
    // Message-only windows are not top-level for EnumWindows; FindWindowEx walks them.
    for (HWND h = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
         h = FindWindowExA(HWND_MESSAGE, h, nullptr, nullptr))
        CountTree(h, tally);
    return tally.count;
}

}  // namespace harness
