#include "CSkinMenuWindow.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "SkinBlend.h"
#include "SkinGdi.h"
#include "SkinMenuLayout.h"

IMPLEMENT_DYNAMIC(CSkinMenuWindow, CWnd)

BEGIN_MESSAGE_MAP(CSkinMenuWindow, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// Visual-styles numbering of the MENU class.
enum MenuPart {
    POPUPBACKGROUND = 9, POPUPBORDERS = 10, POPUPCHECK = 11, POPUPCHECKBACKGROUND = 12, POPUPGUTTER = 13,
    POPUPITEM = 14, POPUPSEPARATOR = 15, POPUPSUBMENU = 16, SYSTEMCLOSE = 17, SYSTEMMAXIMIZE = 18,
    SYSTEMMINIMIZE = 19, SYSTEMRESTORE = 20
};
constexpr int TMT_BORDERSIZE = 2403;

// A handle that names a bitmap rather than one of the HBMMENU_ values (HBMMENU_CALLBACK is -1).
bool IsRealBitmap(HBITMAP bitmap, BITMAP* info) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(bitmap);
    if (value <= 0xFFFF || bitmap == HBMMENU_CALLBACK) return false;
    BITMAP bm = {};
    if (GetObjectA(bitmap, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    if (info) *info = bm;
    return true;
}

// Splits "label\taccelerator"; the accelerator keeps its tab, as measured.
void SplitAtTab(const CString& text, std::string& label, std::string& accelerator) {
    const std::string all(text.GetString());
    const size_t tab = all.find('\t');
    label = all.substr(0, tab);
    accelerator = tab == std::string::npos ? std::string() : all.substr(tab);
}

SIZE TextExtent(HDC dc, const std::string& text) {
    SIZE size = {0, 0};
    if (!text.empty()) GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void FillColor(HDC dc, const RECT& r, COLORREF color) { skin::FillSolid(dc, r, color); }

// Where the gutter of an item's column begins: the window's left edge for the first column, so
// pictures of a later column stay in that column's gutter instead of landing on the first one.
int ColumnLeft(const RECT& item) { return item.left - skin::kMenuMargin; }

// Runs draw with a solid brush and pen of one colour selected, so shapes fill and outline alike.
template <typename DrawFn>
void DrawSolid(HDC dc, COLORREF color, DrawFn draw) {
    skin::Brush brush(CreateSolidBrush(color));
    skin::GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, color));
    HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
    HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    draw();
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

void Triangle(HDC dc, const POINT (&points)[3], COLORREF color) {
    DrawSolid(dc, color, [&] { Polygon(dc, points, 3); });
}

// Blits a monochrome-style picture onto the background so its white stays see-through.
void BlitAnd(HDC dc, HBITMAP bitmap, int x, int y, const BITMAP& bm) {
    skin::MemoryDC source(dc);
    if (!source) return;
    source.Select(bitmap);
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, source.Get(), 0, 0, SRCAND);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

}  // namespace

// What one layout or paint draws with, held for its length.
struct CSkinMenuWindow::Look {
    CSkinRef<CSkinSchema> schema;
    CSkinClassTheme* theme = nullptr;
    CSkinMetrics* metrics = nullptr;
    skin::Font systemFont;  // only when the skin has no menu font
    skin::Font boldFont;
    HFONT font = nullptr;

    COLORREF Color(int index) const {
        if (metrics && index >= 0 && index < 31 && metrics->colors[index] != CLR_INVALID) return metrics->colors[index];
        return GetSysColor(index);
    }
    HFONT Bold() {
        if (!boldFont) {
            LOGFONTA lf = {};
            GetObjectA(font, sizeof(lf), &lf);
            lf.lfWeight = FW_BOLD;
            boldFont.Reset(CreateFontIndirectA(&lf));
        }
        return boldFont ? boldFont.Get() : font;
    }
};

CSkinMenuWindow::CSkinMenuWindow() = default;

CSkinMenuWindow::~CSkinMenuWindow() {
    // A bar stands for the frame, which is not ours to destroy or unbind.
    if (m_bIsBar) m_hWnd = nullptr;
}

BOOL CSkinMenuWindow::DestroyWindow() {
    if (m_bIsBar) return FALSE;
    return CWnd::DestroyWindow();
}

static ATOM RegisterMenuClass() {
    static ATOM atom = 0;
    static std::once_flag once;
    std::call_once(once, [] {
        BOOL shadow = FALSE;
        if (!SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &shadow, 0)) shadow = FALSE;
        WNDCLASSA wc = {};
        wc.style = CS_SAVEBITS | CS_DBLCLKS | (shadow ? CS_DROPSHADOW : 0);
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "SkinManagerMenu";
        atom = RegisterClassA(&wc);
        if (!atom && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) atom = 1;
    });
    return atom;
}

