#pragma once
// Every control of the gallery's main window: its class, id, style and place. The window is
// built from this table, and tests find the controls through it.
#include <windows.h>
#include <commctrl.h>

#include "GalleryResources.h"

namespace gallery {

// Window classes of the gallery itself. The canvas class is one no class table knows.
constexpr char kMainClass[] = "TamrivelSkinGallery";
constexpr char kCanvasClass[] = "TamrivelGalleryCanvas";
constexpr char kMdiFrameClass[] = "TamrivelGalleryMdiFrame";
constexpr char kMdiChildClass[] = "TamrivelGalleryMdiChild";

// Registered message the main window answers with this process's live GDI objects (wParam
// kCountGdiObjects; kCountBitmaps and kCountMemoryDCs for those two kinds) or windows
// (kCountWindows), counted as the tests count their own.
constexpr char kCountObjectsMessage[] = "TamrivelGalleryCountObjects";
constexpr WPARAM kCountGdiObjects = 0, kCountWindows = 1, kCountBitmaps = 2, kCountMemoryDCs = 3;

constexpr char kMainTitle[] = "Tamrivel Skin Gallery";
constexpr char kNoSkinSuffix[] = " (skin off)";
constexpr char kSkinFailedSuffix[] = " (skin not loaded)";
constexpr char kSheetTitle[] = "Gallery Property Sheet";
constexpr char kWizardTitle[] = "Gallery Wizard";
constexpr char kMdiTitle[] = "Gallery MDI Frame";
constexpr int kMdiInitialChildren = 3;

enum ControlId : int {
    IDC_TOOLBAR = 1001,
    IDC_STATUSBAR,

    IDC_BUTTON_GROUP = 1100,
    IDC_PUSH,
    IDC_DEFAULT_PUSH,
    IDC_CHECK,
    IDC_THREE_STATE,
    IDC_RADIO_FIRST,
    IDC_RADIO_SECOND,
    IDC_OWNER_DRAW,
    IDC_SPLIT,
    IDC_COMMAND_LINK,
    IDC_BITMAP_PUSH,
    IDC_ICON_PUSH,

    IDC_EDIT_GROUP = 1200,
    IDC_EDIT_SINGLE,
    IDC_EDIT_MULTI,
    IDC_EDIT_READONLY,
    IDC_EDIT_DISABLED,
    IDC_COMBO_SIMPLE,
    IDC_COMBO_DROPDOWN,
    IDC_COMBO_DROPLIST,
    IDC_LISTBOX,

    IDC_VIEW_GROUP = 1300,
    IDC_LISTVIEW,
    IDC_TREEVIEW,
    IDC_TAB,
    IDC_TAB_TEXT,  // a static on the tab control's page, its child

    IDC_RANGE_GROUP = 1400,
    IDC_TRACKBAR,
    IDC_PROGRESS,
    IDC_MARQUEE,
    IDC_SPIN_BUDDY,
    IDC_SPIN,
    IDC_DATETIME,
    IDC_DATETIME_NONE,
    IDC_IPADDRESS,
    IDC_HOTKEY,
    IDC_MONTHCAL,
    IDC_HSCROLL,
    IDC_VSCROLL,
    IDC_STATIC,
    IDC_CANVAS,

