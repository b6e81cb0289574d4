#include "CGallerySheet.h"

#include <commctrl.h>
#include <initializer_list>
#include <prsht.h>

#include "GalleryControls.h"

namespace {

constexpr int kPageCount = 2;
// Page record kept in DWLP_USER: the page's index, and whether it belongs to a wizard.
constexpr LPARAM kWizardBit = 0x100;

}  // namespace

INT_PTR CGallerySheet::Show(HINSTANCE instance, HWND owner, bool wizard)
{
    const WORD templates[kPageCount] = {IDD_PAGE_GENERAL, IDD_PAGE_OPTIONS};
    PROPSHEETPAGEA pages[kPageCount] = {};
    for (int i = 0; i < kPageCount; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(templates[i]);
        pages[i].pfnDlgProc = PageProc;
        pages[i].lParam = i | (wizard ? kWizardBit : 0);
        if (wizard) {
            // A wizard's caption may come from its pages; keep it the wizard's own on every page.
            pages[i].dwFlags = PSP_USETITLE;
            pages[i].pszTitle = gallery::kWizardTitle;
        }
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | (wizard ? PSH_WIZARD : 0);
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszCaption = wizard ? gallery::kWizardTitle : gallery::kSheetTitle;
    header.nPages = kPageCount;
    header.ppsp = pages;
    return PropertySheetA(&header);
}

INT_PTR CALLBACK CGallerySheet::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const LPARAM record = reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam;
        SetWindowLongPtrA(page, DWLP_USER, record);
        if ((record & 0xFF) == 1) {
            CheckRadioButton(page, IDC_PAGE_RADIO_A, IDC_PAGE_RADIO_B, IDC_PAGE_RADIO_A);
            HWND combo = GetDlgItem(page, IDC_PAGE_COMBO);
            for (const char* level : {"Low", "Medium", "High"})
                SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(level));
            SendMessageA(combo, CB_SETCURSEL, 1, 0);
        } else {
            SetDlgItemTextA(page, IDC_PAGE_NAME, "Tamrivel");
        }
        return TRUE;
    }
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_SETACTIVE) {
            const LONG_PTR record = GetWindowLongPtrA(page, DWLP_USER);
            if (record & kWizardBit) {
                const bool last = (record & 0xFF) == kPageCount - 1;
                PropSheet_SetWizButtons(GetParent(page), last ? PSWIZB_BACK | PSWIZB_FINISH : PSWIZB_NEXT);
            }
            SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
