#include "CSkinObjectProgress.h"

#include <commctrl.h>
#include <vssym32.h>

#include "SkinControlPaint.h"

IMPLEMENT_DYNCREATE(CSkinObjectProgress, CSkinObjectBuffered)

BEGIN_MESSAGE_MAP(CSkinObjectProgress, CSkinObjectBuffered)
    ON_MESSAGE(WM_CREATE, OnCreateMessage)
    ON_MESSAGE(PBM_SETPOS, OnChanged)
    ON_MESSAGE(PBM_DELTAPOS, OnChanged)
    ON_MESSAGE(PBM_SETRANGE, OnChanged)
    ON_MESSAGE(PBM_SETRANGE32, OnChanged)
    ON_MESSAGE(PBM_SETSTATE, OnChanged)
    ON_MESSAGE(PBM_SETMARQUEE, OnSetMarquee)
    ON_MESSAGE(PBM_STEPIT, OnStepIt)
    ON_MESSAGE(WM_TIMER, OnTimerMessage)
END_MESSAGE_MAP()

CSkinObjectProgress::CSkinObjectProgress() {
    m_themeClassName = "PROGRESS";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

bool CSkinObjectProgress::IsMarquee() const { return (GetStyle() & PBS_MARQUEE) != 0; }

LRESULT CSkinObjectProgress::OnCreateMessage(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (result != -1 && (GetExStyle() & WS_EX_STATICEDGE)) {
        // The theme's bar has an edge of its own.
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(GetExStyle() & ~WS_EX_STATICEDGE));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return result;
}

void CSkinObjectProgress::DrawClient(HDC out, const RECT& client, CSkinClassTheme& theme, CSkinSchema*) {
    const DWORD style = GetStyle();
    skin::ProgressLook look;
    look.vertical = (style & PBS_VERTICAL) != 0;
    look.smooth = (style & PBS_SMOOTH) != 0;
    const int barPart = look.vertical ? PP_BARVERT : PP_BAR;
    theme.DrawThemeBackground(out, barPart, 1, client);
    const RECT margins = theme.GetThemeRect(barPart, 1, TMT_CONTENTMARGINS, 0, 0, 0, 0);
    look.content = RECT{client.left + margins.left, client.top + margins.top, client.right - margins.right,
                        client.bottom - margins.bottom};
    look.chunkSize = theme.GetThemeInt(0, 0, TMT_PROGRESSCHUNKSIZE, 0);
    look.spaceSize = theme.GetThemeInt(0, 0, TMT_PROGRESSSPACESIZE, 2);
    std::vector<RECT> chunks;
    if (IsMarquee()) {
        chunks = skin::MarqueeChunks(look, m_marqueeStep);
    } else {
        PBRANGE range{};
        ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        const int pos = static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0));
        chunks = skin::ProgressChunks(look, range.iLow, range.iHigh, pos);
    }
    const int chunkPart = look.vertical ? PP_CHUNKVERT : PP_CHUNK;
    for (const RECT& chunk : chunks) theme.DrawThemeBackground(out, chunkPart, 1, chunk);
}

LRESULT CSkinObjectProgress::OnChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    InvalidateRect(nullptr, FALSE);
    return result;
}

void CSkinObjectProgress::StartMarquee(UINT interval) {
    ::KillTimer(m_hWnd, kMarqueeTimer);
    m_marqueeInterval = interval;
    if (interval) ::SetTimer(m_hWnd, kMarqueeTimer, interval, nullptr);
}

LRESULT CSkinObjectProgress::OnSetMarquee(WPARAM start, LPARAM interval) {
    // The control keeps its own state (and its own look once the skin is off).
    const LRESULT result = Default();
    m_marqueeStep = 0;
    // Without an interval the control runs at its default speed; the skin's steps follow it.
    const UINT ms = interval > 0 ? static_cast<UINT>(interval) : skin::kDefaultMarqueeInterval;
    StartMarquee(start ? ms : 0);
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectProgress::OnStepIt(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (IsMarquee()) ++m_marqueeStep;
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectProgress::OnTimerMessage(WPARAM id, LPARAM) {
    if (id != kMarqueeTimer) return Default();
    if (!IsMarquee()) {
        StartMarquee(0);
        return 0;
    }
    m_marqueeStep += skin::MarqueeAdvance(m_marqueeInterval);
    InvalidateRect(nullptr, FALSE);
    return 0;
}

void CSkinObjectProgress::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    CSkinObjectBuffered::OnSkinChanged(wasEnabled, isEnabled);
    if (!m_hWnd || !::IsWindow(m_hWnd) || !m_marqueeInterval) return;
    // Off, the control's own marquee runs; back on, ours again.
    if (isEnabled)
        ::SetTimer(m_hWnd, kMarqueeTimer, m_marqueeInterval, nullptr);
    else
        ::KillTimer(m_hWnd, kMarqueeTimer);
}

void CSkinObjectProgress::OnDetached(BOOL windowDestroyed) {
    if (!windowDestroyed && m_hWnd && ::IsWindow(m_hWnd)) ::KillTimer(m_hWnd, kMarqueeTimer);
    CSkinObjectBuffered::OnDetached(windowDestroyed);
}
