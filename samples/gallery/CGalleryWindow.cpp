#include "CGalleryWindow.h"

#include <commctrl.h>
#include <initializer_list>
#include <string>

#include "CCanvasWindow.h"
#include "CGallerySheet.h"
#include "CMdiFrameWindow.h"
#include "GalleryControls.h"
#include "GuiObjects.h"

using namespace gallery;

namespace {

constexpr int kClientWidth = 1180;
constexpr int kContentHeight = 576;
constexpr int kToolbarHeightGuess = 32;  // both bars are measured once they exist
constexpr int kStatusHeightGuess = 24;

const char* const kTabTexts[] = {
    "The first tab: a tab control with a static text on its page.",
    "The second tab: its page text changes with the selection.",
    "The third tab.",
};

template <typename T>
LPARAM AsLParam(T value) { return reinterpret_cast<LPARAM>(value); }

// A named procedure, not a lambda: the 32-bit build needs the callback's calling convention.
BOOL CALLBACK SetFontProc(HWND child, LPARAM font)
{
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

}  // namespace

bool CGalleryWindow::Create(HINSTANCE instance, SkinState skin, int showCommand)
{
    m_instance = instance;
    m_skin = skin;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GALLERY));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    wc.lpszClassName = kMainClass;
    if (!RegisterClassExA(&wc) || !CCanvasWindow::Register(instance, kCanvasClass))
        return false;

    std::string title = kMainTitle;
    if (skin == SkinState::Off)
        title += kNoSkinSuffix;
    else if (skin == SkinState::Failed)
        title += kSkinFailedSuffix;

    // No WS_CLIPCHILDREN: group boxes leave their inside to the parent's background.
    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT frame = {0, 0, kClientWidth, kToolbarHeightGuess + kContentHeight + kStatusHeightGuess};
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);
    if (!CreateWindowExA(WS_EX_CONTROLPARENT, kMainClass, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this))
        return false;
    ShowWindow(m_hwnd, showCommand);
    UpdateWindow(m_hwnd);
    return true;
}

