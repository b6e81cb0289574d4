// What the skinned controls do beyond their pictures: colours pushed into tree and list views and
// taken back when the skin goes off, toolbars left to the system inside shell bands, the toolbar
// custom-draw conversation, and MDI children brought back in step after the system arranges them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vssym32.h>

#include <vector>

#include "CSkinObjectFrame.h"
#include "CSkinObjectMDIClient.h"
#include "CSkinObjectToolBar.h"
#include "ControlTestSupport.h"
#include "WindowClass.h"

using namespace ctltest;
using skinwintest::Pump;

namespace {

COLORREF SkinColor(int index) { return CSkinEngine::Instance()->GetMetrics()->colors[index]; }

class SkinControlBehaviour : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SkinOn());
        parent = SharedParent();
        ASSERT_NE(nullptr, parent);
    }
    void TearDown() override {
        if (parent) DestroyChildren(parent);
        SkinOn();
        Pump(20);
    }
    HWND parent = nullptr;
};

// ---- colours

TEST_F(SkinControlBehaviour, TreeViewTakesTheSkinColoursAndGetsItsDefaultsBackWhenTheSkinGoesOff) {
    HWND tree = CreateControl(parent, WC_TREEVIEWA, TVS_HASLINES, 10, 10, 200, 150);
    struct Colour {
        UINT get;
        int skinIndex;
        COLORREF unskinned;
    } const colours[] = {
        {TVM_GETBKCOLOR, COLOR_WINDOW, static_cast<COLORREF>(-1)},
        {TVM_GETTEXTCOLOR, COLOR_WINDOWTEXT, static_cast<COLORREF>(-1)},
        {TVM_GETLINECOLOR, COLOR_GRAYTEXT, CLR_DEFAULT},
    };
    for (const Colour& c : colours)
        EXPECT_EQ(SkinColor(c.skinIndex), static_cast<COLORREF>(SendMessageA(tree, c.get, 0, 0))) << c.get;
    SkinOff();
    ASSERT_FALSE(CSkinEngine::Instance()->IsEnabled());
    for (const Colour& c : colours) EXPECT_EQ(c.unskinned, static_cast<COLORREF>(SendMessageA(tree, c.get, 0, 0))) << c.get;
    ASSERT_TRUE(SkinOn());
    for (const Colour& c : colours)
        EXPECT_EQ(SkinColor(c.skinIndex), static_cast<COLORREF>(SendMessageA(tree, c.get, 0, 0))) << c.get;
}

TEST_F(SkinControlBehaviour, ListViewTakesTheSkinColoursAndTheSystemsWhenTheSkinGoesOff) {
    HWND list = CreateControl(parent, WC_LISTVIEWA, LVS_REPORT, 10, 10, 200, 150);
    struct Colour {
        UINT get, set;
        int index;
    } const colours[] = {
        {LVM_GETBKCOLOR, LVM_SETBKCOLOR, COLOR_WINDOW},
        {LVM_GETTEXTCOLOR, LVM_SETTEXTCOLOR, COLOR_WINDOWTEXT},
        {LVM_GETTEXTBKCOLOR, LVM_SETTEXTBKCOLOR, COLOR_WINDOW},
    };
    for (const Colour& c : colours) EXPECT_EQ(SkinColor(c.index), static_cast<COLORREF>(SendMessageA(list, c.get, 0, 0)));
    // Colours set meanwhile are replaced on every change of the skin, either way.
    for (const Colour& c : colours) SendMessageA(list, c.set, 0, RGB(1, 2, 3));
    SkinOff();
    for (const Colour& c : colours) EXPECT_EQ(GetSysColor(c.index), static_cast<COLORREF>(SendMessageA(list, c.get, 0, 0)));
    for (const Colour& c : colours) SendMessageA(list, c.set, 0, RGB(1, 2, 3));
    ASSERT_TRUE(SkinOn());
    for (const Colour& c : colours) EXPECT_EQ(SkinColor(c.index), static_cast<COLORREF>(SendMessageA(list, c.get, 0, 0)));
}

// ---- toolbars

