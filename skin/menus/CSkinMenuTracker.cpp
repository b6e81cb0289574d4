#include "CSkinMenuTracker.h"

#include <climits>
#include <vector>

#include "CSkinMenuItem.h"
#include "SkinMenuRules.h"

namespace mr = skin::menurules;

namespace {

thread_local CSkinMenuTracker* t_current = nullptr;

constexpr LPARAM kUninitSystem = 0x20000000;  // MF_SYSMENU in the high word

// The reference the tracker holds on a menu window; the window goes with the last one.
void ReleaseMenuWindow(CSkinMenuWindow* window) {
    if (!window) return;
    if (window->m_hWnd && IsWindow(window->m_hWnd)) window->DestroyWindow();
    window->InternalRelease();
}

RECT WorkAreaAt(POINT point) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

BOOL IsMirrored(HWND window) {
    return window && (GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)) != 0;
}

BOOL HasNotifyByPosition(HMENU menu) {
    using GetMenuInfoFn = BOOL(WINAPI*)(HMENU, LPMENUINFO);
    static const auto getMenuInfo =
        reinterpret_cast<GetMenuInfoFn>(GetProcAddress(GetModuleHandleA("USER32"), "GetMenuInfo"));
    if (!getMenuInfo || !menu) return FALSE;
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    return getMenuInfo(menu, &info) && (info.dwStyle & MNS_NOTIFYBYPOS) != 0;
}

// The system's menu mode grays what the window cannot do; an item offered here would act on a
// window that does not allow it (maximizing a fixed dialog).
void PrepareSystemMenu(HWND window, HMENU menu) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const BOOL iconic = IsIconic(window), zoomed = IsZoomed(window);
    const BOOL sizable = (style & WS_THICKFRAME) != 0;
    auto set = [menu](UINT command, BOOL enabled) {
        EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    };
    set(SC_RESTORE, iconic || zoomed);
    set(SC_MOVE, !zoomed);
    set(SC_SIZE, sizable && !iconic && !zoomed);
    set(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
    set(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
}

std::vector<mr::StepItem> StepItems(CSkinMenuWindow* window) {
    std::vector<mr::StepItem> items;
    const int count = window->ItemCount();
    for (int i = 0; i < count; ++i) {
        CSkinMenuItem* item = window->ItemAt(i);
        mr::StepItem step;
        if (item) {
            step.separator = item->IsSeparator() != FALSE;
            step.id = item->GetId();
        }
        items.push_back(step);
    }
    return items;
}

BOOL IsPress(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_NCLBUTTONDOWN ||
           message == WM_NCRBUTTONDOWN;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Entry points

CSkinMenuTracker* CSkinMenuTracker::Current() { return t_current; }

BOOL CSkinMenuTracker::TryTrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude,
                                    int* result) {
    *result = 0;
    // Capture and the modal loop only work on the owner's own thread.
    if (owner && IsWindow(owner) && GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId())
        return FALSE;
    if (t_current) {
        // One menu mode per thread, as the system has it.
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return TRUE;
    }
    if (!owner || !menu || !IsMenu(menu) || GetMenuItemCount(menu) <= 0) return TRUE;
    CSkinMenuTracker tracker(owner);
    *result = tracker.Track(menu, flags, x, y, owner, exclude);
    return tracker.m_root != nullptr || tracker.m_started;
}

int CSkinMenuTracker::TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
    int result = 0;
    TryTrackMenu(menu, flags, x, y, owner, exclude, &result);
    return result;
}

int CSkinMenuTracker::TrackSystemMenuAt(HWND window, int x, int y) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return 0;
    SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
    return TrackMenu(menu, kSystemMenuFlag | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, window, nullptr);
}

int CSkinMenuTracker::TrackSystemMenuFor(HWND window, int hitCode, int x, int y) {
    switch (hitCode) {
        case HTCAPTION:
        case HTSYSMENU:
        case HTMINBUTTON:
        case HTMAXBUTTON:
        case HTCLOSE: break;
        case HTMENU: return HTMENU;
        default: return -1;
    }
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return -1;
    UINT fallback = (IsZoomed(window) || IsIconic(window)) ? SC_RESTORE : SC_MAXIMIZE;
    SetMenuDefaultItem(menu, hitCode == HTSYSMENU ? SC_CLOSE : fallback, FALSE);
    return TrackMenu(menu, kSystemMenuFlag | TPM_RIGHTBUTTON, x, y, window, nullptr);
}

void CSkinMenuTracker::TrackBarByMouse(CSkinMenuWindow* bar, CSkinMenuWindow* alternate, POINT press) {
    if (!bar || !bar->m_hOwner || t_current) return;
    CSkinMenuTracker tracker(bar->m_hOwner);
    tracker.BeginBar(bar, alternate);
    tracker.Loop(&press);
    tracker.FinishBar();
}