LRESULT CALLBACK CGalleryWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CGalleryWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, AsLParam(self));
    }
    auto* self = reinterpret_cast<CGalleryWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CGalleryWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    static const UINT countObjects = RegisterWindowMessageA(gallery::kCountObjectsMessage);
    if (message == countObjects)
        switch (wParam) {
        case gallery::kCountWindows: return harness::LiveWindows();
        case gallery::kCountBitmaps: return harness::LiveGdiObjectsOfType(OBJ_BITMAP);
        case gallery::kCountMemoryDCs: return harness::LiveGdiObjectsOfType(OBJ_MEMDC);
        default: return harness::LiveGdiObjects();
        }
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        SendMessageA(m_toolbar, TB_AUTOSIZE, 0, 0);
        SendMessageA(m_status, WM_SIZE, 0, 0);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_MEASUREITEM:
        if (m_menus.OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_CONTEXTMENU:
        if (m_menus.OnContextMenu(reinterpret_cast<HWND>(wParam), lParam))
            return 0;
        break;
    case WM_DRAWITEM:
        if (m_menus.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        if (wParam == IDC_OWNER_DRAW) {
            DrawOwnerDrawn(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_HSCROLL:
    case WM_VSCROLL: {
        // The standalone scroll bars move as the user drags them.
        HWND bar = reinterpret_cast<HWND>(lParam);
        if (bar != Item(IDC_HSCROLL) && bar != Item(IDC_VSCROLL))
            break;
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(bar, SB_CTL, &si);
        int pos = si.nPos;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
        case SB_THUMBTRACK: pos = si.nTrackPos; break;
        default: break;
        }
        si.fMask = SIF_POS;
        si.nPos = pos;
        SetScrollInfo(bar, SB_CTL, &si, TRUE);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

bool CGalleryWindow::OnCreate()
{
    CreateBars();
    if (!CreateControls())
        return false;
    FillButtons();
    FillEditsAndLists();
    FillViews();
    FillRanges();
    AddToolTip();
    // One font for every child, as a dialog would give them.
    EnumChildWindows(m_hwnd, SetFontProc, AsLParam(GetStockObject(DEFAULT_GUI_FONT)));
    PlaceTabPage();
    m_menus.Attach(m_hwnd, m_instance);

    // The frame was sized for a guessed status bar; fit the client to the real bars.
    RECT toolbar, status, window, client;
    GetWindowRect(m_toolbar, &toolbar);
    GetWindowRect(m_status, &status);
    GetWindowRect(m_hwnd, &window);
    GetClientRect(m_hwnd, &client);
    const int wanted = (toolbar.bottom - toolbar.top) + kContentHeight + (status.bottom - status.top);
    SetWindowPos(m_hwnd, nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top + wanted - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void CGalleryWindow::CreateBars()
{
    m_toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0, m_hwnd,
                                reinterpret_cast<HMENU>(IDC_TOOLBAR), m_instance, nullptr);
    SendMessageA(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(m_toolbar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, AsLParam(HINST_COMMCTRL));
    TBBUTTON buttons[] = {
        {STD_FILENEW, IDM_MDI_FRAME, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {STD_PROPERTIES, IDM_PROPERTY_SHEET, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {0, 0, 0, BTNS_SEP, {}, 0, 0},
        {STD_HELP, IDM_WIZARD, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {STD_FIND, 0, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, {}, 0, 0},
    };
    SendMessageA(m_toolbar, TB_ADDBUTTONSA, sizeof buttons / sizeof buttons[0], AsLParam(buttons));
    SendMessageA(m_toolbar, TB_AUTOSIZE, 0, 0);
    RECT rc;
    GetWindowRect(m_toolbar, &rc);
    m_top = rc.bottom - rc.top;

    m_status = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                               m_hwnd, reinterpret_cast<HMENU>(IDC_STATUSBAR), m_instance, nullptr);
    int parts[] = {kClientWidth - 260, -1};
    SendMessageA(m_status, SB_SETPARTS, 2, AsLParam(parts));
    SetStatus("Ready");
    const char* state = m_skin == SkinState::On    ? "Skin on"
                        : m_skin == SkinState::Off ? "Skin off (--no-skin)"
                                                   : "Skin could not be loaded";
    SendMessageA(m_status, SB_SETTEXTA, 1, AsLParam(state));
}

bool CGalleryWindow::CreateControls()
{
    for (const ControlSpec& c : kControls) {
        HWND control = CreateWindowExA(c.exStyle, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x,
                                       c.y + m_top, c.width, c.height, m_hwnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), m_instance, nullptr);
        if (!control)
            return false;
    }
    // New children go to the bottom, so the groups sink only once every control exists.
    for (const ControlSpec& c : kControls)
        if (c.style == kGroup)
            SetWindowPos(Item(c.id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The page text lives inside the tab control; PlaceTabPage puts it on the body.
    CreateWindowExA(0, WC_STATICA, "", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, Item(IDC_TAB),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TAB_TEXT)), m_instance, nullptr);

    HWND pager = Item(IDC_PAGER);
    HWND strip = CreateWindowExA(0, kCanvasClass, "A pager scrolls this strip, wider than itself, sideways",
                                 WS_CHILD | WS_VISIBLE, 0, 0, 420, 24, pager,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PAGER_CONTENT)), m_instance, nullptr);
    SendMessageA(pager, PGM_SETCHILD, 0, AsLParam(strip));

    for (int i = 0; i < kStandInCount; ++i) {
        // A class by the name may already exist in the process (a system one); the filter then meets that.
        CCanvasWindow::Register(m_instance, kStandInClasses[i]);
        const int x = kStandInLeft + (i % 2) * kStandInColumnStep;
        const int y = kStandInTop + (i / 2) * kStandInRowStep + m_top;
        CreateWindowExA(0, kStandInClasses[i], nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, x, y, kStandInWidth,
                        kStandInHeight, m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STANDIN_FIRST + i)),
                        m_instance, nullptr);
    }
    return true;
}

void CGalleryWindow::FillButtons()
{
    SendMessageA(Item(IDC_CHECK), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(Item(IDC_THREE_STATE), BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(Item(IDC_RADIO_FIRST), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(Item(IDC_COMMAND_LINK), BCM_SETNOTE, 0, AsLParam(L"A note below the command link's caption."));

    m_buttonBitmap.reset(static_cast<HBITMAP>(
        LoadImageA(m_instance, MAKEINTRESOURCEA(IDB_GALLERY_BUTTON), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    SendMessageA(Item(IDC_BITMAP_PUSH), BM_SETIMAGE, IMAGE_BITMAP, AsLParam(m_buttonBitmap.get()));
    m_buttonIcon.reset(static_cast<HICON>(
        LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_GALLERY), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    SendMessageA(Item(IDC_ICON_PUSH), BM_SETIMAGE, IMAGE_ICON, AsLParam(m_buttonIcon.get()));
}

void CGalleryWindow::FillEditsAndLists()
{
    std::string lines;
    for (int i = 1; i <= 12; ++i)
        lines += "Line " + std::to_string(i) + " of a multi-line edit, long enough to scroll sideways\r\n";
    SetWindowTextA(Item(IDC_EDIT_MULTI), lines.c_str());

    const char* const choices[] = {"jdk1.8.0_202", "jdk-11.0.22", "jdk-17.0.10", "jdk-21.0.2", "jdk-22"};
    for (int id : {IDC_COMBO_SIMPLE, IDC_COMBO_DROPDOWN, IDC_COMBO_DROPLIST}) {
        for (const char* choice : choices)
            SendMessageA(Item(id), CB_ADDSTRING, 0, AsLParam(choice));
        SendMessageA(Item(id), CB_SETCURSEL, 2, 0);
    }
    for (int i = 1; i <= 16; ++i)
        SendMessageA(Item(IDC_LISTBOX), LB_ADDSTRING, 0, AsLParam(("List box item " + std::to_string(i)).c_str()));
    SendMessageA(Item(IDC_LISTBOX), LB_SETCURSEL, 1, 0);
}

void CGalleryWindow::FillViews()
{
    HWND list = Item(IDC_LISTVIEW);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const struct { const char* title; int width; } columns[] = {{"Name", 100}, {"Version", 70}, {"Folder", 132}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = columns[i].width;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, AsLParam(&column));
    }
    const char* const rows[][3] = {
        {"Java 8", "1.8.0", "C:\\Java\\jdk1.8.0_202"},     {"Java 11", "11.0.22", "C:\\Java\\jdk-11.0.22"},
        {"Java 17", "17.0.10", "C:\\Java\\jdk-17.0.10"},   {"Java 21", "21.0.2", "D:\\Java\\jdk-21.0.2"},
        {"Java 22", "22", "D:\\Program Files\\Java\\jdk-22"}, {"Java 7", "1.7.0", "E:\\Java\\jdk1.7.0_80"},
        {"Java 6", "1.6.0", "E:\\Java\\jdk1.6.0_45"},
    };
    int row = 0;
    for (const auto& r : rows) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(r[0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, AsLParam(&item));
        for (int sub = 1; sub < 3; ++sub) {
            item.iSubItem = sub;
            item.pszText = const_cast<char*>(r[sub]);
            SendMessageA(list, LVM_SETITEMTEXTA, row, AsLParam(&item));
        }
        ++row;
    }

    HWND tree = Item(IDC_TREEVIEW);
    auto insert = [tree](HTREEITEM parent, const char* text) {
        TVINSERTSTRUCTA ins = {};
        ins.hParent = parent;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, AsLParam(&ins)));
    };
    HTREEITEM root = insert(TVI_ROOT, "Environment");
    for (const char* name : {"JAVA_HOME", "CLASSPATH", "PATH"}) {
        HTREEITEM node = insert(root, name);
        insert(node, "Machine-wide");
        insert(node, "Current user");
    }
    HTREEITEM drives = insert(TVI_ROOT, "Drives");
    for (const char* drive : {"C:", "D:", "E:"})
        insert(drives, drive);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, AsLParam(root));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, AsLParam(root));

    HWND tab = Item(IDC_TAB);
    const char* const tabs[] = {"General", "Advanced", "About"};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tabs[i]);
        SendMessageA(tab, TCM_INSERTITEMA, i, AsLParam(&item));
    }
    ShowTabPage(0);
}

void CGalleryWindow::FillRanges()
{
    SendMessageA(Item(IDC_TRACKBAR), TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageA(Item(IDC_TRACKBAR), TBM_SETPOS, TRUE, 4);
    SendMessageA(Item(IDC_PROGRESS), PBM_SETRANGE32, 0, 100);
    SendMessageA(Item(IDC_PROGRESS), PBM_SETPOS, 60, 0);
    SendMessageA(Item(IDC_MARQUEE), PBM_SETMARQUEE, TRUE, 40);

    HWND spin = Item(IDC_SPIN);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_SPIN_BUDDY)), 0);
    SendMessageA(spin, UDM_SETRANGE32, 0, 99);
    SendMessageA(spin, UDM_SETPOS32, 0, 5);

    SendMessageA(Item(IDC_DATETIME_NONE), DTM_SETSYSTEMTIME, GDT_NONE, 0);
    SendMessageA(Item(IDC_IPADDRESS), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 0, 1));
    SendMessageA(Item(IDC_HOTKEY), HKM_SETHOTKEY, MAKEWORD('G', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);

    for (int id : {IDC_HSCROLL, IDC_VSCROLL}) {
        SCROLLINFO si = {sizeof si, SIF_ALL, 0, 100, 20, 30, 0};
        SetScrollInfo(Item(id), SB_CTL, &si, FALSE);
    }
}

void CGalleryWindow::AddToolTip()
{
    m_toolTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr, m_instance, nullptr);
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(IDC_CANVAS));
    tool.lpszText = const_cast<char*>("A window of a class only the gallery knows.");
    SendMessageA(m_toolTip, TTM_ADDTOOLA, 0, AsLParam(&tool));
}

