#include "CSkinMenuItem.h"

#include "CSkinMenuWindow.h"

BOOL CSkinMenuItem::Read(UINT mask, MENUITEMINFOA& info) const {
    info = {};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return m_hMenu && GetMenuItemInfoA(m_hMenu, static_cast<UINT>(m_nPosition), TRUE, &info);
}

UINT CSkinMenuItem::GetState() const {
    MENUITEMINFOA info;
    return Read(MIIM_STATE, info) ? info.fState : 0;
}

UINT CSkinMenuItem::GetType() const {
    MENUITEMINFOA info;
    return Read(MIIM_FTYPE, info) ? info.fType : 0;
}

UINT CSkinMenuItem::GetId() const {
    MENUITEMINFOA info;
    return Read(MIIM_ID, info) ? info.wID : 0;
}

ULONG_PTR CSkinMenuItem::GetData() const {
    MENUITEMINFOA info;
    return Read(MIIM_DATA, info) ? info.dwItemData : 0;
}

HBITMAP CSkinMenuItem::GetCheckBitmap() const {
    MENUITEMINFOA info;
    if (!Read(MIIM_CHECKMARKS | MIIM_STATE, info)) return nullptr;
    return (info.fState & MFS_CHECKED) ? info.hbmpChecked : info.hbmpUnchecked;
}

HBITMAP CSkinMenuItem::GetItemBitmap() const {
    MENUITEMINFOA info;
    return Read(MIIM_BITMAP, info) ? info.hbmpItem : nullptr;
}

CString CSkinMenuItem::GetText() const {
    char text[257] = {};
    if (!m_hMenu || GetMenuStringA(m_hMenu, static_cast<UINT>(m_nPosition), text, 257, MF_BYPOSITION) <= 0)
        return CString();
    return CString(text);
}

HMENU CSkinMenuItem::GetSubMenu() const {
    if (m_pWindow && m_pWindow->m_bIsBar && m_pWindow->m_bSystemMenu) return m_hMenu;
    return m_hMenu ? ::GetSubMenu(m_hMenu, m_nPosition) : nullptr;
}