void CSkinMenuTracker::TrackBarByKey(CSkinMenuWindow* bar, CSkinMenuWindow* alternate, UINT ch) {
    if (!bar || !bar->m_hOwner || t_current) return;
    CSkinMenuTracker tracker(bar->m_hOwner);
    tracker.BeginBar(bar, alternate);
    tracker.KeyMenu(ch);
    tracker.FinishBar();
}

// ---------------------------------------------------------------------------------------------
// Life of a run

CSkinMenuTracker::CSkinMenuTracker(HWND owner) : m_owner(owner) {
    if (CSkinEngine* engine = CSkinEngine::Instance()) m_skinObject = engine->FindSkinObjectRef(owner);
    UINT delay = 0;
    if (SystemParametersInfoA(SPI_GETMENUSHOWDELAY, 0, &delay, 0)) m_submenuDelay = delay;
    m_outer = t_current;
    t_current = this;
}

CSkinMenuTracker::~CSkinMenuTracker() { StepAside(); }

void CSkinMenuTracker::StepAside() {
    if (t_current == this) t_current = m_outer;
}

void CSkinMenuTracker::Begin() {
    m_root->InternalAddRef();
    m_buttonDown = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    Notify(WM_ENTERMENULOOP, 0, 0);
}

void CSkinMenuTracker::BeginBar(CSkinMenuWindow* bar, CSkinMenuWindow* alternate) {
    m_isBarRun = TRUE;
    m_root = bar;
    m_alternate = alternate;
    for (CSkinMenuWindow* w : {bar, alternate})
        if (w) {
            w->m_pTracker = this;
            w->m_nSelected = -1;
            w->m_bDropMode = FALSE;
            w->m_bTogglePending = FALSE;
        }
    if (alternate) alternate->InternalAddRef();
    Begin();
}

void CSkinMenuTracker::FinishBar() {
    // The bar belongs to the frame: only the run's own state goes.
    if (m_root) {
        CloseSubmenu(m_root);
        m_root->m_nSelected = -1;
        m_root->m_bDropMode = FALSE;
        m_root->m_pTracker = nullptr;
        Redraw(m_root);
        m_root->InternalRelease();
    }
    if (m_alternate) {
        CloseSubmenu(m_alternate);
        m_alternate->m_nSelected = -1;
        m_alternate->m_pTracker = nullptr;
        Redraw(m_alternate);
        m_alternate->InternalRelease();
    }
    m_root = m_alternate = nullptr;
}

int CSkinMenuTracker::Track(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
    if (!owner || !menu || GetMenuItemCount(menu) <= 0) return 0;
    m_owner = owner;
    const int button = (flags & TPM_RIGHTBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    const BOOL pressed = (GetKeyState(button) & 0x8000) != 0;

    CSkinMenuWindow* root = new CSkinMenuWindow();
    root->m_hOwner = owner;
    root->m_hMenu = menu;
    root->m_bSystemMenu = (flags & kSystemMenuFlag) != 0;
    root->m_pTracker = this;
    if (m_skinObject) root->SetSkinSource(m_skinObject);
    if (!root->CreateMenuWindow(owner)) {
        ReleaseMenuWindow(root);
        return 0;
    }
    m_root = root;
    m_noNotify = (flags & TPM_NONOTIFY) != 0;
    m_rightButton = (flags & TPM_RIGHTBUTTON) != 0;
    m_returnCommand = (flags & TPM_RETURNCMD) != 0;

    Begin();
    Start(FALSE);
    m_startedPressed = pressed;
    if (root->m_bSystemMenu) PrepareSystemMenu(owner, menu);
    if (!m_noNotify) {
        Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), root->m_bSystemMenu ? 0x10000 : 0);
        root->m_bPopupNotified = TRUE;
    }

    if (!m_closing && root->m_hWnd && IsMenu(menu) && root->ItemCount() > 0) {
        const SIZE size = root->Layout();
        mr::Placement at = mr::AlignPopup({x, y}, size.cx, size.cy, flags,
                                          (GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
        at = mr::FitToScreen(at, size.cx, size.cy, flags, exclude, WorkAreaAt({x, y}));
        root->m_bOpensLeftwards = at.leftwards;
        ShowPopup(root, at.at, size);
        m_buttonDown = m_startedPressed;
        Loop(nullptr);
    } else {
        EndMenu(0, 0, 0);
    }

    CloseSubmenu(root);
    if (root->m_bPopupNotified && !m_noNotify)
        Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), root->m_bSystemMenu ? kUninitSystem : 0);
    m_root = nullptr;
    root->m_pTracker = nullptr;
    ReleaseMenuWindow(root);  // the run's reference
    root->InternalRelease();  // creation's
    return m_returnCommand ? m_result : 1;
}

