#pragma once
// Shared by the window-integration tests: the engine switched on from the test program's own
// theme resources, message pumping, and a skin object class whose handlers are counted.
#include <windows.h>

#include <string>

#include "CSkinHookManager.h"
#include "CSkinObjectFrame.h"
#include "MessageMap.h"
#include "SkinRoutes.h"

namespace skinwintest {

// Hook manager up, skin loaded from this program's resources; TRUE when skinning is on.
BOOL StartSkin();
void Pump(DWORD ms = 0);
std::string ClassNameOf(HWND hWnd);

// Handled by CCountingSkinObject: WM_APP+7 passes on with CWnd::Default, WM_APP+8 is not handled.
constexpr UINT kPassedOn = WM_APP + 7;
constexpr UINT kNotHandled = WM_APP + 8;

class CCountingSkinObject : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CCountingSkinObject)
public:
    CCountingSkinObject();
    ~CCountingSkinObject() override;
    static LONG live;      // objects in existence
    static LONG handled;   // kPassedOn handler calls
    static LRESULT lastDefault;

protected:
    LRESULT OnPassedOn(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// A window class of this program mapped to CCountingSkinObject; procedure as given.
void RegisterCountedClass(const char* name, WNDPROC procedure);

}  // namespace skinwintest
