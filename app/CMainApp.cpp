#include "CMainApp.h"
#include "CMainDialog.h"
#include "CSkinApiHookManager.h"
#include "CSkinEngine.h"
#include "CSkinHookManager.h"
#ifdef TAMRIVEL_TEST_HOOKS
#include "StartupProbe.h"
#endif

#include <cstdlib>

CMainApp theApp;

BOOL CMainApp::InitInstance()
{
    // Before the first window exists, so that every window of the dialog is skinned.
    CSkinEngine* skin = CSkinEngine::Instance();
    CSkinHookManager::Instance();
    CSkinApiHookManager::Instance()->Register(skin);
    skin->SetApplyOptions(skin->GetApplyOptions() | SkinApplyMetrics);
#ifdef TAMRIVEL_TEST_HOOKS
    if (startup_probe::SkinWanted())
#endif
    skin->LoadSkin(__argv[0], nullptr);  // on failure the program keeps the system's look

    CMainDialog dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // No message loop of our own: the process ends with the dialog.
    return FALSE;
}