BOOL CSkinMenuTracker::Start(BOOL keyboard) {
    if (!m_root || !IsWindow(m_owner)) return FALSE;
    m_keyboard = keyboard;
    m_captureWindow = m_owner;
    SetCapture(m_owner);
    SendMessageA(m_owner, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_owner), HTCAPTION);
    m_notifyByPosition = HasNotifyByPosition(m_root->m_hMenu);
    Notify(WM_INITMENU, reinterpret_cast<WPARAM>(m_root->m_hMenu), 0);
    m_started = TRUE;
    return TRUE;
}

void CSkinMenuTracker::KeyMenu(UINT ch) {
    if (m_buttonDown || !m_root) return;
    if (!Start(TRUE)) {
        EndMenu(0, 0, 0);
        return;
    }
    m_tracking = TRUE;
    const BOOL child = (GetWindowLongA(m_owner, GWL_STYLE) & WS_CHILD) != 0;
    if (ch == 0) {
        Select(m_root, FirstPosition(m_root, 1));
    } else if (ch == ' ' || (ch == '-' && child)) {
        if (!m_alternate && !m_root->m_bSystemMenu) {
            EndMenu(0, 0, 0);
        } else {
            CloseSubmenu(m_root);
            if (!m_root->m_bSystemMenu) SwapRoots();
            Select(m_root, 0);
            OpenSubmenu(m_root);
        }
    } else {
        Mnemonic(m_root, ch);
        if (!m_closing && m_root && m_root->m_nSelected < 0) EndMenu(0, 0, 0);
    }
    // Ended already (no such mnemonic, a command chosen): the loop would only end it twice.
    if (m_closing) return;
    Loop(nullptr);
}

void CSkinMenuTracker::Loop(const POINT* press) {
    m_tracking = TRUE;
    m_closing = FALSE;
    if (!m_started && !Start(FALSE)) EndMenu(0, 0, 0);
    if (press && m_root && m_root->m_bIsBar && m_tracking) PressAt(*press, FALSE, nullptr);

    BOOL busy = TRUE;  // the first idle moment is reported
    while (m_tracking && m_root && GetCapture() == m_captureWindow) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (busy && !m_noNotify) {
                CSkinMenuWindow* deepest = Deepest();
                Notify(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(deepest ? deepest->m_hWnd : nullptr));
            }
            busy = FALSE;
            if (!m_tracking || GetCapture() != m_captureWindow) break;
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
            continue;
        }
        // A press stays queued until handled: one that closes the menu then reaches the window
        // under the cursor.
        if (!IsPress(msg.message) && !PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
        if (msg.message == WM_QUIT) {
            EndMenu(0, 0, 0);
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message != WM_TIMER && msg.message != WM_PAINT) busy = TRUE;
        if (!HandleMessage(msg)) {
            if (IsPress(msg.message)) RemoveQueued(msg);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    m_tracking = FALSE;
    m_captureWindow = nullptr;
    EndMenu(0, 0, 0);
    ReleaseCapture();
}

void CSkinMenuTracker::RemoveQueued(const MSG& msg) {
    MSG removed;
    PeekMessageA(&removed, msg.hwnd, msg.message, msg.message, PM_REMOVE);
}

// ---------------------------------------------------------------------------------------------
// Messages

BOOL CSkinMenuTracker::HandleMessage(MSG& msg) {
    UINT message = msg.message;
    if (message >= WM_NCMOUSEMOVE && message <= WM_NCRBUTTONUP) message = message - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
    if (message >= WM_MOUSEMOVE && message <= WM_RBUTTONUP) {
        POINT cursor;
        GetCursorPos(&cursor);
        const Hit hit = HitTest(cursor);
        switch (message) {
            case WM_MOUSEMOVE: MouseMove(cursor.x, cursor.y); return TRUE;
            case WM_RBUTTONDOWN:
                if (!m_rightButton) {
                    m_keyboard = FALSE;
                    if (!hit.window)
                        EndMenu(0, 0, 0);
                    else
                        RemoveQueued(msg);
                    return TRUE;
                }
                [[fallthrough]];  // the tracking button chooses as the left one does
            case WM_LBUTTONDOWN:
                m_keyboard = FALSE;
                if (!hit.window) {
                    EndMenu(0, 0, 0);
                    return TRUE;
                }
                PressAt(cursor, TRUE, &msg);
                return TRUE;
            case WM_RBUTTONUP:
                if (!m_rightButton) return TRUE;
                [[fallthrough]];  // the tracking button's release
            case WM_LBUTTONUP:
                if (!m_buttonDown) return TRUE;
                if (m_isBarRun) {
                    if (hit.window && hit.position >= 0)
                        Release(hit.window, hit.position);
                    else if (!hit.window)
                        EndMenu(0, 0, 0);
                } else if (hit.window && hit.position >= 0) {
                    m_startedPressed = FALSE;
                    Release(hit.window, hit.position);
                } else if (!hit.window) {
                    const BOOL heldOpen = m_startedPressed;
                    m_startedPressed = FALSE;
                    m_buttonDown = FALSE;
                    if (!heldOpen) EndMenu(0, 0, 0);
                }
                m_buttonDown = FALSE;
                return TRUE;
            case WM_LBUTTONDBLCLK: DoubleClickAt(cursor); return TRUE;
            default: return FALSE;
        }
    }
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            if (m_buttonDown) return TRUE;
            m_keyboard = TRUE;
            const UINT key = static_cast<UINT>(msg.wParam);
            switch (key) {
                case VK_RETURN:
                case VK_MENU:
                case VK_ESCAPE:
                case VK_LEFT:
                case VK_RIGHT:
                case VK_UP:
                case VK_DOWN:
                case VK_F10: Key(Deepest(), key); return TRUE;
                case VK_CANCEL:
                case VK_F1: return TRUE;
                case VK_TAB:
                    if (m_isBarRun && m_root && !m_root->m_pChild) {
                        EndMenu(0, 0, 0);
                        return TRUE;
                    }
                    break;
                default: break;
            }
            TranslateMessage(&msg);
            return TRUE;
        }
        case WM_KEYUP: TranslateMessage(&msg); return TRUE;
        case WM_SYSKEYUP: return TRUE;
        case WM_CHAR:
        case WM_SYSCHAR: Mnemonic(Deepest(), static_cast<UINT>(msg.wParam)); return TRUE;
        case WM_TIMER: {
            // A bar's window is the frame, whose own timers go on as usual.
            if (!IsRunWindow(msg.hwnd) || (msg.wParam != kOpenTimer && msg.wParam != kCloseTimer)) return FALSE;
            for (CSkinMenuWindow* w = m_root; w; w = w->m_pChild) {
                if (w->m_hWnd != msg.hwnd) continue;
                if (msg.wParam == kOpenTimer && w->m_nOpenTimer == kOpenTimer)
                    OpenSubmenu(w);
                else if (msg.wParam == kCloseTimer && w->m_nCloseTimer == kCloseTimer)
                    CloseSubmenu(w);
                break;
            }
            return TRUE;
        }
        default: return FALSE;
    }
}

