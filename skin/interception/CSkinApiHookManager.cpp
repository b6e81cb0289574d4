#include "CSkinApiHookManager.h"
#include "CSkinCriticalLock.h"

#include <algorithm>
#include <cstring>

#include "CSkinModuleEnumerator.h"
#include "SkinImportTable.h"
#include "SkinReplacements.h"

using namespace skin;

namespace {

constexpr char kKernel32[] = "KERNEL32.DLL";
constexpr char kUser32[] = "USER32.DLL";
constexpr char kGdi32[] = "GDI32.DLL";
constexpr char kUxTheme[] = "UXTHEME.DLL";
constexpr char kApiSetLoader[] = "API-MS-WIN-CORE-LIBRARYLOADER-L1-1-0.DLL";

constexpr DWORD kNotAsImage = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE |
                              LOAD_LIBRARY_AS_IMAGE_RESOURCE;

enum class Needs { Always, Nt61 };

struct HookRow {
    int slot;
    const char* module;
    const char* function;
    void* replacement;
    unsigned option;  // apply option the slot depends on; 0 for always
    Needs needs;
};

template <typename F>
void* Fn(F f) {
    return reinterpret_cast<void*>(f);
}

// In the order the hooks are added: the loaders and lookups first, so that every later module
// is seen, then the rest by apply option.
const HookRow kHookTable[] = {
    {SlotLoadLibraryA, kKernel32, "LoadLibraryA", Fn(hooks::SkinLoadLibraryA), 0, Needs::Always},
    {SlotLoadLibraryW, kKernel32, "LoadLibraryW", Fn(hooks::SkinLoadLibraryW), 0, Needs::Always},
    {SlotLoadLibraryExA, kKernel32, "LoadLibraryExA", Fn(hooks::SkinLoadLibraryExA), 0, Needs::Always},
    {SlotLoadLibraryExW, kKernel32, "LoadLibraryExW", Fn(hooks::SkinLoadLibraryExW), 0, Needs::Always},
    {SlotGetProcAddress, kKernel32, "GetProcAddress", Fn(hooks::SkinGetProcAddress), 0, Needs::Always},
    {SlotGetModuleHandleA, kKernel32, "GetModuleHandleA", Fn(hooks::SkinGetModuleHandleA), 0, Needs::Always},
    {SlotCreateThread, kKernel32, "CreateThread", Fn(hooks::SkinCreateThread), 0, Needs::Always},
    {SlotApiSetLoadLibraryExW, kApiSetLoader, "LoadLibraryExW", Fn(hooks::SkinApiSetLoadLibraryExW), 0, Needs::Nt61},
    {SlotRegisterClassA, kUser32, "RegisterClassA", Fn(hooks::SkinRegisterClassA), 0, Needs::Always},
    {SlotRegisterClassW, kUser32, "RegisterClassW", Fn(hooks::SkinRegisterClassW), 0, Needs::Always},
    {SlotGetSysColor, kUser32, "GetSysColor", Fn(hooks::SkinGetSysColor), SkinApplyColors, Needs::Always},
    {SlotGetSysColorBrush, kUser32, "GetSysColorBrush", Fn(hooks::SkinGetSysColorBrush), SkinApplyColors, Needs::Always},
    {SlotDrawEdge, kUser32, "DrawEdge", Fn(hooks::SkinDrawEdge), SkinApplyColors, Needs::Always},
    {SlotFillRect, kUser32, "FillRect", Fn(hooks::SkinFillRect), SkinApplyColors, Needs::Always},
    {SlotDeleteObject, kGdi32, "DeleteObject", Fn(hooks::SkinDeleteObject), SkinApplyColors, Needs::Always},
    {SlotOpenThemeData, kUxTheme, "OpenThemeData", Fn(hooks::SkinOpenThemeData), SkinApplyColors, Needs::Always},
    {SlotDrawThemeBackground, kUxTheme, "DrawThemeBackground", Fn(hooks::SkinDrawThemeBackground), SkinApplyColors,
     Needs::Always},
    {SlotCloseThemeData, kUxTheme, "CloseThemeData", Fn(hooks::SkinCloseThemeData), SkinApplyColors, Needs::Always},
    {SlotGetThemeColor, kUxTheme, "GetThemeColor", Fn(hooks::SkinGetThemeColor), SkinApplyColors, Needs::Always},
    {SlotGetThemeInt, kUxTheme, "GetThemeInt", Fn(hooks::SkinGetThemeInt), SkinApplyColors, Needs::Always},
    {SlotIsAppThemed, kUxTheme, "IsAppThemed", Fn(hooks::SkinIsAppThemed), SkinApplyColors, Needs::Always},
    {SlotIsThemeActive, kUxTheme, "IsThemeActive", Fn(hooks::SkinIsAppThemed), SkinApplyColors, Needs::Always},
    {SlotGetCurrentThemeName, kUxTheme, "GetCurrentThemeName", Fn(hooks::SkinGetCurrentThemeName), SkinApplyColors,
     Needs::Always},
    {SlotGetThemeSysBool, kUxTheme, "GetThemeSysBool", Fn(hooks::SkinGetThemeSysBool), SkinApplyColors, Needs::Always},
    {SlotGetThemeSysColor, kUxTheme, "GetThemeSysColor", Fn(hooks::SkinGetThemeSysColor), SkinApplyColors,
     Needs::Always},
    {SlotGetThemePartSize, kUxTheme, "GetThemePartSize", Fn(hooks::SkinGetThemePartSize), SkinApplyColors,
     Needs::Always},
    {SlotDrawFrameControl, kUser32, "DrawFrameControl", Fn(hooks::SkinDrawFrameControl), SkinApplyColors,
     Needs::Always},
    {SlotSetScrollInfo, kUser32, "SetScrollInfo", Fn(hooks::SkinSetScrollInfo), SkinApplyFrame, Needs::Always},
    {SlotSetScrollPos, kUser32, "SetScrollPos", Fn(hooks::SkinSetScrollPos), SkinApplyFrame, Needs::Always},
    {SlotGetScrollInfo, kUser32, "GetScrollInfo", Fn(hooks::SkinGetScrollInfo), SkinApplyFrame, Needs::Always},
    {SlotEnableScrollBar, kUser32, "EnableScrollBar", Fn(hooks::SkinEnableScrollBar), SkinApplyFrame, Needs::Always},
    {SlotDrawMenuBar, kUser32, "DrawMenuBar", Fn(hooks::SkinDrawMenuBar), SkinApplyFrame, Needs::Always},
    {SlotSystemParametersInfoA, kUser32, "SystemParametersInfoA", Fn(hooks::SkinSystemParametersInfoA),
     SkinApplyMetrics, Needs::Always},
    {SlotAdjustWindowRectEx, kUser32, "AdjustWindowRectEx", Fn(hooks::SkinAdjustWindowRectEx), SkinApplyMetrics,
     Needs::Always},
    {SlotAdjustWindowRect, kUser32, "AdjustWindowRect", Fn(hooks::SkinAdjustWindowRect), SkinApplyMetrics,
     Needs::Always},
    {SlotGetSystemMetrics, kUser32, "GetSystemMetrics", Fn(hooks::SkinGetSystemMetrics), SkinApplyMetrics,
     Needs::Always},
    {SlotTrackPopupMenu, kUser32, "TrackPopupMenu", Fn(hooks::SkinTrackPopupMenu), SkinApplyMenus, Needs::Always},
    {SlotTrackPopupMenuEx, kUser32, "TrackPopupMenuEx", Fn(hooks::SkinTrackPopupMenuEx), SkinApplyMenus,
     Needs::Always},
    {SlotDefWindowProcA, kUser32, "DefWindowProcA", Fn(hooks::SkinDefWindowProcA), 0, Needs::Always},
    {SlotDefWindowProcW, kUser32, "DefWindowProcW", Fn(hooks::SkinDefWindowProcW), 0, Needs::Always},
    {SlotDefFrameProcA, kUser32, "DefFrameProcA", Fn(hooks::SkinDefFrameProcA), 0, Needs::Always},
    {SlotDefFrameProcW, kUser32, "DefFrameProcW", Fn(hooks::SkinDefFrameProcW), 0, Needs::Always},
    {SlotDefDlgProcA, kUser32, "DefDlgProcA", Fn(hooks::SkinDefDlgProcA), 0, Needs::Always},
    {SlotDefDlgProcW, kUser32, "DefDlgProcW", Fn(hooks::SkinDefDlgProcW), 0, Needs::Always},
    {SlotDefMDIChildProcA, kUser32, "DefMDIChildProcA", Fn(hooks::SkinDefMDIChildProcA), 0, Needs::Always},
    {SlotDefMDIChildProcW, kUser32, "DefMDIChildProcW", Fn(hooks::SkinDefMDIChildProcW), 0, Needs::Always},
    {SlotCallWindowProcA, kUser32, "CallWindowProcA", Fn(hooks::SkinCallWindowProcA), 0, Needs::Always},
    {SlotCallWindowProcW, kUser32, "CallWindowProcW", Fn(hooks::SkinCallWindowProcW), 0, Needs::Always},
};
static_assert(sizeof(kHookTable) / sizeof(kHookTable[0]) == HookSlotCount, "one row per slot");

const HookRow* RowOf(int slot) {
    for (const HookRow& row : kHookTable)
        if (row.slot == slot) return &row;
    return nullptr;
}

struct OsVersion {
    bool win9x;
    bool nt61OrLater;
};

OsVersion ReadOsVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return {false, false};
#pragma GCC diagnostic pop
    const bool nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return {info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS,
            nt && (info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 1))};
}

