#include "CSkinObjectFrame.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>
#include <vssym32.h>

#include <algorithm>
#include <atomic>

#include "CSkinFrameRegionCache.h"
#include "CSkinImage.h"
#include "CSkinImageCache.h"
#include "CSkinMenuTracker.h"
#include "CSkinPackage.h"
#include "SkinClientBrush.h"

IMPLEMENT_DYNCREATE(CSkinObjectFrame, CWnd)

BEGIN_MESSAGE_MAP(CSkinObjectFrame, CSkinObjectBase)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCMOUSEMOVE, OnNcMouseMove)
    ON_MESSAGE(WM_NCMOUSELEAVE, OnNcMouseLeave)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDown)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_SETICON, OnSetIcon)
    ON_MESSAGE(WM_STYLECHANGED, OnStyleChanged)
    ON_MESSAGE(WM_PRINT, OnPrint)
    ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    ON_MESSAGE(WM_SYSCOMMAND, OnSysCommand)
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenu)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    ON_MESSAGE(WM_NCRBUTTONUP, OnNcRButtonUp)
    ON_MESSAGE(WM_SYSKEYDOWN, OnSysKeyDown)
    ON_MESSAGE(WM_SYSKEYUP, OnSysKeyUp)
    ON_MESSAGE(WM_CREATE, OnCreate)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
    ON_MESSAGE(WM_CTLCOLOREDIT, OnCtlColor)
    ON_MESSAGE(WM_CTLCOLORLISTBOX, OnCtlColor)
    ON_MESSAGE(WM_CTLCOLORBTN, OnCtlColor)
    ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColor)
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColor)
END_MESSAGE_MAP()

namespace {

const UINT_PTR kHoverTimer = 2763;
const UINT_PTR kResyncTimer = 2765;
const UINT kIsActiveIcon = 0x35;
const int kFrameLeft = 7, kFrameRight = 8, kFrameBottom = 9, kSmallFrameLeft = 10, kSmallFrameRight = 11,
          kSmallFrameBottom = 12;
const int kCaption = 1, kSmallCaption = 2, kMinCaption = 3, kMaxCaption = 5;
const int kCloseButtonPart = 18;
const int kTabBodyPart = 10;
const int kSizeBoxPart = 10;  // of the scroll bar's theme
const int kStockImageFile = 3007;  // not in every header set

std::atomic<bool> g_menuKeyPending{false};

// The system's own answer: calls from this program may be answered by the skin.
void SystemAdjustWindowRectEx(RECT* rect, DWORD style, DWORD exStyle) {
    using Adjust = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD);
    static const Adjust adjust = reinterpret_cast<Adjust>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectEx")));
    if (adjust) adjust(rect, style, FALSE, exStyle);
}

POINT FromLParam(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Paints into an off-screen bitmap of a rectangle of the target and copies it there once.
class OffScreen {
public:
    OffScreen(HDC target, const RECT& rect)
        : m_target(target), m_rect(rect),
          m_bitmap(CreateCompatibleBitmap(target, std::max<LONG>(rect.right - rect.left, 1),
                                          std::max<LONG>(rect.bottom - rect.top, 1))),
          m_memory(target) {
        if (m_memory && m_bitmap) {
            // A mirrored target gets a mirrored buffer: the same coordinates, and text that still reads
            // forwards once copied back.
            if (const DWORD layout = GetLayout(target)) SetLayout(m_memory.Get(), layout);
            m_memory.Select(m_bitmap.Get());
            // Start from what is there: the theme's see-through corners blend over it, as they would
            // drawn straight onto the target.
            BitBlt(m_memory.Get(), 0, 0, rect.right - rect.left, rect.bottom - rect.top, target, rect.left, rect.top,
                   SRCCOPY);
            SetWindowOrgEx(m_memory.Get(), rect.left, rect.top, nullptr);
        }
    }
    ~OffScreen() {
        if (!*this) return;
        SetWindowOrgEx(m_memory.Get(), 0, 0, nullptr);
        BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
               m_memory.Get(), 0, 0, SRCCOPY);
    }
    OffScreen(const OffScreen&) = delete;
    OffScreen& operator=(const OffScreen&) = delete;
    HDC Get() const { return m_memory.Get(); }
    explicit operator bool() const { return m_memory && m_bitmap; }

private:
    HDC m_target;
    RECT m_rect;
    // Declared first, so the DC has let go of it by the time it is deleted (the system refuses to
    // delete a bitmap still selected into a DC, and it would leak).
    skin::Bitmap m_bitmap;
    skin::MemoryDC m_memory;
};

class FrameGuard {
public:
    explicit FrameGuard(int& counter) : m_counter(counter) { ++m_counter; }
    ~FrameGuard() { --m_counter; }
    FrameGuard(const FrameGuard&) = delete;
    FrameGuard& operator=(const FrameGuard&) = delete;

private:
    int& m_counter;
};

void FrameRectIn(HDC dc, const RECT& r, HBRUSH brush) {
    if (r.right > r.left && r.bottom > r.top) FrameRect(dc, &r, brush);
}

void TwoColourRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    skin::FillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    skin::FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    skin::FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    skin::FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

}  // namespace

CSkinObjectFrame::CSkinObjectFrame() : m_dialogTextureMode(ETDT_DISABLE) { m_themeClassName = "WINDOW"; }

BOOL CSkinObjectFrame::IsFrameSkinned() const {
    if (!m_engine || !m_engine->IsEnabled() || !(m_engine->GetApplyOptions() & SkinApplyFrame)) return FALSE;
    // A menu bar the object cannot draw is left to the system's frame, which draws it.
    return !m_hWnd || (GetStyle() & WS_CHILD) || DrawsMenuBar() || !::GetMenu(m_hWnd);
}

skin::FrameMetrics CSkinObjectFrame::GetFrameMetrics() const {
    return FrameMetricsFrom(m_engine ? m_engine->GetMetrics() : nullptr);
}

skin::FrameMetrics CSkinObjectFrame::FrameMetricsFrom(const CSkinMetrics* m) {
    skin::FrameMetrics fm;
    if (!m) {
        fm.cxBorder = GetSystemMetrics(SM_CXBORDER);
        fm.cyBorder = GetSystemMetrics(SM_CYBORDER);
        fm.cxEdge = GetSystemMetrics(SM_CXEDGE);
        fm.cyEdge = GetSystemMetrics(SM_CYEDGE);
        fm.captionHeight = GetSystemMetrics(SM_CYCAPTION);
        fm.smallCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
        fm.cxVScroll = GetSystemMetrics(SM_CXVSCROLL);
        fm.cyHScroll = GetSystemMetrics(SM_CYHSCROLL);
        return fm;
    }
    fm.cxBorder = m->cxBorder;
    fm.cyBorder = m->cyBorder;
    fm.cxEdge = m->cxEdge;
    fm.cyEdge = m->cyEdge;
    fm.sizingBorder = m->borderMultiplier;
    fm.captionHeight = m->captionHeight;
    fm.smallCaptionHeight = m->smallCaptionHeight;
    fm.cxVScroll = m->cxVScroll;
    fm.cyHScroll = m->cyHScroll;
    return fm;
}

bool CSkinObjectFrame::IsMaximizedTopLevel() const {
    const DWORD style = GetStyle();
    return ::IsZoomed(m_hWnd) && !(style & WS_CHILD);
}

