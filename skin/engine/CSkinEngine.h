#pragma once
// The process-wide skin manager: the loaded theme, the apply options, the table of
// skinned windows and the notices sent when the skin changes.
#include <windows.h>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "CSkinPackage.h"
#include "CSkinReadWriteLock.h"
#include "CSkinRefCounted.h"
#include "CSkinSchema.h"
#include "SkinApplyOptions.h"

// Registered at static initialisation ("WM_SKINFRAMEWORK_QUERYSTATE", "WM_SKINFRAMEWORK_UPDATESTATE").
extern const UINT WM_SKINFRAMEWORK_QUERYSTATE;
extern const UINT WM_SKINFRAMEWORK_UPDATESTATE;

class CSkinObjectBase;

// What the engine needs of a per-window skin object. The window-integration layer
// (hook manager and skin objects) implements it; the window map holds one reference per entry,
// and whoever calls an object found in the map holds another for the length of the call.
class CSkinWindowSink {
public:
    virtual LONG AddRef() = 0;
    virtual LONG Release() = 0;
    // Re-read the theme class and redraw.
    virtual void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) = 0;
    // Called once the object is out of the map: give the window back its own procedure
    // (unless the window is being destroyed) and let go of it.
    virtual void DetachHook(BOOL windowDestroyed) = 0;
    // A timer started with CSkinEngine::SkinTimerProc fired for the object's window.
    virtual void OnSkinTimer(UINT_PTR id) = 0;
    // A schema of the object's own, or null to use the engine's.
    virtual CSkinSchema* GetOwnSchema() const { return nullptr; }
    // The window layer's object behind this interface (null for anything else); cheaper than a
    // cross cast on every message.
    virtual CSkinObjectBase* GetSkinObject() { return nullptr; }

protected:
    virtual ~CSkinWindowSink() = default;
};

// Makes the skin object for a new window; the window-integration layer registers one so that
// the engine, which knows no skin object class, can attach windows and hook threads.
class CSkinWindowFactory {
public:
    // Decides, creates, enters the object in the window map and attaches it; null when the
    // window is not skinned.
    virtual CSkinWindowSink* AttachWindow(HWND hWnd, LPCSTR className, LPCREATESTRUCTA createStruct,
                                          BOOL autoAttached) = 0;
    // The calling thread's window-creation hook, unless it has one.
    virtual void InstallThreadHook() = 0;

protected:
    ~CSkinWindowFactory() = default;
};

// What the engine needs of the system-call interception (installed per apply options).
class CSkinInterception {
public:
    virtual ~CSkinInterception() = default;
    virtual void Install(unsigned applyOptions) = 0;
    virtual void RemoveAll() = 0;
};

// Plays the menu sounds on a thread of its own so that menus never wait for audio. Any thread may
// play and stop: one lock makes starting and ending the thread one step each. The thread is only
// ever asked to end; one that does not end in time is left to finish alone, with the state it
// shares, so a sound is never cut off inside the system's player.
class CSkinMenuSound {
public:
    enum Kind { None = 0, Command = 1, Popup = 2 };
    // Where a request's sound goes; the system's named sounds by default.
    using Player = void (*)(int kind);
    static CSkinMenuSound* Instance();  // created on first use
    static CSkinMenuSound* Existing();  // null when never used
    CSkinMenuSound();
    ~CSkinMenuSound();
    CSkinMenuSound(const CSkinMenuSound&) = delete;
    CSkinMenuSound& operator=(const CSkinMenuSound&) = delete;
    void Play(int kind);
    // Asks the thread to end and waits for it, up to timeoutMs.
    void Stop(DWORD timeoutMs = 5000);
    BOOL IsRunning() const;
    void SetPlayer(Player player);

    volatile BOOL allowed = TRUE;
    volatile BOOL allowed2 = TRUE;

private:
    struct Shared;
    static DWORD WINAPI ThreadProc(LPVOID shared);
    mutable std::mutex m_lock;  // guards the members below
    std::shared_ptr<Shared> m_shared;
    HANDLE m_thread = nullptr;
    Player m_player = nullptr;
};

namespace skin {
// Why a display or system cannot be skinned: a palette display (1 to 8 bits per pixel) or no
// module enumeration (interception needs it). True when LoadSkin must refuse.
bool IsSkinRefused(int bitsPerPixel, bool hasModuleEnumeration);
bool HasModuleEnumeration();
int DesktopBitsPerPixel();
// Colour-scheme answer for an INI name, as GetCurrentThemeName reports it.
std::string ThemeColorName(const std::string& iniName);
// Visual style classes the shared colour set derives its accents from.
enum class VisualStyle { None, NormalColor, Homestead, Metallic, Royale, Aero, Other };
VisualStyle ClassifyVisualStyle(const std::wstring& themeFile, const std::wstring& colorName, int bitsPerPixel);
}  // namespace skin

// Loading and options belong to the user-interface thread; any thread may paint and ask the theme
// queries meanwhile. A painting thread holds a reference to the schema it draws with
// (AcquireSchema): a LoadSkin on another thread then only stops handing that schema out.
class CSkinEngine {
public:
    static CSkinEngine* Instance();

