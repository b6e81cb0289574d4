#include "CSkinObjectBase.h"

#include "SkinRoutes.h"

const UINT WM_HOOKMANAGER_SINKREMOVED = RegisterWindowMessageA("WM_HOOKMANAGER_SINKREMOVED");

namespace {

using CallWindowProcFn = LRESULT(WINAPI*)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
using DefProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
using DefFrameProcFn = LRESULT(WINAPI*)(HWND, HWND, UINT, WPARAM, LPARAM);

// The exports themselves: an import slot of ours may hold the interception's replacement.
struct RealEntries {
    CallWindowProcFn callA;
    CallWindowProcFn callW;
};

const RealEntries& Real() {
    static const RealEntries entries = [] {
        HMODULE user = GetModuleHandleA("USER32.DLL");
        RealEntries e;
        e.callA = reinterpret_cast<CallWindowProcFn>(GetProcAddress(user, "CallWindowProcA"));
        e.callW = reinterpret_cast<CallWindowProcFn>(GetProcAddress(user, "CallWindowProcW"));
        return e;
    }();
    return entries;
}

// A receiver on another thread may be hung or gone; the answer then counts as "not unlinked".
LRESULT SendToWindow(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (GetWindowThreadProcessId(hWnd, nullptr) == GetCurrentThreadId())
        return ::SendMessageA(hWnd, message, wParam, lParam);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &answer))
        return 0;
    return static_cast<LRESULT>(answer);
}

}  // namespace

CSkinObjectBase::CSkinObjectBase() = default;

CSkinObjectBase::~CSkinObjectBase() {
    // The window was never ours: ~CWnd must neither destroy nor unsubclass it.
    m_hWnd = nullptr;
}

LONG CSkinObjectBase::AddRef() { return InterlockedIncrement(&m_refs); }

LONG CSkinObjectBase::Release() {
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return left;
}

void CSkinObjectBase::OnSkinChanged(BOOL, BOOL) { ReloadMetrics(); }

void CSkinObjectBase::QueryOptedOut() {
    m_optedOut = (m_hWnd && IsWindow(m_hWnd) && ::SendMessageA(m_hWnd, WM_SKINFRAMEWORK_QUERYSTATE, 0, 0) != 0);
}

void CSkinObjectBase::OnAttached(LPCREATESTRUCTA, BOOL autoAttached) {
    QueryOptedOut();
    if (!autoAttached) ReloadMetrics();
}

void CSkinObjectBase::OnSkinTimer(UINT_PTR id) {
    if (m_hWnd) ::KillTimer(m_hWnd, id);
}

BOOL CSkinObjectBase::OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    if (IsMessageExcluded(message) || PrefersDefaultRoute(message)) return FALSE;
    return OnWndMsg(message, wParam, lParam, &result);
}

BOOL CSkinObjectBase::OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    if (IsMessageExcluded(message)) return FALSE;
    if (message == WM_SKINFRAMEWORK_QUERYSTATE) {
        result = 0;
        return TRUE;
    }
    return OnWndMsg(message, wParam, lParam, &result);
}

BOOL CSkinObjectBase::PrefersDefaultRoute(UINT message) {
    if (message == WM_TIMER || m_systemProc) return FALSE;
    return TRUE;
}

BOOL CSkinObjectBase::IsMessageExcluded(UINT message) {
    switch (message) {
    case WM_ACTIVATE:
    case WM_SETCURSOR:
    case WM_NOTIFY:
    case WM_COMMAND:
        return TRUE;
    default:
        break;
    }
    if (message == WM_SKINFRAMEWORK_UPDATESTATE) QueryOptedOut();
    return FALSE;
}

BOOL CSkinObjectBase::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return DispatchEntry(message, 0, 0, wParam, lParam, pResult) ? TRUE : FALSE;
}