skin::FrameBorders CSkinObjectFrame::GetFrameBorders() const {
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    const bool maximized = IsMaximizedTopLevel() && skin::HasFullCaption(style);
    int systemFrame = 0;
    if (maximized) {
        // The system's own frame: that is how far the system puts a maximized window beyond the screen.
        // The call through our imports answers with the skin's borders.
        RECT r{0, 0, 100, 100};
        SystemAdjustWindowRectEx(&r, style, exStyle);
        systemFrame = -r.left;
    }
    return skin::CalcFrameBorders(style, exStyle, GetFrameMetrics(), maximized, systemFrame);
}

bool CSkinObjectFrame::UsesFlatScrollBars() const {
    // Looked up where the common controls are loaded: not every import library carries it, and a
    // program that never loaded them has no flat bars.
    using GetScrollProp = BOOL(WINAPI*)(HWND, int, LPINT);
    static GetScrollProp get = nullptr;
    if (!get) {
        const HMODULE controls = GetModuleHandleA("comctl32.dll");
        if (!controls) return false;
        get = reinterpret_cast<GetScrollProp>(reinterpret_cast<void*>(GetProcAddress(controls, "FlatSB_GetScrollProp")));
        if (!get) return false;
    }
    int value = 0;
    return get(m_hWnd, WSB_PROP_VSTYLE, &value) != FALSE;
}

POINT CSkinObjectFrame::ToWindow(int x, int y) const {
    RECT w{};
    ::GetWindowRect(m_hWnd, &w);
    // A mirrored window's DC, where its frame is laid out and drawn, counts from the right.
    if (GetExStyle() & WS_EX_LAYOUTRTL) return POINT{w.right - 1 - x, y - w.top};
    return POINT{x - w.left, y - w.top};
}

// ---------------------------------------------------------------------------------------------
// Caption buttons

void CSkinObjectFrame::UpdateButtons() {
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    const bool askMenu = (style & WS_SYSMENU) && !(exStyle & (WS_EX_TOOLWINDOW | WS_EX_MDICHILD));
    bool closeEnabled = true;
    if (askMenu) {
        const UINT state = GetMenuState(GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND);
        closeEnabled = state == 0xFFFFFFFFu || !(state & (MF_GRAYED | MF_DISABLED));
    }
    if (style == m_cachedStyle && exStyle == m_cachedExStyle) {
        // Programs gray and enable the close command without touching the styles.
        for (skin::CaptionButton& button : m_buttons)
            if (button.hitCode == HTCLOSE && askMenu) button.enabled = closeEnabled;
        return;
    }
    m_hotButton = m_pressedButton = -1;
    m_cachedStyle = style;
    m_cachedExStyle = exStyle;
    m_buttons = skin::BuildCaptionButtons(style, exStyle, ::IsIconic(m_hWnd), ::IsZoomed(m_hWnd), closeEnabled);
}

SIZE CSkinObjectFrame::GetCaptionButtonSize(int s) {
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "WINDOW") : nullptr;
    if (!theme || theme->GetThemeEnumValue(kCloseButtonPart, 1, TMT_BGTYPE, BT_IMAGEFILE) != BT_IMAGEFILE)
        return SIZE{s, s};
    std::string file;
    if (theme->GetThemeEnumValue(kCloseButtonPart, 1, TMT_IMAGESELECTTYPE, 0) &&
        !theme->GetThemeEnumValue(kCloseButtonPart, 1, TMT_GLYPHTYPE, 0))
        file = theme->GetThemeStringRef(kCloseButtonPart, 1, TMT_IMAGEFILE1);
    if (file.empty()) file = theme->GetThemeStringRef(kCloseButtonPart, 1, TMT_IMAGEFILE);
    CSkinSchema* schema = theme->GetSchema();
    CSkinImage* image = file.empty() || !schema ? nullptr : theme->GetImageCache()->Get(schema->GetPackage(), file);
    if (!image) return SIZE{s, s};
    const int count = theme->GetThemeInt(kCloseButtonPart, 1, TMT_IMAGECOUNT, 1);
    const bool horizontal = theme->GetThemeEnumValue(kCloseButtonPart, 1, TMT_IMAGELAYOUT, IL_HORIZONTAL) == IL_HORIZONTAL;
    return skin::CaptionButtonSizeFromImage(image->GetWidth(), image->GetHeight(), count, horizontal, s);
}

void CSkinObjectFrame::SetHotButton(int index) {
    if (index == m_hotButton) return;
    if (m_hotButton >= 0 && index < 0) ::KillTimer(m_hWnd, kHoverTimer);
    m_hotButton = index;
    RedrawFrame();
    if (m_hotButton >= 0) ::SetTimer(m_hWnd, kHoverTimer, 50, &CSkinEngine::SkinTimerProc);
}

