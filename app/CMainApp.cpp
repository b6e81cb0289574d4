#include "CMainApp.h"
#include "CMainDialog.h"

CMainApp theApp;

BOOL CMainApp::InitInstance()
{
    CMainDialog dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // No message loop of our own: the process ends with the dialog.
    return FALSE;
}
