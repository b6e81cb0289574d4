#include "CWnd.h"
#include "CDC.h"
#include "CReadMostlyLock.h"
#include <memory>
#include <unordered_map>

namespace {

// Windows of every thread share the handle map; messages only read it, so they take
// the lock shared and never wait for one another.
struct HandleRegistry {
    CReadMostlyLock lock;
    std::unordered_map<HWND, CWnd*> bound;
    // Our procedure left in a chain whose object is gone: the procedure it passes on to.
    std::unordered_map<HWND, WNDPROC> passThrough;
    // Bumped whenever an entry of `bound` goes, which makes every thread's cached hit stale.
    unsigned long long generation = 1;
};

HandleRegistry& Registry()
{
    static auto* registry = new HandleRegistry();  // outlives static destructors
    return *registry;
}

using SharedLock = CReadMostlyLock::Shared;
using ExclusiveLock = CReadMostlyLock::Exclusive;

struct ReleaseRef {
    void operator()(CWnd* wnd) const { wnd->InternalRelease(); }
};
using HeldWnd = std::unique_ptr<CWnd, ReleaseRef>;

// One thread-local block: each access costs a lookup where thread storage is emulated.
struct ThreadState {
    MSG currentMsg = {};
    HWND lockout = nullptr;
    CWnd* creating = nullptr;
    HHOOK createHook = nullptr;
    // The last window this thread routed a message to; a window's messages come in runs.
    HWND cachedWindow = nullptr;
    CWnd* cachedObject = nullptr;
    unsigned long long cachedGeneration = 0;
};
thread_local ThreadState t_state;

// Registered on first use: windows may be routed before this file's statics exist.
UINT SinkRemovedMessage()
{
    static const UINT message = ::RegisterWindowMessageA("WM_HOOKMANAGER_SINKREMOVED");
    return message;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    ThreadState& ts = t_state;
    const HHOOK hook = ts.createHook;
    if (code == HCBT_CREATEWND && ts.creating) {
        CWnd* wnd = ts.creating;
        ts.creating = nullptr;
        wnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT PassOn(WNDPROC previous, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return previous ? ::CallWindowProcA(previous, hWnd, message, wParam, lParam)
                    : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

}  // namespace

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::~CWnd()
{
    const HWND hWnd = m_hWnd;
    const bool destroy = hWnd && m_bCreated && ::IsWindow(hWnd);
    // Unbound first: what the destruction sends must not reach a half-destroyed object.
    Unbind(destroy ? Leave::PassThrough : Leave::Relink);
    if (destroy)
        ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    HandleRegistry& reg = Registry();
    SharedLock lock(reg.lock);
    auto it = reg.bound.find(hWnd);
    return it == reg.bound.end() ? nullptr : it->second;
}

CWnd* CWnd::AcquirePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    HandleRegistry& reg = Registry();
    SharedLock lock(reg.lock);
    auto it = reg.bound.find(hWnd);
    if (it == reg.bound.end())
        return nullptr;
    it->second->InternalAddRef();
    return it->second;
}

// The object StdWndProc routes hWnd's messages to, with a reference; taken under the
// lock, so an object leaving on another thread is either still whole or not found.
CWnd* CWnd::AcquireRouted(HWND hWnd)
{
    HandleRegistry& reg = Registry();
    ThreadState& ts = t_state;
    SharedLock lock(reg.lock);
    CWnd* wnd;
    if (ts.cachedWindow == hWnd && ts.cachedGeneration == reg.generation) {
        wnd = ts.cachedObject;
    } else {
        auto it = reg.bound.find(hWnd);
        if (it == reg.bound.end())
            return nullptr;
        wnd = it->second;
        ts.cachedWindow = hWnd;
        ts.cachedObject = wnd;
        ts.cachedGeneration = reg.generation;
    }
    if (!wnd->m_bSubclassed)
        return nullptr;
    wnd->InternalAddRef();
    return wnd;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    HandleRegistry& reg = Registry();
    ExclusiveLock lock(reg.lock);
    if (!reg.bound.emplace(hWnd, this).second)
        return FALSE;  // another object already owns this window
    m_hWnd = hWnd;
    m_bPermanent = true;
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hWnd = m_hWnd;
    Unbind(Leave::Relink);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    bool inChain = false;
    {
        HandleRegistry& reg = Registry();
        ExclusiveLock lock(reg.lock);
        if (!reg.bound.emplace(hWnd, this).second)
            return FALSE;  // another object already owns this window
        m_hWnd = hWnd;
        m_bPermanent = true;
        // Our procedure is still in the chain from an earlier object: take its place
        // there, since the chain must not call StdWndProc twice.
        auto pass = reg.passThrough.find(hWnd);
        if (pass != reg.passThrough.end()) {
            m_pfnSuper = pass->second;
            m_bSubclassed = true;
            reg.passThrough.erase(pass);
            inChain = true;
        }
    }
    PreSubclassWindow();
    if (!inChain) {
        auto old = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
        if (old != &CWnd::StdWndProc)
            m_pfnSuper = old;
        HandleRegistry& reg = Registry();
        ExclusiveLock lock(reg.lock);
        m_bSubclassed = true;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWnd = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hWnd ? SubclassWindow(hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

void CWnd::Unbind(Leave how)
{
    const HWND hWnd = m_hWnd;
    if (!hWnd)
        return;
    const bool stayInChain = m_bSubclassed && how != Leave::WindowGone;
    {
        HandleRegistry& reg = Registry();
        ExclusiveLock lock(reg.lock);
        if (m_bPermanent) {
            auto it = reg.bound.find(hWnd);
            if (it != reg.bound.end() && it->second == this) {
                reg.bound.erase(it);
                ++reg.generation;
            }
        }
        // From here the window's messages pass us by; the pass-through stands in for
        // our place in the chain until it is relinked out or the window goes.
        if (stayInChain)
            reg.passThrough[hWnd] = m_pfnSuper;
        m_bPermanent = false;
        m_bSubclassed = false;
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    if (stayInChain && how == Leave::Relink)
        LeaveChain(hWnd);
}

// Takes a pass-through out of the window's chain where that can be done without
// cutting out anyone who subclassed after us.
void CWnd::LeaveChain(HWND hWnd)
{
    HandleRegistry& reg = Registry();
    WNDPROC previous;
    {
        SharedLock lock(reg.lock);
        auto it = reg.passThrough.find(hWnd);
        if (it == reg.passThrough.end())
            return;
        previous = it->second;
    }
    bool out = false;
    if (!::IsWindow(hWnd)) {
        out = true;
    } else if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == &CWnd::StdWndProc) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        out = true;
    } else {
        out = ::SendMessageA(hWnd, SinkRemovedMessage(), reinterpret_cast<WPARAM>(&CWnd::StdWndProc),
                             reinterpret_cast<LPARAM>(previous)) != 0;
    }
    if (out) {
        ExclusiveLock lock(reg.lock);
        reg.passThrough.erase(hWnd);
    }
}

LRESULT CWnd::ForwardUnbound(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HandleRegistry& reg = Registry();
    WNDPROC previous;
    {
        SharedLock lock(reg.lock);
        auto it = reg.passThrough.find(hWnd);
        if (it == reg.passThrough.end())
            return ::DefWindowProcA(hWnd, message, wParam, lParam);
        previous = it->second;
    }
    if (message == SinkRemovedMessage() && previous == reinterpret_cast<WNDPROC>(wParam)) {
        ExclusiveLock lock(reg.lock);
        reg.passThrough[hWnd] = reinterpret_cast<WNDPROC>(lParam);
        return 1;
    }
    if (message == WM_NCDESTROY) {
        ExclusiveLock lock(reg.lock);
        reg.passThrough.erase(hWnd);
    }
    return PassOn(previous, hWnd, message, wParam, lParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR className, LPCSTR windowName, DWORD dwStyle,
                    int x, int y, int cx, int cy, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x; cs.y = y; cs.cx = cx; cs.cy = cy;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = ::GetModuleHandleA(nullptr);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    ThreadState& ts = t_state;
    CWnd* outer = ts.creating;
    HHOOK outerHook = ts.createHook;
    ts.creating = this;
    ts.createHook = ::SetWindowsHookExA(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (ts.createHook)
        ::UnhookWindowsHookEx(ts.createHook);
    ts.createHook = outerHook;
    ts.creating = outer;
    if (!hWnd) {
        if (m_hWnd) UnsubclassWindow();
        return FALSE;
    }
    if (!m_hWnd)  // the hook did not see it (should not happen); bind now
        SubclassWindow(hWnd);
    m_bCreated = true;
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HeldWnd wnd(AcquireRouted(hWnd));
    if (!wnd)
        return ForwardUnbound(hWnd, message, wParam, lParam);
    // The protocol is between procedures, not objects: answered before any handler.
    if (message == SinkRemovedMessage()) {
        if (wnd->m_pfnSuper == reinterpret_cast<WNDPROC>(wParam)) {
            wnd->m_pfnSuper = reinterpret_cast<WNDPROC>(lParam);
            return 1;
        }
        return PassOn(wnd->m_pfnSuper, hWnd, message, wParam, lParam);
    }
    CurrentMessageScope scope(hWnd, message, wParam, lParam);
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY && wnd->m_hWnd == hWnd)
        wnd->OnNcDestroyCleanup();
    return result;
}

void CWnd::OnNcDestroyCleanup()
{
    Unbind(Leave::WindowGone);
    m_bCreated = false;
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& current = t_state.currentMsg;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &t_state.currentMsg; }

CurrentMessageScope::CurrentMessageScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG& current = t_state.currentMsg;
    m_outer = current;
    current.hwnd = hWnd;
    current.message = message;
    current.wParam = wParam;
    current.lParam = lParam;
}

CurrentMessageScope::~CurrentMessageScope() { t_state.currentMsg = m_outer; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Only the program's object hands notifications to its children's objects: another
    // layer on the same window would hand them over a second time.
    const bool toChildren = m_bPermanent;
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(wParam, lParam, pResult);
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: {
        const HeldWnd child(toChildren ? AcquirePermanent(reinterpret_cast<HWND>(lParam)) : nullptr);
        if (child && child.get() != this && child->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        const HeldWnd child(toChildren && dis && dis->CtlType != ODT_MENU ? AcquirePermanent(dis->hwndItem) : nullptr);
        if (child && child->OnChildNotify(message, wParam, lParam, pResult)) {
            *pResult = TRUE;
            return TRUE;
        }
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        const HeldWnd child(toChildren && mis && mis->CtlType != ODT_MENU
                                ? AcquirePermanent(::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID))) : nullptr);
        if (child && child->OnChildNotify(message, wParam, lParam, pResult)) {
            *pResult = TRUE;
            return TRUE;
        }
        break;
    }
    case WM_HSCROLL: case WM_VSCROLL: {
        const HeldWnd child(toChildren ? AcquirePermanent(reinterpret_cast<HWND>(lParam)) : nullptr);
        if (child && child->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
        break;
    }
    default:
        break;
    }
    return DispatchEntry(message, 0, 0, wParam, lParam, pResult) ? TRUE : FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);
    int code = HIWORD(wParam);
    if (control) {
        if (m_bPermanent) {
            if (NotificationLockout::IsLockedOut(m_hWnd))
                return TRUE;  // our own data exchange caused it: swallow
            const HeldWnd child(AcquirePermanent(control));
            LRESULT ignored = 0;
            if (child && child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored))
                return TRUE;
        }
    } else {
        code = 0;  // menus and accelerators are plain commands
    }
    return OnCmdMsg(id, code);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return FALSE;
    if (m_bPermanent) {
        if (NotificationLockout::IsLockedOut(m_hWnd))
            return TRUE;
        const HeldWnd child(AcquirePermanent(hdr->hwndFrom));
        if (child && child.get() != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
            return TRUE;
    }
    return DispatchEntry(WM_NOTIFY, hdr->code, static_cast<UINT>(hdr->idFrom), wParam, lParam, pResult) ? TRUE : FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND:
        return DispatchEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, wParam, lParam, pResult) ? TRUE : FALSE;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        return DispatchEntry(WM_REFLECT_BASE + WM_NOTIFY, hdr->code, 0, wParam, lParam, pResult) ? TRUE : FALSE;
    }
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        return DispatchEntry(WM_REFLECT_BASE + WM_CTLCOLOR_KEY, 0, 0, wParam,
                             static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX), pResult) ? TRUE : FALSE;
    default:
        return DispatchEntry(WM_REFLECT_BASE + message, 0, 0, wParam, lParam, pResult) ? TRUE : FALSE;
    }
}

