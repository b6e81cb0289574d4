#include "CHoverBitmapButton.h"
#include "CWinApp.h"
#include <commctrl.h>

BEGIN_MESSAGE_MAP(CHoverBitmapButton, CBitmapButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

BOOL CHoverBitmapButton::SetHoverBitmaps(UINT normalId, UINT selectedId, UINT hoverId, UINT disabledId)
{
    m_nNormalId = normalId;
    m_nHoverId = hoverId;
    return LoadBitmaps(LOWORD(normalId), LOWORD(selectedId), 0, LOWORD(disabledId));
}

void CHoverBitmapButton::PreSubclassWindow()
{
    // The type bits are a number, not flags: owner-drawn replaces whatever type the template gave.
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW | BS_BITMAP, 0);
    CBitmapButton::PreSubclassWindow();
}

void CHoverBitmapButton::SwapNormalPicture(UINT id)
{
    // Reloaded from the resources at every swap; a failed load leaves the slot empty.
    m_bitmap.DeleteObject();
    m_bitmap.Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(id))));
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CHoverBitmapButton::OnMouseMove(UINT, CPoint)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 0;
        _TrackMouseEvent(&tme);
        m_bTracking = 1;
        SwapNormalPicture(m_nHoverId);
    }
    Default();
}

LRESULT CHoverBitmapButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTracking = 0;
    SwapNormalPicture(m_nNormalId);
    return 0;
}
