#include "CSkinObjectTab.h"

#include <commctrl.h>
#include <vssym32.h>

#include "CSkinPaintBuffer.h"
#include "SkinControlGeometry.h"
#include "SkinControlPaint.h"
#include "SkinHotTracking.h"

IMPLEMENT_DYNCREATE(CSkinObjectTab, CSkinObjectBuffered)

BEGIN_MESSAGE_MAP(CSkinObjectTab, CSkinObjectBuffered)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseTabBackground)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CSkinObjectTab::CSkinObjectTab() {
    m_themeClassName = "TAB";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

void CSkinObjectTab::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    m_hot = -1;
    CSkinObjectBuffered::OnSkinChanged(wasEnabled, isEnabled);
}

void CSkinObjectTab::PaintItem(HDC dc, CSkinClassTheme& tabTheme, CSkinClassTheme* buttonTheme, int index, int count,
                               int selected, bool buttons, HIMAGELIST images) {
    RECT itemRect{};
    if (!::SendMessageA(m_hWnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&itemRect))) return;
    const skin::TabItemLook look = skin::TabItemFor(index, count, selected, m_hot, buttons, itemRect);
    CSkinClassTheme* theme = buttons ? buttonTheme : &tabTheme;
    if (!theme) return;
    theme->DrawThemeBackground(dc, look.part, look.state, look.rect);

    char text[260] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    item.iImage = -1;
    if (!::SendMessageA(m_hWnd, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) return;
    RECT content = itemRect;
    InflateRect(&content, -3, 0);
    if (index == selected && !buttons) OffsetRect(&content, 0, -1);
    if (images && item.iImage >= 0) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        ImageList_Draw(images, item.iImage, dc, content.left + 3, (content.top + content.bottom - cy) / 2, ILD_TRANSPARENT);
        content.left += cx + 6;
    }
    if (text[0]) {
        if (!IsWindowEnabled()) {
            const CSkinRef<CSkinSchema> schema = skin::HoldSchema(*this);
            SetTextColor(dc, skin::ThemeSysColor(schema.Get(), COLOR_GRAYTEXT));
            DrawTextA(dc, text, -1, &content, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        } else {
            theme->DrawThemeText(dc, look.part, look.state, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
                                 content);
        }
    }
    if (index == selected && ::GetFocus() == m_hWnd && !(SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS)) {
        RECT focus = itemRect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void CSkinObjectTab::DrawClient(HDC out, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) {
    SelectWindowText(out);
    const bool buttons = (GetStyle() & TCS_BUTTONS) != 0;
    const int count = static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0));
    if (!buttons) {
        RECT pane = client;
        const int rows = static_cast<int>(::SendMessageA(m_hWnd, TCM_GETROWCOUNT, 0, 0));
        RECT item{};
        const int edgeItem = selected >= 0 ? selected : 0;
        if (rows > 0 && count > 0 && ::SendMessageA(m_hWnd, TCM_GETITEMRECT, edgeItem, reinterpret_cast<LPARAM>(&item)))
            pane.top = item.bottom;
        theme.DrawThemeBackground(out, TABP_PANE, 0, pane);
    }
    CSkinClassTheme* buttonTheme = buttons ? schema->GetClassTheme("BUTTON") : nullptr;
    const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TCM_GETIMAGELIST, 0, 0));
    for (int index : skin::TabDrawingOrder(count, selected))
        PaintItem(out, theme, buttonTheme, index, count, selected, buttons, images);
}

LRESULT CSkinObjectTab::OnEraseTabBackground(WPARAM wParam, LPARAM) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    if (!dc) return TRUE;
    RECT client;
    GetClientRect(&client);
    CSkinPaintBuffer buffer(dc, client);
    if (buffer) FillRect(buffer.Get(), &client, GetClientBrush(buffer.Get()));
    return TRUE;
}

void CSkinObjectTab::InvalidateItem(int index) {
    RECT r{};
    if (index < 0 || !::SendMessageA(m_hWnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) return;
    InflateRect(&r, 2, 2);  // as far as a selected item reaches
    InvalidateRect(&r, FALSE);
}

void CSkinObjectTab::SetHot(int index) {
    const int was = m_hot;
    if (!skin::ChangeHot(m_hWnd, m_hot, index, -1)) return;
    InvalidateItem(was);
    InvalidateItem(m_hot);
}

LRESULT CSkinObjectTab::OnMouseMoveMessage(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int count = static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
        RECT r{};
        if (::SendMessageA(m_hWnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) && PtInRect(&r, p)) found = i;
    }
    SetHot(found);
    return result;
}

LRESULT CSkinObjectTab::OnMouseLeave(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SetHot(-1);
    return result;
}
