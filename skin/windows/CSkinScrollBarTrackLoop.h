#pragma once
// The modal loop of a press on a skinned scroll bar: captures the mouse, feeds mouse messages and
// repeat ticks to the tracking state, sends the scroll notifications and lets everything else through.
#include <windows.h>
#include <functional>

#include "CSkinScrollBarTracking.h"

class CSkinScrollBarTrackLoop : private CSkinScrollBarTracking::Host {
public:
    struct Target {
        HWND window;             // holds the capture and the repeat timer
        HWND notify;             // receives WM_VSCROLL / WM_HSCROLL
        LPARAM notifyLParam;     // the control for SB_CTL, else null
        BOOL windowCoordinates;  // the bar's rectangle is in window coordinates (own bars)
    };
    // layout: read the bar's SCROLLINFO again into the record; paint: draw the bar now.
    CSkinScrollBarTrackLoop(const Target& target, CSkinScrollBarInfo& bar, std::function<void()> layout,
                            std::function<void()> paint);
    CSkinScrollBarTrackLoop(const CSkinScrollBarTrackLoop&) = delete;
    CSkinScrollBarTrackLoop& operator=(const CSkinScrollBarTrackLoop&) = delete;

    // Runs the press at pt (bar coordinates) until the button comes up or the capture is lost.
    // tracking is set for the loop's duration so that painting and SIF_TRACKPOS can see it.
    void Run(POINT pt, BOOL shiftDown, CSkinScrollBarTracking*& tracking);

private:
    void Notify(int command, int position) override;
    void SetRepeatTimer(UINT delay) override;
    void KillRepeatTimer() override;
    void Repaint() override { m_paint(); }
    POINT ToBar(POINT clientPoint) const;
    POINT CursorInBar() const;

    Target m_target;
    CSkinScrollBarInfo& m_bar;
    std::function<void()> m_layout, m_paint;
    CSkinScrollBarTracking m_tracking;
};