void CSkinMenuTracker::PressAt(POINT screen, BOOL removeQueued, const MSG* queued) {
    Hit hit = HitTest(screen);
    if (removeQueued && queued) RemoveQueued(*queued);
    if (!hit.window) return;
    if (hit.window == m_alternate) {
        SwapRoots();
        hit.window = m_root;
    }
    if (hit.position >= 0)
        Press(hit.window, hit.position, TRUE);
    else
        m_buttonDown = TRUE;
}

void CSkinMenuTracker::DoubleClickAt(POINT screen) {
    const Hit hit = HitTest(screen);
    if (!hit.window) {
        EndMenu(0, 0, 0);
        return;
    }
    CSkinMenuItem* item = hit.window->ItemAt(hit.position);
    if (!item || !item->IsEnabled() || item->IsSeparator()) return;
    if (HMENU submenu = item->GetSubMenu()) {
        const UINT position = GetMenuDefaultItem(submenu, TRUE, 0);
        if (position == static_cast<UINT>(-1)) return;
        // The default item of a submenu is chosen as an item of that submenu.
        CSkinMenuWindow* owner = hit.window;
        if (owner->m_nOpenPosition != hit.position || !owner->m_pChild) {
            Select(owner, hit.position);
            OpenSubmenu(owner);
        }
        if (owner->m_pChild && owner->m_pChild->m_hMenu == submenu) {
            Execute(owner->m_pChild, static_cast<int>(position));
            return;
        }
        // No window for the submenu: the command goes out as its own.
        const UINT id = GetMenuItemID(submenu, static_cast<int>(position));
        if (m_root->m_bSystemMenu)
            EndMenu(WM_SYSCOMMAND, id, 0);
        else if (m_notifyByPosition)
            EndMenu(WM_MENUCOMMAND, position, reinterpret_cast<LPARAM>(submenu));
        else
            EndMenu(WM_COMMAND, id, 0);
        if (m_returnCommand) m_result = static_cast<int>(id);
        return;
    }
    Execute(hit.window, hit.position);
}

void CSkinMenuTracker::MouseMove(int x, int y) {
    if (x == m_lastX && y == m_lastY) return;
    m_lastX = x;
    m_lastY = y;
    const Hit hit = HitTest({x, y});
    if (m_keyboard) {
        if (!hit.window) return;
        m_keyboard = FALSE;
    }
    if (hit.window && hit.window == m_alternate) {
        if (!m_buttonDown)
            ClearSelection(Deepest());
        else
            SwapRoots();
        return;
    }
    if (!hit.window) {
        ClearSelection(Deepest());
        return;
    }
    CSkinMenuWindow* window = hit.window;
    if (window->m_bIsBar) {
        if (hit.position >= 0) Press(window, hit.position, FALSE);
        return;
    }
    // Anywhere in the submenu counts as reaching it, its margins and the space below a shorter
    // column too, though no item there changes the selection.
    KeepOpen(window);
    Select(window, hit.position);
    CSkinMenuItem* item = window->ItemAt(hit.position);
    if (!item || !item->IsEnabled() || !item->GetSubMenu()) return;
    if (window->m_nOpenTimer || (window->m_pChild && window->m_nOpenPosition == hit.position)) return;
    if (SetTimer(window->m_hWnd, kOpenTimer, m_submenuDelay, nullptr)) {
        window->m_nOpenTimer = kOpenTimer;
    } else if (window->m_pChild) {
        CloseSubmenu(window->m_pChild);
        ClearSelection(window->m_pChild);
    }
}

