#pragma once
// One position of a shown menu. Only the place is kept: everything else is read from the
// menu when asked, since the owner may change the menu while it is open.
#include <windows.h>
#include "CString.h"

class CSkinMenuWindow;

class CSkinMenuItem {
public:
    CSkinMenuItem(CSkinMenuWindow* window, HMENU menu, int position)
        : m_pWindow(window), m_hMenu(menu), m_nPosition(position) {}

    RECT m_rect = {0, 0, 0, 0};  // client coordinates of its window (window coordinates on a bar)
    CSkinMenuWindow* m_pWindow;
    HMENU m_hMenu;
    int m_nPosition;

    UINT GetState() const;
    UINT GetType() const;
    UINT GetId() const;
    ULONG_PTR GetData() const;
    // The item's own check picture for the state it is in (checked or not), or null.
    HBITMAP GetCheckBitmap() const;
    // The item bitmap (a real bitmap or one of the HBMMENU_ values), null when none.
    HBITMAP GetItemBitmap() const;
    CString GetText() const;
    // The popup this item opens; on a system-menu pseudo bar the menu itself.
    HMENU GetSubMenu() const;

    BOOL IsSeparator() const { return (GetType() & MFT_SEPARATOR) != 0; }
    BOOL IsOwnerDrawn() const { return (GetType() & MFT_OWNERDRAW) != 0; }
    BOOL IsEnabled() const { return (GetState() & 3) == 0; }
    BOOL IsChecked() const { return (GetState() & MFS_CHECKED) != 0; }
    BOOL IsDefault() const { return (GetState() & MFS_DEFAULT) != 0; }
    BOOL IsColumnBreak() const { return (GetType() & 0x60) != 0; }

private:
    BOOL Read(UINT mask, MENUITEMINFOA& info) const;
    // One field of the item, or an empty one when the item cannot be read.
    template <typename T>
    T ReadField(UINT mask, T MENUITEMINFOA::*field) const {
        MENUITEMINFOA info;
        return Read(mask, info) ? info.*field : T{};
    }
};
