#include "CSkinObjectApplicationFrame.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CSkinMenuTracker.h"
#include "SkinGdi.h"
#include "SkinMenuLayout.h"

IMPLEMENT_DYNCREATE(CSkinObjectApplicationFrame, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSkinObjectApplicationFrame, CSkinObjectFrame)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSizeWithBar)
END_MESSAGE_MAP()

namespace {

const UINT_PTR kHoverTimer = 2763;
// "WINDOW" parts of an MDI child's buttons in the bar.
const int kMdiMinButton = 16, kMdiCloseButton = 20, kMdiRestoreButton = 22;

enum class BarItemKind { Text, Separator, ChildSystemMenu, ChildButton };

struct BarItemFacts {
    BarItemKind kind = BarItemKind::Text;
    UINT id = 0;
    UINT state = 0;
    UINT type = 0;
};

BarItemFacts ReadBarItem(HMENU menu, int position) {
    BarItemFacts facts;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return facts;
    facts.id = info.wID;
    facts.state = info.fState;
    facts.type = info.fType;
    const bool bitmap = (info.fType & MFT_BITMAP) || info.hbmpItem;
    if (info.fType & MFT_SEPARATOR)
        facts.kind = BarItemKind::Separator;
    else if (bitmap && info.hSubMenu && position == 0)
        facts.kind = BarItemKind::ChildSystemMenu;
    else if (bitmap && !info.hSubMenu && (info.wID == SC_MINIMIZE || info.wID == SC_RESTORE || info.wID == SC_CLOSE))
        facts.kind = BarItemKind::ChildButton;
    return facts;
}

std::string ItemText(HMENU menu, int position) {
    char text[257] = {};
    if (GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION) <= 0) return {};
    return text;
}

// The active MDI child of a frame's MDI client, when there is one.
HWND ActiveMdiChild(HWND frame) {
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    return client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

HICON SmallIconOf(HWND window) {
    if (!window) return nullptr;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    return icon;
}

}  // namespace

CSkinObjectApplicationFrame::CSkinObjectApplicationFrame() {
    m_themeClassName = "WINDOW";
    m_ctlColorMessage = WM_CTLCOLORDLG;
}

CSkinObjectApplicationFrame::~CSkinObjectApplicationFrame() = default;

BOOL CSkinObjectApplicationFrame::HasMenuBar() const {
    if (!m_hWnd || (GetStyle() & WS_CHILD)) return FALSE;
    HMENU menu = ::GetMenu(m_hWnd);
    return menu && IsMenu(menu) && GetMenuItemCount(menu) > 0;
}

void CSkinObjectApplicationFrame::OnDetached(BOOL windowDestroyed) {
    m_menuBar.reset();
    m_menuBarRect = RECT{0, 0, 0, 0};
    CSkinObjectFrame::OnDetached(windowDestroyed);
}

LRESULT CSkinObjectApplicationFrame::OnNcCalcSizeWithBar(WPARAM calcValidRects, LPARAM params) {
    RECT window = {0, 0, 0, 0};
    if (params) window = *reinterpret_cast<RECT*>(params);
    const LRESULT result = OnNcCalcSize(calcValidRects, params);
    if (!params || !IsFrameSkinned() || !HasMenuBar()) {
        m_menuBarRect = RECT{0, 0, 0, 0};
        if (m_menuBar) m_menuBar->m_items.clear();
        return result;
    }
    RECT* client = reinterpret_cast<RECT*>(params);
    const skin::FrameBorders& b = GetBorders();
    const int width = window.right - window.left;
    m_menuBarRect = RECT{b.left, b.top, std::max<int>(b.left, width - b.right), b.top};
    LayoutMenuBar();
    // A window too short for its bar gets an empty client area, not an inverted one.
    client->top = std::min(client->top + (m_menuBarRect.bottom - m_menuBarRect.top), client->bottom);
    return result;
}