void CGalleryWindow::OnCommand(int id, int code, HWND control)
{
    std::string status;
    if (!control && m_menus.OnCommand(id, status)) {
        if (!status.empty())
            SetStatus(status.c_str());
        return;
    }
    switch (id) {
    case IDM_EXIT:
        PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
        return;
    case IDM_MDI_FRAME:
        CMdiFrameWindow::Open(m_instance, m_hwnd);
        return;
    case IDM_PROPERTY_SHEET:
    case IDM_WIZARD:
        CGallerySheet::Show(m_instance, m_hwnd, id == IDM_WIZARD);
        return;
    case IDM_SPLIT_FIRST:
    case IDM_SPLIT_SECOND:
        SetStatus(id == IDM_SPLIT_FIRST ? "Split button: first choice" : "Split button: second choice");
        return;
    }
    if (control && code == BN_CLICKED) {
        char text[64] = "";
        GetWindowTextA(control, text, sizeof text);
        SetStatus(("Clicked: " + std::string(text[0] ? text : "a picture button")).c_str());
    }
}

LRESULT CGalleryWindow::OnNotify(NMHDR& header)
{
    switch (header.code) {
    case BCN_DROPDOWN:
        if (header.idFrom == IDC_SPLIT) {
            const auto& dropdown = reinterpret_cast<const NMBCDROPDOWN&>(header);
            POINT at = {dropdown.rcButton.left, dropdown.rcButton.bottom};
            ClientToScreen(header.hwndFrom, &at);
            HMENU menu = LoadMenuA(m_instance, MAKEINTRESOURCEA(IDR_SPLIT_MENU));
            TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, m_hwnd, nullptr);
            DestroyMenu(menu);
            return 0;
        }
        break;
    case TCN_SELCHANGE:
        if (header.idFrom == IDC_TAB)
            ShowTabPage(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
        break;
    case PGN_CALCSIZE:
        if (header.idFrom == IDC_PAGER) {
            auto& size = reinterpret_cast<NMPGCALCSIZE&>(header);
            if (size.dwFlag == PGF_CALCWIDTH)
                size.iWidth = 420;
            else
                size.iHeight = 24;
        }
        break;
    }
    return 0;
}

