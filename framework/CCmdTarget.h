#pragma once
// Message-map owners with a reference count. A map is a static table of entries,
// each a key (message, notification code, control id range) and a thunk that
// cracks the parameters and calls the handler; tables chain to the base class.
#include "CObject.h"

class CCmdTarget;

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
};

// Messages a parent hands back to the control that sent them.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
// Key of the reflected colour request (all WM_CTLCOLORxxx kinds).
constexpr UINT WM_CTLCOLOR_KEY = 0x0019;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Reference counting for shared engine objects; the last release deletes.
    LONG InternalAddRef() { return ++m_dwRef; }
    LONG InternalRelease();
    LONG GetRefCount() const { return m_dwRef; }

    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Calls the first entry matching the key, most derived map first.
    bool DispatchEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Routes a command (menu/accelerator) or control notification through the map.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual void OnFinalRelease() { delete this; }

private:
    LONG m_dwRef = 1;
};

#include "MessageMap.h"
