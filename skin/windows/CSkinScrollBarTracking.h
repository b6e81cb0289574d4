#pragma once
// The state of one press on a scroll bar, from the button going down to it coming up: which part was
// pressed, auto-repeat of arrow and page commands, and the thumb drag with its snap-back. The window
// that runs the modal loop feeds it mouse messages and timer ticks in the bar's coordinates and does
// what it asks through the Host.
#include <windows.h>

#include "CSkinScrollBarInfo.h"

class CSkinScrollBarTracking {
public:
    static constexpr UINT_PTR kRepeatTimerId = 64069;

    class Host {
    public:
        // WM_VSCROLL or WM_HSCROLL with the command and, for thumb commands, the position.
        virtual void Notify(int command, int position) = 0;
        virtual void SetRepeatTimer(UINT delay) = 0;
        virtual void KillRepeatTimer() = 0;
        virtual void Repaint() = 0;

    protected:
        ~Host() = default;
    };

    CSkinScrollBarTracking(CSkinScrollBarInfo& bar, Host& host, UINT doubleClickTime);
    CSkinScrollBarTracking(const CSkinScrollBarTracking&) = delete;
    CSkinScrollBarTracking& operator=(const CSkinScrollBarTracking&) = delete;

    // Chooses what the press at pt does; FALSE when there is nothing to track (a thumb with no room).
    // thumbSnapLength is SM_CYVTHUMB for vertical bars and SM_CXHTHUMB for horizontal ones.
    BOOL Begin(POINT pt, BOOL shiftDown, int thumbSnapLength);
    // A mouse message at pt (the press itself first). FALSE once tracking is over.
    BOOL OnMouse(UINT message, POINT pt, BOOL leftButtonDown);
    // A tick of the repeat timer with the cursor at pt.
    void OnRepeatTimer(POINT cursor);
    // Closing notifications; the window releases the capture first and repaints after.
    void End();

    BOOL IsTracking(const CSkinScrollBarInfo& bar) const { return record == &bar; }
    // What SIF_TRACKPOS reports: the dragged position, 0 during arrow and page presses.
    int GetTrackPosition() const { return currentPosition; }

    BOOL inside = FALSE;
    BOOL vertical = FALSE;
    RECT pressedArea{};
    int command = -1;
    UINT_PTR repeatTimer = 0;
    int dragOffset = 0;
    int thumbStart = 0;
    int lastSentPosition = 0;
    int currentPosition = 0;
    BOOL dragging = FALSE;
    LPARAM notifyLParam = 0;
    HWND notifyTarget = nullptr;
    int bar = SB_CTL;
    BOOL windowCoordinates = FALSE;
    CSkinScrollBarInfo* record;

private:
    int Axis(POINT pt) const { return vertical ? pt.y : pt.x; }
    void Drag(POINT pt);
    void Press(POINT pt, UINT delay);
    void UpdatePressedArea();
    BOOL UpdateInside(POINT pt);

    Host& m_host;
    UINT m_doubleClickTime;
    RECT m_snapRect{};
    int m_grabbedPosition = 0;
};
