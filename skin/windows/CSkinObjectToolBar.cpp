#include "CSkinObjectToolBar.h"

#include <commctrl.h>
#include <vssym32.h>

#include "SkinControlGeometry.h"
#include "SkinControlPaint.h"
#include "SkinSystemDefProc.h"

IMPLEMENT_DYNCREATE(CSkinObjectToolBar, CSkinObjectBuffered)

BEGIN_MESSAGE_MAP(CSkinObjectToolBar, CSkinObjectBuffered)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseClassBackground)
END_MESSAGE_MAP()

namespace {

// Width of the arrow part of a split drop-down button.
const int kDropArrowWidth = 14;

void DrawDropArrow(HDC dc, const RECT& r, COLORREF color) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    for (int row = 0; row < 3; ++row)
        skin::FillSolid(dc, RECT{cx - 3 + row, cy - 1 + row, cx + 2 - row, cy + row}, color);
}

}  // namespace

CSkinObjectToolBar::CSkinObjectToolBar() {
    m_themeClassName = "TOOLBAR";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

void CSkinObjectToolBar::OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) {
    HWND parent = createStruct ? createStruct->hwndParent : nullptr;
    if (!parent && m_hWnd) parent = ::GetParent(m_hWnd);
    char name[128] = "";
    if (parent) ::GetClassNameA(parent, name, sizeof name);
    m_leftAlone = skin::IsToolbarLeftAlone(name);
    CSkinObjectBuffered::OnAttached(createStruct, autoAttached);
}

BOOL CSkinObjectToolBar::OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    if (m_leftAlone) return FALSE;
    return CSkinObjectBuffered::OnSubclassMessage(message, wParam, lParam, result);
}

BOOL CSkinObjectToolBar::OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    if (m_leftAlone) return FALSE;
    return CSkinObjectBuffered::OnDefaultProcMessage(message, wParam, lParam, result);
}

LRESULT CSkinObjectToolBar::Notify(HDC dc, DWORD stage, const RECT& rect) {
    NMTBCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = m_hWnd;
    draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = rect;
    const HWND parent = GetParent();
    return parent ? ::SendMessageA(parent, WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw)) : 0;
}

void CSkinObjectToolBar::DrawButton(HDC dc, CSkinClassTheme& theme, const CSkinSchema* schema, const TBBUTTON& button,
                                    const RECT& rect, bool hot) {
    if (button.fsStyle & BTNS_SEP) {
        if (!(button.fsState & TBSTATE_WRAP) || (GetStyle() & CCS_VERT))
            theme.DrawThemeBackground(dc, TP_SEPARATOR, 0, rect);
        return;
    }
    const bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
    const bool pressed = (button.fsState & TBSTATE_PRESSED) != 0;
    const bool checked = (button.fsState & TBSTATE_CHECKED) != 0;
    int state = TS_NORMAL;
    if (!enabled)
        state = TS_DISABLED;
    else if (pressed)
        state = TS_PRESSED;
    else if (checked)
        state = hot ? TS_HOTCHECKED : TS_CHECKED;
    else if (hot)
        state = TS_HOT;
    const DWORD extended = static_cast<DWORD>(::SendMessageA(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0));
    const bool split = (button.fsStyle & BTNS_DROPDOWN) && (extended & TBSTYLE_EX_DRAWDDARROWS) &&
                       !(button.fsStyle & BTNS_WHOLEDROPDOWN);
    RECT face = rect;
    const COLORREF textColor = skin::ThemeSysColor(schema, enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    if (split) {
        face.right -= kDropArrowWidth;
        theme.DrawThemeBackground(dc, TP_SPLITBUTTON, state, face);
        const RECT arrow{face.right, rect.top, rect.right, rect.bottom};
        theme.DrawThemeBackground(dc, TP_SPLITBUTTONDROPDOWN, state, arrow);
        DrawDropArrow(dc, arrow, textColor);
    } else {
        theme.DrawThemeBackground(dc, TP_BUTTON, state, face);
        if (button.fsStyle & BTNS_WHOLEDROPDOWN) {
            face.right -= kDropArrowWidth;
            DrawDropArrow(dc, RECT{face.right, rect.top, rect.right, rect.bottom}, textColor);
        }
    }
    RECT content = face;
    InflateRect(&content, -3, -3);
    if (pressed) OffsetRect(&content, 1, 1);
    const bool list = (GetStyle() & TBSTYLE_LIST) != 0;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETIMAGELIST, 0, 0));
    if (hot)
        if (HIMAGELIST hotImages = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETHOTIMAGELIST, 0, 0)))
            images = hotImages;
    HIMAGELIST disabledImages = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TB_GETDISABLEDIMAGELIST, 0, 0));
    if (!enabled && disabledImages) images = disabledImages;
    const int image = LOWORD(button.iBitmap);
    if (images && button.iBitmap >= 0 && image < ImageList_GetImageCount(images)) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        const int x = list ? content.left : (content.left + content.right - cx) / 2;
        const int y = list ? (content.top + content.bottom - cy) / 2 : content.top;
        const UINT style = (!enabled && !disabledImages) ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT;
        ImageList_Draw(images, image, dc, x, y, style);
        if (list)
            content.left += cx + 3;
        else
            content.top += cy + 1;
    }
    char text[260] = "";
    const LRESULT length =
        ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text));
    const bool mixed = (extended & TBSTYLE_EX_MIXEDBUTTONS) != 0;
    if (length > 0 && length < static_cast<LRESULT>(sizeof text) && (!mixed || (button.fsStyle & BTNS_SHOWTEXT))) {
        SetTextColor(dc, textColor);
        const UINT flags = (list ? DT_LEFT | DT_VCENTER : DT_CENTER | DT_TOP) | DT_SINGLELINE | DT_END_ELLIPSIS;
        DrawTextA(dc, text, -1, &content, flags);
    }
}

