#pragma once
// A window's own scroll bars (WS_HSCROLL, WS_VSCROLL) in its non-client area: laid out beside the
// client area, drawn from the theme, hit, hovered and tracked by the skin. The frame object owns one
// and decides when each of these runs; notifications go to the window itself, points are in window
// coordinates.
#include <windows.h>
#include <functional>

#include "CSkinScrollBarInfo.h"
#include "CSkinScrollBarTracking.h"

class CSkinClassTheme;
class CSkinMetrics;

class CSkinOwnScrollBars {
public:
    CSkinOwnScrollBars();
    CSkinOwnScrollBars(const CSkinOwnScrollBars&) = delete;
    CSkinOwnScrollBars& operator=(const CSkinOwnScrollBars&) = delete;

    void SetWindow(HWND window) { m_window = window; }
    // SB_HORZ or SB_VERT.
    CSkinScrollBarInfo& Get(int bar) { return bar == SB_VERT ? m_vertical : m_horizontal; }
    const CSkinScrollBarInfo& Get(int bar) const { return bar == SB_VERT ? m_vertical : m_horizontal; }

    // Visible flags from the window's style.
    void RefreshVisible();
    RECT GetScrollBarRect(int bar, const CSkinMetrics& metrics) const;
    // The client area in window coordinates as the frame is drawn: counted from the right in a mirrored window.
    RECT GetClientInWindow() const;
    // The bar's SCROLLINFO over its rectangle.
    void Layout(int bar, const CSkinMetrics& metrics);
    // Into a DC of the whole window, through an off-screen buffer of the bar's rectangle; lays the bar out
    // again unless its thumb is being dragged.
    void Paint(HDC windowDC, int bar, const CSkinMetrics& metrics, CSkinClassTheme& theme, HBRUSH background);

    // HTVSCROLL, HTHSCROLL or 0.
    int NcHitTest(POINT windowPoint) const;
    // The square between the two bars as last laid out; empty unless both are visible.
    RECT GetCorner() const;
    struct Hover {
        BOOL anyHot;
        BOOL changed[2];  // by SB_HORZ, SB_VERT
    };
    // Hot parts from the point; (-1, -1) clears them. Nothing changes while a bar is tracked.
    Hover UpdateHover(POINT windowPoint);

    // The modal press on bar at windowPoint; paint(bar) draws that bar now.
    void Track(int bar, POINT windowPoint, BOOL shiftDown, const CSkinMetrics& metrics,
               const std::function<void(int bar)>& paint);
    BOOL GetTrackPos(int bar, int* pos) const;
    const CSkinScrollBarTracking* GetTracking() const { return m_tracking; }

private:
    HWND m_window = nullptr;
    CSkinScrollBarInfo m_horizontal, m_vertical;
    CSkinScrollBarTracking* m_tracking = nullptr;
};
