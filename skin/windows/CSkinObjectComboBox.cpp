#include "CSkinObjectComboBox.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "CSkinSchema.h"
#include "SkinComboLayout.h"
#include "SkinGdi.h"
#include "SkinControlPaint.h"

IMPLEMENT_DYNCREATE(CSkinObjectComboBox, CSkinObjectPainted)

BEGIN_MESSAGE_MAP(CSkinObjectComboBox, CSkinObjectPainted)
    ON_MESSAGE(WM_CREATE, OnCreateMessage)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_SETFOCUS, OnStateChange)
    ON_MESSAGE(WM_KILLFOCUS, OnStateChange)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(BM_SETSTYLE, OnStateChange)
    ON_MESSAGE(WM_ENABLE, OnStateChange)
    ON_MESSAGE(WM_UPDATEUISTATE, OnStateChange)
    ON_MESSAGE(WM_LBUTTONUP, OnCaptureChanged)
END_MESSAGE_MAP()

namespace {

const int kComboBackground = 0, kDropDownButton = 1;


void FrameIn(HDC dc, const RECT& r, HBRUSH brush) {
    if (brush && r.right > r.left && r.bottom > r.top) FrameRect(dc, &r, brush);
}

void TwoColourRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    skin::FillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    skin::FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    skin::FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    skin::FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

bool IsEditWindow(HWND hWnd) {
    char name[16] = {};
    return hWnd && ::GetClassNameA(hWnd, name, sizeof name) && lstrcmpiA(name, "Edit") == 0;
}

}  // namespace

// A combo box answers a print it painted with TRUE.
CSkinObjectComboBox::CSkinObjectComboBox() : CSkinObjectPainted(TRUE) {
    m_themeClassName = "COMBOBOX";
    m_ctlColorMessage = WM_CTLCOLORLISTBOX;
}

UINT CSkinObjectComboBox::GetCtlColorMessage() {
    if (!m_hWnd) return m_ctlColorMessage;
    if (!::IsWindowEnabled(m_hWnd)) return WM_CTLCOLORSTATIC;
    // Only an edit's read-only bit: the same bit means other things to a simple combo's list.
    HWND edit = ::GetWindow(m_hWnd, GW_CHILD);
    if (IsEditWindow(edit) && (GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY)) return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

bool CSkinObjectComboBox::IsSimpleCombo() const { return (GetStyle() & 3) == CBS_SIMPLE; }

bool CSkinObjectComboBox::IsDroppedDown() { return ::SendMessageA(m_hWnd, CB_GETDROPPEDSTATE, 0, 0) != 0; }

int CSkinObjectComboBox::GetComboState() {
    if (m_hot) {
        // A list that held the capture cancels the leave report: the pointer may be long gone.
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(m_hWnd, &cursor);
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        m_hot = PtInRect(&client, cursor);
        // This paint may cover only part of the combo: the rest follows.
        if (!m_hot) InvalidateRect(nullptr, FALSE);
        if (m_hot) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
        }
    }
    const bool pressed = (GetKeyState(VK_LBUTTON) & 0x8000) && IsDroppedDown();
    const bool hot = m_hot || ::GetCapture() == m_hWnd;
    return skin::ComboState(::IsWindowEnabled(m_hWnd) != FALSE, pressed, hot);
}

void CSkinObjectComboBox::PaintSystemContent(HDC buffer) {
    m_printing = TRUE;
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(buffer), 0);
    m_printing = FALSE;
    SelectClipRgn(buffer, nullptr);
}

