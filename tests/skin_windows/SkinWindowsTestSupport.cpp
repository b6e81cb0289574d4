#include "SkinWindowsTestSupport.h"

#include <commctrl.h>

#include "CSkinObjectClassInfo.h"
#include "Wait.h"
#include "WindowClass.h"

namespace skinwintest {

LONG CCountingSkinObject::live = 0;
LONG CCountingSkinObject::handled = 0;
LRESULT CCountingSkinObject::lastDefault = 0;

IMPLEMENT_DYNCREATE(CCountingSkinObject, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CCountingSkinObject, CSkinObjectFrame)
    ON_MESSAGE(kPassedOn, OnPassedOn)
END_MESSAGE_MAP()

CCountingSkinObject::CCountingSkinObject() { InterlockedIncrement(&live); }
CCountingSkinObject::~CCountingSkinObject() { InterlockedDecrement(&live); }

LRESULT CCountingSkinObject::OnPassedOn(WPARAM, LPARAM) {
    InterlockedIncrement(&handled);
    lastDefault = Default();
    return lastDefault;
}

BOOL StartSkin() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES |
                                                 ICC_HOTKEY_CLASS | ICC_PAGESCROLLER_CLASS};
    InitCommonControlsEx(&icc);
    CSkinHookManager::Instance();
    CSkinEngine* engine = CSkinEngine::Instance();
    if (engine->IsEnabled()) return TRUE;
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return engine->LoadSkin(path, nullptr);
}

void Pump(DWORD ms) { harness::PumpMessages(ms); }

std::string ClassNameOf(HWND hWnd) {
    char name[256] = "";
    GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

void RegisterCountedClass(const char* name, WNDPROC procedure) {
    harness::RegisterWindowClass(name, procedure);
    CSkinHookManager::Instance()->AddWindowClass(name, new CSkinObjectClassInfo(RUNTIME_CLASS(CCountingSkinObject)));
}

}  // namespace skinwintest
