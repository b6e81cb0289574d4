#pragma once
// The system's DefWindowProcA itself, for handlers that must reach it directly: our own import
// slot may lead back into the skin.
#include <windows.h>

namespace skin {

using DefWindowProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

inline DefWindowProcFn SystemDefWindowProcA() {
    static const DefWindowProcFn proc =
        reinterpret_cast<DefWindowProcFn>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "DefWindowProcA"));
    return proc;
}

}  // namespace skin