void CSkinMenuTracker::Press(CSkinMenuWindow* window, int position, BOOL down) {
    if (!window) return;
    if (position == window->m_nSelected) {
        if (down) window->m_bTogglePending = TRUE;
        if (window->m_pChild) {
            CloseSubmenu(window->m_pChild);
            ClearSelection(window->m_pChild);
        } else if (down) {
            OpenSubmenu(window);
            if (window->m_pChild) window->m_bTogglePending = FALSE;
        }
    } else {
        Select(window, position);
        if (down || (window->m_bIsBar && window->m_bDropMode)) OpenSubmenu(window);
    }
    if (down) m_buttonDown = TRUE;
}

void CSkinMenuTracker::Release(CSkinMenuWindow* window, int position) {
    if (!m_buttonDown || !window || position != window->m_nSelected) return;
    if (window->m_bIsBar && window->m_pChild) {
        if (window->m_bTogglePending) EndMenu(0, 0, 0);
        return;
    }
    if (!window->m_bIsBar && window->m_nOpenTimer) {
        OpenSubmenu(window);
        return;
    }
    CSkinMenuItem* item = window->ItemAt(position);
    if (item && item->IsEnabled() && !item->IsSeparator() && !item->GetSubMenu()) Execute(window, position);
}

void CSkinMenuTracker::Key(CSkinMenuWindow* window, UINT key) { KeyOn(window, key, FALSE); }

