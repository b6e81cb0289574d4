#include "CToolTipCtrl.h"
#include <commctrl.h>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOA& ti, CWnd* pWnd, UINT_PTR toolId)
{
    ti = {};
    // The size of the common controls 5 record: accepted by every version.
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    if (toolId == 0) {
        ti.hwnd = pWnd ? ::GetParent(pWnd->m_hWnd) : nullptr;
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(pWnd ? pWnd->m_hWnd : nullptr);
    } else {
        ti.hwnd = pWnd ? pWnd->m_hWnd : nullptr;
        ti.uId = toolId;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR text, LPCRECT rect, UINT_PTR toolId)
{
    if (!m_hWnd || !pWnd)
        return FALSE;
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, toolId);
    if (rect)
        ti.rect = *rect;
    ti.lpszText = const_cast<LPSTR>(text ? text : LPSTR_TEXTCALLBACKA);
    return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* pWnd, UINT_PTR toolId)
{
    if (!m_hWnd || !pWnd)
        return;
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, toolId);
    ti.lpszText = const_cast<LPSTR>(text ? text : "");
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& text, CWnd* pWnd, UINT_PTR toolId) const
{
    text.Empty();
    if (!m_hWnd || !pWnd)
        return;
    // A tool's text is at most 80 characters unless it came by callback; take room for more.
    char buffer[1024] = {};
    TOOLINFOA ti;
    FillInToolInfo(ti, pWnd, toolId);
    ti.lpszText = buffer;
    SendMessage(TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&ti));
    text = buffer;
}

void CToolTipCtrl::Activate(BOOL activate)
{
    if (m_hWnd)
        SendMessage(TTM_ACTIVATE, activate, 0);
}

void CToolTipCtrl::RelayEvent(MSG* msg)
{
    if (m_hWnd && msg)
        SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::Pop()
{
    if (m_hWnd)
        SendMessage(TTM_POP, 0, 0);
}

int CToolTipCtrl::GetToolCount() const
{
    return m_hWnd ? static_cast<int>(SendMessage(TTM_GETTOOLCOUNT, 0, 0)) : 0;
}
