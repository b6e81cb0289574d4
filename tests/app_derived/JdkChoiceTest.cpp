// The detect button's click and menu, and the question about another java.exe ahead of
// the JDK, in a prefix of its own with D: and E: mapped to empty folders.
#include "AppUnderTest.h"
#include "FileTree.h"
#include "MachineEnvironment.h"
#include "MenuProbe.h"
#include "Wait.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using harness::AppUnderTest;
using harness::MachineEnvironment;
using harness::MenuProbe;

namespace {

const int kJavaHome = 1003, kClasspath = 1005, kPath = 1007, kDetect = 1008;
const char kSuccess[] = "提示：Java jdk 环境变量设置成功！";

// The conventional search finds this one (E:\Java\jdk*); the other two only the inventory does.
const char kOracle8[] = "E:\\Java\\jdk1.8.0_202";
const char kTemurin21[] = "D:\\Program Files\\Eclipse Adoptium\\jdk-21.0.5.11-hotspot";
const char kMicrosoft17[] = "E:\\Program Files\\Microsoft\\jdk-17.0.13.11-hotspot";
const char kJavaPath[] = "C:\\ProgramData\\Oracle\\Java\\javapath";

std::string Jars(const std::string& folder)
{
    return ".;" + folder + "\\lib\\dt.jar;" + folder + "\\lib\\tools.jar";
}

// A JDK as its installer lays it out: the two programs (empty files do) and the release file.
void MakeJdk(const std::string& folder, const std::string& version, const std::string& vendor)
{
    ASSERT_TRUE(harness::MakeFolders(folder + "\\bin"));
    ASSERT_TRUE(harness::WriteTextFile(folder + "\\bin\\java.exe", ""));
    ASSERT_TRUE(harness::WriteTextFile(folder + "\\bin\\javac.exe", ""));
    ASSERT_TRUE(harness::WriteTextFile(folder + "\\release",
                                       "IMPLEMENTOR=\"" + vendor + "\"\nJAVA_VERSION=\"" + version + "\"\n"));
}

std::string Stored(const char* name)
{
    return MachineEnvironment::Get(name).value_or(harness::RegValue{}).Text();
}

class JdkChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* root : {"D:\\", "E:\\"})
            ASSERT_NE(GetDriveTypeA(root), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << root << " is not mapped";
        m_machinePath = Stored("PATH");
        ASSERT_FALSE(m_machinePath.empty());
        MakeJdk(kOracle8, "1.8.0_202", "Oracle Corporation");
        MakeJdk(kTemurin21, "21.0.5", "Eclipse Adoptium");
        MakeJdk(kMicrosoft17, "17.0.13", "Microsoft");
    }
    void TearDown() override
    {
        for (const char* tree : {"D:\\Program Files", "E:\\Program Files", "E:\\Java", "C:\\ProgramData\\Oracle"})
            harness::RemoveTree(tree);
    }
    static harness::LaunchOptions Launch(const char* javaHome)
    {
        harness::LaunchOptions options;
        options.environment["JAVA_HOME"] = javaHome ? std::optional<std::string>(javaHome) : std::nullopt;
        options.environment["CLASSPATH"] = std::nullopt;
        return options;
    }
    void ExpectFieldsFollow(AppUnderTest& app, const std::string& folder)
    {
        EXPECT_EQ(folder, app.Text(kJavaHome));
        EXPECT_EQ(m_machinePath + ";" + folder + "\\bin", app.Text(kPath));
        EXPECT_EQ(Jars(folder), app.Text(kClasspath));
    }
    // The split button's arrow: the right end of the button.
    static void ClickArrow(AppUnderTest& app)
    {
        RECT r = {};
        GetClientRect(app.Item(kDetect), &r);
        app.ClickAt(kDetect, r.right - 6, r.bottom / 2);
    }

    harness::MachineEnvironmentGuard guard;
    std::string m_machinePath;
};

TEST_F(JdkChoiceTest, ClickTakesTheConventionalSearchsJdkElseTheNewest)
{
    AppUnderTest app(Launch(nullptr));
    ASSERT_TRUE(app.Dialog());
    app.Click(kDetect);
    ASSERT_TRUE(harness::WaitUntil([&] { return !app.Text(kJavaHome).empty(); }, 10000));
    ExpectFieldsFollow(app, kOracle8);

    harness::RemoveTree("E:\\Java");
    app.Click(kDetect);
    ASSERT_TRUE(harness::WaitUntil([&] { return app.Text(kJavaHome) != kOracle8; }, 10000));
    ExpectFieldsFollow(app, kTemurin21);
}

