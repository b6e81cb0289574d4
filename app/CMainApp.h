#pragma once
#include "CWinApp.h"

// The application: runs the main dialog once and ends when it closes.
class CMainApp : public CWinApp {
public:
    CMainApp() = default;
    BOOL InitInstance() override;
};
