#include "CHyperLink.h"
#include <shellapi.h>
#include <string>

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverIntervalMs = 10;
constexpr UINT kHandCursorResource = 9973;
constexpr UINT kFirstErrorString = 9357;
constexpr UINT kUnknownErrorString = 9370;

// Shell error codes in the order of their string resources 9357 to 9369.
constexpr int kKnownErrors[] = {0, SE_ERR_FNF, SE_ERR_PNF, SE_ERR_ACCESSDENIED, SE_ERR_OOM, ERROR_BAD_FORMAT,
                                SE_ERR_SHARE, SE_ERR_ASSOCINCOMPLETE, SE_ERR_DDETIMEOUT, SE_ERR_DDEFAIL,
                                SE_ERR_DDEBUSY, SE_ERR_NOASSOC, SE_ERR_DLLNOTFOUND};

// Shows a message as AfxMessageBox does. A text that the 8-bit code page cannot carry (code page 936
// has no registered sign) goes out through the wide API instead, with the same owner and caption.
void ShowMessage(const std::wstring& text, UINT type)
{
    BOOL lossy = FALSE;
    const int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (!lossy && bytes > 0) {
        std::string narrow(static_cast<size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, &narrow[0], bytes, nullptr, nullptr);
        AfxMessageBox(narrow.c_str(), type);
        return;
    }
    CWnd* main = AfxGetMainWnd();
    HWND owner = main && ::IsWindowEnabled(main->m_hWnd) ? main->m_hWnd : ::GetActiveWindow();
    std::wstring caption;
    CWinApp* app = AfxGetApp();
    if (app && !app->m_strAppName.IsEmpty()) {
        wchar_t buffer[260] = {};
        ::MultiByteToWideChar(CP_ACP, 0, app->m_strAppName, -1, buffer, 260);
        caption = buffer;
    } else {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        caption = path;
        caption = caption.substr(caption.find_last_of(L'\\') + 1);
        const size_t dot = caption.find(L'.');
        if (dot != std::wstring::npos && dot > 0) caption.resize(dot);
    }
    ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

std::wstring LoadWide(UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace

IMPLEMENT_DYNAMIC(CHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_WM_SETCURSOR()
    ON_WM_CREATE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_NCHITTEST()
    ON_CONTROL_REFLECT_EX(STN_CLICKED, OnLinkClicked)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CHyperLink::CHyperLink()
{
    m_hHandCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
    if (!m_hHandCursor)
        m_hHandCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kHandCursorResource));
}

CHyperLink::~CHyperLink() = default;

void CHyperLink::Redraw()
{
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CHyperLink::SetTarget(LPCSTR target)
{
    m_strTarget = target;
    // Without wording of its own the tooltip names the target, and follows it.
    if (!m_bTooltipWorded)
        m_strTooltip = m_strTarget;
    if (m_strTooltip.IsEmpty())
        return;
    if (!m_tooltip.m_hWnd) {
        if (!m_hWnd || !m_tooltip.Create(this, 0))
            return;
        m_tooltip.AddTool(this, m_strTooltip, nullptr, 0);
        m_tooltip.SendMessage(TTM_ACTIVATE, m_bTooltipEnabled, 0);
    } else {
        m_tooltip.UpdateTipText(m_strTooltip, this, 0);
    }
}

CString CHyperLink::GetTarget() const { return m_strTarget; }

void CHyperLink::SetLinkColors(COLORREF normal, COLORREF visited, COLORREF hover)
{
    m_crNormal = normal;
    m_crVisited = visited;
    m_crHover = hover;
    Redraw();
}

COLORREF CHyperLink::NormalColor() const { return m_crNormal; }
COLORREF CHyperLink::VisitedColor() const { return m_crVisited; }
COLORREF CHyperLink::HoverColor() const { return m_crHover; }

void CHyperLink::MarkVisited(BOOL visited)
{
    m_bVisited = visited ? 1 : 0;
    Redraw();
}

BOOL CHyperLink::WasVisited() const { return m_bVisited; }
void CHyperLink::SetHandCursor(HCURSOR cursor) { m_hHandCursor = cursor; }
HCURSOR CHyperLink::HandCursor() const { return m_hHandCursor; }

void CHyperLink::SetUnderlined(BOOL underlined)
{
    m_bUnderlined = underlined ? 1 : 0;
    ApplyLinkFont();
}

BOOL CHyperLink::IsUnderlined() const { return m_bUnderlined; }

void CHyperLink::SetBackgroundColor(COLORREF color)
{
    m_crBackground = color;
    Redraw();
}

COLORREF CHyperLink::BackgroundColor() const
{
    return m_crBackground == CLR_NONE ? ::GetSysColor(COLOR_BTNFACE) : m_crBackground;
}

BOOL CHyperLink::OpenTarget(LPCSTR file, int showCommand, LPCSTR parameters, LPCSTR directory)
{
    if (!file)
        file = m_strTarget;
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", file, parameters, directory, showCommand));
    if (result > 32)
        return TRUE;
    ShowOpenError(static_cast<int>(result));
    return FALSE;
}

BOOL CHyperLink::IsTextLink() const
{
    // The type alone: SS_NOPREFIX and the other flags above it do not make a text static another kind.
    const DWORD kind = GetStyle() & SS_TYPEMASK;
    return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT;
}

BOOL CHyperLink::IsPointerOverLink() const
{
    if (!IsTextLink())
        return TRUE;
    const CString text = GetWindowText();
    SIZE extent = {0, 0};
    HDC screen = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(screen, GetFont());
    ::GetTextExtentPoint32A(screen, text, text.GetLength(), &extent);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);

    CRect rect;
    GetWindowRect(&rect);
    switch (GetStyle() & 3) {
    case SS_LEFT:
        rect.right = rect.left + extent.cx;
        break;
    case SS_CENTER: {
        const int d = (rect.Width() - extent.cx) / 2;
        rect.left += d;
        rect.right -= d;
        break;
    }
    case SS_RIGHT:
        rect.left = rect.right - extent.cx;
        break;
    default:
        break;
    }
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    return ::PtInRect(&rect, cursor);
}

void CHyperLink::ShowOpenError(int code)
{
    std::wstring text;
    bool known = false;
    for (size_t i = 0; i < sizeof kKnownErrors / sizeof kKnownErrors[0]; ++i) {
        if (kKnownErrors[i] == code) {
            text = LoadWide(kFirstErrorString + static_cast<UINT>(i));
            known = true;
            break;
        }
    }
    if (!known) {
        const std::wstring format = LoadWide(kUnknownErrorString);
        wchar_t buffer[512] = {};
        _snwprintf(buffer, 511, format.c_str(), code);
        text = buffer;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    ShowMessage(text, MB_ICONEXCLAMATION);
}

BOOL CHyperLink::InitLink()
{
    if (!m_hWnd)
        return FALSE;
    if (IsTextLink()) {
        if (m_strTarget.IsEmpty())
            m_strTarget = GetWindowText();
        const CString target = m_strTarget;
        SetTarget(target);
    }
    ModifyStyle(0, SS_NOTIFY, 0);
    return ApplyLinkFont();
}

BOOL CHyperLink::BuildLinkFont(CFont* font, BOOL underline)
{
    if (!font)
        return FALSE;
    LOGFONTA lf = {};
    HFONT current = m_hWnd ? GetFont() : nullptr;
    if (!current || !::GetObjectA(current, sizeof lf, &lf)) {
        lf = {};
        // The icon-title font, keeping its own character set.
        if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0))
            return FALSE;
    }
    lf.lfUnderline = underline ? 1 : 0;
    font->DeleteObject();
    return font->Attach(::CreateFontIndirectA(&lf));
}

