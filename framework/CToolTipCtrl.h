#pragma once
// The common controls' tooltip window. Tools are registered by window (the tool is the whole
// window) or by id with a rectangle; mouse messages reach it through RelayEvent.
#include "CWnd.h"
#include <commctrl.h>

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // Id 0 registers the window itself as the tool; otherwise the tool is rect within the window.
    BOOL AddTool(CWnd* pWnd, LPCSTR text, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    void UpdateTipText(LPCSTR text, CWnd* pWnd, UINT_PTR toolId = 0);
    void GetText(CString& text, CWnd* pWnd, UINT_PTR toolId = 0) const;
    void Activate(BOOL activate);
    void RelayEvent(MSG* msg);
    void Pop();
    int GetToolCount() const;

private:
    static void FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR toolId);
};