void CSkinObjectBase::AttachHook(HWND hWnd, LPCREATESTRUCTA createStruct, BOOL autoAttached) {
    m_hWnd = hWnd;
    m_unicode = IsWindowUnicode(hWnd);
    m_previousProc = reinterpret_cast<WNDPROC>(m_unicode ? GetWindowLongPtrW(hWnd, GWLP_WNDPROC)
                                                         : GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    m_systemProc = skin::IsSystemWindowProc(m_previousProc);
    // Old platforms put system procedures high; the framework's own procedure lives there too.
    if (!m_systemProc && m_engine && m_engine->IsWin9x() &&
        reinterpret_cast<ULONG_PTR>(m_previousProc) > 0x70000000 && m_previousProc != &CWnd::StdWndProc)
        m_systemProc = TRUE;
    if (m_systemProc || m_alwaysSubclass) InstallWindowProc();
    OnAttached(createStruct, autoAttached);
}

void CSkinObjectBase::InstallWindowProc() {
    if (m_subclassed || !m_hWnd) return;
    const LONG_PTR skinProc = reinterpret_cast<LONG_PTR>(&skin::SkinWindowProc);
    m_previousProc = reinterpret_cast<WNDPROC>(m_unicode ? GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)
                                                         : GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    if (m_unicode)
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, skinProc);
    else
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, skinProc);
    m_subclassed = TRUE;
}

void CSkinObjectBase::DetachHook(BOOL windowDestroyed) {
    if (m_subclassed && m_hWnd) {
        LRESULT unlinked = 0;
        if (!windowDestroyed)
            unlinked = SendToWindow(m_hWnd, WM_HOOKMANAGER_SINKREMOVED,
                                    reinterpret_cast<WPARAM>(&skin::SkinWindowProc),
                                    reinterpret_cast<LPARAM>(m_previousProc));
        if (windowDestroyed || unlinked == 0) {
            if (m_unicode)
                SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
            else
                SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        }
    }
    m_subclassed = FALSE;
    OnDetached(windowDestroyed);
}

void CSkinObjectBase::PushMessage(UINT message, int route, void* apiEntry, void* previousOrExtra) {
    InterlockedIncrement(&m_refs);
    AcquireSRWLockExclusive(&m_lock);
    m_stack.push_back(StackEntry{route, apiEntry, previousOrExtra, message});
    ReleaseSRWLockExclusive(&m_lock);
}

void CSkinObjectBase::PopMessage() {
    AcquireSRWLockExclusive(&m_lock);
    const bool had = !m_stack.empty();
    if (had) m_stack.pop_back();
    ReleaseSRWLockExclusive(&m_lock);
    if (had) Release();
}

UINT CSkinObjectBase::CurrentMessage() {
    AcquireSRWLockShared(&m_lock);
    const UINT message = m_stack.empty() ? 0 : m_stack.back().message;
    ReleaseSRWLockShared(&m_lock);
    return message;
}

LRESULT CSkinObjectBase::CallPrevious(WNDPROC procedure, UINT message, WPARAM wParam, LPARAM lParam) const {
    // A procedure read in the window's own form (A or W) is called as it is: CallWindowProc
    // would only add its own dispatch, which costs as much again as the message itself. Thunk
    // handles need the system's translation.
    if (procedure && !skin::IsThunkHandle(procedure)) return procedure(m_hWnd, message, wParam, lParam);
    const CallWindowProcFn call = m_unicode ? Real().callW : Real().callA;
    return call(procedure, m_hWnd, message, wParam, lParam);
}

LRESULT CSkinObjectBase::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    StackEntry top = {skin::RouteSubclass, nullptr, nullptr, 0};
    AcquireSRWLockShared(&m_lock);
    if (!m_stack.empty()) top = m_stack.back();
    ReleaseSRWLockShared(&m_lock);
    if (top.route != skin::RouteSubclass && !top.apiEntry) return 0;
    switch (top.route) {
    case skin::RouteSubclass:
        return CallPrevious(m_previousProc, message, wParam, lParam);
    case skin::RouteCallWindowProc:
        return reinterpret_cast<CallWindowProcFn>(top.apiEntry)(reinterpret_cast<WNDPROC>(top.previousOrExtra),
                                                                m_hWnd, message, wParam, lParam);
    case skin::RouteDefWindowProc:
    case skin::RouteDefMDIChildProc:
    case skin::RouteDefDlgProc:
        return reinterpret_cast<DefProcFn>(top.apiEntry)(m_hWnd, message, wParam, lParam);
    case skin::RouteDefFrameProc:
        return reinterpret_cast<DefFrameProcFn>(top.apiEntry)(m_hWnd, static_cast<HWND>(top.previousOrExtra),
                                                              message, wParam, lParam);
    default:
        return 0;
    }
}
