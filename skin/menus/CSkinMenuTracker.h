#pragma once
// Runs one menu from opening to closing in place of the system's menu mode: its own modal loop
// with the mouse captured, highlight by mouse and keyboard, submenus after the system's menu
// delay, the owner's notifications in the system's order, and the chosen command at the end.
// One tracker per run, on the owner's thread; a second run on a thread that is tracking fails.
#include <windows.h>

#include <climits>

#include "CSkinEngine.h"
#include "CSkinMenuWindow.h"

class CSkinMenuTracker {
public:
    // Timer ids on the menu window concerned.
    static constexpr UINT_PTR kOpenTimer = 2764;
    static constexpr UINT_PTR kCloseTimer = 2747;
    // Tracking flag that marks a window's system menu.
    static constexpr UINT kSystemMenuFlag = 0x200;

    // The body of the TrackPopupMenu(Ex) replacement: returns Track's result.
    static int TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude);
    // As TrackMenu, but FALSE (nothing sent, nothing shown) when the skin cannot run this menu
    // (owner of another thread, no menu window), so the caller can leave it to the system.
    static BOOL TryTrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude, int* result);

    // A frame's window menu for a context-menu request at a hit code (screen point): the
    // tracking result, HTMENU for a request over the menu bar, -1 when the request is not one
    // for the window menu.
    static int TrackSystemMenuFor(HWND window, int hitCode, int x, int y);
    // The window menu opened by the keyboard (Alt+Space) or a click on the icon, at a point.
    static int TrackSystemMenuAt(HWND window, int x, int y);

    // Bar runs, entered by the frame that shows the bar: a press at a screen point, or a key
    // (0 for Alt/F10 alone, else the character). alternate: the system-menu pseudo bar or null.
    static void TrackBarByMouse(CSkinMenuWindow* bar, CSkinMenuWindow* alternate, POINT press);
    static void TrackBarByKey(CSkinMenuWindow* bar, CSkinMenuWindow* alternate, UINT ch);

    // The tracker running on the calling thread, or null. A run that has ended and is handing its
    // command over by a sent message is no longer current.
    static CSkinMenuTracker* Current();

    explicit CSkinMenuTracker(HWND owner);
    ~CSkinMenuTracker();
    CSkinMenuTracker(const CSkinMenuTracker&) = delete;
    CSkinMenuTracker& operator=(const CSkinMenuTracker&) = delete;

    int Track(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude);
    void KeyMenu(UINT ch);
    void Loop(const POINT* press);
    BOOL Start(BOOL keyboard);
    BOOL HandleMessage(MSG& msg);
    void MouseMove(int x, int y);
    void Press(CSkinMenuWindow* window, int position, BOOL down);
    void Release(CSkinMenuWindow* window, int position);
    void Key(CSkinMenuWindow* window, UINT key);
    void Mnemonic(CSkinMenuWindow* window, UINT ch);
    void Execute(CSkinMenuWindow* window, int position);
    void EndMenu(UINT message, WPARAM wParam, LPARAM lParam);
    void OpenSubmenu(CSkinMenuWindow* window);
    void CloseSubmenu(CSkinMenuWindow* window);
    void Select(CSkinMenuWindow* window, int position);

    CSkinMenuWindow* Root() const { return m_root; }
    CSkinMenuWindow* Deepest() const;
    int Result() const { return m_result; }
    UINT SubmenuDelay() const { return m_submenuDelay; }

private:
    struct Hit {
        CSkinMenuWindow* window = nullptr;
        int position = -1;
    };
    // Bar runs share the set-up: the bar is the frame's, the pseudo bar the caller's.
    void BeginBar(CSkinMenuWindow* bar, CSkinMenuWindow* alternate);
    void Begin();
    void FinishBar();
    Hit HitTest(POINT screen) const;
    BOOL IsRunWindow(HWND hwnd) const;
    void SendMenuSelect(CSkinMenuWindow* window);
    void Redraw(CSkinMenuWindow* window);
    void ClearSelection(CSkinMenuWindow* window);
    void SwapRoots();
    void KeyOn(CSkinMenuWindow* window, UINT key, BOOL fromChild);
    void BarStep(CSkinMenuWindow* bar, int direction);
    void PressAt(POINT screen, BOOL removeQueued, const MSG* queued);
    void DoubleClickAt(POINT screen);
    void RemoveQueued(const MSG& msg);
    int FirstPosition(CSkinMenuWindow* window, int direction);
    void StopTimers(CSkinMenuWindow* window);
    // The pointer reached a submenu whose parent is running the close timer for it: it stays.
    void KeepOpen(CSkinMenuWindow* window);
    void Notify(UINT message, WPARAM wParam, LPARAM lParam);
    void PlaySound(int kind);
    // Leaves the thread's menu mode to the run that was current before this one.
    void StepAside();
    void ShowPopup(CSkinMenuWindow* window, POINT at, SIZE size);

    BOOL m_keyboard = FALSE;
    BOOL m_buttonDown = FALSE;
    BOOL m_tracking = FALSE;
    BOOL m_closing = FALSE;
    HWND m_captureWindow = nullptr;
    CSkinMenuWindow* m_root = nullptr;
    CSkinMenuWindow* m_alternate = nullptr;
    BOOL m_notifyByPosition = FALSE;
    BOOL m_noNotify = FALSE;
    int m_lastX = INT_MIN, m_lastY = INT_MIN;
    BOOL m_started = FALSE;
    BOOL m_rightButton = FALSE;
    int m_result = 0;
    BOOL m_returnCommand = FALSE;
    BOOL m_startedPressed = FALSE;
    UINT m_submenuDelay = 400;
    CSkinRef<CSkinWindowSink> m_skinObject;

    HWND m_owner = nullptr;
    BOOL m_isBarRun = FALSE;
    CSkinMenuTracker* m_outer = nullptr;  // what Current() answered before this run
};