std::string FileNamePart(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

bool StartsWithAsciiNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    return EqualsAsciiNoCase(text.substr(0, prefix.size()).c_str(), prefix.c_str());
}

// Keeps a module mapped while its table is rewritten; taken outside the patch lock because the
// loader takes its own lock here.
class ModulePin {
public:
    explicit ModulePin(HMODULE module) {
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(module), &m_module))
            m_module = nullptr;
        if (m_module != module) Release();
    }
    ~ModulePin() { Release(); }
    ModulePin(const ModulePin&) = delete;
    ModulePin& operator=(const ModulePin&) = delete;
    explicit operator bool() const { return m_module != nullptr; }

private:
    void Release() {
        if (m_module) FreeLibrary(m_module);
        m_module = nullptr;
    }
    HMODULE m_module = nullptr;
};

// The engine's hold on the manager: it installs and removes through it and lets go at its end.
class EngineLink : public CSkinInterception {
public:
    explicit EngineLink(CSkinApiHookManager* manager) : m_manager(manager) {}
    ~EngineLink() override { m_manager->Unlink(this); }
    void Install(unsigned applyOptions) override { m_manager->InstallHooks(applyOptions); }
    void RemoveAll() override { m_manager->RemoveHooks(); }

private:
    CSkinApiHookManager* m_manager;
};

}  // namespace

