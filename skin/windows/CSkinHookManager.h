#pragma once
// Gives every window created in the process the skin object its class calls for: the
// per-thread creation hook, the class filter and the class table. Registered with the engine as
// its window factory on first use.
#include <windows.h>

#include <string>
#include <unordered_map>

#include "CSkinEngine.h"

class CSkinObjectBase;
class CSkinObjectClassInfo;

class CSkinHookManager : public CSkinWindowFactory {
public:
    // Gets the engine, registers the manager as its window factory and hooks the calling thread.
    static CSkinHookManager* Instance();
    ~CSkinHookManager();
    CSkinHookManager(const CSkinHookManager&) = delete;
    CSkinHookManager& operator=(const CSkinHookManager&) = delete;

    // The object is the map's: the pointer stays valid only while the window is attached.
    CSkinWindowSink* AttachWindow(HWND hWnd, LPCSTR className, LPCREATESTRUCTA createStruct,
                                  BOOL autoAttached) override;
    void InstallThreadHook() override;

    // The table owns an entry from its first insertion; each further name takes a reference.
    void AddWindowClass(LPCSTR className, CSkinObjectClassInfo* entry);
    // Nothing when the alias exists or the target is unknown; an empty target enters an entry
    // without class (never skinned).
    void AddWindowClassAlias(LPCSTR alias, LPCSTR targetClassName);
    // The entry for a class name (case ignored), or null; entries live as long as the manager.
    CSkinObjectClassInfo* FindWindowClass(LPCSTR className);

    CSkinEngine* GetEngine() const { return m_engine; }

    static LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam);

private:
    CSkinHookManager();
    void BuildClassTable();
    CSkinObjectBase* CreateFor(HWND hWnd, const std::string& className, LPCREATESTRUCTA createStruct);

    CSkinEngine* m_engine;
    SRWLOCK m_tableLock = SRWLOCK_INIT;
    std::unordered_map<std::string, CSkinObjectClassInfo*> m_classTable;
};
