#pragma once
// What the menu probe, loaded into the program by a hook, records of each popup menu the
// program opens; shared between the probe and the test through a named section.
#include <windows.h>
#include <string>

namespace harness {

struct MenuProbeItem {
    UINT id;
    UINT state;   // MFS_ flags
    UINT type;    // MFT_ flags
    char text[512];
};

struct MenuProbeRecord {
    volatile LONG menus;  // menus recorded so far; raised after the items are in place
    LONG count;
    MenuProbeItem items[64];
};

inline std::string MenuProbeSectionName(DWORD processId)
{
    return "TamrivelMenuProbe-" + std::to_string(processId);
}

}  // namespace harness