CSkinApiHookManager* CSkinApiHookManager::Instance() {
    // Never destroyed: replacements handed out earlier and the engine's own destructor may still
    // reach it while the process ends.
    static CSkinApiHookManager* const manager = new CSkinApiHookManager();
    return manager;
}

CSkinApiHookManager::CSkinApiHookManager() {
    InitializeCriticalSection(&m_lock);
    InitializeCriticalSection(&m_tableLock);
    for (auto& e : m_apiEntries) e.store(nullptr);
    for (auto& p : m_present) p.store(false);
    m_win9x = ReadOsVersion().win9x;
    // The handles alone, straight from KERNEL32 where it offers them: a full enumeration also
    // asks the system for each module's size and path, which it answers by walking the loader's
    // list once more per module, and loads and frees PSAPI around every walk.
    if (HMODULE kernel = ::GetModuleHandleA(kKernel32))
        m_enumProcessModules =
            reinterpret_cast<EnumProcessModulesFn>(::GetProcAddress(kernel, "K32EnumProcessModules"));
    m_excluded = {{nullptr, "SHLWAPI.DLL", true},  {nullptr, "COMCTL32.DLL", true}, {nullptr, kKernel32, false},
                  {nullptr, kUser32, false},       {nullptr, kGdi32, false},        {nullptr, "WININET.DLL", false},
                  {nullptr, "MSCTF.DLL", false}};
    for (const ExcludedModule& entry : m_excluded)
        if (!entry.name.empty() && entry.name.back() == '*') m_hasWildcard = true;
}

void CSkinApiHookManager::Register(CSkinEngine* engine) {
    if (!engine) return;
    if (m_link && m_engine.load(std::memory_order_acquire) == engine && engine->GetInterception() == m_link) return;
    auto link = std::make_unique<EngineLink>(this);
    m_link = link.get();
    m_engine.store(engine, std::memory_order_release);
    // Replaces (and so unlinks) any earlier link of this engine.
    engine->SetInterception(std::move(link));
}

void CSkinApiHookManager::Unlink(CSkinInterception* link) {
    if (link != m_link) return;
    RemoveHooks();
    m_link = nullptr;
    m_engine.store(nullptr, std::memory_order_release);
}

