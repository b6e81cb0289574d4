#include "CFolderPickerDialog.h"
#include "../resources/resource.h"
#include <objbase.h>
#include <cstring>

namespace {

// The new-style browser needs an apartment on this thread; balance only what we started.
class ComApartment {
public:
    ComApartment() : m_initialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() { if (m_initialized) CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
private:
    bool m_initialized;
};

}  // namespace

CFolderPickerDialog::CFolderPickerDialog(CWnd* pOwner)
    : CDialog(0, pOwner)
{
    m_strTitle.Empty();
    m_strTitle.LoadString(IDS_SELECT_DIRECTORY);
    memset(m_szSelectedPath, 0, sizeof(m_szSelectedPath));
    memset(&m_browseInfo, 0, sizeof(m_browseInfo));
    m_browseInfo.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    m_browseInfo.pidlRoot = nullptr;
    m_browseInfo.pszDisplayName = m_szSelectedPath;
    m_browseInfo.lpszTitle = m_strTitle;
    m_browseInfo.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
    m_browseInfo.lpfn = &CFolderPickerDialog::BrowseCallback;
    m_browseInfo.lParam = reinterpret_cast<LPARAM>(this);
    m_browseInfo.iImage = 0;
}

INT_PTR CFolderPickerDialog::DoModal()
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return IDCANCEL;

    INT_PTR result = IDCANCEL;
    {
        ComApartment apartment;
        // Some shells write an undefined display name even when the user cancels; a
        // cancelled browse must leave the previous choice as it was.
        char previous[MAX_PATH];
        memcpy(previous, m_szSelectedPath, sizeof(previous));
        LPITEMIDLIST idList = SHBrowseForFolderA(&m_browseInfo);
        if (!idList) {
            memcpy(m_szSelectedPath, previous, sizeof(previous));
        } else {
            char path[MAX_PATH] = {};
            if (SHGetPathFromIDListA(idList, path)) {
                memcpy(m_szSelectedPath, path, sizeof(path));
                m_szSelectedPath[MAX_PATH - 1] = '\0';
                result = IDOK;
            }
            allocator->Free(idList);
        }
    }
    allocator->Release();
    return result;
}

int CALLBACK CFolderPickerDialog::BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM lpData)
{
    auto* picker = reinterpret_cast<CFolderPickerDialog*>(lpData);
    switch (message) {
    case BFFM_INITIALIZED: {
        // A fresh picker opens on the current directory, a reused one on its last choice.
        char start[MAX_PATH] = {};
        if (picker->m_szSelectedPath[0]) {
            memcpy(start, picker->m_szSelectedPath, sizeof(start));
        } else {
            const DWORD n = GetCurrentDirectoryA(MAX_PATH, start);
            if (n == 0 || n >= MAX_PATH)
                start[0] = '\0';
        }
        if (start[0])
            ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start));
        break;
    }
    case BFFM_SELCHANGED:
        if (picker->m_browseInfo.ulFlags & BIF_STATUSTEXT) {
            char path[MAX_PATH] = {};
            if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path))
                ::SendMessageA(hWnd, BFFM_SETSTATUSTEXTA, 1, reinterpret_cast<LPARAM>(path));
        }
        break;
    default:
        break;
    }
    return 0;
}
