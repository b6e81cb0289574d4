#pragma once
// Module enumeration through PSAPI.DLL, loaded for the enumerator's lifetime.
#include "CSkinModuleEnumerator.h"

class CSkinPsapiModuleEnumerator : public CSkinModuleEnumerator {
public:
    // Null when PSAPI.DLL does not load or lacks the functions.
    static std::unique_ptr<CSkinModuleEnumerator> Create();
    ~CSkinPsapiModuleEnumerator() override;
    bool Enumerate(std::vector<SkinModuleInfo>& modules) override;

private:
    using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
    using GetModuleInformationFn = BOOL(WINAPI*)(HANDLE, HMODULE, LPVOID, DWORD);
    using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
    CSkinPsapiModuleEnumerator() = default;

    HMODULE m_library = nullptr;
    EnumProcessModulesFn m_enumProcessModules = nullptr;
    GetModuleInformationFn m_getModuleInformation = nullptr;
    GetModuleFileNameExAFn m_getModuleFileNameEx = nullptr;
};