BOOL CSkinMenuWindow::CreateMenuWindow(HWND owner) {
    if (!RegisterMenuClass()) return FALSE;
    DWORD exStyle = WS_EX_TOOLWINDOW;
    if (owner && (static_cast<DWORD>(GetWindowLongPtrA(owner, GWL_EXSTYLE)) & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)))
        exStyle |= WS_EX_LAYOUTRTL;
    HWND hwnd = CreateWindowExA(exStyle, "SkinManagerMenu", nullptr, WS_POPUP, 0, 0, 100, 100, owner, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return FALSE;
    if (!SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    // The window is the object's: released without DestroyWindow, it goes with the object.
    m_bCreated = true;
    m_hOwner = owner;
    return TRUE;
}

void CSkinMenuWindow::AttachBar(HWND frame, HMENU menu, BOOL systemMenu) {
    m_bIsBar = TRUE;
    m_hWnd = frame;
    m_hOwner = frame;
    m_hMenu = menu;
    m_bSystemMenu = systemMenu;
    RebuildItems();
}

void CSkinMenuWindow::RebuildItems() {
    const int count = std::max((m_bIsBar && m_bSystemMenu) ? 1 : (m_hMenu ? GetMenuItemCount(m_hMenu) : 0), 0);
    // Positions the menu still has keep their items (and a bar its items' places): the owner may
    // change the menu while it is told of it, and the tracker may hold an item meanwhile.
    if (!m_items.empty() && m_items.front()->m_hMenu != m_hMenu) m_items.clear();
    if (m_items.size() > static_cast<size_t>(count)) m_items.resize(static_cast<size_t>(count));
    for (int i = static_cast<int>(m_items.size()); i < count; ++i)
        m_items.push_back(std::make_unique<CSkinMenuItem>(this, m_hMenu, i));
}

int CSkinMenuWindow::ItemCount() {
    int count = (m_bIsBar && m_bSystemMenu) ? 1 : (m_hMenu ? GetMenuItemCount(m_hMenu) : 0);
    if (count < 0) count = 0;
    if (static_cast<size_t>(count) != m_items.size()) RebuildItems();
    return count;
}

CSkinMenuItem* CSkinMenuWindow::ItemAt(int position) {
    if (position < 0 || position >= ItemCount()) return nullptr;
    return m_items[static_cast<size_t>(position)].get();
}

RECT CSkinMenuWindow::ItemScreenRect(const CSkinMenuItem* item) const {
    RECT r = {0, 0, 0, 0};
    if (!item || !m_hWnd) return r;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    r = item->m_rect;
    if (GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) {
        const int width = r.right - r.left;
        r.left = window.right - item->m_rect.right;
        r.right = r.left + width;
    } else {
        OffsetRect(&r, window.left, 0);
    }
    OffsetRect(&r, 0, window.top);
    return r;
}

CSkinMenuWindow::Look CSkinMenuWindow::AcquireLook() {
    Look look;
    CSkinEngine* engine = CSkinEngine::Instance();
    CSkinRef<CSkinWindowSink> source = m_skinSource;
    if (!source && engine && m_hOwner) source = engine->FindSkinObjectRef(m_hOwner);
    CSkinSchema* own = source ? source->GetOwnSchema() : nullptr;
    look.schema = own ? CSkinRef<CSkinSchema>::Share(own) : (engine ? engine->AcquireSchema() : CSkinRef<CSkinSchema>());
    if (look.schema) {
        look.theme = look.schema->GetClassTheme("MENU");
        look.metrics = look.schema->GetMetrics();
    }
    look.font = look.metrics ? look.metrics->menuFont.Get() : nullptr;
    if (!look.font) {
        NONCLIENTMETRICSA ncm = {};
        ncm.cbSize = sizeof(ncm);
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
            look.systemFont.Reset(CreateFontIndirectA(&ncm.lfMenuFont));
        look.font = look.systemFont ? look.systemFont.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return look;
}

BOOL CSkinMenuWindow::IsThemedWith(const Look& look) {
    if (!look.theme || look.theme->GetThemeInt(POPUPBACKGROUND, 0, TMT_BORDERSIZE, 0) == 0) return FALSE;
    const int count = ItemCount();
    for (int i = 0; i < count; ++i)
        if (m_items[static_cast<size_t>(i)]->IsOwnerDrawn()) return FALSE;
    return TRUE;
}

BOOL CSkinMenuWindow::IsThemed() {
    Look look = AcquireLook();
    return IsThemedWith(look);
}

SIZE CSkinMenuWindow::Layout() {
    RebuildItems();
    Look look = AcquireLook();
    const bool themed = IsThemedWith(look) != FALSE;
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ oldFont = SelectObject(dc, look.font);

    const size_t count = m_items.size();
    std::vector<skin::MenuItemMeasure> measures(count);
    std::vector<MENUITEMINFOA> infos(count);
    for (size_t i = 0; i < count; ++i) {
        const CSkinMenuItem& item = *m_items[i];
        skin::MenuItemMeasure& m = measures[i];
        const UINT type = item.GetType();
        m.ownerDrawn = (type & MFT_OWNERDRAW) != 0;
        m.separator = (type & MFT_SEPARATOR) != 0;
        m.columnBreak = (type & 0x60) != 0;
        BITMAP bm;
        if (!m.ownerDrawn && !m.separator && IsRealBitmap(item.GetItemBitmap(), &bm)) {
            m.bitmapWidth = bm.bmWidth;
            m.bitmapHeight = bm.bmHeight;
        }
    }
    m_nGutter = skin::MenuGutter(themed, measures);

    for (size_t i = 0; i < count; ++i) {
        const CSkinMenuItem& item = *m_items[i];
        skin::MenuItemMeasure& m = measures[i];
        if (m.ownerDrawn) {
            MEASUREITEMSTRUCT mis = {};
            mis.CtlType = ODT_MENU;
            mis.itemID = item.GetId();
            mis.itemHeight = static_cast<UINT>(TextExtent(dc, " ").cy);
            mis.itemData = item.GetData();
            if (m_hOwner) ::SendMessageA(m_hOwner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            m.cx = static_cast<int>(mis.itemWidth) + 12;
            m.cy = static_cast<int>(mis.itemHeight);
        } else if (m.separator) {
            m.cy = skin::MenuSeparatorHeight(themed);
        } else {
            std::string label, accelerator;
            SplitAtTab(item.GetText(), label, accelerator);
            HGDIOBJ previous = item.IsDefault() ? SelectObject(dc, look.Bold()) : nullptr;
            const SIZE labelSize = TextExtent(dc, label);
            const SIZE accelSize = TextExtent(dc, accelerator);
            if (previous) SelectObject(dc, previous);
            m.cx = skin::MenuTextItemWidth(themed, labelSize.cx, m_nGutter, accelSize.cx);
            m.cy = skin::MenuTextItemHeight(themed, labelSize.cy);
        }
    }
    SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);

    const skin::MenuLayout layout = skin::PlaceMenuItems(measures);
    for (size_t i = 0; i < count; ++i) m_items[i]->m_rect = layout.rects[i];
    return layout.size;
}

void CSkinMenuWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC screen = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width > 0 && height > 0) {
        // The bitmap outlives the DC it is selected into: a bitmap still selected cannot be deleted.
        skin::Bitmap surface(CreateCompatibleBitmap(screen, width, height));
        skin::MemoryDC buffer(screen);
        if (buffer && surface) {
            buffer.Select(surface.Get());
            Paint(buffer.Get(), client);
            BitBlt(screen, 0, 0, width, height, buffer.Get(), 0, 0, SRCCOPY);
        } else {
            Paint(screen, client);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}

void CSkinMenuWindow::Paint(HDC dc, const RECT& client) {
    Look look = AcquireLook();
    const bool themed = IsThemedWith(look) != FALSE;
    if (themed) {
        look.theme->DrawThemeBackground(dc, POPUPBORDERS, 0, client);
        RECT inner = client;
        InflateRect(&inner, -3, -3);
        look.theme->DrawThemeBackground(dc, POPUPBACKGROUND, 0, inner);
        RECT gutter = inner;
        gutter.right = inner.left + m_nGutter - 5;
        look.theme->DrawThemeBackground(dc, POPUPGUTTER, 0, gutter);
    } else {
        FillColor(dc, client, look.Color(COLOR_MENU));
        skin::Brush frame(CreateSolidBrush(look.Color(COLOR_BTNSHADOW)));
        FrameRect(dc, &client, frame.Get());
    }

    HGDIOBJ oldFont = SelectObject(dc, look.font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const int count = ItemCount();
    for (int i = 0; i < count; ++i) PaintItem(dc, client, *m_items[static_cast<size_t>(i)], look, themed);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void CSkinMenuWindow::PaintItem(HDC dc, const RECT& client, const CSkinMenuItem& item, Look& look, bool themed) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_CHECKMARKS | MIIM_BITMAP | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(m_hMenu, static_cast<UINT>(item.m_nPosition), TRUE, &info)) return;
    const RECT& r = item.m_rect;
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    const bool selected = item.m_nPosition == m_nSelected && !separator;
    const bool enabled = (info.fState & 3) == 0;
    const bool checked = (info.fState & MFS_CHECKED) != 0;
    const bool isDefault = (info.fState & MFS_DEFAULT) != 0;
    const bool hasSubmenu = info.hSubMenu != nullptr;
    const int middle = (r.top + r.bottom) / 2;

    if (!themed && (info.fType & MFT_MENUBARBREAK) && item.m_nPosition > 0) {
        RECT shadow = {r.left - 3, client.top + 3, r.left - 2, client.bottom - 3};
        FillColor(dc, shadow, look.Color(COLOR_BTNSHADOW));
        RECT light = {r.left - 2, client.top + 3, r.left - 1, client.bottom - 3};
        FillColor(dc, light, look.Color(COLOR_BTNHIGHLIGHT));
    }

    if (info.fType & MFT_OWNERDRAW) {
        SetTextColor(dc, look.Color(COLOR_MENUTEXT));
        SetBkColor(dc, look.Color(COLOR_MENU));
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = info.wID;
        dis.itemAction = ODA_DRAWENTIRE;
        if (!enabled) dis.itemState |= ODS_DISABLED;
        if (isDefault) dis.itemState |= ODS_DEFAULT;
        if (info.fState & MFS_GRAYED) dis.itemState |= ODS_GRAYED;
        if (selected) dis.itemState |= ODS_SELECTED;
        if (checked) dis.itemState |= ODS_CHECKED;
        dis.hwndItem = reinterpret_cast<HWND>(m_hMenu);
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = info.dwItemData;
        // The owner may leave anything selected into the context.
        const int saved = SaveDC(dc);
        if (m_hOwner) ::SendMessageA(m_hOwner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        RestoreDC(dc, saved);
        if (hasSubmenu) {
            const COLORREF color = !enabled ? look.Color(COLOR_GRAYTEXT)
                                  : selected ? look.Color(COLOR_HIGHLIGHTTEXT) : look.Color(COLOR_MENUTEXT);
            const int right = r.right - 5;
            const POINT corners[3] = {{right, middle}, {right - 3, middle - 3}, {right - 3, middle + 3}};
            Triangle(dc, corners, color);
        }
        return;
    }

    if (separator) {
        if (themed) {
            RECT line = {r.left + m_nGutter - 5, r.top, r.right, r.bottom};
            look.theme->DrawThemeBackground(dc, POPUPSEPARATOR, 0, line);
        } else {
            RECT shadow = {r.left + 1, middle, r.right - 1, middle + 1};
            FillColor(dc, shadow, look.Color(COLOR_BTNSHADOW));
            RECT light = {r.left + 1, middle + 1, r.right - 1, middle + 2};
            FillColor(dc, light, look.Color(COLOR_BTNHIGHLIGHT));
        }
        return;
    }

    COLORREF textColor;
    if (themed) {
        if (selected) look.theme->DrawThemeBackground(dc, POPUPITEM, 2, r);
        textColor = look.Color(enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT);
    } else {
        if (selected) FillColor(dc, r, look.Color(COLOR_HIGHLIGHT));
        textColor = !enabled ? look.Color(COLOR_GRAYTEXT)
                  : selected ? look.Color(COLOR_HIGHLIGHTTEXT) : look.Color(COLOR_MENUTEXT);
    }
    SetTextColor(dc, textColor);

    std::string label, accelerator;
    SplitAtTab(item.GetText(), label, accelerator);
    HGDIOBJ previousFont = isDefault ? SelectObject(dc, look.Bold()) : nullptr;
    if (accelerator.size() > 1) {
        RECT keys = {r.left, r.top, r.right - 20, r.bottom};
        DrawTextA(dc, accelerator.c_str() + 1, -1, &keys, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
    RECT text = {r.left + m_nGutter, r.top, r.right, r.bottom};
    DrawTextA(dc, label.c_str(), -1, &text, DT_VCENTER | DT_SINGLELINE);
    if (previousFont) SelectObject(dc, previousFont);

    if (hasSubmenu) {
        if (themed) {
            RECT arrow = {r.right - 16, r.top, r.right - 7, r.bottom};
            look.theme->DrawThemeBackground(dc, POPUPSUBMENU, enabled ? 1 : 2, arrow);
        } else {
            const POINT corners[3] = {{r.right - 5, middle}, {r.right - 8, middle - 3}, {r.right - 8, middle + 3}};
            Triangle(dc, corners, textColor);
        }
    }

    // Check picture: the item's own bitmap first, then the drawn mark.
    bool hasCheckPicture = false;
    HBITMAP own = checked ? info.hbmpChecked : info.hbmpUnchecked;
    BITMAP bm;
    if (own && IsRealBitmap(own, &bm)) {
        const int x = ColumnLeft(r) + (themed ? 16 : 11) - bm.bmWidth / 2;
        BlitAnd(dc, own, x, middle - bm.bmHeight / 2, bm);
        hasCheckPicture = true;
    } else if (checked) {
        if (themed) {
            RECT box = {r.left, r.top, r.left + 22, r.bottom};
            look.theme->DrawThemeBackground(dc, POPUPCHECKBACKGROUND, enabled ? 2 : 1, box);
            // A radio item shows the theme's bullet (states 3 and 4) rather than a tick.
            const int state = (info.fType & MFT_RADIOCHECK) ? (enabled ? 3 : 4) : (enabled ? 1 : 2);
            look.theme->DrawThemeBackground(dc, POPUPCHECK, state, box);
        } else if (info.fType & MFT_RADIOCHECK) {
            DrawSolid(dc, textColor, [&] { Ellipse(dc, r.left + 5, middle - 3, r.left + 12, middle + 4); });
        } else {
            const int L = r.left, m = middle;
            const POINT mark[6] = {{L + 5, m}, {L + 7, m + 2}, {L + 11, m - 2}, {L + 11, m}, {L + 7, m + 4}, {L + 5, m + 2}};
            DrawSolid(dc, textColor, [&] { Polygon(dc, mark, 6); });
        }
        hasCheckPicture = true;
    }
    if (!hasCheckPicture && info.hbmpItem) PaintItemBitmap(dc, r, info.hbmpItem, look, themed, enabled);
}

void CSkinMenuWindow::PaintItemBitmap(HDC dc, const RECT& r, HBITMAP bitmap, Look& look, bool themed, bool enabled) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(bitmap);
    if (value >= 8 && value <= 11) {
        // HBMMENU_POPUP_CLOSE, _RESTORE, _MAXIMIZE, _MINIMIZE.
        static const int parts[4] = {SYSTEMCLOSE, SYSTEMRESTORE, SYSTEMMAXIMIZE, SYSTEMMINIMIZE};
        static const char glyphs[4] = {'r', '2', '1', '0'};
        const int t = (r.top + r.bottom - 20) / 2;
        const int left = ColumnLeft(r);
        if (themed) {
            RECT box = {left + 6, t, left + 26, t + 20};
            look.theme->DrawThemeBackground(dc, parts[value - 8], enabled ? 1 : 2, box);
        } else {
            LOGFONTA lf = {};
            HDC screen = ::GetDC(nullptr);
            const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
            ::ReleaseDC(nullptr, screen);
            // Eight points at 96 dots per inch: the same pixel size at any resolution.
            const int tenths = MulDiv(80, 96, dpi > 0 ? dpi : 96);
            lf.lfHeight = -MulDiv(tenths, dpi > 0 ? dpi : 96, 720);
            lf.lfCharSet = SYMBOL_CHARSET;
            lstrcpyA(lf.lfFaceName, "Marlett");
            skin::Font marlett(CreateFontIndirectA(&lf));
            HGDIOBJ old = SelectObject(dc, marlett.Get());
            RECT box = {left + 1, t + 1, left + 21, t + 21};
            DrawTextA(dc, &glyphs[value - 8], 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, old);
        }
        return;
    }
    BITMAP bm;
    if (!IsRealBitmap(bitmap, &bm)) return;
    const int centreX = ColumnLeft(r) + (themed ? (m_nGutter - 8) / 2 + 3 : m_nGutter / 2 + 3);
    const int x = centreX - bm.bmWidth / 2;
    const int y = (r.top + r.bottom) / 2 - bm.bmHeight / 2;
    DIBSECTION ds = {};
    const bool alpha = bm.bmBitsPixel == 32 && GetObjectA(bitmap, sizeof(ds), &ds) == sizeof(ds) &&
                       ds.dsBm.bmBits != nullptr && skin::SystemGdi().alphaBlend != nullptr;
    if (alpha) {
        skin::MemoryDC source(dc);
        if (!source) return;
        source.Select(bitmap);
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        skin::SystemGdi().alphaBlend(dc, x, y, bm.bmWidth, bm.bmHeight, source.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                                     blend);
    } else {
        BlitAnd(dc, bitmap, x, y, bm);
    }
}
