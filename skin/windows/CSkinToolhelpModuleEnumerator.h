#pragma once
// Module enumeration through the Toolhelp snapshot functions of KERNEL32.
#include "CSkinModuleEnumerator.h"

class CSkinToolhelpModuleEnumerator : public CSkinModuleEnumerator {
public:
    // Null when KERNEL32 does not export the snapshot functions.
    static std::unique_ptr<CSkinModuleEnumerator> Create();
    bool Enumerate(std::vector<SkinModuleInfo>& modules) override;

private:
    using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
    using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, void*);
    CSkinToolhelpModuleEnumerator() = default;

    CreateSnapshotFn m_createSnapshot = nullptr;
    ModuleWalkFn m_first = nullptr;
    ModuleWalkFn m_next = nullptr;
};