void CSkinObjectFrame::TrackCaptionButton(int index) {
    ::SetCapture(m_hWnd);
    m_pressedButton = index;
    m_hotButton = index;
    RedrawFrame();
    BOOL clicked = FALSE;
    MSG msg;
    while (::GetCapture() == m_hWnd) {
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP) {
            clicked = m_pressedButton == index;
            break;
        }
        if (msg.message == WM_NCMOUSELEAVE) continue;
        if (msg.message == WM_MOUSEMOVE) {
            POINT p = FromLParam(msg.lParam);
            ::ClientToScreen(msg.hwnd, &p);
            const POINT w = ToWindow(p.x, p.y);
            const bool over = index < static_cast<int>(m_buttons.size()) && PtInRect(&m_buttons[index].rect, w);
            const int pressed = over ? index : -1;
            if (pressed != m_pressedButton) {
                m_pressedButton = pressed;
                RedrawFrame();
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    const UINT command = index < static_cast<int>(m_buttons.size()) ? m_buttons[index].command : 0;
    m_pressedButton = m_hotButton = -1;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ::KillTimer(m_hWnd, kHoverTimer);
    RedrawFrame();
    if (clicked && command) ::SendMessageA(m_hWnd, WM_SYSCOMMAND, command, 0);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void CSkinObjectFrame::RedrawFrame() {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    if (IsFrameSkinned()) {
        UpdateButtons();
        const HDC dc = ::GetWindowDC(m_hWnd);
        if (!dc) return;
        DrawFrame(dc);
        ::ReleaseDC(m_hWnd, dc);
    } else {
        ::SendMessageA(m_hWnd, WM_NCPAINT, 1, 0);
    }
}

void CSkinObjectFrame::DrawClientEdge(HDC dc, const RECT& rect) {
    CSkinClassTheme* own = m_engine ? m_engine->GetThemeClass(this, m_themeClassName) : nullptr;
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    if (own && own->GetThemeEnumValue(0, 0, TMT_BGTYPE, BT_IMAGEFILE) == BT_BORDERFILL) {
        skin::Brush border(CreateSolidBrush(own->GetThemeColor(0, 0, TMT_BORDERCOLOR, RGB(0, 0, 0))));
        FrameRectIn(dc, rect, border.Get());
        RECT inner = rect;
        InflateRect(&inner, -1, -1);
        FrameRectIn(dc, inner, GetClientBrush(dc));
        return;
    }
    auto colour = [m](int index) { return m ? m->colors[index] : GetSysColor(index); };
    TwoColourRect(dc, rect, colour(COLOR_BTNSHADOW), colour(COLOR_BTNHIGHLIGHT));
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    TwoColourRect(dc, inner, colour(COLOR_3DDKSHADOW), colour(COLOR_3DLIGHT));
}

void CSkinObjectFrame::DrawNonCaptionFrame(HDC dc, RECT rect) {
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    auto brush = [m](int index) { return m ? m->GetSysColorBrush(index) : GetSysColorBrush(index); };
    if (exStyle & WS_EX_WINDOWEDGE)
        DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
    else if (exStyle & WS_EX_STATICEDGE)
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) {
        const bool face = (exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME)) ||
                          (style & WS_DLGFRAME);
        FrameRectIn(dc, rect, brush(face ? COLOR_BTNFACE : COLOR_WINDOWFRAME));
        InflateRect(&rect, -1, -1);
    }
    if (style & WS_THICKFRAME) {
        const int w = m ? m->borderMultiplier : 1;
        for (int i = 0; i < w; ++i) {
            FrameRectIn(dc, rect, brush(COLOR_BTNFACE));
            InflateRect(&rect, -1, -1);
        }
    }
    if (exStyle & WS_EX_CLIENTEDGE) DrawClientEdge(dc, rect);
}

void CSkinObjectFrame::DrawCaption(HDC dc, const RECT& window, const skin::FrameBorders& borders,
                                   CSkinClassTheme& theme) {
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    const int width = window.right, top = borders.top;
    if (width <= 0 || top <= 0) return;
    const RECT strip{0, 0, width, top};
    CSkinSchema* schema = theme.GetSchema();
    CRITICAL_SECTION* lock = schema ? schema->GetLock() : nullptr;
    if (lock) EnterCriticalSection(lock);
    {
        OffScreen buffer(dc, strip);
        if (buffer) {
            const HDC out = buffer.Get();
            const int state = m_active ? 1 : 2;
            const int part = ::IsIconic(m_hWnd) ? kMinCaption : ::IsZoomed(m_hWnd) ? kMaxCaption
                                                                                   : tool ? kSmallCaption : kCaption;
            theme.DrawThemeBackground(out, part, state, strip);
            const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
            const int c = skin::FrameEdgeCount(style, exStyle) - (m ? m->cyBorder : 1);
            int titleLeft = borders.left;
            if (!tool && (style & WS_SYSMENU)) {
                HICON icon = reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_GETICON, ICON_SMALL, 0));
                if (!icon) icon = reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_GETICON, ICON_BIG, 0));
                if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(m_hWnd, GCLP_HICONSM));
                const bool plainDialog = (style & WS_DLGFRAME) && !(style & WS_BORDER);
                if (!icon && !plainDialog && !(exStyle & WS_EX_DLGMODALFRAME)) {
                    DWORD_PTR answer = 0;
                    if (::SendMessageTimeoutA(m_hWnd, WM_QUERYDRAGICON, 0, 0, SMTO_NORMAL, 100, &answer))
                        icon = reinterpret_cast<HICON>(answer);
                    if (!icon) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WINLOGO));
                }
                if (icon) {
                    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
                    const DWORD layout = GetLayout(out);
                    if (layout & LAYOUT_RTL) SetLayout(out, layout | LAYOUT_BITMAPORIENTATIONPRESERVED);
                    DrawIconEx(out, borders.left + 2, c + (top - c - cy) / 2, icon, cx, cy, 0, nullptr, DI_NORMAL);
                    if (layout & LAYOUT_RTL) SetLayout(out, layout);
                    titleLeft = borders.left + cx + 2;
                }
            }
            skin::CaptionLayout layout{window, borders, style, exStyle, ::IsZoomed(m_hWnd) != FALSE,
                                       [](int s, void* self) { return static_cast<CSkinObjectFrame*>(self)->GetCaptionButtonSize(s); },
                                       this};
            const int buttonsLeft = skin::LayoutCaptionButtons(m_buttons, layout, GetFrameMetrics());
            const bool otherPressed = m_pressedButton >= 0;
            for (size_t i = 0; i < m_buttons.size(); ++i) {
                const int index = static_cast<int>(i);
                const int buttonState = skin::CaptionButtonState(m_buttons[i].enabled != FALSE, index == m_hotButton,
                                                                 index == m_pressedButton,
                                                                 otherPressed && index != m_pressedButton, m_active != FALSE);
                theme.DrawThemeBackground(out, m_buttons[i].part, buttonState, m_buttons[i].rect);
            }
            const CString title = GetWindowText();
            if (title.GetLength() > 0 && buttonsLeft > titleLeft) {
                const HFONT font = m ? (tool ? m->smallCaptionFont.Get() : m->captionFont.Get()) : nullptr;
                const HGDIOBJ oldFont = font ? SelectObject(out, font) : nullptr;
                const int textIndex = m_active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT;
                SetTextColor(out, m ? m->colors[textIndex] : GetSysColor(textIndex));
                SetBkMode(out, TRANSPARENT);
                UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
                if (exStyle & WS_EX_RIGHT) flags |= DT_RIGHT;
                if (exStyle & WS_EX_RTLREADING) flags |= DT_RTLREADING;
                theme.DrawThemeText(out, tool ? kSmallCaption : kCaption, state, title, flags,
                                    RECT{titleLeft, c + 1, buttonsLeft, top});
                if (oldFont) SelectObject(out, oldFont);
            }
        }
    }
    if (lock) LeaveCriticalSection(lock);
}

void CSkinObjectFrame::DrawOwnScrollBars(HDC dc) {
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "SCROLLBAR") : nullptr;
    if (!m || !theme) return;
    m_ownBars.SetWindow(m_hWnd);
    const HBRUSH background = SkinClientBrush(m_hWnd, dc, WM_CTLCOLORSCROLLBAR, m);
    for (int bar : {SB_HORZ, SB_VERT})
        if (m_ownBars.Get(bar).visible) m_ownBars.Paint(dc, bar, *m, *theme, background);
    const CSkinScrollBarInfo& h = m_ownBars.Get(SB_HORZ);
    const CSkinScrollBarInfo& v = m_ownBars.Get(SB_VERT);
    if (!h.visible || !v.visible) return;
    const RECT vr = m_ownBars.GetScrollBarRect(SB_VERT, *m), hr = m_ownBars.GetScrollBarRect(SB_HORZ, *m);
    const RECT corner{vr.left, hr.top, vr.right, hr.bottom};
    FillRect(dc, &corner, m->GetSysColorBrush(COLOR_BTNFACE));
    if (IsSizeBoxCorner()) theme->DrawThemeBackground(dc, kSizeBoxPart, 1, corner);
}

bool CSkinObjectFrame::IsSizeBoxCorner() const {
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    const int cxEdge = m ? m->cxEdge : GetSystemMetrics(SM_CXEDGE), cyEdge = m ? m->cyEdge : GetSystemMetrics(SM_CYEDGE);
    RECT own{};
    ::GetWindowRect(m_hWnd, &own);
    for (HWND w = m_hWnd; w;) {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE));
        if (style & WS_THICKFRAME) {
            if (::IsZoomed(w)) return false;
            RECT client{};
            ::GetClientRect(w, &client);
            ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&client), 2);
            return own.right + cxEdge >= client.right && own.bottom + cyEdge >= client.bottom;
        }
        // Only a plain child carries the grip of the window it sits in.
        if (!(style & WS_CHILD) || skin::HasFullCaption(style)) return false;
        w = ::GetParent(w);
    }
    return false;
}