void CSkinMenuTracker::KeyOn(CSkinMenuWindow* window, UINT key, BOOL fromChild) {
    if (!window || m_buttonDown) return;
    // Mirrored once where the key arrives: a key passed up already has the sense it was given, and
    // turning it again in a mirrored parent would make Right in a nested submenu go deeper.
    if (!fromChild && (key == VK_LEFT || key == VK_RIGHT) && window->m_hWnd && !window->m_bIsBar &&
        (GetWindowLongA(window->m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL))
        key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
    CSkinMenuItem* selected = window->ItemAt(window->m_nSelected);
    switch (key) {
        case VK_RETURN:
            if (!selected) return;
            if (!selected->IsEnabled()) {
                EndMenu(0, 0, 0);
            } else if (selected->GetSubMenu()) {
                OpenSubmenu(window);
            } else if (!selected->IsSeparator()) {
                Execute(window, window->m_nSelected);
            }
            return;
        case VK_MENU:
        case VK_F10: EndMenu(0, 0, 0); return;
        case VK_ESCAPE:
            if (window != m_root && !window->m_bIsBar && window->m_pParent) {
                CSkinMenuWindow* parent = window->m_pParent;
                CloseSubmenu(parent);
                parent->m_bDropMode = FALSE;
            } else {
                EndMenu(0, 0, 0);
            }
            return;
        case VK_LEFT:
        case VK_RIGHT:
            if (window->m_bIsBar) {
                BarStep(window, key == VK_RIGHT ? 1 : -1);
                return;
            }
            if (key == VK_RIGHT && !fromChild && selected && selected->IsEnabled() && selected->GetSubMenu()) {
                OpenSubmenu(window);
                return;
            }
            if (key == VK_LEFT && fromChild && window->m_pChild) {
                CloseSubmenu(window);
                return;
            }
            if (window->m_pParent) KeyOn(window->m_pParent, key, TRUE);
            return;
        case VK_UP:
        case VK_DOWN:
            if (window->m_bIsBar) {
                OpenSubmenu(window);
                return;
            }
            {
                const int next = mr::NextItem(StepItems(window), window->m_nSelected, key == VK_DOWN ? 1 : -1, true,
                                              false);
                if (next >= 0) Select(window, next);
            }
            return;
        default: return;
    }
}

void CSkinMenuTracker::BarStep(CSkinMenuWindow* bar, int direction) {
    const BOOL reopen = bar->m_pChild != nullptr || bar->m_bDropMode;
    int next = mr::NextItem(StepItems(bar), bar->m_nSelected, direction, false, !bar->m_bSystemMenu);
    if (next < 0) {
        if (!m_alternate) {
            next = FirstPosition(bar, direction);
        } else {
            SwapRoots();
            bar = m_root;
            next = FirstPosition(bar, direction);
        }
    }
    if (next < 0) return;
    Select(bar, next);
    if (reopen) OpenSubmenu(bar);
}

void CSkinMenuTracker::Mnemonic(CSkinMenuWindow* window, UINT ch) {
    if (!window || m_closing) return;
    std::vector<mr::MnemonicItem> items;
    const int count = window->ItemCount();
    for (int i = 0; i < count; ++i) {
        CSkinMenuItem* item = window->ItemAt(i);
        mr::MnemonicItem entry;
        if (item && !item->IsSeparator() && !item->IsOwnerDrawn()) {
            const CString text = item->GetText();
            entry.text.assign(text.GetString(), static_cast<size_t>(text.GetLength()));
        }
        entry.enabled = item && item->IsEnabled();
        items.push_back(entry);
    }
    const mr::MnemonicMatch match = mr::MatchMnemonic(items, window->m_nSelected, static_cast<char>(ch));
    switch (match.kind) {
        case mr::MnemonicMatch::AllDisabled: EndMenu(0, 0, 0); return;
        case mr::MnemonicMatch::Select: Select(window, match.position); return;
        case mr::MnemonicMatch::Execute:
            Select(window, match.position);
            KeyOn(window, VK_RETURN, FALSE);
            return;
        case mr::MnemonicMatch::None: break;
    }
    if (ch == ' ' && window->m_bIsBar) {
        if (m_alternate && !window->m_bSystemMenu) {
            SwapRoots();
            Select(m_root, 0);
            Press(m_root, 0, FALSE);
            OpenSubmenu(m_root);
        } else if (window->m_bSystemMenu) {
            Select(window, 0);
            OpenSubmenu(window);
        }
        return;
    }
    if (m_noNotify) return;
    const WORD kind = static_cast<WORD>((window->m_bSystemMenu ? MF_SYSMENU : 0) | (window->m_bIsBar ? 0 : MF_POPUP));
    const LRESULT reply = SendMessageA(m_owner, WM_MENUCHAR, MAKEWPARAM(ch & 0xFFFF, kind),
                                       reinterpret_cast<LPARAM>(window->m_hMenu));
    if (m_closing || !m_tracking) return;
    const mr::MenuCharAction action = mr::ReadMenuCharReply(reply, window->ItemCount());
    switch (action.kind) {
        case mr::MenuCharAction::Ignore: return;
        case mr::MenuCharAction::Beep:
            MessageBeep(0);
            if (window->m_bIsBar) EndMenu(0, 0, 0);
            return;
        case mr::MenuCharAction::Close: EndMenu(0, 0, 0); return;
        case mr::MenuCharAction::Select: Select(window, action.position); return;
        case mr::MenuCharAction::Execute:
            Select(window, action.position);
            KeyOn(window, VK_RETURN, FALSE);
            return;
    }
}

void CSkinMenuTracker::Execute(CSkinMenuWindow* window, int position) {
    CSkinMenuItem* item = window ? window->ItemAt(position) : nullptr;
    if (!item || !m_root) return;
    const UINT id = item->GetId();
    if (m_root->m_bSystemMenu)
        EndMenu(WM_SYSCOMMAND, id, 0);
    else if (m_notifyByPosition)
        EndMenu(WM_MENUCOMMAND, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(window->m_hMenu));
    else
        EndMenu(WM_COMMAND, id, 0);
    // Asked for the command, the caller gets the identifier even from a menu that reports by position.
    if (m_returnCommand) m_result = static_cast<int>(id);
}

void CSkinMenuTracker::EndMenu(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_closing) return;
    m_closing = TRUE;
    m_tracking = FALSE;
    m_buttonDown = FALSE;
    if (m_root) {
        CloseSubmenu(m_root);
        if (m_root->m_nSelected >= 0) {
            m_root->m_nSelected = -1;
            Redraw(m_root);
        }
    }
    ReleaseCapture();
    if (m_owner) {
        if (m_root && !m_root->m_bIsBar) {
            CloseSubmenu(m_root);
            if (m_root->m_hWnd && IsWindow(m_root->m_hWnd)) m_root->DestroyWindow();
        }
        SendMessageA(m_owner, WM_MENUSELECT, 0xFFFF0000, 0);
        Notify(WM_EXITMENULOOP, 0, 0);
    }
    m_result = static_cast<int>(wParam);
    if (!message) return;
    PlaySound(CSkinMenuSound::Command);
    const mr::DeliveryPlan plan = mr::PlanDelivery(message, m_returnCommand != FALSE);
    if (plan.how == mr::Delivery::Post) {
        PostMessageA(m_owner, message, wParam, lParam);
    } else if (plan.how == mr::Delivery::Send) {
        // The menu is gone: a handler of the command may open the next one on this thread.
        StepAside();
        SendMessageA(m_owner, message, wParam, lParam);
    }
    if (plan.repaintFrameAfter && IsWindow(m_owner)) SendMessageA(m_owner, WM_NCPAINT, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Submenus and selection

void CSkinMenuTracker::OpenSubmenu(CSkinMenuWindow* window) {
    if (!window || window->m_nSelected < 0) return;
    if (window->m_pChild) {
        if (!window->m_nCloseTimer) return;
        CloseSubmenu(window);
    }
    if (window->m_nOpenTimer) {
        KillTimer(window->m_hWnd, kOpenTimer);
        window->m_nOpenTimer = 0;
    }
    const int position = window->m_nSelected;
    CSkinMenuItem* item = window->ItemAt(position);
    if (!item) return;
    HMENU submenu = item->GetSubMenu();
    if (!submenu) return;
    const BOOL enabled = item->IsEnabled();
    BOOL notified = FALSE;
    if (!m_noNotify) {
        if (window->m_bSystemMenu) PrepareSystemMenu(m_owner, submenu);
        Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), MAKELPARAM(position, window->m_bSystemMenu));
        notified = TRUE;
    }
    CSkinMenuWindow* child = nullptr;
    // The owner may have changed the menu or ended the run while it was told.
    item = window->ItemAt(position);
    if (item && m_tracking && !m_closing && enabled && IsMenu(submenu) && GetMenuItemCount(submenu) > 0 &&
        window->m_nSelected == position && !window->m_pChild) {
        child = new CSkinMenuWindow();
        child->m_hOwner = m_owner;
        child->m_hMenu = submenu;
        child->m_bSystemMenu = window->m_bSystemMenu;
        child->m_pTracker = this;
        if (m_skinObject) child->SetSkinSource(m_skinObject);
        if (!child->CreateMenuWindow(m_owner)) {
            ReleaseMenuWindow(child);
            child = nullptr;
        }
    }
    if (!child) {
        if (notified)
            Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), window->m_bSystemMenu ? kUninitSystem : 0);
        return;
    }
    child->m_bPopupNotified = notified;
    child->m_pParent = window;
    window->m_pChild = child;
    if (window->m_bIsBar) window->m_bDropMode = TRUE;
    UpdateWindow(m_owner);

    const SIZE size = child->Layout();
    mr::SubmenuRequest request;
    request.item = window->ItemScreenRect(item);
    request.w = size.cx;
    request.h = size.cy;
    request.underBar = window->m_bIsBar != FALSE;
    request.parentLeftwards = window->m_bOpensLeftwards != FALSE;
    request.ownerMinimized = IsIconic(m_owner) != FALSE;
    request.ownerMirrored = IsMirrored(m_owner) != FALSE;
    request.menuBarHeight = GetSystemMetrics(SM_CYMENUSIZE);
    request.work = WorkAreaAt({request.item.left, request.item.top});
    const mr::Placement at = mr::PlaceSubmenu(request);
    child->m_bOpensLeftwards = at.leftwards;
    ShowPopup(child, at.at, size);
    window->m_nOpenPosition = position;
    if (m_keyboard) Select(child, FirstPosition(child, 1));
    UpdateWindow(child->m_hWnd);
}

