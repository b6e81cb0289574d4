#pragma once
#include <windows.h>
#include <functional>

namespace harness {

// Polls until the condition holds or the time runs out; pumps this thread's
// messages meanwhile so windows of the test itself stay responsive.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000, DWORD stepMs = 20);
void PumpMessages(DWORD forMs);

}  // namespace harness
