// A full repaint of the gallery's control page (every control of its table, filled as the gallery
// fills them), skinned against plain in the same run: the plain page is built and repainted on a
// thread without the creation hook, so nothing there is skinned. Rounds alternate; the figures are
// medians; the ratio is skinned over plain.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "BenchClock.h"
#include "BenchSkin.h"
#include "CSkinHookManager.h"
#include "GalleryControls.h"

using bench::Median;
using bench::Now;

namespace {

constexpr int kRepaints = 20;
constexpr int kRounds = 7;

LRESULT CALLBACK PageProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void Fill(HWND page) {
    const HWND list = GetDlgItem(page, gallery::IDC_LISTVIEW);
    const char* columns[] = {"Name", "Version", "Folder"};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 96;
        column.pszText = const_cast<char*>(columns[c]);
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < 7; ++i) {
        char text[32];
        wsprintfA(text, "Java %d", 8 + i);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    const HWND tree = GetDlgItem(page, gallery::IDC_TREEVIEW);
    TVINSERTSTRUCTA insert{};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>("Environment");
    const HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    for (const char* name : {"JAVA_HOME", "CLASSPATH", "PATH"}) {
        insert.hParent = root;
        insert.item.pszText = const_cast<char*>(name);
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    }
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    const HWND tab = GetDlgItem(page, gallery::IDC_TAB);
    for (const char* name : {"General", "Advanced", "About"}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(name);
        SendMessageA(tab, TCM_INSERTITEMA, SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    }
    const HWND listBox = GetDlgItem(page, gallery::IDC_LISTBOX);
    for (int i = 0; i < 12; ++i) SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("List box item"));
    SendMessageA(GetDlgItem(page, gallery::IDC_PROGRESS), PBM_SETPOS, 60, 0);
    SendMessageA(GetDlgItem(page, gallery::IDC_TRACKBAR), TBM_SETRANGE, TRUE, MAKELPARAM(0, 20));
    SendMessageA(GetDlgItem(page, gallery::IDC_SPIN), UDM_SETBUDDY,
                 reinterpret_cast<WPARAM>(GetDlgItem(page, gallery::IDC_SPIN_BUDDY)), 0);
}

HWND BuildPage(int x) {
    HWND page = CreateWindowExA(0, "TamrivelBenchPage", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, 0, 1180, 580,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const gallery::ControlSpec& c : gallery::kControls) {
        HWND control = CreateWindowExA(c.exStyle, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y,
                                       c.width, c.height, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       GetModuleHandleA(nullptr), nullptr);
        if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    Fill(page);
    return page;
}

void Settle() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Milliseconds per full repaint of a page, one round.
double PerRepaint(HWND page) {
    Settle();
    const double t0 = Now();
    for (int i = 0; i < kRepaints; ++i)
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    return (Now() - t0) * 1e3 / kRepaints;
}


DWORD WINAPI PlainRound(LPVOID figures) {
    HWND page = BuildPage(0);
    static_cast<std::vector<double>*>(figures)->push_back(PerRepaint(page));
    DestroyWindow(page);
    return 0;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES |
                                                ICC_PAGESCROLLER_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TamrivelBenchPage";
    RegisterClassA(&wc);
    wc.lpszClassName = gallery::kCanvasClass;
    RegisterClassA(&wc);

    CSkinHookManager::Instance();
    if (!bench::LoadOwnSkin()) {
        std::printf("skin did not load\n");
        return 1;
    }
    std::vector<double> plain, skinned;
    for (int r = 0; r < kRounds; ++r) {
        HANDLE thread = CreateThread(nullptr, 0, PlainRound, &plain, 0, nullptr);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        HWND page = BuildPage(0);
        skinned.push_back(PerRepaint(page));
        DestroyWindow(page);
    }
    std::printf("%-40s %10s %10s %7s\n", "case", "plain ms", "skinned ms", "ratio");
    std::printf("%-40s %10.3f %10.3f %7.2f\n", "full repaint of the control page", Median(plain), Median(skinned),
                Median(skinned) / Median(plain));
    return 0;
}