void CSkinObjectFrame::DrawFrame(HDC dc) {
    if (m_frameGuard || !dc) return;
    OnBeforeDraw();
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    OffsetRect(&window, -window.left, -window.top);
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    if (!skin::HasFullCaption(style)) {
        DrawNonCaptionFrame(dc, window);
    } else if (CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "WINDOW") : nullptr) {
        skin::FrameBorders b = m_borders;
        const int width = window.right, height = window.bottom;
        if (exStyle & WS_EX_CLIENTEDGE) {
            DrawClientEdge(dc, RECT{b.left - 2, b.top - 2, width - b.right + 2, height - b.bottom + 2});
            b.top -= 2;
        }
        const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
        const int state = m_active ? 1 : 2;
        theme->DrawThemeBackground(dc, tool ? kSmallFrameLeft : kFrameLeft, state, RECT{0, b.top, b.left, height - b.bottom});
        theme->DrawThemeBackground(dc, tool ? kSmallFrameRight : kFrameRight, state,
                                   RECT{width - b.right, b.top, width, height - b.bottom});
        theme->DrawThemeBackground(dc, tool ? kSmallFrameBottom : kFrameBottom, state, RECT{0, height - b.bottom, width, height});
        DrawCaption(dc, window, b, *theme);
    }
    DrawOwnScrollBars(dc);
}

void CSkinObjectFrame::RepaintOwnScrollBar(int bar) {
    if (!IsFrameSkinned() || !m_ownBars.Get(bar).visible) return;
    const CSkinMetrics* m = m_engine->GetMetrics();
    CSkinClassTheme* theme = m_engine->GetThemeClass(this, "SCROLLBAR");
    if (!m || !theme) return;
    const HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc) return;
    m_ownBars.Paint(dc, bar, *m, *theme, SkinClientBrush(m_hWnd, dc, WM_CTLCOLORSCROLLBAR, m));
    ::ReleaseDC(m_hWnd, dc);
}

BOOL CSkinObjectFrame::GetTrackPos(int bar, int* pos) { return m_ownBars.GetTrackPos(bar, pos); }

HBRUSH CSkinObjectFrame::GetClientBrush(HDC dc) {
    return SkinClientBrush(m_hWnd, dc, GetCtlColorMessage(), m_engine ? m_engine->GetMetrics() : nullptr);
}

HBRUSH CSkinObjectFrame::GetTabBodyBrush() {
    if (m_tabBodyBuilt) return m_tabBodyBrush.Get();
    m_tabBodyBuilt = true;
    CSkinClassTheme* tab = m_engine ? m_engine->GetThemeClass(this, "TAB") : nullptr;
    CSkinSchema* schema = tab ? tab->GetSchema() : nullptr;
    if (!schema) return nullptr;
    const std::string& file = tab->GetThemeStringRef(kTabBodyPart, 0, kStockImageFile);
    CSkinImage* image = file.empty() ? nullptr : tab->GetImageCache()->Get(schema->GetPackage(), file);
    if (!image || image->GetWidth() <= 0 || image->GetHeight() <= 0) return nullptr;
    const int w = image->GetWidth(), h = image->GetHeight();
    const HDC screen = ::GetDC(nullptr);
    skin::Bitmap bitmap(CreateCompatibleBitmap(screen, w, h));
    {
        skin::MemoryDC memory(screen);
        if (bitmap && memory) {
            memory.Select(bitmap.Get());
            const CSkinMetrics* m = m_engine->GetMetrics();
            // A see-through body shows the dialog's face, as the page would without it.
            skin::FillSolid(memory.Get(), RECT{0, 0, w, h}, m ? m->colors[COLOR_BTNFACE] : GetSysColor(COLOR_BTNFACE));
            image->Draw(memory.Get(), RECT{0, 0, w, h}, RECT{0, 0, w, h}, RECT{0, 0, 0, 0}, CLR_INVALID, ST_TRUESIZE,
                        FALSE);
        }
    }
    ::ReleaseDC(nullptr, screen);
    if (bitmap) m_tabBodyBrush.Reset(CreatePatternBrush(bitmap.Get()));
    return m_tabBodyBrush.Get();
}

HBRUSH CSkinObjectFrame::GetDialogBrush(HDC dc, HWND control, UINT ctlColorType) {
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    const HBRUSH dialogBrush = m ? m->brushBtnFace.Get() : GetSysColorBrush(COLOR_BTNFACE);
    const COLORREF text = m ? m->colors[COLOR_BTNTEXT] : GetSysColor(COLOR_BTNTEXT);
    if (m_dialogTextureMode == ETDT_ENABLETAB) {
        if (const HBRUSH body = GetTabBodyBrush()) {
            if (control && control != m_hWnd && dc) {
                // The pattern continues across the page's controls as if they were holes in it.
                RECT page{}, own{};
                ::GetWindowRect(m_hWnd, &page);
                ::GetWindowRect(control, &own);
                SetBrushOrgEx(dc, page.left - own.left, page.top - own.top, nullptr);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, text);
            }
            return body;
        }
    }
    CWnd::GrayCtlColor(dc, control, ctlColorType, dialogBrush, text);
    return dialogBrush;
}

void CSkinObjectFrame::ErasePropertyPage(HDC dc) {
    SetBrushOrgEx(dc, 0, 0, nullptr);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    FillRect(dc, &client, GetDialogBrush(dc, m_hWnd, CTLCOLOR_DLG));
}

BOOL CSkinObjectFrame::OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    NoteMouseButton(message);
    return CSkinObjectBase::OnDefaultProcMessage(message, wParam, lParam, result);
}

BOOL CSkinObjectFrame::OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    NoteMouseButton(message);
    // Only a page's own procedure road: the system's erase would fill it with a plain brush.
    if (message == WM_ERASEBKGND && m_dialogTextureMode == ETDT_ENABLETAB && wParam && !IsMessageExcluded(message)) {
        ErasePropertyPage(reinterpret_cast<HDC>(wParam));
        result = TRUE;
        return TRUE;
    }
    return CSkinObjectBase::OnSubclassMessage(message, wParam, lParam, result);
}

LRESULT CSkinObjectFrame::OnEraseBackground(WPARAM, LPARAM) {
    const ULONG_PTR background = GetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND);
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    const HBRUSH skinBrush = m && background >= 1 && background <= 30 ? m->GetSysColorBrush(static_cast<int>(background) - 1)
                                                                         : nullptr;
    if (!skinBrush) return Default();
    // The class's system colour becomes the theme's for this erase only: the class is shared.
    SetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(skinBrush));
    const LRESULT result = Default();
    SetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(background));
    return result;
}

