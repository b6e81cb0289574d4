#include "WindowClass.h"

namespace harness {

bool RegisterWindowClass(const char* name, WNDPROC procedure, HBRUSH background, HCURSOR cursor)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = background;
    wc.hCursor = cursor;
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace harness
