#include "CWinApp.h"

namespace {
CWinApp* g_app = nullptr;

CString ModuleBaseName(HINSTANCE module)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(module, path, MAX_PATH);
    CString name(path);
    const int slash = [&] { int pos = -1, next; while ((next = name.Find('\\', pos + 1)) >= 0) pos = next; return pos; }();
    name = name.Mid(slash + 1);
    const int dot = name.Find('.');
    return dot > 0 ? name.Left(dot) : name;
}
}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_strAppName(appName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle() { return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr); }
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

int AfxMessageBox(LPCSTR text, UINT type, UINT)
{
    CWnd* main = AfxGetMainWnd();
    HWND owner = main && ::IsWindowEnabled(main->m_hWnd) ? main->m_hWnd : ::GetActiveWindow();
    CString caption = g_app && !g_app->m_strAppName.IsEmpty() ? g_app->m_strAppName : ModuleBaseName(nullptr);
    return ::MessageBoxA(owner, text, caption, type);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    // No system prompt for a drive without a medium or a file that cannot be opened.
    ::SetErrorMode(::SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = hInstance;
    if (app->m_strAppName.IsEmpty())
        app->m_strAppName = ModuleBaseName(hInstance);
    if (!app->InitApplication() || !app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