void CSkinObjectComboBox::CopyAroundChildren(HDC dc, HDC buffer, const RECT& client) {
    const int saved = SaveDC(dc);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    BitBlt(dc, client.left, client.top, client.right - client.left, client.bottom - client.top, buffer, 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void CSkinObjectComboBox::DrawDropDown(HDC buffer, const RECT& client) {
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "COMBOBOX") : nullptr;
    const HBRUSH background = GetClientBrush(buffer);
    FillRect(buffer, &client, background);
    PaintSystemContent(buffer);
    if (!theme) return;
    const int state = GetComboState();
    const int v = m && m->cxVScroll > 0 ? m->cxVScroll : GetSystemMetrics(SM_CXVSCROLL);
    const int systemScroll = m && m->systemCxVScroll > 0 ? m->systemCxVScroll : GetSystemMetrics(SM_CXVSCROLL);
    const int bgType = theme->GetThemeEnumValue(kComboBackground, state, TMT_BGTYPE, BT_IMAGEFILE);
    const bool rightAligned = (GetExStyle() & WS_EX_RIGHT) != 0;
    const skin::ComboLayout layout = skin::LayoutCombo(client, v, systemScroll, bgType == BT_BORDERFILL, rightAligned);
    if (HasDropDownButton()) FillRect(buffer, &layout.strip, background);
    if (bgType == BT_IMAGEFILE) {
        const int saved = SaveDC(buffer);
        ExcludeClipRect(buffer, layout.content.left, layout.content.top, layout.content.right, layout.content.bottom);
        theme->DrawThemeBackground(buffer, kComboBackground, state, client);
        RestoreDC(buffer, saved);
    } else if (bgType == BT_BORDERFILL) {
        skin::Brush border(CreateSolidBrush(theme->GetThemeColor(kComboBackground, state, TMT_BORDERCOLOR, RGB(0, 0, 0))));
        FrameIn(buffer, client, border.Get());
        RECT inner = client;
        InflateRect(&inner, -1, -1);
        // The system's own sunken edge goes under the background, except where the button will be.
        const int saved = SaveDC(buffer);
        if (HasDropDownButton())
            ExcludeClipRect(buffer, layout.strip.left, layout.strip.top, layout.strip.right, layout.strip.bottom);
        for (int i = 0; i < 2; ++i) {
            FrameIn(buffer, inner, background);
            InflateRect(&inner, -1, -1);
        }
        RestoreDC(buffer, saved);
    }
    if (HasDropDownButton()) theme->DrawThemeBackground(buffer, kDropDownButton, state, layout.button);
    DrawComboExtras(buffer, client, state);
}

void CSkinObjectComboBox::DrawSimple(HDC buffer, const RECT& client) {
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    const HBRUSH background = GetClientBrush(buffer);
    FillRect(buffer, &client, background);
    PaintSystemContent(buffer);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const int itemHeight = static_cast<int>(::SendMessageA(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    RECT r = skin::SimpleComboEditRect(window, itemHeight, GetSystemMetrics(SM_CYDLGFRAME));
    CSkinClassTheme* edit = m_engine ? m_engine->GetThemeClass(this, "EDIT") : nullptr;
    if (edit && edit->GetThemeEnumValue(0, 0, TMT_BGTYPE, BT_IMAGEFILE) == BT_BORDERFILL) {
        skin::Brush border(CreateSolidBrush(edit->GetThemeColor(0, 0, TMT_BORDERCOLOR, RGB(0, 0, 0))));
        FrameIn(buffer, r, border.Get());
        InflateRect(&r, -1, -1);
        FrameIn(buffer, r, background);
    } else {
        auto colour = [m](int index) { return m ? m->colors[index] : GetSysColor(index); };
        TwoColourRect(buffer, r, colour(COLOR_BTNSHADOW), colour(COLOR_BTNHIGHLIGHT));
        InflateRect(&r, -1, -1);
        TwoColourRect(buffer, r, colour(COLOR_3DDKSHADOW), colour(COLOR_3DLIGHT));
    }
    InflateRect(&r, -1, -1);
    FrameIn(buffer, r, background);
}

void CSkinObjectComboBox::DrawCombo(HDC dc) {
    if (!dc || !m_hWnd) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int w = client.right - client.left, h = client.bottom - client.top;
    if (w <= 0 || h <= 0) return;
    // Held while drawing: another thread may load the skin again meanwhile.
    CSkinRef<CSkinSchema> hold = m_engine ? m_engine->AcquireSchema() : CSkinRef<CSkinSchema>();
    // Before the DC, so the DC lets go of the bitmap before the bitmap is deleted.
    skin::Bitmap bitmap(CreateCompatibleBitmap(dc, w, h));
    skin::MemoryDC buffer(dc);
    if (!buffer || !bitmap) return;
    buffer.Select(bitmap.Get());
    if (HFONT font = GetFont()) SelectObject(buffer.Get(), font);
    if (IsSimpleCombo())
        DrawSimple(buffer.Get(), client);
    else
        DrawDropDown(buffer.Get(), client);
    CopyAroundChildren(dc, buffer.Get(), client);
}

LRESULT CSkinObjectComboBox::OnCreateMessage(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (result == -1) return result;
    InvalidateRect(nullptr, FALSE);
    // The theme draws the whole outline; a border of the window's own would frame it twice.
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    const DWORD exEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    if ((style & WS_BORDER) || (exStyle & exEdges)) {
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style & ~WS_BORDER));
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle & ~exEdges));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return 0;
}

void CSkinObjectComboBox::TrackHot(POINT point, bool renewLeave) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const BOOL hot = PtInRect(&client, point);
    if (hot == m_hot && !(hot && renewLeave)) return;
    if (hot != m_hot) InvalidateRect(nullptr, FALSE);
    m_hot = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
}

LRESULT CSkinObjectComboBox::OnMouseMoveMessage(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    TrackHot({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return result;
}

LRESULT CSkinObjectComboBox::OnMouseLeave(WPARAM, LPARAM) {
    const LRESULT result = Default();
    TrackHot({-1, -1});
    return result;
}

LRESULT CSkinObjectComboBox::OnCaptureChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    // While the list held the capture no leave was reported: look where the pointer is now, and have
    // its leaving reported again.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    TrackHot(cursor, true);
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectComboBox::OnStateChange(WPARAM, LPARAM) {
    const LRESULT result = Default();
    InvalidateRect(nullptr, FALSE);
    return result;
}