HWND ToolbarIn(HWND parent) {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER, 0, 0, 200,
                               30, parent, reinterpret_cast<HMENU>(77), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2] = {};
    buttons[0].iBitmap = I_IMAGENONE;
    buttons[0].idCommand = 1;
    buttons[0].fsState = TBSTATE_ENABLED | TBSTATE_CHECKED;
    buttons[0].fsStyle = BTNS_CHECK;
    buttons[1].iBitmap = I_IMAGENONE;
    buttons[1].idCommand = 2;
    buttons[1].fsState = TBSTATE_ENABLED | TBSTATE_CHECKED;
    buttons[1].fsStyle = BTNS_CHECK;
    SendMessageA(bar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(40, 24));
    return bar;
}

// Ring pixels of the first button that differ from the theme's checked toolbar button drawn over
// the skin's button face.
int OffThemeButtonRing(HWND bar) {
    RECT r{};
    SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    RECT client;
    GetClientRect(bar, &client);
    const auto shot = PrintClient(bar);
    skintest::Canvas expected(client.right, client.bottom, SkinColor(COLOR_BTNFACE));
    Theme("TOOLBAR")->DrawThemeBackground(expected.dc(), TP_BUTTON, TS_CHECKED, r);
    GdiFlush();
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((x < r.left + 2 || x >= r.right - 2 || y < r.top + 2 || y >= r.bottom - 2) &&
                shot->At(x, y) != expected.At(x, y))
                ++n;
    return n;
}

LRESULT CALLBACK BandProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

TEST_F(SkinControlBehaviour, ToolbarInsideABreadcrumbParentKeepsTheSystemsLook) {
    harness::RegisterWindowClass("Breadcrumb Parent", BandProc);
    HWND band = CreateWindowExA(0, "Breadcrumb Parent", "", WS_CHILD | WS_VISIBLE, 10, 100, 220, 40, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, band);
    HWND inBand = ToolbarIn(band);
    HWND plain = ToolbarIn(parent);
    auto* bandSkin = SkinOf<CSkinObjectToolBar>(inBand);
    auto* plainSkin = SkinOf<CSkinObjectToolBar>(plain);
    ASSERT_NE(nullptr, bandSkin);
    ASSERT_NE(nullptr, plainSkin);
    EXPECT_TRUE(bandSkin->IsLeftAlone());
    EXPECT_FALSE(plainSkin->IsLeftAlone());
    EXPECT_EQ(0, OffThemeButtonRing(plain));
    EXPECT_GT(OffThemeButtonRing(inBand), 0);
    // The system's own frame stays too: no skin hit codes or frame paint come from the object.
    RECT before{};
    GetWindowRect(inBand, &before);
    SetWindowPos(inBand, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT after{};
    GetWindowRect(inBand, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

struct CustomDrawCase {
    const char* name;
    LRESULT answer;
    int postPaints;
    bool buttonsDrawn;
};

class ToolbarCustomDraw : public SkinControlBehaviour, public ::testing::WithParamInterface<CustomDrawCase> {};

TEST_P(ToolbarCustomDraw, ParentAnswerDecidesButtonsAndPostPaint) {
    const CustomDrawCase& c = GetParam();
    HWND bar = ToolbarIn(parent);
    g_customDraw = CustomDrawLog{};
    g_customDraw.prePaintAnswer = c.answer;
    const int offTheme = OffThemeButtonRing(bar);
    EXPECT_EQ(1, g_customDraw.prePaint) << c.name;
    EXPECT_EQ(c.postPaints, g_customDraw.postPaint) << c.name;
    if (c.buttonsDrawn)
        EXPECT_EQ(0, offTheme) << c.name;
    else
        EXPECT_GT(offTheme, 0) << c.name;
    g_customDraw = CustomDrawLog{};
}

INSTANTIATE_TEST_SUITE_P(Answers, ToolbarCustomDraw,
                         ::testing::Values(CustomDrawCase{"default", CDRF_DODEFAULT, 0, true},
                                           CustomDrawCase{"post paint", CDRF_NOTIFYPOSTPAINT, 1, true},
                                           CustomDrawCase{"skip", CDRF_SKIPDEFAULT, 0, false},
                                           CustomDrawCase{"skip, post paint", CDRF_SKIPDEFAULT | CDRF_NOTIFYPOSTPAINT, 1,
                                                          false}));

// ---- MDI

struct MdiLog {
    HWND child;
    DWORD at;
};
std::vector<MdiLog> g_calcSizes;
HWND g_client = nullptr;

LRESULT CALLBACK MdiChildProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCCALCSIZE && !w) g_calcSizes.push_back({h, GetTickCount()});
    return DefMDIChildProcA(h, m, w, l);
}

LRESULT CALLBACK MdiFrameProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefFrameProcA(h, g_client, m, w, l); }