    IDC_FILTERED_GROUP = 1500,
    IDC_PAGER,
    IDC_PAGER_CONTENT,
    IDC_STANDIN_FIRST,  // one per entry of kStandInClasses
};

// Stand-ins sit in two columns below the pager.
constexpr int kStandInLeft = 22, kStandInTop = 398, kStandInWidth = 104, kStandInHeight = 22;
constexpr int kStandInColumnStep = 112, kStandInRowStep = 28;

// Class names the skin leaves alone; the gallery makes a plain window of each (local classes of
// its own by those names) so the filter meets real windows.
constexpr const char* kStandInClasses[] = {
    "WorkerW", "SHELLDLL_DefView", "CicMarshalWndClass", "MSCTFIME UI",
    "SkinManagerMenu", "Internet Explorer_Server", "OleMainThreadWndClass",
};
constexpr int kStandInCount = static_cast<int>(sizeof kStandInClasses / sizeof kStandInClasses[0]);

struct ControlSpec {
    const char* className;
    int id;
    const char* text;
    DWORD style;  // WS_CHILD | WS_VISIBLE are added
    DWORD exStyle;
    int x, y, width, height;  // client pixels below the toolbar
};

// Group boxes go below the controls they frame and never paint over them.
constexpr DWORD kGroup = BS_GROUPBOX | WS_CLIPSIBLINGS;
constexpr DWORD kEditBox = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

// Columns of 250, 260, 330 and 300 pixels; groups hold the controls drawn inside them.
constexpr ControlSpec kControls[] = {
    {WC_BUTTONA, IDC_BUTTON_GROUP, "Buttons", kGroup, 0, 10, 8, 240, 326},
    {WC_BUTTONA, IDC_PUSH, "Push", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 22, 32, 104, 28},
    {WC_BUTTONA, IDC_DEFAULT_PUSH, "Default", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 134, 32, 104, 28},
    {WC_BUTTONA, IDC_CHECK, "Check box", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 22, 66, 104, 22},
    {WC_BUTTONA, IDC_THREE_STATE, "Three states", BS_AUTO3STATE | WS_TABSTOP, 0, 134, 66, 104, 22},
    {WC_BUTTONA, IDC_RADIO_FIRST, "Radio one", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0, 22, 94, 104, 22},
    {WC_BUTTONA, IDC_RADIO_SECOND, "Radio two", BS_AUTORADIOBUTTON, 0, 134, 94, 104, 22},
    {WC_BUTTONA, IDC_OWNER_DRAW, "Owner-drawn", BS_OWNERDRAW | WS_TABSTOP | WS_GROUP, 0, 22, 126, 216, 30},
    {WC_BUTTONA, IDC_SPLIT, "Split button", BS_SPLITBUTTON | WS_TABSTOP, 0, 22, 166, 216, 30},
    {WC_BUTTONA, IDC_COMMAND_LINK, "Command link", BS_COMMANDLINK | WS_TABSTOP, 0, 22, 206, 216, 64},
    {WC_BUTTONA, IDC_BITMAP_PUSH, "", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, 0, 22, 280, 104, 44},
    {WC_BUTTONA, IDC_ICON_PUSH, "", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, 0, 134, 280, 104, 44},

    {WC_BUTTONA, IDC_FILTERED_GROUP, "Never skinned", kGroup, 0, 10, 342, 240, 226},
    {WC_PAGESCROLLERA, IDC_PAGER, "", PGS_HORZ, 0, 22, 366, 216, 24},

    {WC_BUTTONA, IDC_EDIT_GROUP, "Edits, combo boxes, list box", kGroup, 0, 260, 8, 260, 560},
    {WC_EDITA, IDC_EDIT_SINGLE, "Single line", kEditBox, 0, 272, 32, 236, 24},
    {WC_EDITA, IDC_EDIT_MULTI, "", WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
         ES_AUTOHSCROLL | ES_WANTRETURN, 0, 272, 64, 236, 96},
    {WC_EDITA, IDC_EDIT_READONLY, "Read-only", kEditBox | ES_READONLY, 0, 272, 168, 236, 24},
    {WC_EDITA, IDC_EDIT_DISABLED, "Disabled", kEditBox | WS_DISABLED, 0, 272, 200, 236, 24},
    {WC_COMBOBOXA, IDC_COMBO_SIMPLE, "", CBS_SIMPLE | WS_TABSTOP | WS_VSCROLL, 0, 272, 234, 236, 96},
    {WC_COMBOBOXA, IDC_COMBO_DROPDOWN, "", CBS_DROPDOWN | WS_TABSTOP | WS_VSCROLL, 0, 272, 338, 236, 200},
    {WC_COMBOBOXA, IDC_COMBO_DROPLIST, "", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 0, 272, 372, 236, 200},
    {WC_LISTBOXA, IDC_LISTBOX, "", WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0,
     272, 408, 236, 148},

    {WC_BUTTONA, IDC_VIEW_GROUP, "List view, tree view, tabs", kGroup, 0, 530, 8, 330, 560},
    {WC_LISTVIEWA, IDC_LISTVIEW, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE, 542, 32, 306, 170},
    {WC_TREEVIEWA, IDC_TREEVIEW, "", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
     WS_EX_CLIENTEDGE, 542, 212, 306, 190},
    {WC_TABCONTROLA, IDC_TAB, "", WS_TABSTOP, 0, 542, 412, 306, 144},

    {WC_BUTTONA, IDC_RANGE_GROUP, "Ranges, pickers and others", kGroup, 0, 870, 8, 300, 560},
    {TRACKBAR_CLASSA, IDC_TRACKBAR, "", TBS_AUTOTICKS | TBS_HORZ | WS_TABSTOP, 0, 882, 30, 276, 32},
    {PROGRESS_CLASSA, IDC_PROGRESS, "", 0, 0, 882, 70, 276, 18},
    {PROGRESS_CLASSA, IDC_MARQUEE, "", PBS_MARQUEE, 0, 882, 96, 276, 18},
    {WC_EDITA, IDC_SPIN_BUDDY, "5", kEditBox | ES_NUMBER, 0, 882, 122, 100, 24},
    {UPDOWN_CLASSA, IDC_SPIN, "", UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 982, 122, 18, 24},
    {WC_IPADDRESSA, IDC_IPADDRESS, "", WS_TABSTOP, 0, 1012, 122, 146, 24},
    {DATETIMEPICK_CLASSA, IDC_DATETIME, "", DTS_SHORTDATEFORMAT | WS_TABSTOP, 0, 882, 154, 134, 24},
    {DATETIMEPICK_CLASSA, IDC_DATETIME_NONE, "", DTS_SHORTDATEFORMAT | DTS_SHOWNONE | WS_TABSTOP, 0, 1024, 154, 134,
     24},
    {HOTKEY_CLASSA, IDC_HOTKEY, "", WS_TABSTOP, 0, 882, 186, 276, 24},
    {MONTHCAL_CLASSA, IDC_MONTHCAL, "", WS_TABSTOP, 0, 882, 218, 276, 198},
    {WC_SCROLLBARA, IDC_HSCROLL, "", SBS_HORZ, 0, 882, 422, 276, 18},
    {WC_SCROLLBARA, IDC_VSCROLL, "", SBS_VERT, 0, 1140, 446, 18, 112},
    {kCanvasClass, IDC_CANVAS, "A window of the gallery's own class", WS_BORDER, 0, 882, 446, 248, 84},
    {WC_STATICA, IDC_STATIC, "A static text control.", SS_LEFT, 0, 882, 538, 248, 20},
};

}  // namespace gallery