BOOL CHyperLink::ApplyLinkFont()
{
    if (!BuildLinkFont(&m_fontLink, m_bUnderlined) || !m_hWnd)
        return FALSE;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink.GetSafeHandle()), TRUE);
    Redraw();
    return TRUE;
}

void CHyperLink::SetTooltipText(LPCSTR text)
{
    m_strTooltip = text;
    m_bTooltipWorded = m_strTooltip.IsEmpty() ? 0 : 1;
    if (m_tooltip.m_hWnd)
        m_tooltip.UpdateTipText(m_strTooltip, this, 0);
}

BOOL CHyperLink::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.m_hWnd && m_bTooltipEnabled)
        m_tooltip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    return CStatic::PreTranslateMessage(pMsg);
}

void CHyperLink::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (m_bInitOnSubclass)
        InitLink();
}

BOOL CHyperLink::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CStatic::PreCreateWindow(cs))
        return FALSE;
    m_bInitOnSubclass = 0;
    return TRUE;
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hHandCursor && IsPointerOverLink()) {
        ::SetCursor(m_hHandCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

int CHyperLink::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    InitLink();
    return 0;
}

HBRUSH CHyperLink::CtlColor(CDC* pDC, UINT)
{
    if (!IsTextLink())
        return nullptr;
    HBRUSH brush;
    if (m_crBackground == CLR_NONE) {
        // The parent's own answer, whatever brush it or a skin gives its statics. It reflects the
        // request back to us first: that inner call answers nothing, so the parent goes on by itself.
        if (m_bAskingParent)
            return nullptr;
        m_bAskingParent = 1;
        brush = reinterpret_cast<HBRUSH>(::SendMessageA(GetParent(), WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(pDC->GetSafeHdc()),
                                                        reinterpret_cast<LPARAM>(m_hWnd)));
        m_bAskingParent = 0;
    } else {
        brush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    if (m_bHovering || ::GetFocus() == m_hWnd)
        pDC->SetTextColor(m_crHover);
    else if (m_bVisited)
        pDC->SetTextColor(m_crVisited);
    else
        pDC->SetTextColor(m_crNormal);
    pDC->SetBkMode(TRANSPARENT);
    return brush;
}

void CHyperLink::OnMouseMove(UINT, CPoint)
{
    if (IsTextLink() && IsPointerOverLink())
        SetTimer(kHoverTimer, kHoverIntervalMs, nullptr);
    Default();
}

void CHyperLink::OnTimer(UINT_PTR)
{
    if (IsTextLink()) {
        const BYTE now = IsPointerOverLink() ? 1 : 0;
        if (now != m_bHovering) {
            m_bHovering = now;
            Redraw();
        }
        if (!m_bHovering)
            KillTimer(kHoverTimer);
    }
    Default();
}

BOOL CHyperLink::OnEraseBkgnd(CDC*)
{
    if (m_crBackground == CLR_NONE)
        return static_cast<BOOL>(Default());
    return TRUE;
}

void CHyperLink::OnPaint()
{
    if ((GetExStyle() & WS_EX_TRANSPARENT) || m_crBackground == CLR_NONE) {
        Default();
        return;
    }
    CPaintDC paint(this);
    CRect rect;
    if (::IsWindow(m_hWnd))
        GetClientRect(&rect);
    CDC memory;
    if (!memory.CreateCompatibleDC(paint))
        return;
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(paint, rect.Width() > 0 ? rect.Width() : 1, rect.Height() > 0 ? rect.Height() : 1);
    const HGDIOBJ old = memory.SelectObject(canvas.GetSafeHandle());
    memory.IntersectClipRect(rect);
    memory.FillSolidRect(rect, BackgroundColor());
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), 0);
    paint.BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), memory, rect.left, rect.top, SRCCOPY);
    memory.SelectObject(old);
}

