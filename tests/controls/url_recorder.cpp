// Handler of the test URL scheme: appends the argument the shell gave it, one line per call, to
// url_recorder.log beside itself.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    if (!slash) return 1;
    lstrcpyA(slash + 1, "url_recorder.log");
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 50 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) Sleep(20);
    }
    if (file == INVALID_HANDLE_VALUE) return 1;
    const char* text = argc > 1 ? argv[1] : "";
    DWORD written = 0;
    WriteFile(file, text, DWORD(std::strlen(text)), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
    return 0;
}