LRESULT CSkinObjectFrame::OnCtlColor(WPARAM dcParam, LPARAM controlParam) {
    const UINT message = CurrentMessage();
    const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
    if (!m || m_themeClassName == "COMBOBOX") return Default();
    const HDC dc = reinterpret_cast<HDC>(dcParam);
    const HWND control = reinterpret_cast<HWND>(controlParam);
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        if (!dc) return Default();
        SetBkColor(dc, m->colors[COLOR_WINDOW]);
        SetTextColor(dc, m->colors[COLOR_WINDOWTEXT]);
        return reinterpret_cast<LRESULT>(m->brushWindow.Get());
    }
    const UINT type = message - WM_CTLCOLORMSGBOX;
    if (!CWnd::GrayCtlColor(dc, control, type, m->brushBtnFace.Get(), 0)) return Default();
    return reinterpret_cast<LRESULT>(GetDialogBrush(dc, control, type));
}

// ---------------------------------------------------------------------------------------------
// Hit test and hover

int CSkinObjectFrame::NcHitTest(int x, int y) {
    if (skin::HasFullCaption(GetStyle())) UpdateButtons();
    const POINT p = ToWindow(x, y);
    const int barHit = m_ownBars.NcHitTest(p);
    if (barHit) return barHit;
    // The grip between the bars sizes the window it sits in; the system knows nothing of it.
    const RECT corner = m_ownBars.GetCorner();
    if (PtInRect(&corner, p) && IsSizeBoxCorner())
        return (GetExStyle() & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    const int index = skin::CaptionButtonAt(m_buttons, p, IsMaximizedTopLevel());
    return index >= 0 ? m_buttons[index].hitCode : 0;
}

BOOL CSkinObjectFrame::HandleNcMouseMove(int x, int y) {
    const int index = (x == -1 && y == -1) ? -1 : skin::CaptionButtonAt(m_buttons, ToWindow(x, y), IsMaximizedTopLevel());
    if (index != m_hotButton) {
        SetHotButton(index);
        if (m_hotButton >= 0) return TRUE;
    } else if (index >= 0) {
        return TRUE;
    }
    if (m_ownBars.GetTracking()) return TRUE;
    const POINT p = (x == -1 && y == -1) ? POINT{-1, -1} : ToWindow(x, y);
    const CSkinOwnScrollBars::Hover hover = m_ownBars.UpdateHover(p);
    for (int bar : {SB_HORZ, SB_VERT})
        if (hover.changed[bar]) RepaintOwnScrollBar(bar);
    if (hover.anyHot) {
        ::SetTimer(m_hWnd, kHoverTimer, 50, &CSkinEngine::SkinTimerProc);
        return TRUE;
    }
    if (hover.changed[SB_HORZ] || hover.changed[SB_VERT]) ::KillTimer(m_hWnd, kHoverTimer);
    return FALSE;
}

void CSkinObjectFrame::OnSkinTimer(UINT_PTR id) {
    if (id == kResyncTimer) {
        ::KillTimer(m_hWnd, id);
        ResyncFrame();
        return;
    }
    if (id != kHoverTimer) {
        CSkinObjectBase::OnSkinTimer(id);
        return;
    }
    if (::GetCapture()) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const int hit = NcHitTest(cursor.x, cursor.y);
    if (hit == 0 || hit == HTCLIENT || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT || !PtInRect(&window, cursor)) {
        HandleNcMouseMove(-1, -1);
        ::KillTimer(m_hWnd, kHoverTimer);
    }
}

// ---------------------------------------------------------------------------------------------
// Window region

skin::RegionPiece CSkinObjectFrame::ScanPiece(CSkinClassTheme& theme, int part, int state, int width, int height,
                                              bool rows, bool fromEnd, int narrowLength) {
    const RECT m = theme.GetThemeRect(part, state, TMT_SIZINGMARGINS, 0, 0, 0, 0);
    int startMargin = std::max(0, static_cast<int>(rows ? m.left : m.top));
    int endMargin = std::max(0, static_cast<int>(rows ? m.right : m.bottom));
    if (narrowLength > 0 && startMargin + endMargin > 0) {
        startMargin = MulDiv(narrowLength, startMargin, startMargin + endMargin);
        endMargin = narrowLength - startMargin;
        (rows ? width : height) = narrowLength;
    } else {
        // Any length beyond the two margins gives the same corners.
        (rows ? width : height) = startMargin + endMargin + 8;
    }
    if (width <= 0 || height <= 0) return skin::RegionPiece{};
    // Drawn over black and over white: a pixel that shows each background unchanged is see-through.
    DWORD* bits[2] = {nullptr, nullptr};
    skin::Bitmap bitmaps[2];
    const RECT all{0, 0, width, height};
    for (int i = 0; i < 2; ++i) {
        bitmaps[i].Reset(skin::CreateDib32(width, height, reinterpret_cast<void**>(&bits[i])));
        if (!bits[i]) return skin::RegionPiece{};
        skin::MemoryDC dc(nullptr);
        dc.Select(bitmaps[i].Get());
        skin::FillSolid(dc.Get(), all, i ? RGB(255, 255, 255) : RGB(0, 0, 0));
        theme.DrawThemeBackground(dc.Get(), part, state, all);
        GdiFlush();
    }
    std::vector<bool> mask(static_cast<size_t>(width) * height);
    for (size_t k = 0; k < mask.size(); ++k)
        mask[k] = (bits[0][k] & 0xFFFFFF) == 0 && (bits[1][k] & 0xFFFFFF) == 0xFFFFFF;
    return rows ? skin::ScanRegionPieceRows(mask, width, height, startMargin, endMargin, fromEnd)
                : skin::ScanRegionPieceColumns(mask, width, height, startMargin, endMargin, fromEnd);
}

HRGN CSkinObjectFrame::CalcFrameRegion(int cx, int cy) {
    const skin::FrameBorders b = GetFrameBorders();
    if (IsMaximizedTopLevel()) {
        const int inset = std::max(b.left - ((GetExStyle() & WS_EX_CLIENTEDGE) ? 2 : 0), 0);
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
        if (cx != mi.rcWork.right - mi.rcWork.left) return CreateRectRgn(inset, inset, cx - inset, cy - inset);
        return CreateRectRgn(inset, inset, cx + 2 * inset, cy + 2 * inset);
    }
    HRGN region = CreateRectRgn(0, 0, cx, cy);
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "WINDOW") : nullptr;
    if (!theme || !region) return region;
    const bool tool = (GetExStyle() & WS_EX_TOOLWINDOW) != 0;
    CSkinFrameRegionCache& cache = CSkinFrameRegionCache::Instance();
    skin::FramePieces pieces;
    const bool cached = cache.Find(b.top, b.left, tool, pieces);
    if (!cached) {
        pieces.caption = ScanPiece(*theme, tool ? kSmallCaption : kCaption, 0, 0, b.top, true, false);
        pieces.bottom = ScanPiece(*theme, tool ? kSmallFrameBottom : kFrameBottom, 0, 0, b.bottom, true, true);
        pieces.left = ScanPiece(*theme, tool ? kSmallFrameLeft : kFrameLeft, 1, b.left, 0, false, false);
        pieces.right = ScanPiece(*theme, tool ? kSmallFrameRight : kFrameRight, 1, b.left, 0, false, true);
        cache.Store(b.top, b.left, tool, pieces);
    }
    if (cx < pieces.caption.startMargin + pieces.caption.endMargin) {
        // Narrower than the caption's two corners: they share the width, for this size alone.
        pieces.caption = ScanPiece(*theme, tool ? kSmallCaption : kCaption, 0, 0, b.top, true, false, cx);
    }
    for (const RECT& cut : skin::FrameRegionCuts(pieces, cx, cy, b.top, b.left)) {
        skin::GdiHandle<HRGN> piece(CreateRectRgnIndirect(&cut));
        if (piece) CombineRgn(region, region, piece.Get(), RGN_DIFF);
    }
    return region;
}

