#include "CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

LONG CCmdTarget::InternalRelease()
{
    const LONG left = --m_dwRef;
    if (left == 0)
        OnFinalRelease();
    return left;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage == message && e->nCode == code && id >= e->nID && id <= e->nLastID)
                return e->pfn(this, wParam, lParam, result);
        }
    }
    return false;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    LRESULT ignored = 0;
    return DispatchEntry(WM_COMMAND, static_cast<UINT>(nCode), nID, 0, 0, &ignored) ? TRUE : FALSE;
}