void CSkinMenuTracker::CloseSubmenu(CSkinMenuWindow* window) {
    if (!window) return;
    if (window->m_nCloseTimer) {
        KillTimer(window->m_hWnd, kCloseTimer);
        window->m_nCloseTimer = 0;
    }
    CSkinMenuWindow* child = window->m_pChild;
    if (!child) {
        window->m_nOpenPosition = -1;
        return;
    }
    CloseSubmenu(child);
    window->m_pChild = nullptr;
    window->m_nOpenPosition = -1;
    if (!child->m_bIsBar) {
        StopTimers(child);
        if (child->m_bPopupNotified && !m_noNotify)
            Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(child->m_hMenu),
                   child->m_bSystemMenu ? kUninitSystem : 0);
        child->m_pParent = nullptr;
        child->m_pTracker = nullptr;
        ReleaseMenuWindow(child);
    }
    if (window->m_nSelected >= 0) SendMenuSelect(window);
}

void CSkinMenuTracker::Select(CSkinMenuWindow* window, int position) {
    if (!window || window->m_nSelected == position) return;
    if (window->m_nOpenTimer) {
        KillTimer(window->m_hWnd, kOpenTimer);
        window->m_nOpenTimer = 0;
    }
    KeepOpen(window);
    if (window->m_pChild) {
        if (position == window->m_nOpenPosition) {
            // Back on the item whose submenu is still open: it stays.
            if (window->m_nCloseTimer) {
                KillTimer(window->m_hWnd, kCloseTimer);
                window->m_nCloseTimer = 0;
            }
            window->m_pChild->m_bParentMovedAway = FALSE;
        } else if (window->m_nSelected >= 0) {
            if (window->m_bIsBar) {
                CloseSubmenu(window);
            } else if (!window->m_nCloseTimer) {
                if (SetTimer(window->m_hWnd, kCloseTimer, m_submenuDelay, nullptr)) {
                    window->m_nCloseTimer = kCloseTimer;
                    window->m_pChild->m_bParentMovedAway = TRUE;
                }
            }
        }
    }
    window->m_nSelected = position;
    window->m_bTogglePending = FALSE;
    Redraw(window);
    SendMenuSelect(window);
}

