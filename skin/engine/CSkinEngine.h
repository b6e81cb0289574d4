#pragma once
// The process-wide skin manager: the loaded theme, the apply options, the table of
// skinned windows and the notices sent when the skin changes.
#include <windows.h>
#include <memory>
#include <string>
#include <unordered_map>

#include "CSkinPackage.h"
#include "CSkinRefCounted.h"
#include "CSkinSchema.h"

enum SkinApplyOptions : unsigned {
    SkinApplyMetrics = 1,
    SkinApplyFrame = 2,
    SkinApplyColors = 4,
    SkinApplyMenus = 8,
    SkinApplyAll = 15
};

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

// Plays the menu sounds on a thread of its own so that menus never wait for audio.
class CSkinMenuSound {
public:
    enum Kind { None = 0, Command = 1, Popup = 2 };
    static CSkinMenuSound* Instance();  // created on first use
    static CSkinMenuSound* Existing();  // null when never used
    CSkinMenuSound();
    ~CSkinMenuSound();
    void Play(int kind);
    void Stop();
    BOOL IsRunning() const { return m_thread != nullptr; }

    volatile BOOL allowed = TRUE;
    volatile BOOL allowed2 = TRUE;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    void Loop();
    volatile LONG m_request = 0;
    HANDLE m_thread = nullptr;
    volatile BOOL m_stop = FALSE;
    HANDLE m_wake = nullptr;
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

class CSkinEngine {
public:
    static CSkinEngine* Instance();

    virtual ~CSkinEngine();
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
    CSkinSchema* GetSchema() const { return m_schema.Get(); }
    CSkinMetrics* GetMetrics() const { return m_schema ? m_schema->GetMetrics() : nullptr; }
    CSkinPackage* GetPackage() const { return m_package.Get(); }
    COLORREF GetThemeSysColor(int index) const;
    BOOL GetThemeSysBool(int propertyId) const;
    CSkinClassTheme* FindThemeClass(const void* handle) const;
    // Answer of the visual-styles function of the same name.
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

    DWORD m_comctlVersion = 0;
    BOOL m_isWin9x = FALSE;
    BOOL m_enabled = FALSE;
    CSkinRef<CSkinSchema> m_schema;
    CSkinRef<CSkinPackage> m_package;
    unsigned m_applyOptions = SkinApplyAll;
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
