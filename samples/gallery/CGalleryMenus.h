#pragma once
// The gallery's menus beyond what the resource script can say: a radio group, a default item,
// owner-drawn swatches, item pictures (one with per-pixel alpha), the context menu and the
// keyboard accelerators shown in the menus.
#include <windows.h>
#include <memory>
#include <string>
#include <type_traits>

class CGalleryMenus {
public:
    CGalleryMenus() = default;
    ~CGalleryMenus();
    CGalleryMenus(const CGalleryMenus&) = delete;
    CGalleryMenus& operator=(const CGalleryMenus&) = delete;

    void Attach(HWND window, HINSTANCE instance);
    // One of the menus' own commands: carried out, with a line for the status bar.
    bool OnCommand(int id, std::string& status);
    bool OnMeasureItem(MEASUREITEMSTRUCT& item) const;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) const;
    // Right click (or the menu key) over the client area or a control: the context menu.
    bool OnContextMenu(HWND target, LPARAM point);
    bool TranslateAccelerators(MSG* msg) const;

private:
    struct BitmapDeleter {
        void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
    };
    using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

    void SetItemPicture(HMENU menu, UINT id, HBITMAP picture);

    HWND m_window = nullptr;
    HINSTANCE m_instance = nullptr;
    HACCEL m_accelerators = nullptr;
    BitmapPtr m_alphaPicture;
    BitmapPtr m_plainPicture;
};