TEST_F(JdkChoiceTest, MenuListsEveryJdkNewestFirstAndChoosingFillsTheFields)
{
    AppUnderTest app(Launch("C:\\old"));
    ASSERT_TRUE(app.Dialog());
    MenuProbe menus(app);
    const std::vector<std::string> expected = {
        "JDK 21.0.5（Eclipse Adoptium）  " + std::string(kTemurin21),
        "JDK 17.0.13（Microsoft）  " + std::string(kMicrosoft17),
        "JDK 1.8.0_202（Oracle Corporation）  " + std::string(kOracle8),
    };
    const char* folders[] = {kTemurin21, kMicrosoft17, kOracle8};

    struct Way {
        const char* name;
        void (*open)(AppUnderTest&);
        int choose;
    };
    const Way ways[] = {
        {"arrow", [](AppUnderTest& a) { ClickArrow(a); }, 1},
        {"Down", [](AppUnderTest& a) { a.Focus(kDetect); a.PressKey(VK_DOWN); }, 2},
        {"Alt+Down", [](AppUnderTest& a) { a.Focus(kDetect); a.PressKey(VK_DOWN, true); }, 0},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        way.open(app);
        const auto items = menus.WaitForMenu();
        ASSERT_TRUE(items) << "no menu opened";
        ASSERT_EQ(expected.size(), items->size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(expected[i], (*items)[i].text);
            EXPECT_FALSE((*items)[i].IsDisabled());
            EXPECT_EQ(i == 2, (*items)[i].IsDefault()) << "the click's JDK, the conventional search's, is the default";
        }
        menus.Choose(way.choose);
        ASSERT_TRUE(harness::WaitUntil([&] { return !menus.MenuWindow() && app.Text(kJavaHome) == folders[way.choose]; }, 10000))
            << app.Text(kJavaHome);
        ExpectFieldsFollow(app, folders[way.choose]);
    }
}

TEST_F(JdkChoiceTest, MenuMarksTheNewestWithoutAConventionalJdkAndSaysWhenThereIsNone)
{
    harness::RemoveTree("E:\\Java");
    AppUnderTest app(Launch("C:\\kept"));
    ASSERT_TRUE(app.Dialog());
    MenuProbe menus(app);

    ClickArrow(app);
    auto items = menus.WaitForMenu();
    ASSERT_TRUE(items);
    ASSERT_EQ(2u, items->size());
    EXPECT_TRUE((*items)[0].IsDefault()) << (*items)[0].text;
    EXPECT_FALSE((*items)[1].IsDefault());
    menus.Dismiss();
    ASSERT_TRUE(harness::WaitUntil([&] { return !menus.MenuWindow(); }, 5000));
    EXPECT_EQ("C:\\kept", app.Text(kJavaHome));

    harness::RemoveTree("D:\\Program Files");
    harness::RemoveTree("E:\\Program Files");
    ClickArrow(app);
    items = menus.WaitForMenu();
    ASSERT_TRUE(items);
    ASSERT_EQ(1u, items->size());
    EXPECT_EQ("未找到已安装的 JDK", (*items)[0].text);
    EXPECT_TRUE((*items)[0].IsDisabled());
    menus.Choose(0);
    ASSERT_TRUE(harness::WaitUntil([&] { return !menus.MenuWindow(); }, 5000));
    harness::PumpMessages(200);
    EXPECT_EQ("C:\\kept", app.Text(kJavaHome)) << "the disabled item chooses nothing";
}

TEST_F(JdkChoiceTest, AnotherJavaAheadOfTheJdkIsAskedAbout)
{
    ASSERT_TRUE(harness::MakeFolders(kJavaPath));
    ASSERT_TRUE(harness::WriteTextFile(std::string(kJavaPath) + "\\java.exe", ""));
    const std::string bin = std::string(kTemurin21) + "\\bin";
    const std::string trapped = m_machinePath + ";" + kJavaPath;

    struct Row {
        const char* name;
        bool shadowed;
        int answer;          // to the question; IDOK when none comes
        bool written;
    };
    const Row rows[] = {
        {"yes", true, IDYES, true},
        {"no", true, IDNO, true},
        {"cancel", true, IDCANCEL, false},
        {"nothing ahead", false, IDOK, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string machinePath = row.shadowed ? trapped : m_machinePath;
        MachineEnvironment::SetText("PATH", machinePath);
        MachineEnvironment::SetText("JAVA_HOME", "C:\\before");
        AppUnderTest app(Launch(nullptr));
        ASSERT_TRUE(app.Dialog());
        app.SetText(kJavaHome, kTemurin21);
        ASSERT_EQ(machinePath + ";" + bin, app.Text(kPath));
        app.Click(IDOK);
        HWND box = app.WaitForMessageBox();
        ASSERT_TRUE(box);
        std::string shown = AppUnderTest::StaticTexts(box);
        if (row.shadowed) {
            EXPECT_NE(std::string::npos, shown.find(kJavaPath)) << "the question names the entry: " << shown;
            EXPECT_NE(std::string::npos, shown.find("java.exe")) << shown;
            AppUnderTest::Answer(box, row.answer);
            if (row.written) {
                const std::string question = shown;
                ASSERT_TRUE(harness::WaitUntil([&] {
                    box = app.WaitForMessageBox(1000);
                    shown = box ? AppUnderTest::StaticTexts(box) : std::string();
                    return !shown.empty() && shown != question;
                }, 10000)) << "no message after the answer";
            }
        }
        if (!row.written) {
            ASSERT_TRUE(harness::WaitUntil([&] { return app.OtherDialogs().empty(); }, 5000));
            EXPECT_TRUE(app.IsRunning()) << "back in the dialog";
            EXPECT_EQ(machinePath, Stored("PATH"));
            EXPECT_EQ("C:\\before", Stored("JAVA_HOME"));
            continue;
        }
        EXPECT_EQ(kSuccess, shown);
        AppUnderTest::Answer(box);
        ASSERT_TRUE(app.WaitForExit());
        const std::string path = row.answer == IDYES ? bin + ";" + machinePath : machinePath + ";" + bin;
        EXPECT_EQ(path, Stored("PATH"));
        EXPECT_EQ(kTemurin21, Stored("JAVA_HOME"));
    }
}

}  // namespace