void CSkinMenuTracker::KeepOpen(CSkinMenuWindow* window) {
    CSkinMenuWindow* parent = window ? window->m_pParent : nullptr;
    if (!parent || !window->m_bParentMovedAway || !parent->m_nCloseTimer) return;
    // Reached the submenu before its parent gave up on it: the parent keeps it.
    StopTimers(parent);
    window->m_bParentMovedAway = FALSE;
    if (parent->m_nSelected != parent->m_nOpenPosition) {
        parent->m_nSelected = parent->m_nOpenPosition;
        Redraw(parent);
        SendMenuSelect(parent);
    }
}

// ---------------------------------------------------------------------------------------------
// Helpers

CSkinMenuWindow* CSkinMenuTracker::Deepest() const {
    CSkinMenuWindow* w = m_root;
    while (w && w->m_pChild) w = w->m_pChild;
    return w;
}

CSkinMenuTracker::Hit CSkinMenuTracker::HitTest(POINT screen) const {
    std::vector<CSkinMenuWindow*> chain;
    for (CSkinMenuWindow* w = m_root; w; w = w->m_pChild) chain.push_back(w);
    if (m_alternate) chain.insert(chain.begin(), m_alternate);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        CSkinMenuWindow* w = *it;
        Hit hit;
        const int count = w->ItemCount();
        for (int i = 0; i < count; ++i) {
            CSkinMenuItem* item = w->ItemAt(i);
            if (!item) continue;
            const RECT r = w->ItemScreenRect(item);
            if (PtInRect(&r, screen)) {
                hit.window = w;
                hit.position = i;
                break;
            }
        }
        if (hit.window) return hit;
        if (w->m_bIsBar || !w->m_hWnd) continue;
        RECT frame;
        if (IsWindowVisible(w->m_hWnd) && GetWindowRect(w->m_hWnd, &frame) && PtInRect(&frame, screen)) {
            hit.window = w;
            return hit;
        }
    }
    return Hit();
}

BOOL CSkinMenuTracker::IsRunWindow(HWND hwnd) const {
    if (!hwnd) return FALSE;
    for (CSkinMenuWindow* w = m_root; w; w = w->m_pChild)
        if (w->m_hWnd == hwnd) return TRUE;
    return m_alternate && m_alternate->m_hWnd == hwnd;
}

void CSkinMenuTracker::SendMenuSelect(CSkinMenuWindow* window) {
    if (!window || !m_owner) return;
    WPARAM wParam = 0;
    if (CSkinMenuItem* item = window->ItemAt(window->m_nSelected))
        wParam = mr::MenuSelectParam(item->GetId(), window->m_nSelected, item->GetType(), item->GetState(),
                                     item->GetSubMenu() != nullptr, m_keyboard != FALSE, window->m_bSystemMenu != FALSE);
    SendMessageA(m_owner, WM_MENUSELECT, wParam, reinterpret_cast<LPARAM>(window->m_hMenu));
}

void CSkinMenuTracker::Redraw(CSkinMenuWindow* window) {
    if (!window || !window->m_hWnd) return;
    if (window->m_bIsBar)
        SendMessageA(window->m_hWnd, WM_NCPAINT, 1, 0);
    else
        InvalidateRect(window->m_hWnd, nullptr, FALSE);
}

void CSkinMenuTracker::ClearSelection(CSkinMenuWindow* window) {
    if (window) Select(window, -1);
}

void CSkinMenuTracker::SwapRoots() {
    if (!m_alternate || !m_root) return;
    CloseSubmenu(m_root);
    if (m_root->m_nSelected >= 0) {
        m_root->m_nSelected = -1;
        Redraw(m_root);
    }
    m_root->m_bDropMode = FALSE;
    std::swap(m_root, m_alternate);
}

int CSkinMenuTracker::FirstPosition(CSkinMenuWindow* window, int direction) {
    return mr::NextItem(StepItems(window), -1, direction, true, window->m_bIsBar && !window->m_bSystemMenu);
}

void CSkinMenuTracker::StopTimers(CSkinMenuWindow* window) {
    if (window->m_nOpenTimer) KillTimer(window->m_hWnd, kOpenTimer);
    if (window->m_nCloseTimer) KillTimer(window->m_hWnd, kCloseTimer);
    window->m_nOpenTimer = window->m_nCloseTimer = 0;
}

void CSkinMenuTracker::Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_noNotify && m_owner) SendMessageA(m_owner, message, wParam, lParam);
}

void CSkinMenuTracker::PlaySound(int kind) {
    if (CSkinMenuSound* sound = CSkinMenuSound::Instance()) sound->Play(kind);
}

void CSkinMenuTracker::ShowPopup(CSkinMenuWindow* window, POINT at, SIZE size) {
    PlaySound(CSkinMenuSound::Popup);
    SetWindowPos(window->m_hWnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy,
                 SWP_NOOWNERZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}