void CSkinObjectToolBar::DrawButtons(HDC dc, CSkinClassTheme& theme, const CSkinSchema* schema) {
    const int count = static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    const int hot = static_cast<int>(::SendMessageA(m_hWnd, TB_GETHOTITEM, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!::SendMessageA(m_hWnd, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
        if (button.fsState & TBSTATE_HIDDEN) continue;
        RECT r{};
        if (!::SendMessageA(m_hWnd, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        DrawButton(dc, theme, schema, button, r, i == hot);
    }
}

HBRUSH CSkinObjectToolBar::GetPaintFill(HDC, CSkinSchema* schema) { return skin::ThemeSysBrush(schema, COLOR_BTNFACE); }

void CSkinObjectToolBar::DrawClient(HDC out, const RECT& client, CSkinClassTheme& theme, CSkinSchema* schema) {
    DrawCustom(out, client, &theme, schema);
}

void CSkinObjectToolBar::DrawClientWithoutTheme(HDC out, const RECT& client, CSkinSchema* schema) {
    DrawCustom(out, client, nullptr, schema);
}

void CSkinObjectToolBar::DrawCustom(HDC out, const RECT& client, CSkinClassTheme* theme, const CSkinSchema* schema) {
    SelectWindowText(out);
    const LRESULT answer = Notify(out, CDDS_PREPAINT, client);
    if (!(answer & CDRF_SKIPDEFAULT) && theme) DrawButtons(out, *theme, schema);
    if (answer & CDRF_NOTIFYPOSTPAINT) Notify(out, CDDS_POSTPAINT, client);
}

LRESULT CSkinObjectToolBar::OnEraseClassBackground(WPARAM wParam, LPARAM lParam) {
    // A class background that names a system colour is drawn in the theme's colour instead.
    const ULONG_PTR background = GetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND);
    const bool swap = background >= 1 && background <= 30;
    if (swap) {
        const CSkinRef<CSkinSchema> schema = skin::HoldSchema(*this);
        ::SetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND,
                           reinterpret_cast<LONG_PTR>(skin::ThemeSysBrush(schema.Get(), static_cast<int>(background) - 1)));
    }
    const DWORD style = GetStyle();
    const LRESULT result = (style & (TBSTYLE_TRANSPARENT | TBSTYLE_CUSTOMERASE))
                               ? Default()
                               : skin::SystemDefWindowProcA()(m_hWnd, WM_ERASEBKGND, wParam, lParam);
    if (swap) ::SetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(background));
    return result;
}