void CHyperLink::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
    Redraw();
}

LRESULT CHyperLink::OnNcHitTest(CPoint)
{
    return HTCLIENT;
}

BOOL CHyperLink::OnLinkClicked()
{
    if (IsPointerOverLink())
        m_bVisited = m_bOpenOnClick ? static_cast<BYTE>(OpenTarget(m_strTarget, SW_SHOW, nullptr, nullptr) ? 1 : 0) : 1;
    if (m_tooltip.m_hWnd && m_bTooltipEnabled)
        m_tooltip.SendMessage(TTM_POP, 0, 0);
    return IsTextLink() ? FALSE : TRUE;
}

void CHyperLink::OnSetFocus(CWnd*)
{
    Default();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CHyperLink::OnKeyDown(UINT key, UINT, UINT flags)
{
    Default();
    // A key held down repeats WM_KEYDOWN; the target opens once per press, not once per repeat.
    if ((key == VK_SPACE || key == VK_RETURN) && !(flags & KF_REPEAT))
        m_bVisited = m_bOpenOnClick ? static_cast<BYTE>(OpenTarget(m_strTarget, SW_SHOW, nullptr, nullptr) ? 1 : 0) : 1;
}

UINT CHyperLink::OnGetDlgCode()
{
    const MSG* query = reinterpret_cast<const MSG*>(GetCurrentMessage()->lParam);
    if (query) {
        if (query->message == WM_CHAR && query->wParam == VK_RETURN)
            return DLGC_WANTCHARS;
        if (query->message == WM_KEYDOWN && (query->wParam == VK_RETURN || query->wParam == VK_SPACE))
            return DLGC_WANTMESSAGE;
    }
    return DLGC_UNDEFPUSHBUTTON;
}
