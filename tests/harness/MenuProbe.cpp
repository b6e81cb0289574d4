#include "MenuProbe.h"
#include "Wait.h"
#include <stdexcept>

namespace harness {

MenuProbe::MenuProbe(AppUnderTest& app) : m_processId(app.ProcessId())
{
    const std::string name = MenuProbeSectionName(m_processId);
    m_section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(MenuProbeRecord), name.c_str());
    if (m_section)
        m_record = static_cast<MenuProbeRecord*>(MapViewOfFile(m_section, FILE_MAP_WRITE, 0, 0, 0));
    m_probe = LoadLibraryA(BuildPath("tests\\harness\\menu_probe.dll").c_str());
    const auto hook = m_probe ? reinterpret_cast<HOOKPROC>(GetProcAddress(m_probe, "MenuProbeHook")) : nullptr;
    if (hook)
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, hook, m_probe, app.ThreadId());
    if (!m_record || !m_hook) {
        Release();
        throw std::runtime_error("cannot watch the program's menus");
    }
}

MenuProbe::~MenuProbe() { Release(); }

void MenuProbe::Release()
{
    if (m_hook) UnhookWindowsHookEx(m_hook);
    if (m_probe) FreeLibrary(m_probe);
    if (m_record) UnmapViewOfFile(m_record);
    if (m_section) CloseHandle(m_section);
    m_hook = nullptr;
    m_probe = nullptr;
    m_record = nullptr;
    m_section = nullptr;
}

HWND MenuProbe::MenuWindow()
{
    struct Search { DWORD pid; HWND found; } s{m_processId, nullptr};
    EnumWindows([](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        char cls[32] = {};
        GetClassNameA(h, cls, sizeof cls);
        // The system's popup menus, or the skin's when it runs them.
        const bool menu = strcmp(cls, "#32768") == 0 || strcmp(cls, "SkinManagerMenu") == 0;
        if (owner == s->pid && IsWindowVisible(h) && menu) {
            s->found = h;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::optional<std::vector<MenuProbe::Item>> MenuProbe::WaitForMenu(DWORD timeoutMs)
{
    if (!WaitUntil([&] { return m_record->menus > m_seen && MenuWindow() != nullptr; }, timeoutMs))
        return std::nullopt;
    m_seen = m_record->menus;
    std::vector<Item> items;
    for (LONG i = 0; i < m_record->count; ++i) {
        const MenuProbeItem& recorded = m_record->items[i];
        items.push_back({recorded.id, recorded.state, std::string(recorded.text, strnlen(recorded.text, sizeof recorded.text))});
    }
    return items;
}

void MenuProbe::Key(UINT vk)
{
    const UINT scan = MapVirtualKeyA(vk, 0);
    HWND menu = MenuWindow();
    PostMessageA(menu, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(menu, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

void MenuProbe::Choose(int index)
{
    for (int i = 0; i <= index; ++i)
        Key(VK_DOWN);
    Key(VK_RETURN);
}

void MenuProbe::Dismiss() { Key(VK_ESCAPE); }

}  // namespace harness
