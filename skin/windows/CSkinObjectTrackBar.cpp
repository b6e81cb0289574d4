#include "CSkinObjectTrackBar.h"

#include <commctrl.h>
#include <vssym32.h>

#include <vector>

#include "SkinControlGeometry.h"
#include "SkinControlPaint.h"
#include "SkinHotTracking.h"

IMPLEMENT_DYNCREATE(CSkinObjectTrackBar, CSkinObjectBuffered)

BEGIN_MESSAGE_MAP(CSkinObjectTrackBar, CSkinObjectBuffered)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONDOWN, OnPassAndRedraw)
    ON_MESSAGE(WM_LBUTTONUP, OnPassAndRedraw)
    ON_MESSAGE(WM_SETFOCUS, OnPassAndRedraw)
    ON_MESSAGE(WM_KILLFOCUS, OnPassAndRedraw)
    ON_MESSAGE(WM_ENABLE, OnPassAndRedraw)
    ON_MESSAGE(WM_CAPTURECHANGED, OnPassAndRedraw)
    ON_MESSAGE(TBM_SETTICFREQ, OnSetTicFreq)
END_MESSAGE_MAP()

namespace {
const int kTickLength = 3;
}  // namespace

CSkinObjectTrackBar::CSkinObjectTrackBar() {
    m_themeClassName = "TRACKBAR";
    m_ctlColorMessage = WM_CTLCOLORSTATIC;
}

void CSkinObjectTrackBar::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    m_hot = FALSE;
    CSkinObjectBuffered::OnSkinChanged(wasEnabled, isEnabled);
}

void CSkinObjectTrackBar::DrawTicks(HDC dc, CSkinClassTheme& theme, const RECT& channel, const RECT& thumb,
                                    COLORREF fallback) {
    const DWORD style = GetStyle();
    if (style & TBS_NOTICKS) return;
    const bool vertical = (style & TBS_VERT) != 0;
    const COLORREF color = theme.GetThemeColor(vertical ? TKP_TICSVERT : TKP_TICS, 1, TMT_COLOR, fallback);
    const int low = static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0));
    const int high = static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0));
    std::vector<int> positions{low, high};
    if (style & TBS_AUTOTICKS) {
        for (int p = low + m_ticFreq; m_ticFreq > 0 && p < high; p += m_ticFreq) positions.push_back(p);
    } else {
        const int count = static_cast<int>(::SendMessageA(m_hWnd, TBM_GETNUMTICS, 0, 0));
        for (int i = 0; i + 2 < count; ++i)
            positions.push_back(static_cast<int>(::SendMessageA(m_hWnd, TBM_GETTIC, i, 0)));
    }
    const int start = vertical ? channel.top : channel.left, end = vertical ? channel.bottom : channel.right;
    const int thumbLength = vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left;
    // TBS_TOP and TBS_LEFT share a bit, as do the default sides.
    const bool before = (style & TBS_BOTH) || (style & TBS_TOP);
    const bool after = (style & TBS_BOTH) || !(style & TBS_TOP);
    for (int pos : positions) {
        const int at = skin::TrackTickPixel(pos, low, high, start, end, thumbLength);
        if (vertical) {
            if (before) skin::FillSolid(dc, RECT{thumb.left - 2 - kTickLength, at, thumb.left - 2, at + 1}, color);
            if (after) skin::FillSolid(dc, RECT{thumb.right + 2, at, thumb.right + 2 + kTickLength, at + 1}, color);
        } else {
            if (before) skin::FillSolid(dc, RECT{at, thumb.top - 2 - kTickLength, at + 1, thumb.top - 2}, color);
            if (after) skin::FillSolid(dc, RECT{at, thumb.bottom + 2, at + 1, thumb.bottom + 2 + kTickLength}, color);
        }
    }
}

void CSkinObjectTrackBar::DrawClient(HDC out, const RECT&, CSkinClassTheme& theme, CSkinSchema* schema) {
    const DWORD style = GetStyle();
    RECT reported{}, thumb{};
    ::SendMessageA(m_hWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&reported));
    ::SendMessageA(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const RECT channel = skin::TrackChannelRect(reported, style);
    theme.DrawThemeBackground(out, (style & TBS_VERT) ? TKP_TRACKVERT : TKP_TRACK, 1, channel);
    DrawTicks(out, theme, channel, thumb, skin::ThemeSysColor(schema, COLOR_BTNTEXT));
    const int part = skin::TrackThumbPart(style);
    if (!part) return;
    const bool cues = !(SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS);
    const int state = skin::TrackThumbState(IsWindowEnabled() != FALSE, ::GetCapture() == m_hWnd,
                                            ::GetFocus() == m_hWnd && cues, m_hot != FALSE);
    theme.DrawThemeBackground(out, part, state, thumb);
}

void CSkinObjectTrackBar::SetHot(BOOL hot) {
    if (skin::ChangeHot(m_hWnd, m_hot, hot ? TRUE : FALSE, FALSE)) InvalidateRect(nullptr, FALSE);
}

LRESULT CSkinObjectTrackBar::OnMouseMoveMessage(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    RECT thumb{};
    ::SendMessageA(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    SetHot(PtInRect(&thumb, p));
    if (::GetCapture() == m_hWnd) InvalidateRect(nullptr, FALSE);  // the thumb follows the drag
    return result;
}

LRESULT CSkinObjectTrackBar::OnMouseLeave(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SetHot(FALSE);
    return result;
}

LRESULT CSkinObjectTrackBar::OnPassAndRedraw(WPARAM, LPARAM) {
    const LRESULT result = Default();
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectTrackBar::OnSetTicFreq(WPARAM frequency, LPARAM) {
    m_ticFreq = static_cast<int>(frequency);
    const LRESULT result = Default();
    InvalidateRect(nullptr, FALSE);
    return result;
}
