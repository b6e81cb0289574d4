#include "CSkinPsapiModuleEnumerator.h"

#include <psapi.h>

std::unique_ptr<CSkinModuleEnumerator> CSkinPsapiModuleEnumerator::Create() {
    HMODULE library = LoadLibraryA("PSAPI.DLL");
    if (!library) return nullptr;
    std::unique_ptr<CSkinPsapiModuleEnumerator> e(new CSkinPsapiModuleEnumerator());
    e->m_library = library;
    e->m_enumProcessModules = reinterpret_cast<EnumProcessModulesFn>(GetProcAddress(library, "EnumProcessModules"));
    e->m_getModuleInformation = reinterpret_cast<GetModuleInformationFn>(GetProcAddress(library, "GetModuleInformation"));
    e->m_getModuleFileNameEx = reinterpret_cast<GetModuleFileNameExAFn>(GetProcAddress(library, "GetModuleFileNameExA"));
    if (!e->m_enumProcessModules || !e->m_getModuleInformation) return nullptr;
    return e;
}

CSkinPsapiModuleEnumerator::~CSkinPsapiModuleEnumerator() {
    if (m_library) FreeLibrary(m_library);
}

bool CSkinPsapiModuleEnumerator::Enumerate(std::vector<SkinModuleInfo>& modules) {
    modules.clear();
    const HANDLE process = GetCurrentProcess();
    std::vector<HMODULE> handles(256);
    for (;;) {
        DWORD needed = 0;
        const DWORD bytes = static_cast<DWORD>(handles.size() * sizeof(HMODULE));
        if (!m_enumProcessModules(process, handles.data(), bytes, &needed)) return false;
        if (needed <= bytes) {
            handles.resize(needed / sizeof(HMODULE));
            break;
        }
        handles.resize(needed / sizeof(HMODULE) + 16);  // modules were loaded meanwhile
    }
    for (HMODULE handle : handles) {
        MODULEINFO info = {};
        if (!m_getModuleInformation(process, handle, &info, sizeof(info))) continue;  // unloaded meanwhile
        SkinModuleInfo m;
        m.module = handle;
        m.base = static_cast<BYTE*>(info.lpBaseOfDll);
        m.size = info.SizeOfImage;
        char path[MAX_PATH] = "";
        if (m_getModuleFileNameEx && m_getModuleFileNameEx(process, handle, path, MAX_PATH)) m.path = path;
        modules.push_back(std::move(m));
    }
    return true;
}
