// The real program, started as its own process and driven through its windows.
#include "AppUnderTest.h"
#include "MachineEnvironment.h"
#include "Wait.h"
#include <aclapi.h>
#include <gtest/gtest.h>

using harness::AppUnderTest;
using harness::MachineEnvironment;

namespace {

const int kJavaHome = 1003, kClasspath = 1005, kAuto = 1006, kPath = 1007;
// The program's texts are code page 936; these literals are too.
const char kSuccess[] = "提示：Java jdk 环境变量设置成功！";
const char kCaption[] = "温馨提示";

struct Snapshot {
    std::optional<harness::RegValue> path, home, classpath;
    static Snapshot Take()
    {
        return {MachineEnvironment::Get("PATH"), MachineEnvironment::Get("JAVA_HOME"), MachineEnvironment::Get("CLASSPATH")};
    }
    static bool Same(const std::optional<harness::RegValue>& a, const std::optional<harness::RegValue>& b)
    {
        return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
    }
    bool operator==(const Snapshot& o) const { return Same(path, o.path) && Same(home, o.home) && Same(classpath, o.classpath); }
};

void ExpectStored(const char* name, const std::string& text)
{
    auto value = MachineEnvironment::Get(name);
    ASSERT_TRUE(value) << name;
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), value->type) << name;
    std::vector<BYTE> expected(text.begin(), text.end());
    expected.push_back(0);
    const std::string stored = value->Text();
    EXPECT_TRUE(value->data == expected) << name << ": " << stored.size() << " characters stored, "
                                         << text.size() << " expected; stored ends "
                                         << stored.substr(stored.size() > 40 ? stored.size() - 40 : 0);
}

harness::LaunchOptions WithJava(const char* home, const char* classpath)
{
    harness::LaunchOptions options;
    options.environment["JAVA_HOME"] = home ? std::optional<std::string>(home) : std::nullopt;
    options.environment["CLASSPATH"] = classpath ? std::optional<std::string>(classpath) : std::nullopt;
    return options;
}

class MainDialogTest : public ::testing::Test {
protected:
    harness::MachineEnvironmentGuard guard;
};

TEST_F(MainDialogTest, FieldsStartFromTheProcessEnvironmentAndTheMachinePath)
{
    MachineEnvironment::SetText("PATH", "C:\\Windows;C:\\Tools");
    AppUnderTest app(WithJava("C:\\jdk1", ".;a.jar"));
    ASSERT_TRUE(app.Dialog());
    EXPECT_EQ("C:\\jdk1", app.Text(kJavaHome));
    EXPECT_EQ("C:\\Windows;C:\\Tools", app.Text(kPath)) << "no bin entry until JAVA_HOME changes";
    EXPECT_TRUE(app.IsChecked(kAuto));
    EXPECT_EQ(".;C:\\jdk1\\lib\\dt.jar;C:\\jdk1\\lib\\tools.jar", app.Text(kClasspath));
    EXPECT_TRUE(app.IsReadOnly(kClasspath));
    EXPECT_EQ("Tamrivel", AppUnderTest::WindowText(app.Dialog()));
}

TEST_F(MainDialogTest, OkWritesExactlyWhatTheFieldsShowAndConfirms)
{
    MachineEnvironment::SetText("PATH", "C:\\Windows", REG_SZ);
    MachineEnvironment::Delete("JAVA_HOME");
    AppUnderTest app(WithJava(nullptr, nullptr));
    ASSERT_TRUE(app.Dialog());
    app.SetText(kJavaHome, "D:\\jdk 1.8");
    app.SetText(kPath, "%SystemRoot%;D:\\jdk 1.8\\bin;E:\\extra");
    app.SetText(kClasspath, ".;%JAVA_HOME%\\lib\\mine.jar");
    const std::string home = app.Text(kJavaHome), path = app.Text(kPath), classpath = app.Text(kClasspath);

    app.Click(IDOK);
    HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(kCaption, AppUnderTest::WindowText(box));
    EXPECT_EQ(kSuccess, AppUnderTest::StaticTexts(box));
    AppUnderTest::Answer(box);
    DWORD code = 99;
    ASSERT_TRUE(app.WaitForExit(10000, &code));
    EXPECT_EQ(0u, code);

    ExpectStored("PATH", path);
    ExpectStored("JAVA_HOME", home);
    ExpectStored("CLASSPATH", classpath);
}

TEST_F(MainDialogTest, CancelEscapeAndTheCloseBoxWriteAndShowNothing)
{
    MachineEnvironment::SetText("PATH", "C:\\Windows;C:\\Keep");
    MachineEnvironment::SetText("JAVA_HOME", "C:\\old");
    const Snapshot before = Snapshot::Take();
    for (int way = 0; way < 3; ++way) {
        AppUnderTest app(WithJava("C:\\new", nullptr));
        ASSERT_TRUE(app.Dialog());
        app.SetText(kJavaHome, "C:\\other");
        switch (way) {
        case 0: app.Click(IDCANCEL); break;
        case 1: app.PressKey(VK_ESCAPE); break;
        default: app.CloseBox(); break;
        }
        ASSERT_TRUE(app.WaitForExit(10000)) << "way " << way;
        EXPECT_TRUE(app.OtherDialogs().empty()) << "way " << way;
        EXPECT_TRUE(Snapshot::Take() == before) << "way " << way;
    }
}

