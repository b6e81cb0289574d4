#include "CWnd.h"
#include "CDC.h"
#include <mutex>
#include <unordered_map>

namespace {

// Permanent handle map. Windows of every thread share it; the lock is cheap
// next to a message dispatch.
std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static auto* map = new std::unordered_map<HWND, CWnd*>();  // outlives static destructors
    return *map;
}

thread_local MSG t_currentMsg = {};
thread_local HWND t_lockout = nullptr;
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_createHook = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(t_createHook, code, wParam, lParam);
}

}  // namespace

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::~CWnd()
{
    if (m_hWnd) {
        if (m_bCreated && ::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        else
            UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = HandleMap().find(hWnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    {
        std::lock_guard<std::mutex> lock(g_mapLock);
        if (!HandleMap().emplace(hWnd, this).second)
            return FALSE;  // another object already owns this window
    }
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        std::lock_guard<std::mutex> lock(g_mapLock);
        auto it = HandleMap().find(hWnd);
        if (it != HandleMap().end() && it->second == this)
            HandleMap().erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
    if (old != &CWnd::StdWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWnd = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hWnd ? SubclassWindow(hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd && m_pfnSuper && ::IsWindow(m_hWnd)) {
        // Only put the old procedure back if nobody subclassed after us.
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &CWnd::StdWndProc)
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    return Detach();
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

    CWnd* outer = t_creating;
    HHOOK outerHook = t_createHook;
    t_creating = this;
    t_createHook = ::SetWindowsHookExA(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (t_createHook)
        ::UnhookWindowsHookEx(t_createHook);
    t_createHook = outerHook;
    t_creating = outer;
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
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const MSG outer = t_currentMsg;
    t_currentMsg.hwnd = hWnd;
    t_currentMsg.message = message;
    t_currentMsg.wParam = wParam;
    t_currentMsg.lParam = lParam;
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        wnd->OnNcDestroyCleanup();
    t_currentMsg = outer;
    return result;
}

void CWnd::OnNcDestroyCleanup()
{
    UnsubclassWindow();
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
    return DefWindowProc(t_currentMsg.message, t_currentMsg.wParam, t_currentMsg.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &t_currentMsg; }

CurrentMessageScope::CurrentMessageScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    : m_outer(t_currentMsg)
{
    t_currentMsg.hwnd = hWnd;
    t_currentMsg.message = message;
    t_currentMsg.wParam = wParam;
    t_currentMsg.lParam = lParam;
}

CurrentMessageScope::~CurrentMessageScope() { t_currentMsg = m_outer; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
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
        CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        CWnd* child = (dis && dis->CtlType != ODT_MENU) ? FromHandlePermanent(dis->hwndItem) : nullptr;
        if (child && child->OnChildNotify(message, wParam, lParam, pResult)) {
            *pResult = TRUE;
            return TRUE;
        }
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        CWnd* child = (mis && mis->CtlType != ODT_MENU) ? FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID))) : nullptr;
        if (child && child->OnChildNotify(message, wParam, lParam, pResult)) {
            *pResult = TRUE;
            return TRUE;
        }
        break;
    }
    case WM_HSCROLL: case WM_VSCROLL: {
        CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
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
        if (NotificationLockout::IsLockedOut(m_hWnd))
            return TRUE;  // our own data exchange caused it: swallow
        CWnd* child = FromHandlePermanent(control);
        LRESULT ignored = 0;
        if (child && child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored))
            return TRUE;
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
    if (NotificationLockout::IsLockedOut(m_hWnd))
        return TRUE;
    CWnd* child = FromHandlePermanent(hdr->hwndFrom);
    if (child && child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
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
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

NotificationLockout::NotificationLockout(HWND hWnd) : m_previous(t_lockout) { t_lockout = hWnd; }
NotificationLockout::~NotificationLockout() { t_lockout = m_previous; }
bool NotificationLockout::IsLockedOut(HWND hWnd) { return hWnd && t_lockout == hWnd; }
