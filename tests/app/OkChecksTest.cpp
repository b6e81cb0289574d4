// What OK lets through to the machine-wide environment: only an absolute JDK folder, and a
// PATH whose characters survive whatever the code page cannot hold.
#include "AppUnderTest.h"
#include "MachineEnvironment.h"
#include "Wait.h"
#include <gtest/gtest.h>

using harness::AppUnderTest;
using harness::MachineEnvironment;

namespace {

const int kJavaHome = 1003, kClasspath = 1005, kPath = 1007;
const char kSuccess[] = "提示：Java jdk 环境变量设置成功！";
const char kNeedFullPath[] = "JAVA_HOME 必须是完整的文件夹路径，例如 C:\\Program Files\\Java\\jdk-21";
const char kChooseFirst[] = "请先选择 JDK 文件夹";
const char kMachinePath[] = "C:\\Windows;C:\\Windows\\system32";

std::string Jars(const std::string& folder)
{
    return ".;" + folder + "\\lib\\dt.jar;" + folder + "\\lib\\tools.jar";
}

harness::LaunchOptions WithoutJava()
{
    harness::LaunchOptions options;
    options.environment["JAVA_HOME"] = std::nullopt;
    options.environment["CLASSPATH"] = std::nullopt;
    return options;
}

struct Stored {
    std::optional<std::wstring> path, home, classpath;
    static Stored Take()
    {
        return {MachineEnvironment::GetWide(L"PATH"), MachineEnvironment::GetWide(L"JAVA_HOME"),
                MachineEnvironment::GetWide(L"CLASSPATH")};
    }
    bool operator==(const Stored& o) const { return path == o.path && home == o.home && classpath == o.classpath; }
};

// Presses OK (Enter in the JAVA_HOME field, as a user would) and returns the first box's texts.
std::string PressEnterAndReadBox(AppUnderTest& app, HWND* box)
{
    app.Focus(kJavaHome);
    app.PressKey(VK_RETURN);
    *box = app.WaitForMessageBox();
    return *box ? AppUnderTest::StaticTexts(*box) : std::string("(no message box)");
}

class OkChecksTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    static void Reset()
    {
        MachineEnvironment::SetText("PATH", kMachinePath);
        MachineEnvironment::SetText("JAVA_HOME", "C:\\before");
        MachineEnvironment::SetText("CLASSPATH", ".;before.jar");
    }
    harness::MachineEnvironmentGuard guard;
};