void CSkinObjectApplicationFrame::LayoutMenuBar() {
    HMENU menu = ::GetMenu(m_hWnd);
    // The items are kept while the menu and its item count stay, since a running tracker holds
    // them; only their rectangles change.
    if (!m_menuBar) m_menuBar.reset(new CSkinMenuWindow);
    if (m_menuBar->m_hMenu != menu || !m_menuBar->m_bIsBar) m_menuBar->AttachBar(m_hWnd, menu, FALSE);
    if (m_menuBar->m_nSelected >= m_menuBar->ItemCount()) m_menuBar->m_nSelected = -1;

    const CSkinMetrics* metrics = m_engine ? m_engine->GetMetrics() : nullptr;
    const int h = GetSystemMetrics(SM_CYMENUSIZE);
    HDC dc = ::GetWindowDC(m_hWnd);
    HGDIOBJ oldFont = nullptr;
    if (dc && metrics && metrics->menuFont) oldFont = SelectObject(dc, metrics->menuFont.Get());
    TEXTMETRICA tm = {};
    if (dc) GetTextMetricsA(dc, &tm);

    std::vector<skin::MenuBarItemMeasure> measures(m_menuBar->m_items.size());
    for (size_t i = 0; i < measures.size(); ++i) {
        const int position = static_cast<int>(i);
        const BarItemFacts facts = ReadBarItem(menu, position);
        skin::MenuBarItemMeasure& m = measures[i];
        switch (facts.kind) {
        case BarItemKind::ChildSystemMenu: m.width = 20; break;
        case BarItemKind::Separator: m.width = 6; break;
        case BarItemKind::ChildButton: m.width = h; break;
        case BarItemKind::Text: {
            const std::string shown = skin::WithoutMnemonicMarker(ItemText(menu, position));
            SIZE size = {0, 0};
            if (dc && !shown.empty()) GetTextExtentPoint32A(dc, shown.data(), static_cast<int>(shown.size()), &size);
            m.width = size.cx + 2 * tm.tmAveCharWidth + 2;
            break;
        }
        }
        m.rightJustified = facts.kind == BarItemKind::ChildButton || (facts.type & MFT_RIGHTJUSTIFY);
    }
    if (dc) {
        if (oldFont) SelectObject(dc, oldFont);
        ::ReleaseDC(m_hWnd, dc);
    }
    const skin::MenuBarLayout bar =
        skin::PlaceMenuBarItems(m_menuBarRect.left, m_menuBarRect.top, m_menuBarRect.right, h, measures);
    for (size_t i = 0; i < measures.size(); ++i) m_menuBar->m_items[i]->m_rect = bar.rects[i];
    m_menuBarRect.bottom = bar.bottom;
}

