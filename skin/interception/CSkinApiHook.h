#pragma once
// One intercepted function: where the system keeps it, what replaces it, and whether any
// import slot of the process currently leads to the replacement.
#include <windows.h>

class CSkinApiHookManager;

class CSkinApiHook {
public:
    CSkinApiHook(CSkinApiHookManager* manager, LPCSTR moduleName, LPCSTR functionName, void* apiEntry,
                 void* replacement);

    LPCSTR GetModuleName() const { return m_moduleName; }
    LPCSTR GetFunctionName() const { return m_functionName; }
    void* GetApiEntry() const { return m_apiEntry; }
    void* GetReplacement() const { return m_replacement; }
    BOOL IsPatched() const { return m_patched; }
    void SetPatched(BOOL patched) { m_patched = patched; }
    BOOL Matches(LPCSTR moduleName, LPCSTR functionName) const;

    // Every module's slots from the API entry to the replacement, and back.
    BOOL Patch();
    BOOL Unpatch();

private:
    CSkinApiHookManager* m_manager;
    BOOL m_patched = FALSE;
    char m_moduleName[50];
    char m_functionName[50];
    void* m_apiEntry;
    void* m_replacement;
};
