// A library that announces being loaded, planted where a careless module search would find it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableA("TAMRIVEL_PLANTED_LIBRARY_RAN", "1");
    return TRUE;
}
