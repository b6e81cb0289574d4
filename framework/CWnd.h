#pragma once
// A window object bound to a handle. Bound objects are "permanent": the handle map
// finds them, and their subclassed procedure routes every message through the
// message map before the window's original procedure.
//
// Several subclassers share a window. The handle map holds at most one object per
// window, the program's; other layers (the skin's objects) set m_hWnd themselves, stay
// out of the map and dispatch through OnWndMsg, which then routes nothing to children.
// Any layer may leave in any order: a layer that is no longer the window's procedure
// sends the registered message "WM_HOOKMANAGER_SINKREMOVED" (wParam its procedure,
// lParam its previous one); the layer directly above takes the previous procedure as
// its own and answers 1. Without such an answer our procedure stays in the chain as a
// pass-through until the window is destroyed.
//
// Lifetime: every message in flight holds a reference (InternalAddRef) on its object.
// An object that owns itself ends in PostNcDestroy with InternalRelease(), never with
// `delete this`: the handler that destroyed the window may still be running, and the
// last reference deletes the object once it has returned. ~CWnd first unbinds the
// object so no message reaches it, and only then destroys a window CreateEx made;
// that window's WM_DESTROY and WM_NCDESTROY no longer reach a half-destroyed object,
// so a class that must see them destroys its window before its own destructor ends.
#include "CCmdTarget.h"
#include "CRect.h"
#include "CString.h"

class CDC;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    // Handle map: the object bound to a handle, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Enters the object in the handle map without routing messages through it.
    BOOL Attach(HWND hWnd);
    // Leaves the handle map; a subclassed object also leaves the window's chain.
    HWND Detach();
    // Binds the object and routes the window's messages through it. Fails when the
    // window already has a program object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Creation through the framework: PreCreateWindow may adjust or refuse, and the
    // object is bound before WM_NCCREATE so OnCreate sees the window.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR className, LPCSTR windowName, DWORD dwStyle,
                  int x, int y, int cx, int cy, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs) { return TRUE; }
    virtual void PreSubclassWindow() {}
    virtual BOOL PreTranslateMessage(MSG* pMsg) { return FALSE; }
    virtual void PostNcDestroy() {}

    // Message processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A parent hands control notifications back here first; TRUE means handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Default handling of the message being processed on this thread.
    LRESULT Default();
    static const MSG* GetCurrentMessage();

    // Thin conveniences over the Win32 calls of the same names.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageA(m_hWnd, message, wParam, lParam); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::PostMessageA(m_hWnd, message, wParam, lParam); }
    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    CString GetWindowText() const { CString s; GetWindowText(s); return s; }
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) { return ModifyStyle(m_hWnd, remove, add, swpFlags); }
    static BOOL ModifyStyle(HWND hWnd, DWORD remove, DWORD add, UINT swpFlags);
    // Colours a dialog's own control-colour request with a gray brush: background from the brush,
    // text clrText (CLR_INVALID: the window-text colour). FALSE for kinds it leaves alone (edits, message
    // boxes, scroll bars, list boxes other than a drop-down combo's) or without a DC or brush.
    static BOOL GrayCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor, HBRUSH hbrGray, COLORREF clrText);
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT pt) const { ::ClientToScreen(m_hWnd, pt); }
    void ScreenToClient(LPPOINT pt) const { ::ScreenToClient(m_hWnd, pt); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    { return ::RedrawWindow(m_hWnd, rect, rgn, flags); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    HICON SetIcon(HICON icon, BOOL big) { return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon))); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) { return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags); }
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK) { return ::MessageBoxA(m_hWnd, text, caption, type); }

    static LRESULT CALLBACK StdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    WNDPROC m_pfnSuper = nullptr;  // procedure the window had before subclassing
    bool m_bCreated = false;       // made by CreateEx, so destroyed with the object
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

private:
    // How the object's procedure leaves the window's chain when it unbinds.
    enum class Leave { Relink, PassThrough, WindowGone };
    void Unbind(Leave how);
    void OnNcDestroyCleanup();
    static CWnd* AcquireRouted(HWND hWnd);
    static CWnd* AcquirePermanent(HWND hWnd);
    static LRESULT ForwardUnbound(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void LeaveChain(HWND hWnd);

    bool m_bPermanent = false;   // in the handle map
    bool m_bSubclassed = false;  // StdWndProc routes the window's messages here
};

// Makes a message the thread's current one (what CWnd::Default passes on) for the
// scope's lifetime; procedures that route messages to objects outside the handle map use it.
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    ~CurrentMessageScope();
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;
private:
    MSG m_outer;
};

// While set for a window, its control notifications are not dispatched
// (data exchange writes the controls).
class NotificationLockout {
public:
    explicit NotificationLockout(HWND hWnd);
    ~NotificationLockout();
    static bool IsLockedOut(HWND hWnd);
private:
    HWND m_previous;
};
