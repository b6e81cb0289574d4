#include "CBitmapButton.h"
#include "CDC.h"

IMPLEMENT_DYNAMIC(CBitmapButton, CButton)

BOOL CBitmapButton::LoadBitmaps(UINT idNormal, UINT idSelected, UINT idFocus, UINT idDisabled)
{
    m_bitmap.DeleteObject();
    m_bitmapSel.DeleteObject();
    m_bitmapFocus.DeleteObject();
    m_bitmapDisabled.DeleteObject();
    if (!m_bitmap.LoadBitmap(idNormal))
        return FALSE;
    BOOL all = TRUE;
    if (idSelected && !m_bitmapSel.LoadBitmap(idSelected)) all = FALSE;
    if (idFocus && !m_bitmapFocus.LoadBitmap(idFocus)) all = FALSE;
    if (idDisabled && !m_bitmapDisabled.LoadBitmap(idDisabled)) all = FALSE;
    return all;
}

void CBitmapButton::SizeToContent()
{
    BITMAP bm = {};
    if (!m_bitmap.GetSafeHandle() || !m_bitmap.GetBitmap(&bm))
        return;
    SetWindowPos(nullptr, -1, -1, bm.bmWidth, bm.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!dis)
        return;
    const CBitmap* use = &m_bitmap;
    const UINT state = dis->itemState;
    if ((state & ODS_SELECTED) && m_bitmapSel.GetSafeHandle())
        use = &m_bitmapSel;
    else if ((state & ODS_FOCUS) && m_bitmapFocus.GetSafeHandle())
        use = &m_bitmapFocus;
    else if ((state & ODS_DISABLED) && m_bitmapDisabled.GetSafeHandle())
        use = &m_bitmapDisabled;
    if (!use->GetSafeHandle())
        return;

    BITMAP bm = {};
    use->GetBitmap(&bm);
    CDC memory;
    if (!memory.CreateCompatibleDC(dis->hDC))
        return;
    const HGDIOBJ old = memory.SelectObject(use->GetSafeHandle());
    const CRect item(dis->rcItem);
    const int w = bm.bmWidth < item.Width() ? bm.bmWidth : item.Width();
    const int h = bm.bmHeight < item.Height() ? bm.bmHeight : item.Height();
    ::BitBlt(dis->hDC, item.left, item.top, w, h, memory, 0, 0, SRCCOPY);
    // A picture smaller than the button (the pressed one may be) is continued by its last column and
    // row, so no stale pixels of the previous picture remain beside it.
    if (w > 0 && h > 0) {
        if (item.Width() > w)
            ::StretchBlt(dis->hDC, item.left + w, item.top, item.Width() - w, h, memory, w - 1, 0, 1, h, SRCCOPY);
        if (item.Height() > h)
            ::StretchBlt(dis->hDC, item.left, item.top + h, item.Width(), item.Height() - h, dis->hDC, item.left,
                         item.top + h - 1, item.Width(), 1, SRCCOPY);
    }
    memory.SelectObject(old);
}
