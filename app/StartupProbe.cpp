#include "StartupProbe.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace startup_probe {

namespace {

HWND g_dialog = nullptr;
bool g_noted = false;

std::string Variable(const char* name) {
    char value[MAX_PATH] = "";
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n && n < sizeof value ? std::string(value, n) : std::string();
}

double Seconds() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// A thread timer is handed out only once no paint is pending: by then the dialog and all its
// controls have painted.
void CALLBACK AfterPaints(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const std::string event = Variable("TAMRIVEL_TEST_PAINTED_EVENT");
    if (!event.empty())
        if (const HANDLE handle = OpenEventA(EVENT_MODIFY_STATE, FALSE, event.c_str())) {
            SetEvent(handle);
            CloseHandle(handle);
        }
    const int repaints = std::atoi(Variable("TAMRIVEL_TEST_REPAINTS").c_str());
    const std::string log = Variable("TAMRIVEL_TEST_REPAINT_LOG");
    if (repaints <= 0 || log.empty()) return;
    const UINT flags = RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
    RedrawWindow(g_dialog, nullptr, nullptr, flags);  // caches warm
    GdiFlush();
    const double start = Seconds();
    for (int i = 0; i < repaints; ++i) RedrawWindow(g_dialog, nullptr, nullptr, flags);
    GdiFlush();
    const double elapsed = Seconds() - start;
    if (FILE* out = std::fopen(log.c_str(), "w")) {
        std::fprintf(out, "%.9f %d\n", elapsed, repaints);
        std::fclose(out);
    }
    PostMessageA(g_dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

bool SkinWanted() { return GetEnvironmentVariableA("TAMRIVEL_TEST_NO_SKIN", nullptr, 0) == 0; }

void NotePainted(HWND dialog) {
    if (g_noted) return;
    g_noted = true;
    if (Variable("TAMRIVEL_TEST_PAINTED_EVENT").empty() && Variable("TAMRIVEL_TEST_REPAINTS").empty()) return;
    g_dialog = dialog;
    SetTimer(nullptr, 0, 0, AfterPaints);
}

}  // namespace startup_probe
