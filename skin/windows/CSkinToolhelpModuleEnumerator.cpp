#include "CSkinToolhelpModuleEnumerator.h"

#include <tlhelp32.h>

std::unique_ptr<CSkinModuleEnumerator> CSkinToolhelpModuleEnumerator::Create() {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (!kernel) return nullptr;
    std::unique_ptr<CSkinToolhelpModuleEnumerator> e(new CSkinToolhelpModuleEnumerator());
    e->m_createSnapshot = reinterpret_cast<CreateSnapshotFn>(GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
    e->m_first = reinterpret_cast<ModuleWalkFn>(GetProcAddress(kernel, "Module32First"));
    e->m_next = reinterpret_cast<ModuleWalkFn>(GetProcAddress(kernel, "Module32Next"));
    if (!e->m_createSnapshot || !e->m_first || !e->m_next) return nullptr;
    return e;
}

bool CSkinToolhelpModuleEnumerator::Enumerate(std::vector<SkinModuleInfo>& modules) {
    modules.clear();
    HANDLE snapshot = m_createSnapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = m_first(snapshot, &entry); more; more = m_next(snapshot, &entry)) {
        SkinModuleInfo m;
        m.module = entry.hModule;
        m.base = entry.modBaseAddr;
        m.size = entry.modBaseSize;
        m.path = entry.szExePath;
        modules.push_back(std::move(m));
    }
    CloseHandle(snapshot);
    return true;
}
