#include "CSkinObjectHeader.h"

#include <commctrl.h>
#include <vssym32.h>

#include "SkinControlPaint.h"
#include "SkinHotTracking.h"

IMPLEMENT_DYNCREATE(CSkinObjectHeader, CSkinObjectBuffered)

BEGIN_MESSAGE_MAP(CSkinObjectHeader, CSkinObjectBuffered)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
END_MESSAGE_MAP()

CSkinObjectHeader::CSkinObjectHeader() {
    m_themeClassName = "HEADER";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

void CSkinObjectHeader::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    m_hot = m_pressed = -1;
    CSkinObjectBuffered::OnSkinChanged(wasEnabled, isEnabled);
}

bool CSkinObjectHeader::LeavesPaintToControl() const {
    return (GetStyle() & HDS_FILTERBAR) && m_engine && m_engine->GetComctlVersion() >= MAKELONG(80, 5);
}

void CSkinObjectHeader::PaintItem(HDC dc, CSkinClassTheme& theme, int index, HIMAGELIST images, int margin) {
    RECT r{};
    if (!::SendMessageA(m_hWnd, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) return;
    const int state = index == m_pressed ? HIS_PRESSED : index == m_hot ? HIS_HOT : HIS_NORMAL;
    theme.DrawThemeBackground(dc, HP_HEADERITEM, state, r);
    char text[260] = "";
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_LPARAM;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!::SendMessageA(m_hWnd, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) return;
    if (item.fmt & HDF_OWNERDRAW) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_HEADER;
        draw.CtlID = static_cast<UINT>(GetDlgCtrlID());
        draw.itemID = static_cast<UINT>(index);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = index == m_pressed ? ODS_SELECTED : 0;
        draw.hwndItem = m_hWnd;
        draw.hDC = dc;
        draw.rcItem = r;
        draw.itemData = static_cast<ULONG_PTR>(item.lParam);
        ::SendMessageA(GetParent(), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
        return;
    }
    const RECT margins = theme.GetThemeRect(HP_HEADERITEM, state, TMT_CONTENTMARGINS, 0, 0, 0, 0);
    RECT content{r.left + margins.left, r.top + margins.top, r.right - margins.right, r.bottom - margins.bottom};
    if (index == m_pressed) OffsetRect(&content, 1, 1);
    if (images && (item.fmt & HDF_IMAGE) && item.iImage >= 0) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        if (content.right - content.left >= cx + margin) {
            ImageList_Draw(images, item.iImage, dc, content.left + margin, (content.top + content.bottom - cy) / 2,
                           ILD_TRANSPARENT);
            content.left += cx + 2 * margin;
        }
    }
    if (!text[0]) return;
    UINT flags = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    switch (item.fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: flags |= DT_RIGHT; break;
    case HDF_CENTER: flags |= DT_CENTER; break;
    default: flags |= DT_LEFT; break;
    }
    theme.DrawThemeText(dc, HP_HEADERITEM, state, text, flags, content);
}

HBRUSH CSkinObjectHeader::GetPaintFill(HDC, CSkinSchema* schema) { return skin::ThemeSysBrush(schema, COLOR_BTNFACE); }

void CSkinObjectHeader::DrawClient(HDC out, const RECT& client, CSkinClassTheme& theme, CSkinSchema*) {
    theme.DrawThemeBackground(out, 0, 0, client);
    SelectWindowText(out);
    const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, HDM_GETIMAGELIST, 0, 0));
    const int margin = static_cast<int>(::SendMessageA(m_hWnd, HDM_GETBITMAPMARGIN, 0, 0));
    const int count = static_cast<int>(::SendMessageA(m_hWnd, HDM_GETITEMCOUNT, 0, 0));
    int right = client.left;
    for (int i = 0; i < count; ++i) {
        PaintItem(out, theme, i, images, margin);
        RECT r{};
        if (::SendMessageA(m_hWnd, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) && r.right > right) right = r.right;
    }
    // The strip past the last column looks like an empty item, as the system's header does.
    if (right < client.right) theme.DrawThemeBackground(out, HP_HEADERITEM, HIS_NORMAL, RECT{right, client.top, client.right, client.bottom});
}

int CSkinObjectHeader::ItemAt(LPARAM point) const {
    HDHITTESTINFO hit{};
    hit.pt = POINT{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    const int index = static_cast<int>(::SendMessageA(m_hWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & HHT_ONHEADER) ? index : -1;
}

void CSkinObjectHeader::SetHot(int index) {
    if (skin::ChangeHot(m_hWnd, m_hot, index, -1)) InvalidateRect(nullptr, FALSE);
}

LRESULT CSkinObjectHeader::OnMouseMoveMessage(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    SetHot(ItemAt(lParam));
    return result;
}

LRESULT CSkinObjectHeader::OnMouseLeave(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SetHot(-1);
    return result;
}

LRESULT CSkinObjectHeader::OnLButtonDown(WPARAM, LPARAM lParam) {
    // Only buttons press; a press on a divider resizes instead.
    m_pressed = (GetStyle() & HDS_BUTTONS) ? ItemAt(lParam) : -1;
    const LRESULT result = Default();
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectHeader::OnLButtonUp(WPARAM, LPARAM) {
    const LRESULT result = Default();
    m_pressed = -1;
    InvalidateRect(nullptr, FALSE);
    return result;
}
