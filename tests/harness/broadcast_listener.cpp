// A top-level window in a process of its own: counts WM_SETTINGCHANGE broadcasts whose
// text is "Environment"; WM_APP answers the count.
#include <windows.h>
#include <cstring>

namespace {
LRESULT g_count = 0;

LRESULT CALLBACK ListenerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTINGCHANGE:
        if (lParam && strcmp(reinterpret_cast<const char*>(lParam), "Environment") == 0)
            ++g_count;
        return 0;
    case WM_APP:
        return g_count;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TamrivelBroadcastListener";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
