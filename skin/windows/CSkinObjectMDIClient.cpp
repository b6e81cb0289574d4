#include "CSkinObjectMDIClient.h"

IMPLEMENT_DYNCREATE(CSkinObjectMDIClient, CSkinObjectFrame)

CSkinObjectMDIClient::CSkinObjectMDIClient() {
    m_themeClassName = "WINDOW";
    m_ctlColorMessage = WM_CTLCOLORDLG;
    m_alwaysSubclass = TRUE;
}
