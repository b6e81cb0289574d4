#pragma once
#include <windows.h>

namespace harness {

// Registers a window class of this program; true when the class is there to use, also when an earlier
// test registered it already.
bool RegisterWindowClass(const char* name, WNDPROC procedure, HBRUSH background = nullptr, HCURSOR cursor = nullptr);

}  // namespace harness
