#include "CSkinObjectButton.h"

#include "CSkinSchema.h"
#include "SkinGdi.h"
#include "SkinControlPaint.h"
#include "SkinSystemDefProc.h"

#include <string>

IMPLEMENT_DYNCREATE(CSkinObjectButton, CSkinObjectPainted)

BEGIN_MESSAGE_MAP(CSkinObjectButton, CSkinObjectPainted)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_CREATE, OnCreateMessage)
    ON_MESSAGE(WM_SETFOCUS, OnStateChange)
    ON_MESSAGE(WM_KILLFOCUS, OnStateChange)
    ON_MESSAGE(BM_SETCHECK, OnStateChange)
    ON_MESSAGE(BM_SETSTYLE, OnStateChange)
    ON_MESSAGE(WM_CAPTURECHANGED, OnStateChange)
    ON_MESSAGE(WM_ENABLE, OnEnable)
    ON_MESSAGE(WM_UPDATEUISTATE, OnUpdateUIState)
    ON_MESSAGE(BM_SETSTATE, OnSetState)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

namespace {

class WindowDC {
public:
    explicit WindowDC(HWND hWnd) : m_hWnd(hWnd), m_dc(GetDC(hWnd)) {}
    ~WindowDC() { if (m_dc) ReleaseDC(m_hWnd, m_dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC dc() const { return m_dc; }

private:
    HWND m_hWnd;
    HDC m_dc;
};

}  // namespace

// A button answers a print it painted with TRUE.
CSkinObjectButton::CSkinObjectButton() : CSkinObjectPainted(TRUE) {
    m_themeClassName = "BUTTON";
    m_ctlColorMessage = WM_CTLCOLORBTN;
}

skin::ButtonRole CSkinObjectButton::Role() const { return skin::ClassifyButton(GetStyle(), m_typeOverride); }

bool CSkinObjectButton::IsSkinnedType() const { return Role().kind != skin::ButtonKind::NotSkinned; }

BOOL CSkinObjectButton::OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    if (!IsSkinnedType()) return FALSE;
    return CSkinObjectPainted::OnSubclassMessage(message, wParam, lParam, result);
}

BOOL CSkinObjectButton::OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    if (!IsSkinnedType()) return FALSE;
    return CSkinObjectPainted::OnDefaultProcMessage(message, wParam, lParam, result);
}

BOOL CSkinObjectButton::PrefersDefaultRoute(UINT message) {
    if (message == WM_TIMER) return FALSE;
    if (IsWindowsForms() && (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC)) return FALSE;
    return CSkinObjectPainted::PrefersDefaultRoute(message);
}

void CSkinObjectButton::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    CSkinObjectPainted::OnSkinChanged(wasEnabled, isEnabled);
    m_hot = FALSE;
    m_pushed = FALSE;
}

HBRUSH CSkinObjectButton::ParentBrush(HDC dc, skin::ButtonBackground* background) const {
    HWND parent = GetParent();
    const LRESULT answer = parent ? ::SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(m_hWnd))
                                  : 0;
    *background = skin::ClassifyParentBrush(parent != nullptr, answer);
    const CSkinRef<CSkinSchema> schema = skin::HoldSchema(*this);
    switch (background->fill) {
    case skin::ButtonFill::Brush:
        return background->brush;
    case skin::ButtonFill::Transparent:
        return nullptr;
    default:
        return skin::ThemeSysBrush(schema.Get(), background->sysColor);
    }
}

void CSkinObjectButton::DrawButton(HDC dc, const RECT& rect, HBRUSH parentBrush) {
    const CSkinRef<CSkinSchema> schema = skin::HoldSchema(*this);
    CSkinClassTheme* theme = schema ? schema->GetClassTheme("BUTTON") : nullptr;
    if (!theme) return;
    skin::ButtonFace face;
    face.style = GetStyle();
    face.exStyle = GetExStyle();
    face.typeOverride = m_typeOverride;
    face.flags.enabled = IsWindowEnabled() != FALSE;
    face.flags.pushed = m_pushed != FALSE;
    face.flags.hot = m_hot || ::GetCapture() == m_hWnd;
    face.flags.check = static_cast<int>(SendMessage(BM_GETCHECK));
    face.focused = ::GetFocus() == m_hWnd;
    const LRESULT ui = SendMessage(WM_QUERYUISTATE);
    face.hideAccel = (ui & UISF_HIDEACCEL) != 0;
    face.hideFocus = (ui & UISF_HIDEFOCUS) != 0;
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length > 0) {
        std::string text(static_cast<size_t>(length) + 1, '\0');
        text.resize(static_cast<size_t>(::GetWindowTextA(m_hWnd, &text[0], length + 1)));
        face.text = std::move(text);
    }
    face.font = nullptr;  // the caller selected the window's font
    if (face.style & BS_BITMAP)
        face.bitmap = reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP));
    else if (face.style & BS_ICON)
        face.icon = reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON));
    face.parentBrush = parentBrush;
    skin::ApplySkinMetrics(face, *schema->GetMetrics());
    skin::DrawThemeButton(dc, rect, *theme, face);
}

