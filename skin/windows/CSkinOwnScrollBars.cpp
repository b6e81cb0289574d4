#include "CSkinOwnScrollBars.h"

#include "CSkinSchema.h"
#include "CSkinScrollBarTrackLoop.h"
#include "SkinGdi.h"
#include "SkinScrollBarDraw.h"

CSkinOwnScrollBars::CSkinOwnScrollBars() {
    m_horizontal.bar = SB_HORZ;
    m_vertical.bar = SB_VERT;
    m_vertical.vertical = TRUE;
}

void CSkinOwnScrollBars::RefreshVisible() {
    const LONG style = m_window ? GetWindowLongA(m_window, GWL_STYLE) : 0;
    m_horizontal.visible = (style & WS_HSCROLL) != 0;
    m_vertical.visible = (style & WS_VSCROLL) != 0;
}

RECT CSkinOwnScrollBars::GetClientInWindow() const {
    RECT window{}, client{};
    GetWindowRect(m_window, &window);
    GetClientRect(m_window, &client);
    MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (GetWindowLongA(m_window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
        return RECT{window.right - client.right, client.top - window.top, window.right - client.left,
                    client.bottom - window.top};
    OffsetRect(&client, -window.left, -window.top);
    return client;
}

RECT CSkinOwnScrollBars::GetScrollBarRect(int bar, const CSkinMetrics& metrics) const {
    // A mirrored window keeps its bar on the screen's left (see the frame's non-client layout), which is the
    // right counted as its frame is drawn.
    const LONG exStyle = GetWindowLongA(m_window, GWL_EXSTYLE);
    const BOOL left = (exStyle & WS_EX_LEFTSCROLLBAR) && !(exStyle & WS_EX_LAYOUTRTL);
    return ScrollBarRectInWindow(bar, GetClientInWindow(), left, metrics.cxVScroll, metrics.cyHScroll);
}

void CSkinOwnScrollBars::Layout(int bar, const CSkinMetrics& metrics) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(m_window, bar, &si);
    LayoutScrollBar(Get(bar), GetScrollBarRect(bar, metrics), si, bar == SB_VERT ? metrics.cyVScroll : metrics.cxHScroll);
}

void CSkinOwnScrollBars::Paint(HDC windowDC, int bar, const CSkinMetrics& metrics, CSkinClassTheme& theme,
                               HBRUSH background) {
    CSkinScrollBarInfo& info = Get(bar);
    if (!info.visible) return;
    if (!m_tracking || !m_tracking->IsTracking(info) || !m_tracking->dragging) Layout(bar, metrics);
    const RECT r = info.rect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    // Before the DC, so the DC lets go of the bitmap before the bitmap is deleted.
    skin::Bitmap bitmap(CreateCompatibleBitmap(windowDC, w, h));
    skin::MemoryDC memory(windowDC);
    if (!memory || !bitmap) return;
    memory.Select(bitmap.Get());
    // Drawn at the buffer's origin from a moved copy: the engine writes some pictures straight into
    // bitmap pixels, where a viewport origin would not apply.
    DrawThemeScrollBar(memory.Get(), MovedScrollBar(info, -r.left, -r.top), theme, ScrollBarLook(info, m_tracking),
                       background);
    BitBlt(windowDC, r.left, r.top, w, h, memory.Get(), 0, 0, SRCCOPY);
}

int CSkinOwnScrollBars::NcHitTest(POINT pt) const {
    if (m_vertical.visible && PtInRect(&m_vertical.rect, pt)) return HTVSCROLL;
    if (m_horizontal.visible && PtInRect(&m_horizontal.rect, pt)) return HTHSCROLL;
    return HTNOWHERE;
}

RECT CSkinOwnScrollBars::GetCorner() const {
    if (!m_vertical.visible || !m_horizontal.visible) return RECT{};
    return RECT{m_vertical.rect.left, m_horizontal.rect.top, m_vertical.rect.right, m_horizontal.rect.bottom};
}

CSkinOwnScrollBars::Hover CSkinOwnScrollBars::UpdateHover(POINT pt) {
    Hover hover{FALSE, {FALSE, FALSE}};
    if (m_tracking) return hover;
    for (int bar : {SB_HORZ, SB_VERT}) {
        CSkinScrollBarInfo& info = Get(bar);
        const int hit = HitTestScrollBar(info, pt.x, pt.y);
        if (hit != info.hotPart && info.visible) {
            info.hotPart = hit;
            hover.changed[bar] = TRUE;
        }
        if (info.hotPart != ScrollHitNone) hover.anyHot = TRUE;
    }
    return hover;
}

void CSkinOwnScrollBars::Track(int bar, POINT pt, BOOL shiftDown, const CSkinMetrics& metrics,
                               const std::function<void(int bar)>& paint) {
    if (m_tracking || !Get(bar).visible) return;
    CSkinScrollBarTrackLoop loop({m_window, m_window, 0, TRUE}, Get(bar), [this, bar, &metrics] { Layout(bar, metrics); },
                                 [bar, &paint] { paint(bar); });
    loop.Run(pt, shiftDown, m_tracking);
    if (IsWindow(m_window)) paint(bar);
}

BOOL CSkinOwnScrollBars::GetTrackPos(int bar, int* pos) const {
    if (!m_tracking || !pos || !m_tracking->IsTracking(Get(bar))) return FALSE;
    *pos = m_tracking->GetTrackPosition();
    return TRUE;
}
