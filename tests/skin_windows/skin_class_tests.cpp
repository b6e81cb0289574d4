// Which skin object each window gets: the class table with its aliases and class-less entries,
// the filtered names, the Windows Forms names, the texture modes of dialogs, and which procedures
// count as the system's.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <uxtheme.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "CSkinObjectApplicationFrame.h"
#include "CSkinObjectButton.h"
#include "CSkinObjectEdit.h"
#include "CSkinObjectListBox.h"
#include "CSkinObjectMDIClient.h"
#include "CSkinObjectProgress.h"
#include "CSkinPsapiModuleEnumerator.h"
#include "CSkinToolhelpModuleEnumerator.h"
#include "SkinWindowsTestSupport.h"
#include "WindowClass.h"

using namespace skinwintest;

namespace {

HWND Create(const char* className, DWORD style = WS_POPUP, HWND parent = nullptr) {
    return CreateWindowExA(0, className, "", style, 0, 0, 120, 60, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void RegisterPlain(const char* name) { harness::RegisterWindowClass(name, DefWindowProcA); }

const CRuntimeClass* ObjectClassOf(HWND hWnd) {
    CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(hWnd);
    return object ? object->GetRuntimeClass() : nullptr;
}

class SkinClassTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartSkin()); }
};

TEST_F(SkinClassTest, WindowsGetTheObjectTheirClassNameCallsFor) {
    struct Case {
        const char* className;
        bool ownClass;                      // registered by the test; else the system's
        const CRuntimeClass* expected;      // null: never skinned
        BOOL windowsForms;
    } cases[] = {
        {"TamrivelOwnWindowClass", true, RUNTIME_CLASS(CSkinObjectApplicationFrame), FALSE},
        {"BUTTON", false, RUNTIME_CLASS(CSkinObjectButton), FALSE},
        {"button", false, RUNTIME_CLASS(CSkinObjectButton), FALSE},
        {"Edit", false, RUNTIME_CLASS(CSkinObjectEdit), FALSE},
        {"SysIPAddress32", false, RUNTIME_CLASS(CSkinObjectEdit), FALSE},
        {"msctls_progress32", false, RUNTIME_CLASS(CSkinObjectProgress), FALSE},
        {"TProgressBar", true, RUNTIME_CLASS(CSkinObjectProgress), FALSE},
        {"MDIClient", false, RUNTIME_CLASS(CSkinObjectMDIClient), FALSE},
        {"WindowsForms10.BUTTON.app.0.1", true, RUNTIME_CLASS(CSkinObjectButton), TRUE},
        {"WindowsForms10.Window.8.app.0.1", true, RUNTIME_CLASS(CSkinObjectApplicationFrame), TRUE},
        {"WindowsForms10", true, RUNTIME_CLASS(CSkinObjectApplicationFrame), TRUE},
        {"WindowsForms10.SysPager.app", true, RUNTIME_CLASS(CSkinObjectApplicationFrame), TRUE},
        {"tooltips_class32", false, nullptr, FALSE},
        {"Tooltips_Class32", true, RUNTIME_CLASS(CSkinObjectApplicationFrame), FALSE},  // case counts here
        {"workerw", true, nullptr, FALSE},                                              // and not here
        {"shelldll_defview", true, nullptr, FALSE},
        {"SysPager", false, nullptr, FALSE},
        {"skinmanagermenu", true, nullptr, FALSE},
        {"Internet Explorer_Server", true, nullptr, FALSE},
        {"TamrivelOleMainThreadWndClass", true, nullptr, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        if (c.ownClass) RegisterPlain(c.className);
        const DWORD style = std::string(c.className) == "MDIClient" ? WS_CHILD : WS_POPUP;
        HWND parent = style & WS_CHILD ? Create("TamrivelOwnWindowClass") : nullptr;
        HWND hWnd = Create(c.className, style, parent);
        ASSERT_NE(nullptr, hWnd);
        EXPECT_EQ(c.expected, ObjectClassOf(hWnd));
        if (CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(hWnd)) {
            EXPECT_EQ(c.windowsForms, object->IsWindowsForms());
        }
        DestroyWindow(hWnd);
        if (parent) DestroyWindow(parent);
        EXPECT_EQ(nullptr, skin::FindSkinObjectRef(hWnd).Get());
    }
}

TEST_F(SkinClassTest, ComboBoxListAndSystemMenusFollowTheirTableEntries) {
    HWND combo = Create("ComboBox", WS_POPUP | CBS_DROPDOWN);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_EQ("ComboLBox", ClassNameOf(info.hwndList));
    EXPECT_EQ(RUNTIME_CLASS(CSkinObjectListBox), ObjectClassOf(info.hwndList));
    DestroyWindow(combo);

    // The system's popup menu window is a class-less entry.
    HWND owner = Create("TamrivelOwnWindowClass", WS_POPUP | WS_VISIBLE);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "item");
    static std::vector<HWND> menus;
    menus.clear();
    SetTimer(owner, 1, 200, [](HWND w, UINT, UINT_PTR id, DWORD) {
        KillTimer(w, id);
        EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) {
            if (ClassNameOf(h) == "#32768" && IsWindowVisible(h)) menus.push_back(h);
            return TRUE;
        }, 0);
        for (HWND m : menus) EXPECT_EQ(nullptr, ObjectClassOf(m));
        EndMenu();
    });
    TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
    EXPECT_FALSE(menus.empty());
    DestroyMenu(menu);
    DestroyWindow(owner);
}