class SkinMdi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SkinOn());
        harness::RegisterWindowClass("ControlTestMdiFrame", MdiFrameProc, nullptr, LoadCursor(nullptr, IDC_ARROW));
        harness::RegisterWindowClass("ControlTestMdiChild", MdiChildProc, nullptr, LoadCursor(nullptr, IDC_ARROW));
        frame = CreateWindowExA(0, "ControlTestMdiFrame", "MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 40,
                                40, 600, 450, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, frame);
        CLIENTCREATESTRUCT ccs{nullptr, 50000};
        g_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                   560, 400, frame, nullptr, GetModuleHandleA(nullptr), &ccs);
        ASSERT_NE(nullptr, g_client);
        for (int i = 0; i < 2; ++i) {
            MDICREATESTRUCTA mcs{};
            mcs.szClass = "ControlTestMdiChild";
            mcs.szTitle = "Child";
            mcs.hOwner = GetModuleHandleA(nullptr);
            mcs.x = mcs.y = 10 + 30 * i;
            mcs.cx = 200;
            mcs.cy = 150;
            mcs.style = WS_OVERLAPPEDWINDOW;
            children.push_back(reinterpret_cast<HWND>(SendMessageA(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs))));
            ASSERT_NE(nullptr, children.back());
        }
        Pump(50);
    }
    void TearDown() override {
        if (frame) DestroyWindow(frame);
        g_client = nullptr;
        Pump(20);
    }
    HWND frame = nullptr;
    std::vector<HWND> children;
};

TEST_F(SkinMdi, CascadingReSynchronisesEachChildsFrameASecondLater) {
    ASSERT_NE(nullptr, SkinOf<CSkinObjectMDIClient>(g_client));
    for (HWND child : children) {
        auto* skin = SkinOf<CSkinObjectFrame>(child);
        ASSERT_NE(nullptr, skin);
        ASSERT_TRUE(skin->IsFrameSkinned());
    }
    g_calcSizes.clear();
    const DWORD start = GetTickCount();
    SendMessageA(g_client, WM_MDICASCADE, 0, 0);
    Pump(1600);
    for (HWND child : children) {
        int early = 0, late = 0;
        for (const MdiLog& log : g_calcSizes) {
            if (log.child != child) continue;
            const DWORD after = log.at - start;
            if (after < 300) ++early;
            if (after >= 900 && after < 1600) ++late;
        }
        EXPECT_GE(early, 1) << "before the system arranges";
        EXPECT_EQ(1, late) << "the timer's re-synchronisation";
    }
}

TEST_F(SkinMdi, MaximizedChildKeepsItsSkinnedBordersOutsideTheClient) {
    HWND child = children.back();
    SendMessageA(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Pump(50);
    SetWindowPos(g_client, nullptr, 0, 0, 500, 360, SWP_NOMOVE | SWP_NOZORDER);
    Pump(50);
    auto* skin = SkinOf<CSkinObjectFrame>(child);
    ASSERT_NE(nullptr, skin);
    const skin::FrameBorders& b = skin->GetBorders();
    ASSERT_GT(b.top, 0);
    RECT client{}, window{};
    GetClientRect(g_client, &client);
    GetWindowRect(child, &window);
    MapWindowPoints(nullptr, g_client, reinterpret_cast<POINT*>(&window), 2);
    EXPECT_EQ(-b.left, window.left);
    EXPECT_EQ(-b.top, window.top);
    EXPECT_EQ(client.right + b.right, window.right);
    EXPECT_EQ(client.bottom + b.bottom, window.bottom);
}

}  // namespace