void CSkinObjectFrame::RemoveRegion() {
    if (!m_regionApplied) return;
    m_regionApplied = FALSE;
    if (m_hWnd && ::IsWindow(m_hWnd)) ::SetWindowRgn(m_hWnd, nullptr, TRUE);
}

void CSkinObjectFrame::UpdateRegion(int cx, int cy) {
    if (m_regionBusy || !m_hWnd) return;
    m_regionBusy = TRUE;
    if (!skin::HasFullCaption(GetStyle())) {
        RemoveRegion();
    } else if (cx != m_regionSize.cx || cy != m_regionSize.cy) {
        if (IsFrameSkinned()) {
            m_borders = GetFrameBorders();
            const HRGN region = CalcFrameRegion(cx, cy);
            // The window owns a region it took; one it refused is still ours.
            if (::SetWindowRgn(m_hWnd, region, TRUE))
                m_regionApplied = TRUE;
            else if (region)
                DeleteObject(region);
        } else {
            RemoveRegion();
        }
        m_regionSize = SIZE{cx, cy};
    }
    m_regionBusy = FALSE;
}

LRESULT CSkinObjectFrame::OnCreate(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (result == -1) return result;
    ResizeForSkinnedFrame();
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    UpdateRegion(window.right - window.left, window.bottom - window.top);
    return 0;
}

void CSkinObjectFrame::ResizeForSkinnedFrame() {
    if (!m_hWnd || !m_engine || !m_engine->IsEnabled()) return;
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    if (!skin::HasFullCaption(style)) return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    if ((m_engine->GetApplyOptions() & SkinApplyMetrics) && !(style & WS_CHILD) && IsFrameSkinned() &&
        !::IsZoomed(m_hWnd) && !::IsIconic(m_hWnd)) {
        // The window was sized for the system's frame around its client area; the skin's frame is what
        // the client area now lies in, so the size changes by the difference between the two.
        RECT system{0, 0, 100, 100};
        SystemAdjustWindowRectEx(&system, style, exStyle);
        const skin::FrameBorders b = GetFrameBorders();
        const int dx = (b.left + b.right) - (system.right - system.left - 100);
        const int dy = (b.top + b.bottom) - (system.bottom - system.top - 100);
        if (dx || dy) {
            ::MoveWindow(m_hWnd, window.left, window.top, window.right - window.left + dx,
                         window.bottom - window.top + dy, FALSE);
            ::GetWindowRect(m_hWnd, &window);
        }
    }
    UpdateRegion(window.right - window.left, window.bottom - window.top);
}

bool CSkinObjectFrame::IsSkinnedMdiChild() const {
    const unsigned both = SkinApplyMetrics | SkinApplyFrame;
    return m_engine && (m_engine->GetApplyOptions() & both) == both && IsFrameSkinned() &&
           (GetExStyle() & WS_EX_MDICHILD) && (GetStyle() & WS_CHILD);
}

LRESULT CSkinObjectFrame::OnWindowPosChanging(WPARAM, LPARAM pos) {
    const LRESULT result = Default();
    WINDOWPOS* wp = reinterpret_cast<WINDOWPOS*>(pos);
    if (!wp) return result;
    if (IsSkinnedMdiChild() && ::IsZoomed(m_hWnd)) {
        // Maximized inside the MDI client, the borders and caption are pushed out of sight.
        RECT client{};
        ::GetClientRect(GetParent(), &client);
        const skin::FrameBorders b = GetFrameBorders();
        const int cx = client.right + b.left + b.right, cy = client.bottom + b.top + b.bottom;
        if (!(wp->flags & SWP_NOSIZE) && (wp->cx < cx || wp->cy < cy)) {
            wp->x = -b.left;
            wp->y = -b.top;
            wp->cx = cx;
            wp->cy = cy;
            wp->flags &= ~SWP_NOMOVE;
        }
    }
    if (!(wp->flags & SWP_NOSIZE) && !(GetExStyle() & WS_EX_LAYOUTRTL)) UpdateRegion(wp->cx, wp->cy);
    return result;
}

LRESULT CSkinObjectFrame::OnWindowPosChanged(WPARAM, LPARAM pos) {
    const LRESULT result = Default();
    const WINDOWPOS* wp = reinterpret_cast<const WINDOWPOS*>(pos);
    if (wp && !(wp->flags & SWP_NOSIZE)) UpdateRegion(wp->cx, wp->cy);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Lifecycle

void CSkinObjectFrame::OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) {
    CSkinObjectBase::OnAttached(createStruct, autoAttached);
    m_ownBars.SetWindow(m_hWnd);
    if (!autoAttached) ResizeForSkinnedFrame();
}