HMODULE CSkinApiHookManager::SystemGetModuleHandleA(LPCSTR name) {
    if (auto entry = reinterpret_cast<decltype(&::GetModuleHandleA)>(GetApiEntry(SlotGetModuleHandleA)))
        return entry(name);
    return ::GetModuleHandleA(name);
}

FARPROC CSkinApiHookManager::SystemGetProcAddress(HMODULE module, LPCSTR name) {
    if (auto entry = reinterpret_cast<decltype(&::GetProcAddress)>(GetApiEntry(SlotGetProcAddress)))
        return entry(module, name);
    return ::GetProcAddress(module, name);
}

void* CSkinApiHookManager::GetApiEntry(int index) const {
    if (index < 0 || index >= HookSlotCount) return nullptr;
    return m_apiEntries[index].load(std::memory_order_acquire);
}

void* CSkinApiHookManager::GetSystemEntry(int index) {
    if (void* entry = GetApiEntry(index)) return entry;
    const HookRow* row = RowOf(index);
    if (!row) return nullptr;
    HMODULE module = SystemGetModuleHandleA(row->module);
    return module ? reinterpret_cast<void*>(SystemGetProcAddress(module, row->function)) : nullptr;
}

void* CSkinApiHookManager::FindUxThemeReplacement(LPCSTR functionName) const {
    for (const HookRow& row : kHookTable)
        if (row.module == kUxTheme && m_present[row.slot].load(std::memory_order_acquire) &&
            std::strcmp(row.function, functionName) == 0)
            return row.replacement;
    return nullptr;
}

int CSkinApiHookManager::FindHook(LPCSTR moduleName, LPCSTR functionName) const {
    if (!moduleName || !functionName) return -1;
    for (const HookRow& row : kHookTable)
        if (m_present[row.slot].load(std::memory_order_acquire) && EqualsAsciiNoCase(row.module, moduleName) &&
            std::strcmp(row.function, functionName) == 0)
            return row.slot;
    return -1;
}

BOOL CSkinApiHookManager::IsHookPatched(int index) const {
    if (index < 0 || index >= HookSlotCount) return FALSE;
    CSkinCriticalLock lock(const_cast<CRITICAL_SECTION*>(&m_tableLock));
    return m_hooks[index] && m_hooks[index]->IsPatched();
}

BOOL CSkinApiHookManager::AddHook(int index, LPCSTR moduleName, LPCSTR functionName, void* replacement) {
    CSkinApiHook* hook = CreateHook(index, moduleName, functionName, replacement);
    if (!hook) return FALSE;
    if (hook->GetApiEntry()) hook->Patch();
    return TRUE;
}

CSkinApiHook* CSkinApiHookManager::CreateHook(int index, LPCSTR moduleName, LPCSTR functionName, void* replacement) {
    if (index < 0 || index >= HookSlotCount || !moduleName || !functionName || !replacement) return nullptr;
    if (FindHook(moduleName, functionName) >= 0) return nullptr;
    void* entry = nullptr;
    // The visual-styles functions are served only through GetProcAddress: nothing to patch.
    if (!EqualsAsciiNoCase(moduleName, kUxTheme)) {
        HMODULE module = SystemGetModuleHandleA(moduleName);
        if (!module) {
            auto load = reinterpret_cast<decltype(&::LoadLibraryA)>(GetApiEntry(SlotLoadLibraryA));
            module = load ? load(moduleName) : ::LoadLibraryA(moduleName);
        }
        if (module) entry = reinterpret_cast<void*>(SystemGetProcAddress(module, functionName));
        if (!entry) return nullptr;
    }
    // The entry is published before any slot leads to the replacement that calls it.
    if (entry) m_apiEntries[index].store(entry, std::memory_order_release);
    auto hook = std::make_unique<CSkinApiHook>(this, moduleName, functionName, entry, replacement);
    CSkinApiHook* raw = hook.get();
    CSkinCriticalLock lock(&m_tableLock);
    m_hooks[index] = std::move(hook);
    m_present[index].store(true, std::memory_order_release);
    return raw;
}