// A dialog template in memory: no items, the given style.
struct DialogTemplate {
    DLGTEMPLATE header;
    WORD menu = 0, windowClass = 0, title = 0;
};

HWND CreateDialogWithStyle(DWORD style, HWND parent, DLGPROC proc, LPARAM param = 0) {
    DialogTemplate t = {};
    t.header.style = style;
    t.header.cx = 100;
    t.header.cy = 60;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &t.header, parent, proc, param);
}

// Stands in for a property sheet: answers with its tab control and keeps the sheet record
// behind DWLP_USER, as the system's sheet does.
struct FakeSheet {
    HWND sheet;
    PROPSHEETHEADERA header;
};
HWND g_fakeTab = nullptr;

INT_PTR CALLBACK FakeSheetProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != PSM_GETTABCONTROL) return FALSE;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(g_fakeTab));
    return TRUE;
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

int TextureModeOf(HWND hWnd) {
    CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(hWnd);
    auto* frame = dynamic_cast<CSkinObjectFrame*>(object.Get());
    return frame ? frame->GetDialogTextureMode() : 0;
}

TEST_F(SkinClassTest, DialogTextureModesInsideSheetsWizardsAndAtTopLevel) {
    HWND topLevel = CreateDialogWithStyle(WS_POPUP, nullptr, PageProc);
    ASSERT_NE(nullptr, topLevel);
    EXPECT_EQ(ETDT_ENABLE, TextureModeOf(topLevel));
    DestroyWindow(topLevel);

    struct Case {
        const char* name;
        DWORD sheetFlags;
        bool recordNamesSheet;
        bool hasTab;
        int expected;
    } cases[] = {
        {"property sheet", PSH_PROPSHEETPAGE, true, true, ETDT_ENABLETAB},
        {"wizard", PSH_WIZARD, true, true, ETDT_ENABLE},
        {"wizard 97", PSH_WIZARD97, true, true, ETDT_ENABLE},
        {"record of another window", PSH_PROPSHEETPAGE, false, true, ETDT_ENABLE},
        {"no tab control", PSH_PROPSHEETPAGE, true, false, ETDT_ENABLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND sheet = CreateDialogWithStyle(WS_POPUP, nullptr, FakeSheetProc);
        ASSERT_NE(nullptr, sheet);
        g_fakeTab = c.hasTab ? CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD, 0, 0, 50, 20, sheet, nullptr, nullptr, nullptr)
                             : nullptr;
        FakeSheet record = {};
        record.sheet = c.recordNamesSheet ? sheet : topLevel;
        record.header.dwSize = sizeof(record.header);
        record.header.dwFlags = c.sheetFlags;
        SetWindowLongPtrA(sheet, DWLP_USER, reinterpret_cast<LONG_PTR>(&record));
        HWND page = CreateDialogWithStyle(WS_CHILD | DS_CONTROL, sheet, PageProc);
        ASSERT_NE(nullptr, page);
        EXPECT_EQ(c.expected, TextureModeOf(page));
        // A page inside a page of a sheet takes its parent's mode; a popup never does.
        HWND inner = CreateDialogWithStyle(WS_CHILD | DS_CONTROL, page, PageProc);
        EXPECT_EQ(c.expected, TextureModeOf(inner));
        HWND owned = CreateDialogWithStyle(WS_POPUP, page, PageProc);
        EXPECT_EQ(ETDT_ENABLE, TextureModeOf(owned));
        DestroyWindow(owned);
        DestroyWindow(sheet);
    }
    // Whatever a dialog keeps behind DWLP_USER is only read when it is readable memory.
    HWND sheet = CreateDialogWithStyle(WS_POPUP, nullptr, FakeSheetProc);
    g_fakeTab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD, 0, 0, 50, 20, sheet, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(sheet, DWLP_USER, 0x10);
    HWND page = CreateDialogWithStyle(WS_CHILD | DS_CONTROL, sheet, PageProc);
    EXPECT_EQ(ETDT_ENABLE, TextureModeOf(page));
    DestroyWindow(sheet);
}

}  // namespace

