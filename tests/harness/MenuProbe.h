#pragma once
// Reads the popup menus the program under test opens, and works them with the keyboard.
#include "AppUnderTest.h"
#include "MenuProbeRecord.h"
#include <optional>
#include <string>
#include <vector>

namespace harness {

class MenuProbe {
public:
    struct Item {
        UINT id = 0;
        UINT state = 0;
        std::string text;
        bool IsDefault() const { return (state & MFS_DEFAULT) != 0; }
        bool IsDisabled() const { return (state & MFS_DISABLED) != 0; }
    };

    explicit MenuProbe(AppUnderTest& app);
    ~MenuProbe();
    MenuProbe(const MenuProbe&) = delete;
    MenuProbe& operator=(const MenuProbe&) = delete;

    // The items of the next menu the program opens, once its window shows; nullopt when
    // none opens in time.
    std::optional<std::vector<Item>> WaitForMenu(DWORD timeoutMs = 15000);
    // The program's open popup menu window, or null.
    HWND MenuWindow();
    // Picks the item at index (counted from 0) with the arrow keys and Enter.
    void Choose(int index);
    void Dismiss();

private:
    void Key(UINT vk);
    void Release();

    DWORD m_processId;
    HANDLE m_section = nullptr;
    MenuProbeRecord* m_record = nullptr;
    HMODULE m_probe = nullptr;
    HHOOK m_hook = nullptr;
    LONG m_seen = 0;
};

}  // namespace harness
