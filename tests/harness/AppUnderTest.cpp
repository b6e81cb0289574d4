#include "AppUnderTest.h"
#include "Wait.h"
#include <cstdlib>
#include <stdexcept>

namespace harness {

namespace {

std::string EnvOr(const char* name, const char* fallback)
{
    const char* v = getenv(name);
    return v && *v ? v : fallback;
}

std::string BuildEnvironmentBlock(const std::map<std::string, std::optional<std::string>>& changes)
{
    std::map<std::string, std::string, bool (*)(const std::string&, const std::string&)> vars(
        [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    char* block = GetEnvironmentStringsA();
    for (const char* p = block; *p; p += strlen(p) + 1) {
        const char* eq = strchr(p + 1, '=');  // names may start with '=' (drive variables)
        if (eq)
            vars[std::string(p, eq)] = eq + 1;
    }
    FreeEnvironmentStringsA(block);
    for (const auto& [name, value] : changes) {
        if (value)
            vars[name] = *value;
        else
            vars.erase(name);
    }
    std::string out;
    for (const auto& [name, value] : vars)
        out += name + "=" + value + '\0';
    out += '\0';
    return out;
}

HWND FindTopLevel(DWORD pid, const char* className, const char* title, HWND except = nullptr)
{
    struct Search { DWORD pid; const char* cls; const char* title; HWND except; HWND found; } s{pid, className, title, except, nullptr};
    EnumWindows([](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != s->pid || h == s->except || !IsWindowVisible(h))
            return TRUE;
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (s->cls && strcmp(cls, s->cls) != 0)
            return TRUE;
        if (s->title && AppUnderTest::WindowText(h) != s->title)
            return TRUE;
        s->found = h;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

}  // namespace

std::string BuildPath(const std::string& relative) { return EnvOr("TAMRIVEL_BINARY_DIR", ".") + "\\" + relative; }
std::string SourcePath(const std::string& relative) { return EnvOr("TAMRIVEL_SOURCE_DIR", ".") + "\\" + relative; }
std::string TamrivelExe() { return EnvOr("TAMRIVEL_EXE", "Tamrivel.exe"); }

AppUnderTest::AppUnderTest(const LaunchOptions& options)
{
    const std::string exe = options.exe.empty() ? TamrivelExe() : options.exe;
    std::string cmd = options.commandLine.empty() ? "\"" + exe + "\"" : options.commandLine;
    std::string env = BuildEnvironmentBlock(options.environment);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, &env[0],
                        options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(), &si, &m_pi))
        throw std::runtime_error("cannot start " + exe);
}

AppUnderTest::~AppUnderTest()
{
    Terminate();
    if (m_pi.hThread) CloseHandle(m_pi.hThread);
    if (m_pi.hProcess) CloseHandle(m_pi.hProcess);
}

HWND AppUnderTest::Dialog(DWORD timeoutMs)
{
    if (m_dialog && IsWindow(m_dialog))
        return m_dialog;
    WaitUntil([&] { return (m_dialog = FindTopLevel(m_pi.dwProcessId, "#32770", "Tamrivel")) != nullptr; }, timeoutMs);
    return m_dialog;
}

HWND AppUnderTest::Item(int id) { return GetDlgItem(Dialog(), id); }

std::string AppUnderTest::WindowText(HWND hWnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::string text(static_cast<size_t>(length) * 2 + 2, '\0');  // A-text may take two bytes a character
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(strlen(text.c_str()));
    return text;
}

std::string AppUnderTest::Text(int id) { return WindowText(Item(id)); }

void AppUnderTest::SetText(int id, const std::string& text)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
}

void AppUnderTest::Type(int id, const std::string& chars)
{
    HWND item = Item(id);
    DWORD_PTR ignored;
    for (unsigned char c : chars)
        SendMessageTimeoutA(item, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void AppUnderTest::Backspace(int id, int count)
{
    HWND item = Item(id);
    DWORD_PTR ignored;
    for (int i = 0; i < count; ++i)
        SendMessageTimeoutA(item, WM_CHAR, VK_BACK, 1, SMTO_ABORTIFHUNG, 5000, &ignored);
}

bool AppUnderTest::IsChecked(int id)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(Item(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

bool AppUnderTest::IsReadOnly(int id) { return (GetWindowLongPtrA(Item(id), GWL_STYLE) & ES_READONLY) != 0; }

void AppUnderTest::Click(int id) { PostMessageA(Item(id), BM_CLICK, 0, 0); }

void AppUnderTest::PressKey(UINT vk, bool alt)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = GetGUIThreadInfo(m_pi.dwThreadId, &info) && info.hwndFocus ? info.hwndFocus : Dialog();
    const UINT scan = MapVirtualKeyA(vk, 0);
    // With Alt held the system sends the key as a system key, context bit set.
    const LPARAM context = alt ? 0x20000000 : 0;
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | (scan << 16) | context);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u | context);
}

void AppUnderTest::Focus(int id)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void AppUnderTest::ClickAt(int id, int x, int y)
{
    HWND item = Item(id);
    PostMessageA(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(item, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void AppUnderTest::CloseBox() { PostMessageA(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }

std::vector<HWND> AppUnderTest::OtherDialogs()
{
    struct Search { DWORD pid; HWND main; std::vector<HWND> found; } s{m_pi.dwProcessId, m_dialog, {}};
    EnumWindows([](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (owner == s->pid && h != s->main && IsWindowVisible(h) && strcmp(cls, "#32770") == 0)
            s->found.push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND AppUnderTest::WaitForMessageBox(DWORD timeoutMs)
{
    Dialog(timeoutMs);
    HWND box = nullptr;
    WaitUntil([&] {
        auto boxes = OtherDialogs();
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
    }, timeoutMs);
    return box;
}

std::string AppUnderTest::StaticTexts(HWND box)
{
    std::vector<HWND> children;
    EnumChildWindows(box, [](HWND h, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&children));
    std::string joined;
    for (HWND h : children) {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0)
            continue;
        const std::string t = WindowText(h);
        if (!t.empty())
            joined += (joined.empty() ? "" : "\n") + t;
    }
    return joined;
}

void AppUnderTest::Answer(HWND box, int id) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool AppUnderTest::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(m_pi.hProcess, exitCode);
    return true;
}

bool AppUnderTest::IsRunning() { return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }

void AppUnderTest::Terminate()
{
    if (IsRunning()) {
        TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
}

BroadcastListener::BroadcastListener()
{
    std::string exe = BuildPath("tests\\harness\\broadcast_listener.exe");
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        throw std::runtime_error("cannot start the broadcast listener");
    WaitForInputIdle(m_pi.hProcess, 10000);
    WaitUntil([&] { return (m_window = FindWindowA("TamrivelBroadcastListener", nullptr)) != nullptr; }, 10000);
    if (!m_window)
        throw std::runtime_error("the broadcast listener shows no window");
}

BroadcastListener::~BroadcastListener()
{
    if (m_window)
        PostMessageA(m_window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_pi.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(m_pi.hProcess, 1);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

int BroadcastListener::Count()
{
    DWORD_PTR count = 0;
    SendMessageTimeoutA(m_window, WM_APP, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    return static_cast<int>(count);
}

}  // namespace harness
