// The dialog's derived fields, driven through the real program.
#include "AppUnderTest.h"
#include "EnvironmentComposition.h"
#include "MachineEnvironment.h"
#include "Wait.h"
#include <gtest/gtest.h>
#include <thread>

using harness::AppUnderTest;
using harness::MachineEnvironment;

namespace {

const int kJavaHome = 1003, kClasspath = 1005, kAuto = 1006, kPath = 1007;
const char kMachinePath[] = "C:\\Windows;C:\\Windows\\system32";
const char kInherited[] = ".;E:\\inherited\\a.jar";

std::string Jars(const std::string& folder)
{
    return ".;" + folder + "\\lib\\dt.jar;" + folder + "\\lib\\tools.jar";
}

class DerivedFieldsTest : public ::testing::Test {
protected:
    void SetUp() override { MachineEnvironment::SetText("PATH", kMachinePath); }

    harness::LaunchOptions Launch(const char* javaHome, const char* classpath)
    {
        harness::LaunchOptions options;
        options.environment["JAVA_HOME"] = javaHome ? std::optional<std::string>(javaHome) : std::nullopt;
        options.environment["CLASSPATH"] = classpath ? std::optional<std::string>(classpath) : std::nullopt;
        return options;
    }

    harness::MachineEnvironmentGuard guard;
};

TEST_F(DerivedFieldsTest, EveryKeystrokeRecomposesBothFields)
{
    AppUnderTest app(Launch("C:\\old", kInherited));
    ASSERT_TRUE(app.Dialog());
    EXPECT_EQ(kMachinePath, app.Text(kPath)) << "nothing is appended before the first change";

    SendMessageA(app.Item(kJavaHome), EM_SETSEL, 0, -1);
    std::string typed;
    for (char c : std::string("D:\\jdk\\")) {
        app.Type(kJavaHome, std::string(1, c));
        typed += c;
        ASSERT_EQ(typed, app.Text(kJavaHome));
        EXPECT_EQ(ComposePath(kMachinePath, typed.c_str()).str(), app.Text(kPath)) << "after " << typed;
        EXPECT_EQ(ComposeClasspath(1, typed.c_str()).str(), app.Text(kClasspath)) << "after " << typed;
    }
    EXPECT_EQ(std::string(kMachinePath) + ";D:\\jdk\\bin", app.Text(kPath));
    EXPECT_EQ(Jars("D:\\jdk"), app.Text(kClasspath));

    app.Backspace(kJavaHome, 7);
    EXPECT_EQ("", app.Text(kJavaHome));
    EXPECT_EQ(kMachinePath, app.Text(kPath)) << "an empty folder adds nothing to PATH";
    EXPECT_EQ(ClasspathTemplate, app.Text(kClasspath));
}

TEST_F(DerivedFieldsTest, AutomaticBoxSwitchesBetweenTemplateAndInheritedValue)
{
    AppUnderTest app(Launch("C:\\jdk1.8", kInherited));
    ASSERT_TRUE(app.Dialog());
    ASSERT_TRUE(app.IsChecked(kAuto));
    ASSERT_TRUE(app.IsReadOnly(kClasspath));

    app.Click(kAuto);
    ASSERT_TRUE(harness::WaitUntil([&] { return !app.IsReadOnly(kClasspath); }, 5000));
    EXPECT_FALSE(app.IsChecked(kAuto));
    EXPECT_EQ(kInherited, app.Text(kClasspath));

    // A hand-typed CLASSPATH is replaced by the inherited one at the next JAVA_HOME change.
    app.SetText(kClasspath, ".;mine.jar");
    SendMessageA(app.Item(kJavaHome), EM_SETSEL, 100, 100);
    app.Type(kJavaHome, "_1");
    EXPECT_EQ(kInherited, app.Text(kClasspath));
    EXPECT_FALSE(app.IsReadOnly(kClasspath));

    app.Click(kAuto);
    ASSERT_TRUE(harness::WaitUntil([&] { return app.IsReadOnly(kClasspath); }, 5000));
    EXPECT_TRUE(app.IsChecked(kAuto));
    EXPECT_EQ(Jars("C:\\jdk1.8_1"), app.Text(kClasspath));
}

TEST_F(DerivedFieldsTest, ManualModeWithoutInheritedValueIsEmpty)
{
    AppUnderTest app(Launch("C:\\jdk", nullptr));
    ASSERT_TRUE(app.Dialog());
    app.Click(kAuto);
    ASSERT_TRUE(harness::WaitUntil([&] { return !app.IsReadOnly(kClasspath); }, 5000));
    EXPECT_EQ("", app.Text(kClasspath));
}

TEST_F(DerivedFieldsTest, HandEditedPathIsReplacedFromTheRememberedPath)
{
    AppUnderTest app(Launch("C:\\jdk", nullptr));
    ASSERT_TRUE(app.Dialog());
    app.SetText(kJavaHome, "C:\\a");
    app.SetText(kPath, "X:\\typed;C:\\a\\bin");
    app.SetText(kJavaHome, "C:\\b");
    EXPECT_EQ(std::string(kMachinePath) + ";C:\\b\\bin", app.Text(kPath)) << "earlier entries do not pile up";
}

TEST_F(DerivedFieldsTest, OnlyAWholePathEntryCountsAsPresent)
{
    MachineEnvironment::SetText("PATH", "C:\\Windows;C:\\jdk\\bin2;c:\\jdk\\bin;");
    AppUnderTest app(Launch(nullptr, nullptr));
    ASSERT_TRUE(app.Dialog());
    app.SetText(kJavaHome, "C:\\jdk");
    EXPECT_EQ("C:\\Windows;C:\\jdk\\bin2;c:\\jdk\\bin;C:\\jdk\\bin", app.Text(kPath));

    MachineEnvironment::SetText("PATH", "C:\\Windows;C:\\jdk\\bin;D:\\x");
    AppUnderTest again(Launch(nullptr, nullptr));
    ASSERT_TRUE(again.Dialog());
    again.SetText(kJavaHome, "C:\\jdk\\");
    EXPECT_EQ("C:\\Windows;C:\\jdk\\bin;D:\\x", again.Text(kPath));
}

TEST_F(DerivedFieldsTest, JavaHomeTooLongForPathIsRefusedWithAMessage)
{
    AppUnderTest app(Launch("C:\\jdk", kInherited));
    ASSERT_TRUE(app.Dialog());
    app.SetText(kJavaHome, "D:\\jdk8");
    const std::string path = app.Text(kPath), classpath = app.Text(kClasspath);

    const std::string tooLong = "D:\\" + std::string(300, 'j');
    // The program answers the text only after its message box is gone.
    std::thread setter([&] { app.SetText(kJavaHome, tooLong); });
    HWND box = app.WaitForMessageBox();
    std::string shown = box ? AppUnderTest::StaticTexts(box) : "";
    EXPECT_NE(std::string::npos, shown.find("JAVA_HOME 路径过长")) << shown;
    EXPECT_EQ("D:\\jdk8", app.Text(kJavaHome)) << "the change is undone";
    if (box)
        AppUnderTest::Answer(box);
    setter.join();
    ASSERT_TRUE(box);
    EXPECT_EQ("D:\\jdk8", app.Text(kJavaHome));
    EXPECT_EQ(path, app.Text(kPath));
    EXPECT_EQ(classpath, app.Text(kClasspath));

    // The longest folder whose bin folder still fits is taken.
    const std::string longest = "D:\\" + std::string(MAX_PATH - 1 - 4 - 3, 'k');
    app.SetText(kJavaHome, longest);
    EXPECT_EQ(longest, app.Text(kJavaHome));
    EXPECT_EQ(std::string(kMachinePath) + ";" + longest + "\\bin", app.Text(kPath));
    EXPECT_TRUE(app.OtherDialogs().empty());
}

}  // namespace