namespace {

LRESULT CALLBACK ProgramProcedure(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

TEST(SkinModules, BothListingsSeeTheProgramAndTheSystemLibraries) {
    std::unique_ptr<CSkinModuleEnumerator> listings[] = {CSkinPsapiModuleEnumerator::Create(),
                                                         CSkinToolhelpModuleEnumerator::Create()};
    for (auto& listing : listings) {
        ASSERT_TRUE(listing);
        std::vector<SkinModuleInfo> modules;
        ASSERT_TRUE(listing->Enumerate(modules));
        for (const char* name : {static_cast<const char*>(nullptr), "USER32.DLL", "COMCTL32.DLL"}) {
            const HMODULE handle = GetModuleHandleA(name);
            SCOPED_TRACE(name ? name : "program");
            auto it = std::find_if(modules.begin(), modules.end(), [&](const SkinModuleInfo& m) { return m.module == handle; });
            ASSERT_NE(modules.end(), it);
            EXPECT_EQ(reinterpret_cast<BYTE*>(handle), it->base);
            EXPECT_GT(it->size, 0x1000u);
            EXPECT_FALSE(it->path.empty());
        }
    }
}

TEST(SkinModules, SystemProceduresAreThoseOfTheSystemLibrariesAndThunks) {
    const auto user32Proc = reinterpret_cast<WNDPROC>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "DefWindowProcA"));
    EXPECT_TRUE(skin::IsSystemWindowProc(user32Proc));
    EXPECT_FALSE(skin::IsSystemWindowProc(&ProgramProcedure));  // far above 4 GB on 64-bit targets
    EXPECT_FALSE(skin::IsSystemWindowProc(nullptr));
    EXPECT_TRUE(skin::IsSystemWindowProc(reinterpret_cast<WNDPROC>(static_cast<ULONG_PTR>(0xFFFF0012u))));
    // Under a manifest-less program the common controls' classes are the system's too.
    HWND tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(skin::IsSystemWindowProc(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(tab, GWLP_WNDPROC))));
    DestroyWindow(tab);
}

}  // namespace