void CSkinObjectFrame::OnDetached(BOOL windowDestroyed) {
    if (m_hWnd && !windowDestroyed && ::IsWindow(m_hWnd)) {
        ::KillTimer(m_hWnd, kHoverTimer);
        if (m_regionApplied) {
            RemoveRegion();
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    CSkinObjectBase::OnDetached(windowDestroyed);
}

void CSkinObjectFrame::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    if (isEnabled) {
        ResyncFrame();
        if (!wasEnabled) m_active = ::SendMessageA(m_hWnd, kIsActiveIcon, 0, 0) != 0;
    }
    m_cachedStyle = m_cachedExStyle = 0xFFFFFFFFu;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ReloadMetrics();
    m_regionSize = SIZE{0, 0};
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    UpdateRegion(window.right - window.left, window.bottom - window.top);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSkinObjectFrame::ReloadMetrics() {
    m_regionSize = SIZE{0, 0};
    CSkinFrameRegionCache::Instance().Clear();
    m_tabBodyBrush.Reset();
    m_tabBodyBuilt = false;
    if (m_hWnd && ::IsWindow(m_hWnd)) ::PostMessageA(m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
}

void CSkinObjectFrame::ResyncFrame() {
    if (!IsFrameSkinned() || !m_hWnd) return;
    FrameGuard guard(m_frameGuard);
    const LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
    const LONG mask = WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL;
    if (!(style & mask)) return;
    SetWindowLongA(m_hWnd, GWL_STYLE, style & ~mask);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::SendMessageA(m_hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&window));
    SetWindowLongA(m_hWnd, GWL_STYLE, style);
}

BOOL CSkinObjectFrame::IsMessageExcluded(UINT message) {
    if (message == WM_ENTERIDLE && IsFrameSkinned() && m_hWnd) {
        const DWORD need = WS_VISIBLE | WS_MINIMIZE | WS_CAPTION;
        if ((GetStyle() & need) == need) RedrawFrame();
    }
    if (m_frameGuard && (message == WM_STYLECHANGING || message == WM_STYLECHANGED || message == WM_NCCALCSIZE))
        return TRUE;
    switch (message) {
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_NCCALCSIZE:
    case WM_NCHITTEST:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSELEAVE:
    case WM_PRINT:
    // Without a skinned frame the caption is the system's: so are its text, icon and style changes.
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_STYLECHANGED:
    case WM_GETMINMAXINFO:
    case WM_SYSCOMMAND:
        // Decided only for these: it asks the system about the window, which every message would pay for.
        if (!IsFrameSkinned()) return TRUE;
        break;
    default:
        break;
    }
    return CSkinObjectBase::IsMessageExcluded(message);
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT CSkinObjectFrame::OnNcPaint(WPARAM, LPARAM) {
    if (UsesFlatScrollBars()) return Default();
    UpdateButtons();
    const HDC dc = ::GetWindowDC(m_hWnd);
    if (dc) {
        DrawFrame(dc);
        ::ReleaseDC(m_hWnd, dc);
    }
    return 0;
}

LRESULT CSkinObjectFrame::OnNcCalcSize(WPARAM, LPARAM params) {
    if (UsesFlatScrollBars()) {
        m_ownBars.Get(SB_HORZ).visible = m_ownBars.Get(SB_VERT).visible = FALSE;
        return Default();
    }
    if (!params) return 0;
    RECT* rect = reinterpret_cast<RECT*>(params);
    m_borders = GetFrameBorders();
    const DWORD style = GetStyle(), exStyle = GetExStyle();
    *rect = skin::CalcClientRect(*rect, m_borders, style, exStyle, GetFrameMetrics());
    m_ownBars.SetWindow(m_hWnd);
    m_ownBars.Get(SB_HORZ).visible = (style & WS_HSCROLL) != 0;
    m_ownBars.Get(SB_VERT).visible = (style & WS_VSCROLL) != 0;
    return 0;
}

LRESULT CSkinObjectFrame::OnNcHitTest(WPARAM, LPARAM point) {
    const LRESULT system = Default();
    const POINT p = FromLParam(point);
    const int own = NcHitTest(p.x, p.y);
    if (own) return own;
    const bool flat = UsesFlatScrollBars();
    const int mapped = skin::MapSystemHitCode(static_cast<int>(system), flat);
    if (mapped != HTNOWHERE || flat) return mapped;
    // The system measures its own caption, which may be lower than the skin's.
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    m_ownBars.SetWindow(m_hWnd);
    return skin::SkinCaptionHitCode(ToWindow(p.x, p.y), SIZE{window.right - window.left, window.bottom - window.top},
                                    m_ownBars.GetClientInWindow(), m_borders, skin::HasFullCaption(GetStyle()));
}

LRESULT CSkinObjectFrame::OnNcMouseMove(WPARAM, LPARAM point) {
    const POINT p = FromLParam(point);
    if (HandleNcMouseMove(p.x, p.y)) return 0;
    return Default();
}

LRESULT CSkinObjectFrame::OnNcMouseLeave(WPARAM, LPARAM) {
    if (HandleNcMouseMove(-1, -1)) return 0;
    return Default();
}

LRESULT CSkinObjectFrame::OnNcLButtonDown(WPARAM hitCode, LPARAM point) {
    const POINT screen = FromLParam(point);
    if (m_hotButton < 0) {
        // The press may come without a move before it (a click where the pointer already was).
        const int index = skin::CaptionButtonAt(m_buttons, ToWindow(screen.x, screen.y), IsMaximizedTopLevel());
        if (index >= 0) m_hotButton = index;
    }
    if (m_hotButton >= 0) {
        TrackCaptionButton(m_hotButton);
        return 0;
    }
    const POINT p = ToWindow(screen.x, screen.y);
    for (int bar : {SB_HORZ, SB_VERT}) {
        const CSkinScrollBarInfo& info = m_ownBars.Get(bar);
        if (!info.visible || m_ownBars.NcHitTest(p) != (bar == SB_VERT ? HTVSCROLL : HTHSCROLL)) continue;
        const CSkinMetrics* m = m_engine ? m_engine->GetMetrics() : nullptr;
        if (!m) break;
        m_ownBars.Track(bar, p, (GetKeyState(VK_SHIFT) & 0x8000) != 0, *m, [this](int b) { RepaintOwnScrollBar(b); });
        return 0;
    }
    switch (hitCode) {
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
        return 0;
    default:
        return Default();
    }
}

LRESULT CSkinObjectFrame::OnNcActivate(WPARAM active, LPARAM) {
    if (!skin::HasFullCaption(GetStyle())) return Default();
    if (m_dialogTextureMode == ETDT_ENABLE) {
        const bool unicode = ::SendMessageA(m_hWnd, WM_NOTIFYFORMAT, 0, NF_QUERY) == NFR_UNICODE;
        const LONG_PTR proc = unicode ? GetWindowLongPtrW(m_hWnd, DWLP_DLGPROC) : GetWindowLongPtrA(m_hWnd, DWLP_DLGPROC);
        // Values at the top of the range are handles of the system's dialog thunks, not code.
        if (proc && static_cast<ULONG_PTR>(proc) < 0xFFFF0000u)
            CallPrevious(reinterpret_cast<WNDPROC>(proc), WM_NCACTIVATE, active, 0);
    }
    BOOL nowActive = active != 0;
    if (GetExStyle() & WS_EX_MDICHILD) {
        const HWND client = GetParent();
        const HWND current = client ? reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
        if (current && current != m_hWnd) {
            ::SendMessageA(current, WM_NCACTIVATE, active, 0);
            ::SendMessageA(current, WM_NCPAINT, 1, 0);
        }
    }
    m_active = nowActive;
    RedrawFrame();
    return TRUE;
}

LRESULT CSkinObjectFrame::OnSetText(WPARAM wParam, LPARAM lParam) {
    if (!skin::HasFullCaption(GetStyle())) return Default();
    const LRESULT result = Default();
    RedrawFrame();
    if ((GetExStyle() & WS_EX_MDICHILD) && ::IsZoomed(m_hWnd) && (GetStyle() & WS_CHILD))
        ::SendMessageA(::GetAncestor(m_hWnd, GA_ROOT), WM_NCPAINT, 1, 0);
    (void)wParam;
    (void)lParam;
    return result;
}

LRESULT CSkinObjectFrame::OnSetIcon(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (skin::HasFullCaption(GetStyle())) RedrawFrame();
    return result;
}

LRESULT CSkinObjectFrame::OnStyleChanged(WPARAM which, LPARAM change) {
    const LRESULT result = Default();
    m_borders = GetFrameBorders();
    const STYLESTRUCT* st = reinterpret_cast<const STYLESTRUCT*>(change);
    if (st && ((st->styleOld ^ st->styleNew) & 0xC40080)) {
        (void)which;
        m_regionSize = SIZE{0, 0};
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        UpdateRegion(window.right - window.left, window.bottom - window.top);
    }
    if (skin::HasFullCaption(GetStyle())) ::PostMessageA(m_hWnd, WM_NCPAINT, 1, 0);
    return result;
}

LRESULT CSkinObjectFrame::OnPrint(WPARAM dcParam, LPARAM flags) {
    const HDC dc = reinterpret_cast<HDC>(dcParam);
    LRESULT result = 0;
    if (flags != PRF_NONCLIENT) {
        FrameGuard guard(m_frameGuard);
        if ((flags & PRF_NONCLIENT) && (flags & PRF_CLIENT) && dc) {
            // The window prints its client area at the client's place inside the whole window's image,
            // and nothing of a frame of its own.
            RECT window{}, client{};
            ::GetWindowRect(m_hWnd, &window);
            ::GetClientRect(m_hWnd, &client);
            POINT origin{0, 0};
            ::ClientToScreen(m_hWnd, &origin);
            const int saved = SaveDC(dc);
            OffsetViewportOrgEx(dc, origin.x - window.left, origin.y - window.top, nullptr);
            IntersectClipRect(dc, 0, 0, client.right, client.bottom);
            result = DefWindowProc(WM_PRINT, dcParam, flags & ~static_cast<LPARAM>(PRF_NONCLIENT));
            RestoreDC(dc, saved);
        } else {
            result = Default();
        }
    }
    if ((flags & PRF_NONCLIENT) && dc) {
        const DWORD style = GetStyle();
        if (!(style & WS_HSCROLL)) m_ownBars.Get(SB_HORZ).visible = FALSE;
        if (!(style & WS_VSCROLL)) m_ownBars.Get(SB_VERT).visible = FALSE;
        if ((GetExStyle() & WS_EX_LAYOUTRTL) && GetLayout(dc) == 0) SetLayout(dc, LAYOUT_RTL);
        UpdateButtons();
        DrawFrame(dc);
    }
    return result;
}

LRESULT CSkinObjectFrame::OnGetMinMaxInfo(WPARAM, LPARAM info) {
    const LRESULT result = Default();
    if (info && skin::HasFullCaption(GetStyle())) {
        MINMAXINFO* mmi = reinterpret_cast<MINMAXINFO*>(info);
        UpdateButtons();
        const LONG width = m_borders.top * static_cast<LONG>(m_buttons.size()) + GetSystemMetrics(SM_CYSIZE) +
                           2 * GetSystemMetrics(SM_CXEDGE);
        mmi->ptMinTrackSize.x = std::max(mmi->ptMinTrackSize.x, width);
        mmi->ptMinTrackSize.y = std::max<LONG>(mmi->ptMinTrackSize.y, m_borders.top + m_borders.bottom);
        if (IsSkinnedMdiChild()) {
            const LONG y = -GetFrameBorders().top;
            mmi->ptMaxSize.y += mmi->ptMaxPosition.y - y;
            mmi->ptMaxPosition.y = y;
        }
    }
    return result;
}

BOOL CSkinObjectFrame::HandleSysCommand(UINT command, LPARAM lParam) {
    if (!m_engine || !(m_engine->GetApplyOptions() & SkinApplyMenus)) return FALSE;
    if (command == SC_MOUSEMENU) {
        if (::SendMessageA(m_hWnd, WM_NCHITTEST, 0, lParam) == HTSYSMENU) OpenSystemMenu();
        return TRUE;
    }
    if (command != SC_KEYMENU) return FALSE;
    if (!(GetStyle() & WS_CHILD)) {
        if (lParam == ' ') OpenSystemMenu();
        return TRUE;
    }
    for (HWND w = m_hWnd; w; w = ::GetParent(w)) {
        if ((GetWindowLongA(w, GWL_STYLE) & WS_SYSMENU) || ::GetMenu(w)) {
            if (w == m_hWnd) {
                if (lParam == '-') OpenSystemMenu();
                return TRUE;
            }
            CSkinRef<CSkinWindowSink> sink = m_engine->FindSkinObjectRef(w);
            CSkinObjectBase* object = sink ? sink->GetSkinObject() : nullptr;
            if (auto* frame = dynamic_cast<CSkinObjectFrame*>(object)) return frame->HandleSysCommand(command, lParam);
            return FALSE;
        }
        if (!(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) break;
    }
    return FALSE;
}

void CSkinObjectFrame::OpenSystemMenu() {
    if (!(GetStyle() & WS_SYSMENU)) return;
    POINT at = {0, 0};
    ::ClientToScreen(m_hWnd, &at);
    CSkinMenuTracker::TrackSystemMenuAt(m_hWnd, at.x, at.y);
}

LRESULT CSkinObjectFrame::OnContextMenu(WPARAM window, LPARAM point) {
    if (reinterpret_cast<HWND>(window) == m_hWnd && m_engine && (m_engine->GetApplyOptions() & SkinApplyMenus) &&
        (GetStyle() & WS_SYSMENU)) {
        const int hit = static_cast<int>(::SendMessageA(m_hWnd, WM_NCHITTEST, 0, point));
        const int result = CSkinMenuTracker::TrackSystemMenuFor(m_hWnd, hit, GET_X_LPARAM(point), GET_Y_LPARAM(point));
        if (result >= 0) return result;
    }
    return Default();
}

LRESULT CSkinObjectFrame::OnSysCommand(WPARAM command, LPARAM lParam) {
    const UINT sc = static_cast<UINT>(command & 0xFFF0);
    if (sc == SC_MAXIMIZE && IsSkinnedMdiChild() && !::IsZoomed(m_hWnd)) {
        const LRESULT result = Default();
        RECT client{};
        ::GetClientRect(GetParent(), &client);
        const skin::FrameBorders b = GetFrameBorders();
        ::MoveWindow(m_hWnd, -b.left, -b.top, client.right + b.left + b.right, client.bottom + b.top + b.bottom, TRUE);
        return result;
    }
    if (HandleSysCommand(sc, lParam)) return 0;
    if (sc == SC_MOVE && ::IsIconic(m_hWnd)) {
        // The system draws the icon's frame as it starts moving it; ours goes back on top.
        DefWindowProc(WM_NCPAINT, 1, 0);
        RedrawFrame();
    }
    const LRESULT result = Default();
    if (sc == SC_MINIMIZE) RedrawFrame();
    return result;
}

bool CSkinObjectFrame::IsMenuKeyPending() { return g_menuKeyPending; }

void CSkinObjectFrame::NoteMouseButton(UINT message) {
    // A click between Alt's press and release makes the release no menu key.
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) g_menuKeyPending = false;
}

LRESULT CSkinObjectFrame::OnSysKeyDown(WPARAM key, LPARAM flags) {
    const bool repeat = (flags & (1 << 30)) != 0;
    const HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    if (key == VK_MENU && !repeat && top && ::GetMenu(top)) {
        g_menuKeyPending = true;
        return 0;
    }
    // A held Alt repeats: still the same press, which the system must not count as one of its own.
    if (key == VK_MENU && repeat && g_menuKeyPending) return 0;
    return Default();
}

LRESULT CSkinObjectFrame::OnSysKeyUp(WPARAM key, LPARAM) {
    if (key == VK_MENU && g_menuKeyPending.exchange(false)) {
        if (const HWND top = ::GetAncestor(m_hWnd, GA_ROOT)) ::SendMessageA(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    }
    return Default();
}

LRESULT CSkinObjectFrame::OnNcRButtonUp(WPARAM hitCode, LPARAM point) {
    const POINT screen = FromLParam(point);
    const int bar = IsFrameSkinned() ? m_ownBars.NcHitTest(ToWindow(screen.x, screen.y)) : 0;
    if (bar != HTHSCROLL && bar != HTVSCROLL) return Default();
    {
        // The system's scroll-bar menu works from its own idea of where the bars are.
        FrameGuard guard(m_frameGuard);
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        ::SendMessageA(m_hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&window));
    }
    ::SendMessageA(m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), point);
    ResyncFrame();
    (void)hitCode;
    return 0;
}
