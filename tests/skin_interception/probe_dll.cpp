// A module of our own, loaded by the interception tests after the skin is on: its imports of
// GetSysColor and FillRect must answer from the theme as soon as LoadLibrary returns.
#include <windows.h>

extern "C" __declspec(dllexport) DWORD ProbeSysColor(int index) { return GetSysColor(index); }

extern "C" __declspec(dllexport) int ProbeFillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    return FillRect(dc, rect, brush);
}