void CSkinObjectButton::Paint(HDC dc) {
    const CSkinRef<CSkinSchema> hold = skin::HoldSchema(*this);  // its brushes live until the copy is made
    RECT client;
    GetClientRect(&client);
    HFONT font = GetFont();
    const bool direct = Role().kind == skin::ButtonKind::GroupBox && !IsWindowsForms();
    skin::ButtonBackground background;
    if (direct) {
        HBRUSH brush = ParentBrush(dc, &background);
        const int saved = SaveDC(dc);
        if (font) SelectObject(dc, font);
        DrawButton(dc, client, brush);
        RestoreDC(dc, saved);
        return;
    }
    const int w = client.right - client.left, h = client.bottom - client.top;
    if (w <= 0 || h <= 0) return;
    // Before the DC, so the DC lets go of the bitmap before the bitmap is deleted.
    skin::Bitmap bitmap(CreateCompatibleBitmap(dc, w, h));
    skin::MemoryDC buffer(dc);
    if (!buffer || !bitmap) return;
    buffer.Select(bitmap.Get());
    HBRUSH brush = ParentBrush(buffer.Get(), &background);
    const int saved = SaveDC(dc);
    if (background.fill == skin::ButtonFill::Transparent) {
        // The parent wants to show through: no buffer, nothing filled.
        if (font) SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        DrawButton(dc, client, nullptr);
        RestoreDC(dc, saved);
        return;
    }
    FillRect(buffer.Get(), &client, brush);
    if (font) SelectObject(buffer.Get(), font);
    SetBkMode(buffer.Get(), TRANSPARENT);
    DrawButton(buffer.Get(), client, brush);
    BitBlt(dc, client.left, client.top, w, h, buffer.Get(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void CSkinObjectButton::TrackHot(POINT point) {
    RECT client;
    GetClientRect(&client);
    const BOOL hot = PtInRect(&client, point);
    if (hot == m_hot) return;
    m_hot = hot;
    InvalidateRect(nullptr, FALSE);
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
}

LRESULT CSkinObjectButton::OnMouseMoveMessage(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    if (Role().kind != skin::ButtonKind::GroupBox)
        TrackHot({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return result;
}

LRESULT CSkinObjectButton::OnMouseLeave(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (Role().kind != skin::ButtonKind::GroupBox) TrackHot({-1, -1});
    return result;
}

LRESULT CSkinObjectButton::OnCreateMessage(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (result != -1) InvalidateRect(nullptr, TRUE);
    return result;
}

LRESULT CSkinObjectButton::DefaultHidden() {
    const DWORD style = GetStyle();
    if (!(style & WS_VISIBLE)) return Default();
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style & ~WS_VISIBLE));
    const LRESULT result = Default();
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | WS_VISIBLE));
    return result;
}

LRESULT CSkinObjectButton::OnStateChange(WPARAM, LPARAM) {
    const LRESULT result = DefaultHidden();
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectButton::OnEnable(WPARAM, LPARAM) {
    InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT CSkinObjectButton::OnUpdateUIState(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = skin::SystemDefWindowProcA()(m_hWnd, WM_UPDATEUISTATE, wParam, lParam);
    InvalidateRect(nullptr, FALSE);
    return result;
}

LRESULT CSkinObjectButton::OnSetState(WPARAM wParam, LPARAM) {
    DefaultHidden();
    m_pushed = wParam != 0;
    InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT CSkinObjectButton::OnSetText(WPARAM, LPARAM) {
    const LRESULT result = DefaultHidden();
    if (Role().kind == skin::ButtonKind::GroupBox && IsWindowVisible(m_hWnd)) {
        // The old caption may be wider than the new one; the frame is drawn without erasing.
        WindowDC client(m_hWnd);
        if (client.dc()) {
            RECT strip;
            GetClientRect(&strip);
            HFONT font = GetFont();
            const int saved = SaveDC(client.dc());
            if (font) SelectObject(client.dc(), font);
            TEXTMETRICA tm{};
            GetTextMetricsA(client.dc(), &tm);
            strip.bottom = strip.top + tm.tmHeight;
            skin::ButtonBackground background;
            HBRUSH brush = ParentBrush(client.dc(), &background);
            if (brush) {
                FillRect(client.dc(), &strip, brush);
            } else if (HWND parent = GetParent()) {
                // A parent that shows through repaints what lies under the strip itself.
                MapWindowPoints(m_hWnd, parent, reinterpret_cast<POINT*>(&strip), 2);
                ::InvalidateRect(parent, &strip, TRUE);
            }
            RestoreDC(client.dc(), saved);
        }
    }
    InvalidateRect(nullptr, FALSE);
    return result;
}