void CWnd::GetWindowText(CString& text) const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBuffer(length + 1);
    buffer[0] = '\0';
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

BOOL CWnd::GrayCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor, HBRUSH hbrGray, COLORREF clrText)
{
    // Some senders pass no DC at all.
    if (!hDC || !hbrGray || nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_MSGBOX ||
        nCtlColor == CTLCOLOR_SCROLLBAR)
        return FALSE;
    if (nCtlColor == CTLCOLOR_LISTBOX) {
        // Only a drop-down combo asking for the strip between its edit and its button.
        char name[16] = "";
        if (!hWnd || !::GetClassNameA(hWnd, name, sizeof name) || lstrcmpiA(name, "ComboBox") != 0 ||
            (::GetWindowLongA(hWnd, GWL_STYLE) & 0x0F) != CBS_DROPDOWN)
            return FALSE;
    }
    LOGBRUSH logBrush{};
    if (!::GetObjectA(hbrGray, sizeof logBrush, &logBrush))
        return FALSE;
    ::SetBkColor(hDC, logBrush.lbColor);
    ::SetTextColor(hDC, clrText == CLR_INVALID ? ::GetSysColor(COLOR_WINDOWTEXT) : clrText);
    return TRUE;
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD remove, DWORD add, UINT swpFlags)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (swpFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, entries, {nullptr}};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

NotificationLockout::NotificationLockout(HWND hWnd) : m_previous(t_state.lockout) { t_state.lockout = hWnd; }
NotificationLockout::~NotificationLockout() { t_state.lockout = m_previous; }
bool NotificationLockout::IsLockedOut(HWND hWnd) { return hWnd && t_state.lockout == hWnd; }