void CSkinApiHookManager::InstallHooks(unsigned applyOptions) {
    if (m_installed.load(std::memory_order_acquire)) return;
    RefreshExcludedModules();
    const OsVersion os = ReadOsVersion();
    // Replacements consult the engine from the first patched slot on.
    m_installed.store(true, std::memory_order_release);
    // Every hook is made first and all of them are patched in one walk over each module's table:
    // the same rewrites as hook by hook, without walking every table once per hook.
    for (const HookRow& row : kHookTable) {
        if (row.option && !(applyOptions & row.option)) continue;
        if (row.needs == Needs::Nt61 && !os.nt61OrLater) continue;
        CreateHook(row.slot, row.module, row.function, row.replacement);
    }
    std::vector<PatchRequest> requests;
    std::vector<int> slots;
    {
        CSkinCriticalLock lock(&m_tableLock);
        for (int i = 0; i < HookSlotCount; ++i)
            if (m_hooks[i] && m_hooks[i]->GetApiEntry()) {
                requests.push_back({m_hooks[i]->GetModuleName(), m_hooks[i]->GetApiEntry(), m_hooks[i]->GetReplacement()});
                slots.push_back(i);
            }
    }
    std::vector<bool> patched;
    PatchImportsBatch(requests, nullptr, patched);
    CSkinCriticalLock lock(&m_tableLock);
    for (size_t r = 0; r < slots.size(); ++r)
        if (patched[r] && m_hooks[slots[r]]) m_hooks[slots[r]]->SetPatched(TRUE);
}

void CSkinApiHookManager::RemoveHooks() {
    if (!m_installed.load(std::memory_order_acquire)) return;
    std::array<std::unique_ptr<CSkinApiHook>, HookSlotCount> hooks;
    {
        CSkinCriticalLock lock(&m_tableLock);
        for (int i = 0; i < HookSlotCount; ++i) {
            hooks[i] = std::move(m_hooks[i]);
            m_present[i].store(false, std::memory_order_release);
        }
    }
    std::vector<PatchRequest> requests;
    for (auto& hook : hooks)
        if (hook && hook->IsPatched())
            requests.push_back({hook->GetModuleName(), hook->GetReplacement(), hook->GetApiEntry()});
    std::vector<bool> restored;
    PatchImportsBatch(requests, nullptr, restored);
    m_installed.store(false, std::memory_order_release);
}

void CSkinApiHookManager::RefreshExcludedModules() {
    // Handles are asked for outside the table lock: the loader takes its own lock to answer.
    std::vector<std::pair<size_t, std::string>> missing;
    {
        CSkinCriticalLock lock(&m_tableLock);
        for (size_t i = 0; i < m_excluded.size(); ++i)
            if (!m_excluded[i].handle && !m_excluded[i].name.empty() && m_excluded[i].name.back() != '*')
                missing.emplace_back(i, m_excluded[i].name);
    }
    for (const auto& entry : missing) {
        HMODULE handle = SystemGetModuleHandleA(entry.second.c_str());
        if (!handle) continue;
        CSkinCriticalLock lock(&m_tableLock);
        if (!m_excluded[entry.first].handle) m_excluded[entry.first].handle = handle;
    }
}

BOOL CSkinApiHookManager::IsModuleExcluded(HMODULE module) {
    if (!module) return FALSE;
    std::string fileName;
    if (m_hasWildcard) {
        char path[MAX_PATH] = "";
        if (GetModuleFileNameA(module, path, MAX_PATH)) fileName = FileNamePart(path);
    }
    CSkinCriticalLock lock(&m_tableLock);
    for (const ExcludedModule& entry : m_excluded) {
        if (entry.win9xOnly && !m_win9x) continue;
        if (entry.handle == module) return TRUE;
        if (!entry.name.empty() && entry.name.back() == '*' &&
            StartsWithAsciiNoCase(fileName, entry.name.substr(0, entry.name.size() - 1)))
            return TRUE;
    }
    return FALSE;
}

BOOL CSkinApiHookManager::PatchModuleImports(LPCSTR moduleName, void* from, void* to, HMODULE module) {
    if (!moduleName || !from || !to || !module) return FALSE;
    ModulePin pin(module);
    if (!pin) return FALSE;
    BOOL patched = FALSE;
    CSkinCriticalLock lock(&m_lock);
    FindImportSlots(module, moduleName, from, [&](const ImportSlot& slot) {
        if (WriteImportSlot(slot, to)) patched = TRUE;
    });
    return patched;
}

BOOL CSkinApiHookManager::PatchAllModules(LPCSTR moduleName, void* from, void* to) {
    if (!from || !to) return FALSE;
    std::vector<HMODULE> modules;
    if (!LoadedModules(modules)) return FALSE;
    const HMODULE self = ::GetModuleHandleA(nullptr);
    BOOL any = FALSE;
    for (HMODULE module : modules) {
        if (module == self || IsModuleExcluded(module)) continue;
        if (PatchModuleImports(moduleName, from, to, module)) any = TRUE;
    }
    if (PatchModuleImports(moduleName, from, to, self)) any = TRUE;
    return any;
}