TEST_F(MainDialogTest, LongMachinePathIsShownAndWrittenBackWhole)
{
    std::string big;
    for (int i = 0; big.size() < 20000; ++i)
        big += "C:\\Program Files\\Tool" + std::to_string(i) + "\\bin;";
    big.resize(20000);
    if (big.back() == ';')
        big.back() = 'x';
    MachineEnvironment::SetText("PATH", big);

    {
        // JAVA_HOME unchanged from the process's: PATH is written back as read.
        AppUnderTest app(WithJava("C:\\jdk", nullptr));
        ASSERT_TRUE(app.Dialog());
        const std::string shown = app.Text(kPath);
        EXPECT_TRUE(shown == big) << "shown " << shown.size() << " of " << big.size() << " characters";
        app.Click(IDOK);
        HWND box = app.WaitForMessageBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(kSuccess, AppUnderTest::StaticTexts(box));
        AppUnderTest::Answer(box);
        ASSERT_TRUE(app.WaitForExit());
    }
    ExpectStored("PATH", big);

    {
        // The JDK's bin joins only through the derived-value rule.
        AppUnderTest app(WithJava(nullptr, nullptr));
        ASSERT_TRUE(app.Dialog());
        app.SetText(kJavaHome, "C:\\jdk");
        const std::string shown = app.Text(kPath);
        EXPECT_TRUE(shown == big + ";C:\\jdk\\bin") << "shown " << shown.size() << " characters, ending "
                                                      << shown.substr(shown.size() > 40 ? shown.size() - 40 : 0);
        app.Click(IDOK);
        HWND box = app.WaitForMessageBox();
        ASSERT_TRUE(box);
        AppUnderTest::Answer(box);
        ASSERT_TRUE(app.WaitForExit());
    }
    ExpectStored("PATH", big + ";C:\\jdk\\bin");
}

// Denies this machine's administrators write access to the environment key for as long as it lives:
// the program's full-access open is refused, as for a program that is not elevated.
class WriteDenied {
public:
    WriteDenied()
    {
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, MachineEnvironment::KeyPath(), 0, READ_CONTROL | WRITE_DAC, &key);
        DWORD size = 0;
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
        m_saved.resize(size);
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data(), &size);

        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        EXPLICIT_ACCESSA entries[2] = {};
        entries[0].grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
        entries[0].grfAccessMode = DENY_ACCESS;
        entries[1].grfAccessPermissions = KEY_READ | WRITE_DAC;
        entries[1].grfAccessMode = GRANT_ACCESS;
        for (auto& e : entries) {
            e.Trustee.TrusteeForm = TRUSTEE_IS_SID;
            e.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
            e.Trustee.ptstrName = static_cast<LPSTR>(everyone);
        }
        PACL acl = nullptr;
        SetEntriesInAclA(2, entries, nullptr, &acl);
        SECURITY_DESCRIPTOR sd;
        InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        m_applied = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
        LocalFree(acl);
        FreeSid(everyone);
        RegCloseKey(key);
    }
    ~WriteDenied()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, MachineEnvironment::KeyPath(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data());
            RegCloseKey(key);
        }
    }
    // Whether the system enforces it: a full-access open must now fail.
    bool Effective() const
    {
        HKEY key = nullptr;
        if (!m_applied)
            return false;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, MachineEnvironment::KeyPath(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            return false;
        }
        return true;
    }
private:
    std::vector<BYTE> m_saved;
    bool m_applied = false;
};

TEST_F(MainDialogTest, WithoutWriteRightsNothingIsWrittenAndEachRefusalIsNamed)
{
    const std::string path = "C:\\Windows;C:\\Precious\\bin";
    MachineEnvironment::SetText("PATH", path);
    const Snapshot before = Snapshot::Take();
    WriteDenied denied;
    ASSERT_TRUE(denied.Effective()) << "the registry does not enforce key security here";

    AppUnderTest app(WithJava(nullptr, nullptr));
    ASSERT_TRUE(app.Dialog());
    EXPECT_EQ(path, app.Text(kPath)) << "reading needs no write rights";
    app.SetText(kJavaHome, "C:\\jdk");
    app.Click(IDOK);
    HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    const std::string text = AppUnderTest::StaticTexts(box);
    EXPECT_EQ(kCaption, AppUnderTest::WindowText(box));
    EXPECT_EQ(std::string::npos, text.find(kSuccess));
    for (const char* name : {"PATH", "JAVA_HOME", "CLASSPATH"}) {
        const std::string line = std::string("写入环境变量 ") + name + " 失败";
        const size_t at = text.find(line);
        ASSERT_NE(std::string::npos, at) << text;
        const size_t code = text.find("错误代码 5", at);
        ASSERT_NE(std::string::npos, code) << "access denied, not an invalid handle: " << text;
        const size_t after = code + strlen("错误代码 5");
        EXPECT_TRUE(after == text.size() || !isdigit(static_cast<unsigned char>(text[after]))) << text;
    }
    AppUnderTest::Answer(box);
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_TRUE(Snapshot::Take() == before);
}

}  // namespace
