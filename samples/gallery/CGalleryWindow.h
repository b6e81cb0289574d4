#pragma once
#include <windows.h>
#include <memory>
#include <type_traits>

#include "CGalleryMenus.h"
#include "GalleryApp.h"

// The gallery's main window: menu, toolbar, status bar and every control of GalleryControls.h.
class CGalleryWindow {
public:
    CGalleryWindow() = default;
    CGalleryWindow(const CGalleryWindow&) = delete;
    CGalleryWindow& operator=(const CGalleryWindow&) = delete;

    bool Create(HINSTANCE instance, gallery::SkinState skin, int showCommand);
    HWND Handle() const { return m_hwnd; }
    bool TranslateAccelerators(MSG* msg) const { return m_menus.TranslateAccelerators(msg); }

private:
    struct ObjectDeleter {
        void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
    };
    struct IconDeleter {
        void operator()(HICON icon) const { DestroyIcon(icon); }
    };
    using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter>;
    using IconPtr = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void CreateBars();
    bool CreateControls();
    void FillButtons();
    void FillEditsAndLists();
    void FillViews();
    void FillRanges();
    void AddToolTip();
    void OnCommand(int id, int code, HWND control);
    LRESULT OnNotify(NMHDR& header);
    void DrawOwnerDrawn(const DRAWITEMSTRUCT& item);
    void PlaceTabPage();
    void ShowTabPage(int index);
    void SetStatus(const char* text);
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }

    HINSTANCE m_instance = nullptr;
    HWND m_hwnd = nullptr;
    HWND m_toolbar = nullptr;
    HWND m_status = nullptr;
    HWND m_toolTip = nullptr;
    int m_top = 0;  // toolbar height: the control table's origin
    gallery::SkinState m_skin = gallery::SkinState::Off;
    CGalleryMenus m_menus;
    BitmapPtr m_buttonBitmap;
    IconPtr m_buttonIcon;
};
