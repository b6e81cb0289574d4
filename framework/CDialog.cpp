#include "CDialog.h"
#include "CDC.h"
#include "CWinApp.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND item = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (pDX->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthA(item);
        char* buffer = value.GetBuffer(length + 1);
        buffer[0] = '\0';
        ::GetWindowTextA(item, buffer, length + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextA(item, value);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND item = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(item, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(item, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;  // everything else went through the message map already
    auto* dlg = reinterpret_cast<CDialog*>(lParam);
    if (!dlg->m_hWnd)
        dlg->SubclassWindow(hWnd);
    return dlg->OnInitDialog();
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL loaded = res ? ::LoadResource(module, res) : nullptr;
    auto* tmpl = loaded ? static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)) : nullptr;
    if (!tmpl)
        return -1;

    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    const bool reenableParent = parent && ::IsWindowEnabled(parent);
    if (reenableParent)
        ::EnableWindow(parent, FALSE);

    m_nModalResult = -1;
    m_bContinueModal = true;
    HWND hWnd = ::CreateDialogIndirectParamA(module, tmpl, parent, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd && m_bContinueModal) {
        if (!::IsWindowVisible(hWnd))
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        MSG msg;
        while (m_bContinueModal) {
            const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
            if (got <= 0) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the outer loop
                break;
            }
            if (!PreTranslateTree(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    }
    if (reenableParent) {
        ::EnableWindow(parent, TRUE);
        ::SetActiveWindow(parent);
    }
    if (hWnd)
        ::DestroyWindow(hWnd);
    m_bContinueModal = false;
    return hWnd ? m_nModalResult : -1;
}

bool CDialog::PreTranslateTree(MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* wnd = FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(pMsg))
            return true;
        if (h == m_hWnd)
            return false;
    }
    // A message for a window outside the dialog (a tooltip, say) still gets the dialog's keys.
    return PreTranslateMessage(pMsg) != FALSE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd)
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bContinueModal = false;
    if (m_hWnd)
        ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    NotificationLockout lockout(m_hWnd);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
