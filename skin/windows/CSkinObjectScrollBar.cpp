#include "CSkinObjectScrollBar.h"

#include "CDC.h"
#include "CSkinScrollBarTrackLoop.h"
#include "MessageMap.h"
#include "SkinClientBrush.h"
#include "SkinGdi.h"
#include "SkinScrollBarDraw.h"

IMPLEMENT_DYNCREATE(CSkinObjectScrollBar, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSkinObjectScrollBar, CSkinObjectFrame)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_ENABLE, OnEnable)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDown)
    ON_MESSAGE(SBM_SETSCROLLINFO, OnSetScrollInfo)
    ON_MESSAGE(SBM_SETPOS, OnSetPos)
    ON_MESSAGE(SBM_SETRANGEREDRAW, OnRedrawingChange)
    ON_MESSAGE(SBM_ENABLE_ARROWS, OnRedrawingChange)
    ON_MESSAGE(SBM_GETSCROLLINFO, OnGetScrollInfo)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
END_MESSAGE_MAP()

CSkinObjectScrollBar::CSkinObjectScrollBar() {
    m_themeClassName = "SCROLLBAR";
    m_ctlColorMessage = WM_CTLCOLORSCROLLBAR;
}

BOOL CSkinObjectScrollBar::IsSizeBox() const {
    return (GetWindowLongA(m_hWnd, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

void CSkinObjectScrollBar::Layout() {
    const LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
    m_scrollBar.visible = TRUE;
    m_scrollBar.vertical = (style & SBS_VERT) != 0;
    m_scrollBar.bar = SB_CTL;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(m_hWnd, SB_CTL, &si);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const CSkinMetrics* metrics = m_engine ? m_engine->GetMetrics() : nullptr;
    const int arrow = metrics ? (m_scrollBar.vertical ? metrics->cyVScroll : metrics->cxHScroll)
                              : GetSystemMetrics(m_scrollBar.vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    LayoutScrollBar(m_scrollBar, client, si, arrow);
}

void CSkinObjectScrollBar::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // Before the DC, so the DC lets go of the bitmap before the bitmap is deleted.
    skin::Bitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    skin::MemoryDC memory(dc);
    if (!memory || !bitmap) return;
    memory.Select(bitmap.Get());
    const HDC out = memory.Get();
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "SCROLLBAR") : nullptr;
    const CSkinMetrics* metrics = m_engine ? m_engine->GetMetrics() : nullptr;
    const LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);

    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
        FillRect(out, &client, SkinClientBrush(m_hWnd, out, WM_CTLCOLORSTATIC, metrics));
        if ((style & SBS_SIZEGRIP) && theme) theme->DrawThemeBackground(out, ScrollPartSizeBox, 1, client);
    } else {
        if (!m_tracking || !m_tracking->dragging) Layout();
        SkinScrollBarLook look = ScrollBarLook(m_scrollBar, m_tracking);
        look.enabled = (style & WS_DISABLED) ? 0 : 1;
        const HBRUSH background = SkinClientBrush(m_hWnd, out, GetCtlColorMessage(), metrics);
        if (theme) {
            DrawThemeScrollBar(out, m_scrollBar, *theme, look, background);
        } else {
            FillRect(out, &client, background);
        }
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, out, 0, 0, SRCCOPY);
}

void CSkinObjectScrollBar::PaintNow() {
    if (!::IsWindow(m_hWnd)) return;
    CClientDC dc(this);
    Paint(dc.GetSafeHdc());
}

LRESULT CSkinObjectScrollBar::OnPaint(WPARAM, LPARAM) {
    CPaintDC dc(this);
    Paint(dc.GetSafeHdc());
    return 0;
}

LRESULT CSkinObjectScrollBar::OnPrintClient(WPARAM dc, LPARAM) {
    Paint(reinterpret_cast<HDC>(dc));
    return TRUE;
}

LRESULT CSkinObjectScrollBar::OnCreate(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (result != -1) ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectScrollBar::OnEnable(WPARAM, LPARAM) {
    const LRESULT result = Default();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return result;
}

void CSkinObjectScrollBar::SetHotPart(int hit) {
    // A press owns the hot part (it is the pressed part) until it ends.
    if (m_tracking || hit == m_scrollBar.hotPart) return;
    m_scrollBar.hotPart = hit;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (hit != ScrollHitNone) {
        TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&tme);
    }
}

LRESULT CSkinObjectScrollBar::OnMouseMove(WPARAM, LPARAM point) {
    if (IsSizeBox()) return Default();
    SetHotPart(HitTestScrollBar(m_scrollBar, static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))));
    return 0;
}

LRESULT CSkinObjectScrollBar::OnMouseLeave(WPARAM, LPARAM) {
    if (IsSizeBox()) return Default();
    SetHotPart(HitTestScrollBar(m_scrollBar, -1, -1));
    return 0;
}

LRESULT CSkinObjectScrollBar::OnLButtonDown(WPARAM keys, LPARAM point) {
    if (IsSizeBox() || m_tracking) return Default();
    const POINT pt{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    const HWND self = m_hWnd;
    CSkinScrollBarTrackLoop loop({self, ::GetParent(self), reinterpret_cast<LPARAM>(self), FALSE}, m_scrollBar,
                                 [this] { Layout(); }, [this] { PaintNow(); });
    loop.Run(pt, (keys & MK_SHIFT) != 0 || GetKeyState(VK_SHIFT) < 0, m_tracking);
    PaintNow();
    return 0;
}

LRESULT CSkinObjectScrollBar::OnRedrawingChange(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (::IsWindowVisible(m_hWnd)) PaintNow();
    return result;
}

LRESULT CSkinObjectScrollBar::OnSetScrollInfo(WPARAM redraw, LPARAM) {
    const LRESULT result = Default();
    if (redraw && ::IsWindowVisible(m_hWnd)) PaintNow();
    return result;
}

LRESULT CSkinObjectScrollBar::OnSetPos(WPARAM, LPARAM redraw) {
    const LRESULT result = Default();
    if (redraw && ::IsWindowVisible(m_hWnd)) PaintNow();
    return result;
}

LRESULT CSkinObjectScrollBar::OnGetScrollInfo(WPARAM, LPARAM info) {
    const LRESULT result = Default();
    auto* si = reinterpret_cast<SCROLLINFO*>(info);
    if (si && (si->fMask & SIF_TRACKPOS) && m_tracking) si->nTrackPos = m_tracking->GetTrackPosition();
    return result;
}

LRESULT CSkinObjectScrollBar::OnSetFocus(WPARAM, LPARAM) { return 0; }

BOOL CSkinObjectScrollBar::GetTrackPos(int bar, int* pos) {
    if (bar != SB_CTL || !m_tracking || !pos) return FALSE;
    *pos = m_tracking->GetTrackPosition();
    return TRUE;
}
