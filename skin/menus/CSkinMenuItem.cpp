#include "CSkinMenuItem.h"

#include "CSkinMenuWindow.h"

BOOL CSkinMenuItem::Read(UINT mask, MENUITEMINFOA& info) const {
    info = {};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return m_hMenu && GetMenuItemInfoA(m_hMenu, static_cast<UINT>(m_nPosition), TRUE, &info);
}

UINT CSkinMenuItem::GetState() const { return ReadField(MIIM_STATE, &MENUITEMINFOA::fState); }

UINT CSkinMenuItem::GetType() const { return ReadField(MIIM_FTYPE, &MENUITEMINFOA::fType); }

UINT CSkinMenuItem::GetId() const { return ReadField(MIIM_ID, &MENUITEMINFOA::wID); }

ULONG_PTR CSkinMenuItem::GetData() const { return ReadField(MIIM_DATA, &MENUITEMINFOA::dwItemData); }

HBITMAP CSkinMenuItem::GetCheckBitmap() const {
    MENUITEMINFOA info;
    if (!Read(MIIM_CHECKMARKS | MIIM_STATE, info)) return nullptr;
    return (info.fState & MFS_CHECKED) ? info.hbmpChecked : info.hbmpUnchecked;
}

HBITMAP CSkinMenuItem::GetItemBitmap() const { return ReadField(MIIM_BITMAP, &MENUITEMINFOA::hbmpItem); }

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