void CGalleryWindow::DrawOwnerDrawn(const DRAWITEMSTRUCT& item)
{
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    RECT rc = item.rcItem;
    FillRect(item.hDC, &rc, GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_INFOBK));
    DrawEdge(item.hDC, &rc, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    char text[64] = "";
    GetWindowTextA(item.hwndItem, text, sizeof text);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(pressed ? COLOR_HIGHLIGHTTEXT : COLOR_INFOTEXT));
    if (pressed)
        OffsetRect(&rc, 1, 1);
    DrawTextA(item.hDC, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&rc, -4, -4);
        DrawFocusRect(item.hDC, &rc);
    }
}

void CGalleryWindow::PlaceTabPage()
{
    // Only now are the tab's items and font known, and with them the height of its row.
    HWND tab = Item(IDC_TAB);
    RECT page;
    GetClientRect(tab, &page);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, AsLParam(&page));
    InflateRect(&page, -6, -6);
    SetWindowPos(GetDlgItem(tab, IDC_TAB_TEXT), nullptr, page.left, page.top, page.right - page.left,
                 page.bottom - page.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CGalleryWindow::ShowTabPage(int index)
{
    if (index >= 0 && index < static_cast<int>(sizeof kTabTexts / sizeof kTabTexts[0]))
        SetDlgItemTextA(Item(IDC_TAB), IDC_TAB_TEXT, kTabTexts[index]);
}

void CGalleryWindow::SetStatus(const char* text)
{
    SendMessageA(m_status, SB_SETTEXTA, 0, AsLParam(text));
}
