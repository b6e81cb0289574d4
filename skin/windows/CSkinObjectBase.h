#pragma once
// The base of every skin object: a CWnd bound to a window it does not own (never entered in the
// framework's handle map), reached by two roads — its own procedure in the window (subclass) and
// the intercepted default procedures — and kept alive by a reference per message in flight.
#include <windows.h>

#include <vector>

#include "CSkinEngine.h"
#include "CString.h"
#include "CWnd.h"

// Registered at static initialisation: sent to a subclassed window before the skin's procedure
// is taken out (wParam = SkinWindowProc, lParam = the procedure it saved); non-zero means the
// receiver unlinked the skin's procedure itself.
extern const UINT WM_HOOKMANAGER_SINKREMOVED;

class CSkinObjectBase : public CWnd, public CSkinWindowSink {
public:
    // The window map's reference is the initial one; each message in flight adds one.
    LONG AddRef() override;
    LONG Release() override;

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;
    virtual void ReloadMetrics() {}
    virtual void OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached);
    virtual void OnDetached(BOOL windowDestroyed) {}
    virtual BOOL OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
    virtual BOOL OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
    virtual BOOL PrefersDefaultRoute(UINT message);
    virtual BOOL IsMessageExcluded(UINT message);
    // Asked by the system-call interception.
    virtual void RepaintOwnScrollBar(int bar) {}
    virtual BOOL GetTrackPos(int bar, int* pos) { return FALSE; }
    virtual void OnDrawMenuBar() {}
    // Timers 2763 and 2765 belong to painting objects; without them a timer is just stopped.
    void OnSkinTimer(UINT_PTR id) override;
    CSkinSchema* GetOwnSchema() const override { return m_privateSchema.Get(); }
    CSkinObjectBase* GetSkinObject() override { return this; }

    void AttachHook(HWND hWnd, LPCREATESTRUCTA createStruct, BOOL autoAttached);
    void InstallWindowProc();
    void DetachHook(BOOL windowDestroyed) override;

    // The message stack; CWnd::Default passes a message on by the route of the newest entry.
    void PushMessage(UINT message, int route, void* apiEntry, void* previousOrExtra);
    void PopMessage();
    UINT CurrentMessage();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Only the object's own message map: the program's objects get their reflections from the
    // program's procedures, not a second time from the skin.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void SetEngine(CSkinEngine* engine) { m_engine = engine; }
    CSkinEngine* GetEngine() const { return m_engine; }
    WNDPROC GetPreviousProc() const { return m_previousProc; }
    void SetPreviousProc(WNDPROC procedure) { m_previousProc = procedure; }
    const CString& GetThemeClassName() const { return m_themeClassName; }
    BOOL IsWindowsForms() const { return m_windowsForms; }
    void SetWindowsForms(BOOL windowsForms) { m_windowsForms = windowsForms; }
    BOOL IsOptedOut() const { return m_optedOut; }
    BOOL IsUnicode() const { return m_unicode; }
    BOOL IsSystemProc() const { return m_systemProc; }
    BOOL IsSubclassed() const { return m_subclassed; }
    BOOL IsAlwaysSubclass() const { return m_alwaysSubclass; }

    // Passes a message to a procedure through the system's own CallWindowProc entry in the form
    // (A or W) the window's messages arrive in; never through the interception.
    LRESULT CallPrevious(WNDPROC procedure, UINT message, WPARAM wParam, LPARAM lParam) const;

protected:
    CSkinObjectBase();
    ~CSkinObjectBase() override;
    void QueryOptedOut();

    WNDPROC m_previousProc = nullptr;
    CSkinEngine* m_engine = nullptr;
    CString m_themeClassName;
    BOOL m_windowsForms = FALSE;
    volatile BOOL m_optedOut = FALSE;
    BOOL m_unicode = FALSE;
    BOOL m_systemProc = FALSE;
    BOOL m_subclassed = FALSE;
    BOOL m_alwaysSubclass = FALSE;
    CSkinRef<CSkinSchema> m_privateSchema;

private:
    struct StackEntry {
        int route;
        void* apiEntry;
        void* previousOrExtra;
        UINT message;
    };
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::vector<StackEntry> m_stack;
    volatile LONG m_refs = 1;
};
