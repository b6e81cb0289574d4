#include "CSkinScrollBarTracking.h"

#include <algorithm>

CSkinScrollBarTracking::CSkinScrollBarTracking(CSkinScrollBarInfo& bar, Host& host, UINT doubleClickTime)
    : vertical(bar.vertical), bar(bar.bar), record(&bar), m_host(host), m_doubleClickTime(doubleClickTime) {}

BOOL CSkinScrollBarTracking::Begin(POINT pt, BOOL shiftDown, int thumbSnapLength) {
    CSkinScrollBarInfo& r = *record;
    const int c = Axis(pt);
    // The arrows come first, as in the hit test: on a bar too short for its thumb, the thumb's
    // rectangle reaches over the second arrow, which must still scroll.
    int hit;
    if (c < r.firstArrowEnd) {
        hit = ScrollHitFirstArrow;
        command = SB_LINEUP;
        pressedArea = ScrollBarSpan(r, r.axisStart, r.firstArrowEnd);
    } else if (c >= r.secondArrowStart) {
        hit = ScrollHitSecondArrow;
        command = SB_LINEDOWN;
        pressedArea = ScrollBarSpan(r, r.secondArrowStart, r.axisEnd);
    } else if (c < r.thumbStart) {
        hit = ScrollHitPageBefore;
        command = SB_PAGEUP;
        pressedArea = ScrollBarSpan(r, r.firstArrowEnd, r.thumbStart);
    } else if (c < r.thumbEnd) {
        hit = ScrollHitThumb;
    } else {
        hit = ScrollHitPageAfter;
        command = SB_PAGEDOWN;
        pressedArea = ScrollBarSpan(r, r.thumbEnd, r.secondArrowStart);
    }

    const BOOL shiftJump = shiftDown && (hit == ScrollHitPageBefore || hit == ScrollHitPageAfter);
    if (hit == ScrollHitThumb || shiftJump) {
        if (r.thumbSize >= r.secondArrowStart - r.firstArrowEnd) return FALSE;
        command = SB_THUMBPOSITION;
        dragging = TRUE;
        // The thumb shows pressed for the whole drag, also when a Shift click in the track began it.
        hit = ScrollHitThumb;
        const int thickness = r.crossEnd - r.crossStart;
        const int across = 8 * thickness, along = 2 * thumbSnapLength;
        m_snapRect = vertical ? RECT{r.rect.left - across, r.rect.top - along, r.rect.right + across, r.rect.bottom + along}
                              : RECT{r.rect.left - along, r.rect.top - across, r.rect.right + along, r.rect.bottom + across};
        r.grabbedThumbStart = thumbStart = r.thumbStart;
        m_grabbedPosition = r.position;
        dragOffset = shiftJump ? -r.thumbSize / 2 : r.thumbStart - c;
        currentPosition = lastSentPosition = r.position;
        m_host.Notify(SB_THUMBTRACK, currentPosition);
    }
    r.hotPart = hit;
    return TRUE;
}

BOOL CSkinScrollBarTracking::OnMouse(UINT message, POINT pt, BOOL leftButtonDown) {
    if (dragging) {
        Drag(pt);
    } else if (message == WM_LBUTTONDOWN) {
        Press(pt, m_doubleClickTime * 4 / 5);
    } else if (message == WM_MOUSEMOVE) {
        Press(pt, m_doubleClickTime / 10);
    }
    // A release the loop never saw (taken by another window) ends the press as well.
    return message != WM_LBUTTONUP && leftButtonDown;
}

void CSkinScrollBarTracking::Drag(POINT pt) {
    CSkinScrollBarInfo& r = *record;
    if (PtInRect(&m_snapRect, pt)) {
        thumbStart = std::clamp(Axis(pt) + dragOffset, r.trackStart, r.trackStart + r.trackSpace);
        currentPosition = ScrollPositionFromThumb(r, thumbStart);
    } else {
        // Snapping back gives the application exactly the position it had, not one rounded from pixels.
        thumbStart = r.grabbedThumbStart;
        currentPosition = m_grabbedPosition;
    }
    if (currentPosition != lastSentPosition) {
        lastSentPosition = currentPosition;
        m_host.Notify(SB_THUMBTRACK, currentPosition);
    }
    r.thumbStart = thumbStart;
    r.thumbEnd = thumbStart + r.thumbSize;
    m_host.Repaint();
}

void CSkinScrollBarTracking::UpdatePressedArea() {
    // Page presses end where the thumb is now; the application has moved it since the last command.
    if (command == SB_PAGEUP)
        pressedArea = ScrollBarSpan(*record, record->firstArrowEnd, record->thumbStart);
    else if (command == SB_PAGEDOWN)
        pressedArea = ScrollBarSpan(*record, record->thumbEnd, record->secondArrowStart);
}

BOOL CSkinScrollBarTracking::UpdateInside(POINT pt) {
    UpdatePressedArea();
    const BOOL now = PtInRect(&pressedArea, pt) ? TRUE : FALSE;
    const BOOL cameInside = now && !inside;
    if (now != inside) {
        inside = now;
        m_host.Repaint();
    }
    return cameInside;
}

void CSkinScrollBarTracking::Press(POINT pt, UINT delay) {
    if (!UpdateInside(pt)) return;
    repeatTimer = kRepeatTimerId;
    m_host.SetRepeatTimer(delay);
    m_host.Notify(command, 0);
}

void CSkinScrollBarTracking::OnRepeatTimer(POINT cursor) {
    if (dragging) return;
    UpdateInside(cursor);
    if (!inside) return;
    repeatTimer = kRepeatTimerId;
    m_host.SetRepeatTimer(m_doubleClickTime / 10);
    m_host.Notify(command, 0);
}

void CSkinScrollBarTracking::End() {
    if (dragging) {
        m_host.Notify(SB_THUMBPOSITION, currentPosition);
        m_host.Repaint();
    } else if (repeatTimer) {
        m_host.KillRepeatTimer();
        repeatTimer = 0;
    }
    m_host.Notify(SB_ENDSCROLL, 0);
    if (repeatTimer) {
        m_host.KillRepeatTimer();
        repeatTimer = 0;
    }
    record->hotPart = ScrollHitNone;
}
