#include "CSkinObjectDateTime.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "CSkinSchema.h"
#include "SkinCalendarApply.h"
#include "SkinComboLayout.h"

IMPLEMENT_DYNCREATE(CSkinObjectDateTime, CSkinObjectComboBox)

BEGIN_MESSAGE_MAP(CSkinObjectDateTime, CSkinObjectComboBox)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_CREATE, OnCreateDateTime)
END_MESSAGE_MAP()

namespace {

const int kCheckBoxPart = 3;

}  // namespace

CSkinObjectDateTime::CSkinObjectDateTime() { m_themeClassName = "COMBOBOX"; }

bool CSkinObjectDateTime::HasDropDownButton() const { return !(GetStyle() & DTS_UPDOWN); }

bool CSkinObjectDateTime::IsDroppedDown() { return ::SendMessageA(m_hWnd, DTM_GETMONTHCAL, 0, 0) != 0; }

RECT CSkinObjectDateTime::CheckBoxRect(const RECT& client) {
    DATETIMEPICKERINFO info{};
    info.cbSize = sizeof info;
    if (::SendMessageA(m_hWnd, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info)) &&
        !IsRectEmpty(&info.rcCheck))
        return info.rcCheck;
    // Controls that do not say: a box as tall as the text, at the left.
    const int side = std::min<int>(13, client.bottom - client.top - 4);
    const int top = client.top + (client.bottom - client.top - side) / 2;
    return RECT{client.left + 2, top, client.left + 2 + side, top + side};
}

void CSkinObjectDateTime::DrawComboExtras(HDC buffer, const RECT& client, int) {
    if (!(GetStyle() & DTS_SHOWNONE)) return;
    // Some controls keep the box as a child button, which is skinned as a button of its own.
    if (::FindWindowExA(m_hWnd, nullptr, "Button", nullptr)) return;
    CSkinClassTheme* button = m_engine ? m_engine->GetThemeClass(this, "BUTTON") : nullptr;
    if (!button) return;
    SYSTEMTIME time{};
    const bool checked = ::SendMessageA(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID;
    const bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    const int state = checked ? (enabled ? 5 : 8) : (enabled ? 1 : 4);
    RECT box = CheckBoxRect(client);
    // The control's own box may sit a little elsewhere: the strip up to the text is covered first.
    const RECT under{client.left + 1, client.top + 1, box.right + 2, client.bottom - 1};
    FillRect(buffer, &under, GetClientBrush(buffer));
    button->DrawThemeBackground(buffer, kCheckBoxPart, state, box);
}

RECT CSkinObjectDateTime::DropDownButtonRect() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "COMBOBOX") : nullptr;
    const int v = m && m->cxVScroll > 0 ? m->cxVScroll : GetSystemMetrics(SM_CXVSCROLL);
    const int systemScroll = m && m->systemCxVScroll > 0 ? m->systemCxVScroll : GetSystemMetrics(SM_CXVSCROLL);
    const bool borderFill = theme && theme->GetThemeEnumValue(0, 1, TMT_BGTYPE, BT_IMAGEFILE) == BT_BORDERFILL;
    return skin::LayoutCombo(client, v, systemScroll, borderFill, (GetExStyle() & WS_EX_RIGHT) != 0).strip;
}

LRESULT CSkinObjectDateTime::OnLButtonDown(WPARAM, LPARAM lParam) {
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!::IsWindowEnabled(m_hWnd) || !HasDropDownButton() || IsDroppedDown()) return Default();
    const RECT button = DropDownButtonRect();
    if (!PtInRect(&button, p)) return Default();
    // The theme's button is wider than the control's own: the whole of it opens the calendar.
    ::SetFocus(m_hWnd);
    DefWindowProc(WM_SYSKEYDOWN, VK_DOWN, 0);
    if (!IsDroppedDown()) {
        // A control that does not open on the key gets the click on its own button instead.
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const int x = (GetExStyle() & WS_EX_RIGHT) ? client.left + 2 : client.right - 2;
        return DefWindowProc(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, p.y));
    }
    InvalidateRect(nullptr, FALSE);
    return 0;
}

void CSkinObjectDateTime::ReloadMetrics() {
    CSkinObjectComboBox::ReloadMetrics();
    skin::ApplyCalendarColours(m_hWnd, DTM_SETMCCOLOR, m_engine);
}

LRESULT CSkinObjectDateTime::OnCreateDateTime(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = OnCreateMessage(wParam, lParam);
    // Attached before the control existed: the calendar would keep the system's colours until the
    // next skin change.
    if (result != -1 && m_engine && m_engine->IsEnabled()) skin::ApplyCalendarColours(m_hWnd, DTM_SETMCCOLOR, m_engine);
    return result;
}