bool CSkinApiHookManager::LoadedModules(std::vector<HMODULE>& modules) {
    modules.clear();
    if (!m_enumProcessModules) {
        auto enumerator = CSkinModuleEnumerator::Create();
        std::vector<SkinModuleInfo> infos;
        if (!enumerator || !enumerator->Enumerate(infos)) return false;
        for (const SkinModuleInfo& info : infos) modules.push_back(info.module);
        return true;
    }
    modules.resize(256);
    for (;;) {
        DWORD needed = 0;
        const DWORD bytes = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
        if (!m_enumProcessModules(GetCurrentProcess(), modules.data(), bytes, &needed)) return false;
        if (needed <= bytes) {
            modules.resize(needed / sizeof(HMODULE));
            return true;
        }
        modules.resize(needed / sizeof(HMODULE) + 16);  // modules were loaded meanwhile
    }
}

void CSkinApiHookManager::PatchImportsBatch(const std::vector<PatchRequest>& requests, const HMODULE* onlyModule,
                                            std::vector<bool>& patched) {
    patched.assign(requests.size(), false);
    if (requests.empty()) return;
    std::vector<HMODULE> modules;
    if (onlyModule) {
        modules.push_back(*onlyModule);
    } else {
        if (!LoadedModules(modules)) return;
        const HMODULE self = ::GetModuleHandleA(nullptr);
        modules.erase(std::remove_if(modules.begin(), modules.end(),
                                     [&](HMODULE m) { return m == self || IsModuleExcluded(m); }),
                      modules.end());
        modules.push_back(self);  // the program's own module last, as PatchAllModules does
    }
#ifndef _WIN64
    SYSTEM_INFO si = {};
    GetSystemInfo(&si);
    const auto* highest = static_cast<const BYTE*>(si.lpMaximumApplicationAddress);
#endif
    for (HMODULE module : modules) {
        ModulePin pin(module);
        if (!pin) continue;
        CSkinCriticalLock lock(&m_lock);
        ForEachImportSlot(module, nullptr, [&](void** cell, const char* dllName) {
            for (size_t r = 0; r < requests.size(); ++r) {
                ImportSlot slot{cell, nullptr};
                if (*cell != requests[r].from) {
#ifndef _WIN64
                    const auto* stub = static_cast<const BYTE*>(*cell);
                    if (!(stub > highest && IsReadable(stub, 5) && stub[0] == 0x68)) continue;
                    DWORD operand;
                    std::memcpy(&operand, stub + 1, sizeof(operand));
                    if (operand != reinterpret_cast<DWORD>(requests[r].from)) continue;
                    slot.stubOperand = reinterpret_cast<DWORD*>(const_cast<BYTE*>(stub + 1));
#else
                    continue;
#endif
                }
                if (!EqualsAsciiNoCase(dllName, requests[r].moduleName)) continue;
                if (WriteImportSlot(slot, requests[r].to)) patched[r] = true;
                break;
            }
        });
    }
}

void CSkinApiHookManager::OnModuleLoaded(HMODULE module, DWORD loadFlags) {
    RefreshExcludedModules();
    if (!module || (loadFlags & kNotAsImage) || (reinterpret_cast<ULONG_PTR>(module) & 3)) return;
    if (!m_installed.load(std::memory_order_acquire) || IsModuleExcluded(module)) return;
    std::vector<PatchRequest> requests;
    std::vector<std::string> names;
    std::vector<int> slots;
    {
        CSkinCriticalLock lock(&m_tableLock);
        names.reserve(HookSlotCount);
        for (int i = 0; i < HookSlotCount; ++i)
            if (m_hooks[i] && m_hooks[i]->GetApiEntry()) {
                names.push_back(m_hooks[i]->GetModuleName());
                requests.push_back({nullptr, m_hooks[i]->GetApiEntry(), m_hooks[i]->GetReplacement()});
                slots.push_back(i);
            }
    }
    for (size_t r = 0; r < requests.size(); ++r) requests[r].moduleName = names[r].c_str();
    std::vector<bool> patched;
    PatchImportsBatch(requests, &module, patched);
    CSkinCriticalLock lock(&m_tableLock);
    for (size_t r = 0; r < slots.size(); ++r)
        if (patched[r] && m_hooks[slots[r]] && m_hooks[slots[r]]->GetReplacement() == requests[r].to)
            m_hooks[slots[r]]->SetPatched(TRUE);
}