    virtual ~CSkinEngine();
    // The handle lives as long as its schema: a thread other than the loading one asks the schema
    // it holds (AcquireSchema) instead.
    virtual CSkinClassTheme* GetThemeClass(CSkinWindowSink* owner, LPCSTR className);
    virtual void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled);
    // Called by the window-creation hook for every window without a skin object; the
    // registered factory decides. Null without a factory or when the window is not skinned.
    virtual CSkinWindowSink* AttachWindow(HWND hWnd, LPCSTR className, LPCREATESTRUCTA createStruct,
                                          BOOL autoAttached);

    BOOL LoadSkin(LPCSTR packagePath, LPCSTR iniFileName);
    void SetApplyOptions(unsigned options);
    unsigned GetApplyOptions() const { return m_applyOptions; }
    BOOL IsEnabled() const { return m_enabled; }
    // The current schema, held for as long as the caller keeps the reference; null when unloaded.
    CSkinRef<CSkinSchema> AcquireSchema() const;
    CSkinRef<CSkinPackage> AcquirePackage() const;
    // Without a reference: for the thread that loads (the pointers die with the next LoadSkin).
    CSkinSchema* GetSchema() const;
    CSkinMetrics* GetMetrics() const;
    CSkinPackage* GetPackage() const;
    COLORREF GetThemeSysColor(int index) const;
    BOOL GetThemeSysBool(int propertyId) const;
    CSkinClassTheme* FindThemeClass(const void* handle) const;
    // Answer of the visual-styles function of the same name; a buffer too small for a name gets
    // as much of it as fits, terminated.
    HRESULT GetCurrentThemeName(LPWSTR themeFile, int cchThemeFile, LPWSTR colorName, int cchColorName,
                                LPWSTR sizeName, int cchSizeName) const;

    // Shared colour set: 63 slots, each with an override (-1: use the computed slot).
    COLORREF GetSharedColor(int index) const;
    void SetSharedColorOverride(int index, COLORREF color);
    void RefreshSharedColors();
    skin::VisualStyle GetVisualStyle() const { return m_visualStyle; }

    // Window map, guarded by one lock; the window-integration layer adds and removes entries.
    // FindSkinObject's pointer is only safe on the window's own thread while it is in the map;
    // FindSkinObjectRef holds a reference taken under the lock.
    CSkinWindowSink* FindSkinObject(HWND hwnd);
    CSkinRef<CSkinWindowSink> FindSkinObjectRef(HWND hwnd);
    // Takes over the caller's reference. An object already entered for the window is detached first.
    void AddSkinObject(HWND hwnd, CSkinWindowSink* object);
    // Removes the entry, then (outside the lock) detaches the object and drops the map's reference.
    void DetachWindow(HWND hwnd, BOOL windowDestroyed = FALSE);
    void DetachAll(BOOL restoreProcedures = TRUE);
    size_t GetSkinObjectCount();
    void SetWindowFactory(CSkinWindowFactory* factory) { m_factory = factory; }
    CSkinWindowFactory* GetWindowFactory() const { return m_factory; }
    void InstallThreadHook();
    // Timers of skin objects (2763 hover tracking, 2765 frame re-synchronisation); a timer of a
    // window without skin object is killed.
    static void CALLBACK SkinTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time);

    void SetInterception(std::unique_ptr<CSkinInterception> interception);
    CSkinInterception* GetInterception() const { return m_interception.get(); }

    DWORD GetComctlVersion() const { return m_comctlVersion; }
    BOOL IsWin9x() const { return m_isWin9x; }
    BOOL attachNewWindows = TRUE;
    BOOL attachNewThreads = TRUE;

protected:
    CSkinEngine();

private:
    static void CALLBACK SkinWinEventProc(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject,
                                          LONG idChild, DWORD thread, DWORD time);
    void ReapplyInterception();
    // Removes the entry only while it still holds that object (a handle may be reused meanwhile).
    void DetachWindowIf(HWND hwnd, CSkinWindowSink* expected, BOOL windowDestroyed);

    // Replaces the current package and schema; the previous ones are released outside the lock.
    void Publish(CSkinRef<CSkinPackage> package, CSkinRef<CSkinSchema> schema);

    DWORD m_comctlVersion = 0;
    BOOL m_isWin9x = FALSE;
    std::atomic<BOOL> m_enabled{FALSE};
    CSkinRef<CSkinSchema> m_schema;
    CSkinRef<CSkinPackage> m_package;
    mutable CSkinReadWriteLock m_themeLock;  // guards m_schema and m_package
    std::mutex m_loading;                    // one LoadSkin or SetApplyOptions at a time
    std::atomic<unsigned> m_applyOptions{SkinApplyAll};
    HWINEVENTHOOK m_winEventHook = nullptr;
    std::unordered_map<HWND, CSkinWindowSink*> m_windowMap;
    CRITICAL_SECTION m_critical;
    // Guards m_windowMap: every message of every skinned window looks it up, so readers share it.
    SRWLOCK m_mapLock = SRWLOCK_INIT;
    CSkinWindowFactory* m_factory = nullptr;
    using SetWinEventHookFn = HWINEVENTHOOK(WINAPI*)(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD, DWORD);
    using UnhookWinEventFn = BOOL(WINAPI*)(HWINEVENTHOOK);
    SetWinEventHookFn m_pfnSetWinEventHook = nullptr;
    UnhookWinEventFn m_pfnUnhookWinEvent = nullptr;
    std::unique_ptr<CSkinInterception> m_interception;

    COLORREF m_shared[63];
    COLORREF m_sharedOverride[63];
    skin::VisualStyle m_visualStyle = skin::VisualStyle::None;
};
