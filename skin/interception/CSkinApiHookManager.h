#pragma once
// Replaces system functions process-wide by rewriting the import tables of the loaded modules,
// keeps modules loaded later patched, answers dynamic lookups with the replacements and puts
// every slot back when the skin goes.
#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "CSkinApiHook.h"
#include "CSkinEngine.h"
#include "SkinHookSlots.h"

class CSkinApiHookManager : public CSkinInterception {
public:
    // One for the process; it outlives the engine, whose destructor still removes the hooks.
    static CSkinApiHookManager* Instance();

    // Lets the engine install and remove the hooks around each theme load.
    void Register(CSkinEngine* engine);

    void InstallHooks(unsigned applyOptions);
    void RemoveHooks();
    void Install(unsigned applyOptions) override { InstallHooks(applyOptions); }
    void RemoveAll() override { RemoveHooks(); }
    BOOL IsInstalled() const { return m_installed.load(std::memory_order_acquire); }

    BOOL AddHook(int index, LPCSTR moduleName, LPCSTR functionName, void* replacement);
    // The slot of the hook for that module and function, or -1.
    int FindHook(LPCSTR moduleName, LPCSTR functionName) const;
    BOOL IsHookPatched(int index) const;
    // The system's own entry of a slot as AddHook found it, or null.
    void* GetApiEntry(int index) const;
    // What a replacement calls when the skin does not apply: the API entry, or the export itself
    // for a slot without hook (the visual-styles functions only from a module already loaded).
    void* GetSystemEntry(int index);
    // The replacement GetProcAddress hands out for a visual-styles function, or null.
    void* FindUxThemeReplacement(LPCSTR functionName) const;

    BOOL PatchModuleImports(LPCSTR moduleName, void* from, void* to, HMODULE module);
    // Several rewrites in one walk over each module's table: request i succeeded in some module
    // when patched[i] is set. modules null: every module of the process.
    struct PatchRequest {
        const char* moduleName;
        void* from;
        void* to;
    };
    void PatchImportsBatch(const std::vector<PatchRequest>& requests, const HMODULE* onlyModule,
                           std::vector<bool>& patched);
    BOOL PatchAllModules(LPCSTR moduleName, void* from, void* to);
    void OnModuleLoaded(HMODULE module, DWORD loadFlags);
    BOOL IsModuleExcluded(HMODULE module);

    // The engine while the hooks are installed; null otherwise (replacements then act as the system).
    CSkinEngine* ActiveEngine() const {
        return m_installed.load(std::memory_order_acquire) ? m_engine.load(std::memory_order_acquire) : nullptr;
    }
    CSkinEngine* RegisteredEngine() const { return m_engine.load(std::memory_order_acquire); }
    // The engine lets go of the link Register gave it (replaced, or the engine ends).
    void Unlink(CSkinInterception* link);

    // Real entries for the manager's own lookups, past its own replacements.
    HMODULE SystemGetModuleHandleA(LPCSTR name);
    FARPROC SystemGetProcAddress(HMODULE module, LPCSTR name);

private:
    CSkinApiHookManager();

    struct ExcludedModule {
        HMODULE handle;
        std::string name;
        bool win9xOnly;
    };
    void RefreshExcludedModules();
    // Every module loaded now, the program's own included; false when the system cannot say.
    bool LoadedModules(std::vector<HMODULE>& modules);
    CSkinApiHook* CreateHook(int index, LPCSTR moduleName, LPCSTR functionName, void* replacement);

    std::array<std::unique_ptr<CSkinApiHook>, skin::HookSlotCount> m_hooks;
    std::array<std::atomic<void*>, skin::HookSlotCount> m_apiEntries;
    std::array<std::atomic<bool>, skin::HookSlotCount> m_present;
    std::atomic<bool> m_installed{false};
    std::atomic<CSkinEngine*> m_engine{nullptr};
    CSkinInterception* m_link = nullptr;  // what the registered engine holds
    std::vector<ExcludedModule> m_excluded;
    CRITICAL_SECTION m_lock;       // import-table writes
    CRITICAL_SECTION m_tableLock;  // the hook table and the excluded-module list
    bool m_win9x;
    using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
    EnumProcessModulesFn m_enumProcessModules = nullptr;
    bool m_hasWildcard = false;  // an entry names a prefix: module file names are needed
};
