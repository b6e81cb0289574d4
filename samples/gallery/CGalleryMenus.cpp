#include "CGalleryMenus.h"

#include <cstdint>

#include "GalleryResources.h"

namespace {

struct Swatch {
    UINT id;
    const char* name;
    COLORREF colour;
};
const Swatch kSwatches[] = {{IDM_SWATCH_FIRST, "Brick", RGB(178, 34, 34)},
                            {IDM_SWATCH_FIRST + 1, "Moss", RGB(85, 107, 47)},
                            {IDM_SWATCH_LAST, "Slate", RGB(112, 128, 144)}};

// A 16 x 16 disc with a soft edge, premultiplied as menus expect 32-bit pictures.
HBITMAP MakeAlphaDisc() {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return bitmap;
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int dx = 2 * x - 15, dy = 2 * y - 15;
            const int d2 = dx * dx + dy * dy;  // 4 x the squared distance from the centre
            const int alpha = d2 <= 169 ? 255 : d2 >= 225 ? 0 : 255 * (225 - d2) / 56;
            const int r = 30 * alpha / 255, g = 120 * alpha / 255, b = 220 * alpha / 255;
            pixels[y * 16 + x] = static_cast<uint32_t>(alpha << 24 | r << 16 | g << 8 | b);
        }
    return bitmap;
}

// A plain 16 x 16 picture: a framed square.
HBITMAP MakePlainPicture(HWND window) {
    HDC screen = GetDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 16, 16}, inner = {3, 3, 13, 13};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH green = CreateSolidBrush(RGB(40, 150, 60));
    FillRect(dc, &inner, green);
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(green);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(window, screen);
    return bitmap;
}

}  // namespace

CGalleryMenus::~CGalleryMenus() {
    if (m_accelerators) DestroyAcceleratorTable(m_accelerators);
}

void CGalleryMenus::SetItemPicture(HMENU menu, UINT id, HBITMAP picture) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = picture;
    SetMenuItemInfoA(menu, id, FALSE, &info);
}

void CGalleryMenus::Attach(HWND window, HINSTANCE instance) {
    m_window = window;
    m_instance = instance;
    m_accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAIN_ACCELERATORS));
    HMENU bar = GetMenu(window);
    if (!bar) return;
    HMENU file = GetSubMenu(bar, 0), view = GetSubMenu(bar, 1), colours = GetSubMenu(bar, 2),
          windows = GetSubMenu(bar, 3);
    SetMenuDefaultItem(file, IDM_FILE_OPEN, FALSE);
    CheckMenuRadioItem(view, IDM_VIEW_LARGE, IDM_VIEW_DETAILS, IDM_VIEW_SMALL, MF_BYCOMMAND);

    // Owner-drawn swatches in a popup of their own, so only that popup is drawn the classic way.
    HMENU swatches = GetSubMenu(colours, GetMenuItemCount(colours) - 1);
    if (swatches) {
        while (GetMenuItemCount(swatches) > 0) DeleteMenu(swatches, 0, MF_BYPOSITION);
        for (const Swatch& s : kSwatches)
            AppendMenuA(swatches, MF_OWNERDRAW, s.id, reinterpret_cast<LPCSTR>(&s));
    }

    m_alphaPicture.reset(MakeAlphaDisc());
    m_plainPicture.reset(MakePlainPicture(window));
    SetItemPicture(windows, IDM_MDI_FRAME, m_alphaPicture.get());
    SetItemPicture(windows, IDM_PROPERTY_SHEET, m_plainPicture.get());
    DrawMenuBar(window);
}

