#include "CSkinObjectScrolled.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "CSkinSchema.h"
#include "SkinGdi.h"
#include "SkinScrollSync.h"

IMPLEMENT_DYNAMIC(CSkinObjectScrolled, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSkinObjectScrolled, CSkinObjectFrame)
    ON_MESSAGE(WM_VSCROLL, OnScrollingMessage)
    ON_MESSAGE(WM_HSCROLL, OnScrollingMessage)
    ON_MESSAGE(WM_KEYDOWN, OnScrollingMessage)
    ON_MESSAGE(WM_CHAR, OnScrollingMessage)
    // After the system has scrolled: syncing before it would see the old position.
    ON_MESSAGE(WM_MOUSEWHEEL, OnScrollingMessage)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChangedSync)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBackgroundSync)
END_MESSAGE_MAP()

CSkinObjectScrolled::CSkinObjectScrolled() {
    ZeroMemory(m_saved, sizeof m_saved);
}

BOOL CSkinObjectScrolled::IsScrollSyncNeeded() const {
    return m_engine && skin::NeedsScrollSync(m_engine->GetComctlVersion());
}

void CSkinObjectScrolled::SyncScrollBars() {
    if (!IsScrollSyncNeeded() || !m_hWnd || !::IsWindow(m_hWnd)) return;
    const DWORD style = GetStyle();
    for (int bar : {SB_HORZ, SB_VERT}) {
        if (!(style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) continue;
        SCROLLINFO now{};
        now.cbSize = sizeof now;
        now.fMask = SIF_RANGE | SIF_POS;
        if (!::GetScrollInfo(m_hWnd, bar, &now)) continue;
        SCROLLINFO& saved = m_saved[bar == SB_VERT ? 1 : 0];
        if (!skin::ScrollInfoMoved(saved, now)) continue;
        saved = now;
        RepaintOwnScrollBar(bar);
    }
}

LRESULT CSkinObjectScrolled::OnScrollingMessage(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SyncScrollBars();
    return result;
}

LRESULT CSkinObjectScrolled::OnWindowPosChangedSync(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = OnWindowPosChanged(wParam, lParam);
    SyncScrollBars();
    return result;
}

LRESULT CSkinObjectScrolled::OnEraseBackgroundSync(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = OnEraseBackground(wParam, lParam);
    SyncScrollBars();
    return result;
}

void CSkinObjectScrolled::DrawPlainThemeBorder(HDC dc) {
    if (!dc || !m_hWnd) return;
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    const DWORD edges = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
    if (!(style & WS_BORDER) || (style & WS_DLGFRAME) || (exStyle & edges)) return;
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, m_themeClassName) : nullptr;
    if (!theme || theme->GetThemeEnumValue(0, 0, TMT_BGTYPE, BT_IMAGEFILE) != BT_BORDERFILL) return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    OffsetRect(&window, -window.left, -window.top);
    skin::Brush border(CreateSolidBrush(theme->GetThemeColor(0, 0, TMT_BORDERCOLOR, RGB(0, 0, 0))));
    if (border && window.right > 0 && window.bottom > 0) FrameRect(dc, &window, border.Get());
}

void CSkinObjectScrolled::DrawFrameWithPlainBorder(HDC dc) {
    m_frameDrawing = FALSE;
    CSkinObjectFrame::DrawFrame(dc);
    if (m_frameDrawing) DrawPlainThemeBorder(dc);
    m_frameDrawing = FALSE;
}
