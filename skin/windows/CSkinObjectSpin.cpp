#include "CSkinObjectSpin.h"

#include <commctrl.h>
#include <vssym32.h>

#include "SkinControlPaint.h"
#include "SkinHotTracking.h"

IMPLEMENT_DYNCREATE(CSkinObjectSpin, CSkinObjectBuffered)

BEGIN_MESSAGE_MAP(CSkinObjectSpin, CSkinObjectBuffered)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnPassAndRedraw)
    ON_MESSAGE(WM_CAPTURECHANGED, OnPassAndRedraw)
    ON_MESSAGE(WM_ENABLE, OnPassAndRedraw)
    ON_MESSAGE(UDM_SETRANGE, OnPassAndRedraw)
    ON_MESSAGE(UDM_SETRANGE32, OnPassAndRedraw)
END_MESSAGE_MAP()

CSkinObjectSpin::CSkinObjectSpin() {
    m_themeClassName = "SPIN";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

void CSkinObjectSpin::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    m_hot = m_pressed = skin::SpinButton::None;
    CSkinObjectBuffered::OnSkinChanged(wasEnabled, isEnabled);
}

bool CSkinObjectSpin::ButtonsEnabled() const {
    if (!IsWindowEnabled()) return false;
    const HWND buddy = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0));
    if (buddy && !::IsWindowEnabled(buddy)) return false;
    int low = 0, high = 0;
    ::SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    return low != high;
}

skin::SpinButton CSkinObjectSpin::ButtonAt(LPARAM point) const {
    RECT client;
    GetClientRect(&client);
    const POINT p{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    for (const skin::SpinPiece& piece : skin::SpinPieces(client, GetStyle()))
        if (PtInRect(&piece.rect, p)) return piece.button;
    return skin::SpinButton::None;
}

HBRUSH CSkinObjectSpin::GetPaintFill(HDC, CSkinSchema* schema) {
    // Inside a sunken field the arrows sit on the field's colour.
    const HWND buddy = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0));
    const bool inField = buddy && (GetWindowLongPtrA(buddy, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    return skin::ThemeSysBrush(schema, inField ? COLOR_WINDOW : COLOR_BTNFACE);
}

void CSkinObjectSpin::DrawClient(HDC out, const RECT& client, CSkinClassTheme& theme, CSkinSchema*) {
    const bool enabled = ButtonsEnabled();
    const bool captured = ::GetCapture() == m_hWnd;
    for (const skin::SpinPiece& piece : skin::SpinPieces(client, GetStyle())) {
        const bool pressed = captured && piece.button == m_pressed;
        theme.DrawThemeBackground(out, piece.part, skin::SpinState(enabled, piece.button == m_hot, pressed), piece.rect);
    }
}

void CSkinObjectSpin::SetHot(skin::SpinButton button) {
    if (skin::ChangeHot(m_hWnd, m_hot, button, skin::SpinButton::None)) InvalidateRect(nullptr, FALSE);
}

LRESULT CSkinObjectSpin::OnMouseMoveMessage(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    SetHot(ButtonAt(lParam));
    return result;
}

LRESULT CSkinObjectSpin::OnMouseLeave(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SetHot(skin::SpinButton::None);
    return result;
}

LRESULT CSkinObjectSpin::OnLButtonDown(WPARAM, LPARAM lParam) {
    m_pressed = ButtonsEnabled() ? ButtonAt(lParam) : skin::SpinButton::None;
    const LRESULT result = Default();
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectSpin::OnPassAndRedraw(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (::GetCapture() != m_hWnd) m_pressed = skin::SpinButton::None;
    InvalidateRect(nullptr, FALSE);
    return result;
}
