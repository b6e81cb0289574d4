#pragma once
// Message-map owners with a reference count. A map is a static table of entries,
// each a key (message, notification code, control id range) and a thunk that
// cracks the parameters and calls the handler; tables chain to the base class.
#include <atomic>
#include "CObject.h"

class CCmdTarget;
class CMessageMapIndex;

// Thunk: returns whether the message was handled; writes the result when it was.
using AFX_PMSG = bool (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message, or WM_REFLECT_BASE + message for reflected ones
    UINT nCode;      // notification code (WM_COMMAND / WM_NOTIFY), else 0
    UINT nID;        // first control id (WM_COMMAND / WM_NOTIFY), else 0
    UINT nLastID;    // last control id of the range
    AFX_PMSG pfn;    // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
    // The chain's lookup index, made by the first dispatch (CMessageMapIndex::For).
    mutable std::atomic<const CMessageMapIndex*> pIndex;
};

// Messages a parent hands back to the control that sent them.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
// Key of the reflected colour request (all WM_CTLCOLORxxx kinds).
constexpr UINT WM_CTLCOLOR_KEY = 0x0019;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Reference counting for objects shared between owners and threads (a window's
    // messages in flight hold one each); the last release calls OnFinalRelease.
    LONG InternalAddRef() { return m_dwRef.fetch_add(1, std::memory_order_relaxed) + 1; }
    LONG InternalRelease();
    LONG GetRefCount() const { return m_dwRef.load(std::memory_order_relaxed); }

    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Calls the first entry matching the key, most derived map first.
    bool DispatchEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Routes a command (menu/accelerator) or control notification through the map.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual void OnFinalRelease() { delete this; }

private:
    std::atomic<LONG> m_dwRef{1};
};

#include "MessageMap.h"