void CSkinObjectApplicationFrame::PaintMenuBar(HDC windowDC) {
    if (!m_menuBar || IsRectEmpty(&m_menuBarRect) || !windowDC) return;
    const int width = m_menuBarRect.right - m_menuBarRect.left, height = m_menuBarRect.bottom - m_menuBarRect.top;
    // The bitmap outlives the DC it is selected into: a bitmap still selected cannot be deleted.
    skin::Bitmap surface(CreateCompatibleBitmap(windowDC, width, height));
    skin::MemoryDC buffer(windowDC);
    if (!buffer || !surface) return;
    buffer.Select(surface.Get());
    const HDC dc = buffer.Get();
    // Drawn in window coordinates, so the items' rectangles serve as they are.
    SetViewportOrgEx(dc, -m_menuBarRect.left, -m_menuBarRect.top, nullptr);

    const CSkinMetrics* metrics = m_engine ? m_engine->GetMetrics() : nullptr;
    auto colour = [metrics](int index) {
        return metrics && metrics->colors[index] != CLR_INVALID ? metrics->colors[index] : GetSysColor(index);
    };
    RECT face = m_menuBarRect;
    face.bottom -= 1;
    skin::FillSolid(dc, face, colour(COLOR_BTNFACE));
    skin::FillSolid(dc, RECT{m_menuBarRect.left, m_menuBarRect.bottom - 1, m_menuBarRect.right, m_menuBarRect.bottom},
                    colour(COLOR_WINDOW));
    HGDIOBJ oldFont = metrics && metrics->menuFont ? SelectObject(dc, metrics->menuFont.Get()) : nullptr;
    SetBkMode(dc, TRANSPARENT);

    HMENU menu = m_menuBar->m_hMenu;
    CSkinClassTheme* theme = m_engine ? m_engine->GetThemeClass(this, "WINDOW") : nullptr;
    const int count = static_cast<int>(m_menuBar->m_items.size());
    for (int i = 0; i < count; ++i) {
        const RECT r = m_menuBar->m_items[static_cast<size_t>(i)]->m_rect;
        const BarItemFacts facts = ReadBarItem(menu, i);
        const bool hot = i == m_menuBar->m_nSelected;
        const bool disabled = (facts.state & 3) != 0;
        switch (facts.kind) {
        case BarItemKind::Separator:
            break;
        case BarItemKind::ChildSystemMenu:
            if (HICON icon = SmallIconOf(ActiveMdiChild(m_hWnd)))
                DrawIconEx(dc, (r.left + r.right - 16) / 2, (r.top + r.bottom - 16) / 2, icon, 16, 16, 0, nullptr,
                           DI_NORMAL);
            break;
        case BarItemKind::ChildButton:
            if (theme) {
                const int part = facts.id == SC_RESTORE ? kMdiRestoreButton
                               : facts.id == SC_MINIMIZE ? kMdiMinButton : kMdiCloseButton;
                theme->DrawThemeBackground(dc, part, disabled ? 4 : hot ? 2 : 1, r);
            }
            break;
        case BarItemKind::Text: {
            if (hot) skin::FillSolid(dc, r, colour(COLOR_HIGHLIGHT));
            SetTextColor(dc, colour(disabled ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
            const std::string text = ItemText(menu, i);
            RECT box = r;
            DrawTextA(dc, text.c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            break;
        }
        }
    }
    if (oldFont) SelectObject(dc, oldFont);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    BitBlt(windowDC, m_menuBarRect.left, m_menuBarRect.top, width, height, dc, 0, 0, SRCCOPY);
}

void CSkinObjectApplicationFrame::DrawFrame(HDC dc) {
    if (IsFrameSkinned() && HasMenuBar()) PaintMenuBar(dc);
    CSkinObjectFrame::DrawFrame(dc);
}

void CSkinObjectApplicationFrame::RedrawMenuBar() {
    if (!m_hWnd || !::IsWindow(m_hWnd) || !IsFrameSkinned()) return;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    if (client.bottom <= 0) {
        RedrawFrame();
        return;
    }
    const HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc) return;
    PaintMenuBar(dc);
    ::ReleaseDC(m_hWnd, dc);
}

int CSkinObjectApplicationFrame::NcHitTest(int x, int y) {
    if (m_menuBar && !IsRectEmpty(&m_menuBarRect) && IsFrameSkinned()) {
        RECT window = {0, 0, 0, 0};
        ::GetWindowRect(m_hWnd, &window);
        const skin::FrameBorders& b = GetBorders();
        RECT inside = {b.left, b.top, window.right - window.left - b.right, window.bottom - window.top - b.bottom};
        RECT bar = {0, 0, 0, 0};
        IntersectRect(&bar, &m_menuBarRect, &inside);
        bar.top += 1;
        const POINT p = {x - window.left, y - window.top};
        if (PtInRect(&bar, p)) return HTMENU;
    }
    return CSkinObjectFrame::NcHitTest(x, y);
}

int CSkinObjectApplicationFrame::MenuBarItemAt(int x, int y) {
    if (!m_menuBar || NcHitTest(x, y) != HTMENU) return -1;
    RECT window = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &window);
    const POINT p = {x - window.left, y - window.top};
    for (size_t i = 0; i < m_menuBar->m_items.size(); ++i)
        if (PtInRect(&m_menuBar->m_items[i]->m_rect, p)) return static_cast<int>(i);
    return -1;
}

BOOL CSkinObjectApplicationFrame::HandleNcMouseMove(int x, int y) {
    const BOOL frameHot = CSkinObjectFrame::HandleNcMouseMove(x, y);
    // While the tracker runs the bar, the selection is its own.
    if (!m_menuBar || m_menuBar->m_pTracker) return frameHot;
    const int hot = (x == -1 && y == -1) ? -1 : MenuBarItemAt(x, y);
    if (hot != m_menuBar->m_nSelected) {
        m_menuBar->m_nSelected = hot;
        RedrawMenuBar();
        if (hot < 0 && !frameHot) ::KillTimer(m_hWnd, kHoverTimer);
    }
    if (hot >= 0) {
        ::SetTimer(m_hWnd, kHoverTimer, 50, &CSkinEngine::SkinTimerProc);
        return TRUE;
    }
    return frameHot;
}

BOOL CSkinObjectApplicationFrame::OnDrawMenuBar() {
    if (!m_hWnd || !IsFrameSkinned()) return FALSE;
    // The bar may have changed height: the frame is measured again, which lays the bar out, and
    // repainted.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawFrame();
    return TRUE;
}

BOOL CSkinObjectApplicationFrame::HandleSysCommand(UINT command, LPARAM lParam) {
    const BOOL menus = m_engine && (m_engine->GetApplyOptions() & SkinApplyMenus);
    if (!menus || !m_menuBar || IsRectEmpty(&m_menuBarRect) || !HasMenuBar() ||
        (command != SC_KEYMENU && command != SC_MOUSEMENU))
        return CSkinObjectFrame::HandleSysCommand(command, lParam);
    if (command == SC_MOUSEMENU) {
        // A click on the icon opens the window menu as a frame without bar does.
        if (::SendMessageA(m_hWnd, WM_NCHITTEST, 0, lParam) != HTMENU)
            return CSkinObjectFrame::HandleSysCommand(command, lParam);
        const POINT press = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RunMenuBar(&press, 0);
    } else {
        RunMenuBar(nullptr, static_cast<UINT>(lParam));
    }
    return TRUE;
}

void CSkinObjectApplicationFrame::RunMenuBar(const POINT* press, UINT ch) {
    // The window menu is the bar's alternate root: a one-item bar over the caption icon, which the
    // keyboard reaches past either end of the bar.
    std::unique_ptr<CSkinMenuWindow, ReleaseMenuWindow> system;
    HMENU systemMenu = (GetStyle() & WS_SYSMENU) ? ::GetSystemMenu(m_hWnd, FALSE) : nullptr;
    if (systemMenu) {
        SetMenuDefaultItem(systemMenu, SC_CLOSE, FALSE);
        system.reset(new CSkinMenuWindow());
        system->AttachBar(m_hWnd, systemMenu, TRUE);
        const skin::FrameBorders& borders = GetBorders();
        const int icon = GetSystemMetrics(SM_CXSMICON) + 4;
        if (!system->m_items.empty())
            system->m_items[0]->m_rect = {borders.left, 0, borders.left + icon, std::max(borders.top, 1)};
    }
    if (press)
        CSkinMenuTracker::TrackBarByMouse(m_menuBar.get(), system.get(), *press);
    else
        CSkinMenuTracker::TrackBarByKey(m_menuBar.get(), system.get(), ch);
    if (m_menuBar) m_menuBar->m_nSelected = -1;
    RedrawMenuBar();
}
