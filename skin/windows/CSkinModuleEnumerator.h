#pragma once
// The modules loaded in this process, through whichever service the system offers: PSAPI when
// its library loads, else the Toolhelp snapshot of KERNEL32. Both are looked up at run time.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct SkinModuleInfo {
    HMODULE module = nullptr;
    BYTE* base = nullptr;
    DWORD size = 0;
    std::string path;  // full path as the system reports it
};

class CSkinModuleEnumerator {
public:
    virtual ~CSkinModuleEnumerator() = default;
    // Replaces the list with the modules loaded now; false when the service fails.
    virtual bool Enumerate(std::vector<SkinModuleInfo>& modules) = 0;
    // The first available implementation, or null when the system offers neither.
    static std::unique_ptr<CSkinModuleEnumerator> Create();
};
