#pragma once
// A modal folder chooser over the shell's folder browser, used like any other dialog:
// DoModal answers IDOK with the chosen folder's path in m_szSelectedPath, or IDCANCEL.
#include "Afx.h"
#include <shlobj.h>

class CFolderPickerDialog : public CDialog {
public:
    explicit CFolderPickerDialog(CWnd* pOwner = nullptr);
    ~CFolderPickerDialog() override = default;
    CFolderPickerDialog(const CFolderPickerDialog&) = delete;
    CFolderPickerDialog& operator=(const CFolderPickerDialog&) = delete;

    INT_PTR DoModal() override;

    // The chosen folder after IDOK; also the shell's display-name buffer while browsing.
    char m_szSelectedPath[MAX_PATH];

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM lpData);

    BROWSEINFOA m_browseInfo;
    CString m_strTitle;
};
