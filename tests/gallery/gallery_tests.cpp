// SkinGallery.exe under Wine, with and without its skin: every control it promises exists with
// its class, the windows of its menu open, work and close, and the process ends cleanly.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "AppUnderTest.h"
#include "GalleryControls.h"
#include "Wait.h"

using harness::AppUnderTest;
using harness::WaitUntil;

namespace {

std::string ClassOf(HWND hwnd)
{
    char name[128] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::vector<HWND> ChildrenOf(HWND parent, bool allDescendants)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, [](HWND child, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(child);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    if (!allDescendants)
        found.erase(std::remove_if(found.begin(), found.end(), [parent](HWND h) { return GetParent(h) != parent; }),
                    found.end());
    return found;
}

std::vector<HWND> TopLevelsOf(DWORD threadId)
{
    std::vector<HWND> found;
    EnumThreadWindows(threadId, [](HWND hwnd, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A visible top-level window of the thread with this class (and caption, when given).
HWND FindTopLevel(DWORD threadId, const char* className, const char* title = nullptr)
{
    for (HWND hwnd : TopLevelsOf(threadId))
        if (IsWindowVisible(hwnd) && ClassOf(hwnd) == className && (!title || AppUnderTest::WindowText(hwnd) == title))
            return hwnd;
    return nullptr;
}

// For failure messages: what the thread shows instead.
std::string DescribeTopLevels(DWORD threadId)
{
    std::string text;
    for (HWND hwnd : TopLevelsOf(threadId))
        if (IsWindowVisible(hwnd))
            text += ClassOf(hwnd) + " \"" + AppUnderTest::WindowText(hwnd) + "\"; ";
    return text;
}

void Command(HWND hwnd, int id) { PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

RECT WindowRect(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

class Gallery {
public:
    explicit Gallery(const std::string& arguments = "")
        : m_app(Options(arguments))
    {
        WaitUntil([&] { return (m_main = FindTopLevel(m_app.ThreadId(), gallery::kMainClass)) != nullptr; }, 30000);
    }
    HWND Main() const { return m_main; }
    DWORD Thread() { return m_app.ThreadId(); }
    bool CloseAndExit(DWORD* exitCode)
    {
        PostMessageA(m_main, WM_CLOSE, 0, 0);
        return m_app.WaitForExit(15000, exitCode);
    }

private:
    static harness::LaunchOptions Options(const std::string& arguments)
    {
        harness::LaunchOptions options;
        const char* exe = getenv("TAMRIVEL_GALLERY");
        options.exe = exe ? exe : "SkinGallery.exe";
        options.commandLine = "\"" + options.exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        return options;
    }
    AppUnderTest m_app;
    HWND m_main = nullptr;
};

struct StartCase {
    const char* arguments;
    std::string title;
};

class GalleryStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(GalleryStart, HoldsEveryPromisedClassAndExitsCleanlyOnClose)
{
    Gallery gallery(GetParam().arguments);
    HWND main = gallery.Main();
    ASSERT_NE(main, nullptr) << "the gallery's window did not appear";
    // The caption says whether the theme in the gallery's own resources loaded.
    EXPECT_EQ(AppUnderTest::WindowText(main), GetParam().title);

    std::string wrong;
    for (const gallery::ControlSpec& spec : gallery::kControls) {
        HWND item = GetDlgItem(main, spec.id);
        if (!item || lstrcmpiA(ClassOf(item).c_str(), spec.className) != 0)
            wrong += std::to_string(spec.id) + " (" + spec.className + " is " + (item ? ClassOf(item) : "missing") + ") ";
    }
    for (int i = 0; i < gallery::kStandInCount; ++i) {
        HWND item = GetDlgItem(main, gallery::IDC_STANDIN_FIRST + i);
        if (!item || ClassOf(item) != gallery::kStandInClasses[i])
            wrong += std::string("stand-in ") + gallery::kStandInClasses[i] + " ";
    }
    EXPECT_EQ(wrong, "");

    // Windows the controls make for themselves count too: headers, combo lists, tooltips.
    std::set<std::string, bool (*)(const std::string&, const std::string&)> present(
        [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    for (HWND top : TopLevelsOf(gallery.Thread())) {
        present.insert(ClassOf(top));
        for (HWND child : ChildrenOf(top, true))
            present.insert(ClassOf(child));
    }
    const char* const required[] = {
        "Button", "ComboBox", "Edit", "ListBox", "SysDateTimePick32", "SysMonthCal32", "ScrollBar",
        "SysListView32", "SysHeader32", "msctls_statusbar32", "SysTreeView32", "msctls_progress32",
        "msctls_trackbar32", "SysTabControl32", "msctls_updown32", "ToolbarWindow32", "SysIPAddress32",
        "msctls_hotkey32", "ComboLBox", "Static", "SysPager", "tooltips_class32", gallery::kCanvasClass,
    };
    std::string missing;
    for (const char* name : required)
        if (!present.count(name))
            missing += std::string(name) + " ";
    EXPECT_EQ(missing, "");

    DWORD exitCode = 1;
    ASSERT_TRUE(gallery.CloseAndExit(&exitCode)) << "the gallery did not end after WM_CLOSE";
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(SkinOnAndOff, GalleryStart,
                         ::testing::Values(StartCase{"", gallery::kMainTitle},
                                           StartCase{"--no-skin", std::string(gallery::kMainTitle) +
                                                                      gallery::kNoSkinSuffix}));

std::vector<HWND> MdiChildren(HWND client)
{
    std::vector<HWND> children = ChildrenOf(client, false);
    children.erase(std::remove_if(children.begin(), children.end(),
                                  [](HWND h) { return ClassOf(h) != gallery::kMdiChildClass; }),
                   children.end());
    return children;
}

bool AnyOverlap(const std::vector<HWND>& windows)
{
    for (size_t i = 0; i < windows.size(); ++i)
        for (size_t j = i + 1; j < windows.size(); ++j) {
            RECT a = WindowRect(windows[i]), b = WindowRect(windows[j]), both;
            if (IntersectRect(&both, &a, &b))
                return true;
        }
    return false;
}

// Cascaded: every child's corner lies below and right of another's, none shares a corner.
bool Cascaded(const std::vector<HWND>& windows)
{
    std::vector<POINT> corners;
    for (HWND h : windows)
        corners.push_back({WindowRect(h).left, WindowRect(h).top});
    std::sort(corners.begin(), corners.end(), [](POINT a, POINT b) { return a.y < b.y; });
    for (size_t i = 1; i < corners.size(); ++i)
        if (corners[i].x <= corners[i - 1].x || corners[i].y <= corners[i - 1].y)
            return false;
    return AnyOverlap(windows);
}

TEST(GalleryMenu, MdiFrameOpensWithChildrenThatTileCascadeAndCloseWithIt)
{
    Gallery gallery;
    ASSERT_NE(gallery.Main(), nullptr);
    Command(gallery.Main(), IDM_MDI_FRAME);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (frame = FindTopLevel(gallery.Thread(), gallery::kMdiFrameClass)) != nullptr; }));
    EXPECT_EQ(GetWindow(frame, GW_OWNER), gallery.Main());
    std::vector<HWND> clients = ChildrenOf(frame, false);
    ASSERT_EQ(clients.size(), 1u);
    HWND client = clients[0];
    ASSERT_EQ(ClassOf(client), "MDIClient");
    ASSERT_EQ(MdiChildren(client).size(), static_cast<size_t>(gallery::kMdiInitialChildren));

    Command(frame, IDM_MDI_TILE);
    EXPECT_TRUE(WaitUntil([&] { return !AnyOverlap(MdiChildren(client)); })) << "tiled children overlap";
    Command(frame, IDM_MDI_CASCADE);
    EXPECT_TRUE(WaitUntil([&] { return Cascaded(MdiChildren(client)); })) << "children are not cascaded";
    Command(frame, IDM_MDI_NEW);
    EXPECT_TRUE(WaitUntil([&] { return MdiChildren(client).size() == gallery::kMdiInitialChildren + 1u; }));

    Command(frame, IDM_MDI_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(frame); })) << "the MDI frame did not close";
    EXPECT_TRUE(IsWindow(gallery.Main()));
    // Opened again after closing, it starts afresh.
    Command(gallery.Main(), IDM_MDI_FRAME);
    ASSERT_TRUE(WaitUntil([&] { return (frame = FindTopLevel(gallery.Thread(), gallery::kMdiFrameClass)) != nullptr; }));
    HWND again = ChildrenOf(frame, false).at(0);
    EXPECT_EQ(MdiChildren(again).size(), static_cast<size_t>(gallery::kMdiInitialChildren));
    DWORD exitCode = 1;
    EXPECT_TRUE(gallery.CloseAndExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

HWND CurrentPage(HWND sheet)
{
    DWORD_PTR page = 0;
    SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &page);
    return reinterpret_cast<HWND>(page);
}

struct SheetCase {
    int command;
    const char* title;
    bool wizard;
};

TEST(GalleryMenu, PropertySheetAndWizardOpenModallyTurnPagesAndCancel)
{
    const SheetCase cases[] = {
        {IDM_PROPERTY_SHEET, gallery::kSheetTitle, false},
        {IDM_WIZARD, gallery::kWizardTitle, true},
    };
    Gallery gallery;
    ASSERT_NE(gallery.Main(), nullptr);
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(c.title);
        Command(gallery.Main(), c.command);
        HWND sheet = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (sheet = FindTopLevel(gallery.Thread(), "#32770", c.title)) != nullptr; }))
            << "shown instead: " << DescribeTopLevels(gallery.Thread());
        EXPECT_EQ(GetWindow(sheet, GW_OWNER), gallery.Main());
        EXPECT_FALSE(IsWindowEnabled(gallery.Main())) << "the sheet is not modal";

        HWND first = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (first = CurrentPage(sheet)) != nullptr; }));
        EXPECT_EQ(ClassOf(first), "#32770");
        if (c.wizard)
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        else
            PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
        EXPECT_TRUE(WaitUntil([&] { HWND now = CurrentPage(sheet); return now && now != first; }))
            << "the second page did not come up";

        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); })) << "the sheet did not close";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(gallery.Main()) != FALSE; }));
    }
    DWORD exitCode = 1;
    EXPECT_TRUE(gallery.CloseAndExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
