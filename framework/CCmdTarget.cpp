#include "CCmdTarget.h"
#include "CMessageMapIndex.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

LONG CCmdTarget::InternalRelease()
{
    const LONG left = m_dwRef.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        OnFinalRelease();
    return left;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries, {nullptr}};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const AFX_MSGMAP_ENTRY* e = CMessageMapIndex::For(GetMessageMap()).Find(message, code, id);
    return e && e->pfn(this, wParam, lParam, result);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    LRESULT ignored = 0;
    return DispatchEntry(WM_COMMAND, static_cast<UINT>(nCode), nID, 0, 0, &ignored) ? TRUE : FALSE;
}
