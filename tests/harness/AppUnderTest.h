#pragma once
// Starts Tamrivel.exe as a separate process and drives its windows through messages.
#include <windows.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace harness {

// A folder or file of the build or source tree as a Windows path (from the test's environment).
std::string BuildPath(const std::string& relative);
std::string SourcePath(const std::string& relative);
std::string TamrivelExe();

struct LaunchOptions {
    // Variables to set in the program's environment; nullopt removes one.
    std::map<std::string, std::optional<std::string>> environment;
    std::string currentDirectory;   // empty: the test's own
    std::string exe;                // empty: Tamrivel.exe of this build
    std::string commandLine;        // empty: the quoted exe path
};

class AppUnderTest {
public:
    explicit AppUnderTest(const LaunchOptions& options = {});
    ~AppUnderTest();
    AppUnderTest(const AppUnderTest&) = delete;
    AppUnderTest& operator=(const AppUnderTest&) = delete;

    DWORD ProcessId() const { return m_pi.dwProcessId; }
    DWORD ThreadId() const { return m_pi.dwThreadId; }

    // The main dialog once it is visible; null after the timeout.
    HWND Dialog(DWORD timeoutMs = 20000);
    HWND Item(int id);
    std::string Text(int id);
    void SetText(int id, const std::string& text);   // like a program setting it: raises EN_CHANGE
    void Type(int id, const std::string& chars);     // one WM_CHAR per byte, as typing does
    void Backspace(int id, int count = 1);
    bool IsChecked(int id);
    bool IsReadOnly(int id);
    void Click(int id);                              // posted, so a modal box it opens does not block us
    void PressKey(UINT vk, bool alt = false);        // to the window with the keyboard focus
    void Focus(int id);
    // A click with the left button at a point of the control's client area, posted.
    void ClickAt(int id, int x, int y);
    void CloseBox();

    // Top-level dialogs of the process other than the main dialog (message boxes, pickers).
    std::vector<HWND> OtherDialogs();
    HWND WaitForMessageBox(DWORD timeoutMs = 10000);
    static std::string WindowText(HWND hWnd);
    static std::string StaticTexts(HWND box);        // the texts a message box shows, joined by '\n'
    static void Answer(HWND box, int id = IDOK);

    bool WaitForExit(DWORD timeoutMs = 10000, DWORD* exitCode = nullptr);
    bool IsRunning();
    void Terminate();

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_dialog = nullptr;
};

// A top-level window in a process of its own that counts WM_SETTINGCHANGE "Environment"
// broadcasts, as a shell would see them.
class BroadcastListener {
public:
    BroadcastListener();
    ~BroadcastListener();
    int Count();  // broadcasts seen so far
private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_window = nullptr;
};

}  // namespace harness