bool CGalleryMenus::OnCommand(int id, std::string& status) {
    HMENU bar = GetMenu(m_window);
    switch (id) {
    case IDM_FILE_NEW: status = "Menu: New"; return true;
    case IDM_FILE_OPEN: status = "Menu: Open"; return true;
    case IDM_RECENT_FIRST:
    case IDM_RECENT_SECOND:
    case IDM_RECENT_THIRD: status = "Menu: a recent file"; return true;
    case IDM_VIEW_TOOLBAR:
    case IDM_VIEW_STATUS: {
        const bool checked = (GetMenuState(bar, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
        CheckMenuItem(bar, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
        status = checked ? "Menu: unchecked" : "Menu: checked";
        return true;
    }
    case IDM_VIEW_LARGE:
    case IDM_VIEW_SMALL:
    case IDM_VIEW_DETAILS:
        CheckMenuRadioItem(bar, IDM_VIEW_LARGE, IDM_VIEW_DETAILS, static_cast<UINT>(id), MF_BYCOMMAND);
        status = "Menu: view chosen";
        return true;
    case IDM_HELP_ABOUT: status = "Menu: about the gallery"; return true;
    case IDM_EDIT_CUT:
    case IDM_EDIT_COPY:
    case IDM_EDIT_PROPERTIES: status = "Context menu: command"; return true;
    case IDM_WINDOW_MINIMIZE: ShowWindow(m_window, SW_MINIMIZE); return true;
    case IDM_WINDOW_CLOSE: PostMessageA(m_window, WM_CLOSE, 0, 0); return true;
    default: break;
    }
    if (id >= IDM_COLOUR_FIRST && id <= IDM_COLOUR_LAST) {
        status = "Menu: a colour";
        return true;
    }
    if (id >= IDM_SWATCH_FIRST && id <= IDM_SWATCH_LAST) {
        status = "Menu: a swatch";
        return true;
    }
    return false;
}

bool CGalleryMenus::OnMeasureItem(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || item.itemID < IDM_SWATCH_FIRST || item.itemID > IDM_SWATCH_LAST) return false;
    item.itemWidth = 110;
    item.itemHeight = 24;
    return true;
}

bool CGalleryMenus::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || item.itemID < IDM_SWATCH_FIRST || item.itemID > IDM_SWATCH_LAST) return false;
    const auto* swatch = reinterpret_cast<const Swatch*>(item.itemData);
    if (!swatch) return false;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    RECT chip = {r.left + 6, r.top + 5, r.left + 20, r.bottom - 5};
    HBRUSH brush = CreateSolidBrush(swatch->colour);
    FillRect(item.hDC, &chip, brush);
    DeleteObject(brush);
    FrameRect(item.hDC, &chip, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT text = r;
    text.left += 28;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextA(item.hDC, swatch->name, -1, &text, DT_SINGLELINE | DT_VCENTER);
    return true;
}

bool CGalleryMenus::OnContextMenu(HWND target, LPARAM point) {
    POINT at = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    if (LOWORD(point) == 0xFFFF && HIWORD(point) == 0xFFFF) {
        // From the keyboard: at the focused window, or the client area's corner.
        RECT r;
        GetWindowRect(GetFocus() ? GetFocus() : m_window, &r);
        at = POINT{r.left + 8, r.top + 8};
    } else if (target == m_window &&
               SendMessageA(m_window, WM_NCHITTEST, 0, point) != HTCLIENT) {
        return false;  // the frame's own: caption, borders, menu bar
    }
    HMENU menu = LoadMenuA(m_instance, MAKEINTRESOURCEA(IDR_CONTEXT_MENU));
    if (!menu) return false;
    HMENU popup = GetSubMenu(menu, 0);
    SetMenuDefaultItem(popup, IDM_EDIT_PROPERTIES, FALSE);
    SetItemPicture(popup, IDM_WINDOW_MINIMIZE, HBMMENU_POPUP_MINIMIZE);
    SetItemPicture(popup, IDM_WINDOW_CLOSE, HBMMENU_POPUP_CLOSE);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_window, nullptr);
    DestroyMenu(menu);
    return true;
}

bool CGalleryMenus::TranslateAccelerators(MSG* msg) const {
    return m_accelerators && m_window && TranslateAcceleratorA(m_window, m_accelerators, msg) != 0;
}
