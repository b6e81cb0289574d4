#pragma once
// The single application object. Its constructor registers it; the framework's
// entry point finds it, prepares the process and runs InitInstance.
#include "CWnd.h"

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;  // caption of framework message boxes

    virtual BOOL InitApplication() { return TRUE; }
    virtual BOOL InitInstance() { return TRUE; }
    // The application's message loop; ends with ExitInstance's code.
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }

protected:
    int m_nExitCode = 0;
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPSTR, int);
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR cmdLine, int showCmd);