TEST_F(OkChecksTest, OnlyAnAbsoluteFolderCountsAsJavaHome)
{
    struct Row {
        const char* typed;
        const char* folder;     // the JDK folder the text names; null when it names none
        const char* classpath;  // the CLASSPATH field shown
        bool pressOk;
    };
    const Row rows[] = {
        {"d", nullptr, ".;d\\lib\\dt.jar;d\\lib\\tools.jar", true},
        {"8ibz50", nullptr, ".;8ibz50\\lib\\dt.jar;8ibz50\\lib\\tools.jar", false},
        {"jdk\\bin", nullptr, ".;jdk\\bin\\lib\\dt.jar;jdk\\bin\\lib\\tools.jar", false},
        {"\\jdk", nullptr, ".;\\jdk\\lib\\dt.jar;\\jdk\\lib\\tools.jar", true},
        {"C:", nullptr, ".;C:\\lib\\dt.jar;C:\\lib\\tools.jar", true},
        {"C:jdk", nullptr, ".;C:jdk\\lib\\dt.jar;C:jdk\\lib\\tools.jar", false},
        {"\"C:\\Program Files\\Java\\jdk-21\"", "C:\\Program Files\\Java\\jdk-21", nullptr, true},
        {"  D:\\jdk 17\\  ", "D:\\jdk 17\\", nullptr, false},
        {"\\\\server\\share\\jdk", "\\\\server\\share\\jdk", nullptr, true},
        {"D:\\", "D:\\", ".;D:\\\\lib\\dt.jar;D:\\\\lib\\tools.jar", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        Reset();
        const Stored before = Stored::Take();
        AppUnderTest app(WithoutJava());
        ASSERT_TRUE(app.Dialog());
        app.Type(kJavaHome, row.typed);
        ASSERT_EQ(row.typed, app.Text(kJavaHome));

        std::string path = kMachinePath, folder = row.folder ? row.folder : "";
        if (row.folder) {
            const std::string trimmed = folder.back() == '\\' && folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder;
            path += ";" + folder + (folder.back() == '\\' ? "" : "\\") + "bin";
            EXPECT_EQ(row.classpath ? std::string(row.classpath) : Jars(trimmed), app.Text(kClasspath));
        } else {
            EXPECT_EQ(row.classpath, app.Text(kClasspath));
        }
        EXPECT_EQ(path, app.Text(kPath)) << "only an absolute folder's bin joins PATH";
        if (!row.pressOk)
            continue;

        HWND box = nullptr;
        const std::string shown = PressEnterAndReadBox(app, &box);
        ASSERT_TRUE(box) << shown;
        if (row.folder) {
            EXPECT_EQ(kSuccess, shown);
            AppUnderTest::Answer(box);
            ASSERT_TRUE(app.WaitForExit());
            EXPECT_EQ(folder, MachineEnvironment::Get("JAVA_HOME").value_or(harness::RegValue{}).Text())
                << "written without the quotes and spaces around it";
            EXPECT_EQ(path, MachineEnvironment::Get("PATH").value_or(harness::RegValue{}).Text());
        } else {
            EXPECT_NE(std::string::npos, shown.find(kNeedFullPath)) << shown;
            AppUnderTest::Answer(box);
            ASSERT_TRUE(harness::WaitUntil([&] { return app.OtherDialogs().empty(); }, 5000));
            EXPECT_TRUE(app.IsRunning()) << "the dialog stays open";
            EXPECT_EQ(row.typed, app.Text(kJavaHome)) << "with the text as typed";
            EXPECT_TRUE(Stored::Take() == before) << "nothing is written";
        }
    }
}

TEST_F(OkChecksTest, EmptyJavaHomeShowsTheRememberedPathAndOkWritesNothing)
{
    const Stored before = Stored::Take();
    AppUnderTest app(WithoutJava());
    ASSERT_TRUE(app.Dialog());
    EXPECT_EQ(kMachinePath, app.Text(kPath));
    app.Type(kJavaHome, "C:\\jdk");
    EXPECT_EQ(std::string(kMachinePath) + ";C:\\jdk\\bin", app.Text(kPath));
    app.Backspace(kJavaHome, 6);
    app.Type(kJavaHome, "  ");
    EXPECT_EQ(kMachinePath, app.Text(kPath)) << "no relative bin entry for an empty folder";

    for (int attempt = 0; attempt < 2; ++attempt) {
        HWND box = nullptr;
        const std::string shown = PressEnterAndReadBox(app, &box);
        ASSERT_TRUE(box);
        EXPECT_NE(std::string::npos, shown.find(kChooseFirst)) << shown;
        AppUnderTest::Answer(box);
        ASSERT_TRUE(harness::WaitUntil([&] { return app.OtherDialogs().empty(); }, 5000));
        EXPECT_TRUE(app.IsRunning());
        EXPECT_TRUE(Stored::Take() == before);
    }
    EXPECT_EQ(kMachinePath, app.Text(kPath)) << "a refused OK leaves the remembered PATH as the base";
    app.Type(kJavaHome, "E:\\jdk");
    EXPECT_EQ(std::string(kMachinePath) + ";E:\\jdk\\bin", app.Text(kPath));
}

TEST_F(OkChecksTest, PathWithCharactersOutsideTheCodePageSurvivesOrIsLeftAlone)
{
    // Hangul is outside code page 936: read through it, this PATH would come back with '?'.
    const std::wstring original = L"C:\\Windows;C:\\Program Files\\\xD55C\xAE00\\bin;D:\\tools";
    struct Row {
        const char* name;
        const char* handEditedPath;  // null: the field as the program composed it
    };
    const Row rows[] = {{"composed", nullptr}, {"edited by hand", "C:\\Windows;D:\\mine"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MachineEnvironment::SetWide(L"PATH", original);
        AppUnderTest app(WithoutJava());
        ASSERT_TRUE(app.Dialog());
        app.Type(kJavaHome, "C:\\jdk");
        if (row.handEditedPath)
            app.SetText(kPath, row.handEditedPath);
        app.Click(IDOK);
        HWND box = app.WaitForMessageBox();
        ASSERT_TRUE(box);
        const std::string shown = AppUnderTest::StaticTexts(box);
        AppUnderTest::Answer(box);
        ASSERT_TRUE(app.WaitForExit());

        if (row.handEditedPath) {
            EXPECT_NE(std::string::npos, shown.find("PATH 未作修改")) << shown;
            EXPECT_NE(std::string::npos, shown.find("代码页")) << "the user is told why: " << shown;
            EXPECT_TRUE(MachineEnvironment::GetWide(L"PATH") == original) << "left untouched";
        } else {
            EXPECT_EQ(kSuccess, shown);
            EXPECT_TRUE(MachineEnvironment::GetWide(L"PATH") == original + L";C:\\jdk\\bin") << "byte for byte in UTF-16";
        }
        EXPECT_TRUE(MachineEnvironment::GetWide(L"JAVA_HOME") == std::wstring(L"C:\\jdk"));
        EXPECT_TRUE(MachineEnvironment::GetWide(L"CLASSPATH") == std::wstring(L".;C:\\jdk\\lib\\dt.jar;C:\\jdk\\lib\\tools.jar"));
    }
}

}  // namespace
