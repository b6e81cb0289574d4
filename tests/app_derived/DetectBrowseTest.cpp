// Detection, the folder browser and the whole road to a new process's environment, in a
// prefix of its own with D: and E: mapped to empty folders.
#include "AppUnderTest.h"
#include "FileTree.h"
#include "MachineEnvironment.h"
#include "Wait.h"
#include <gtest/gtest.h>
#include <userenv.h>
#include <string>
#include <vector>

using harness::AppUnderTest;
using harness::MachineEnvironment;

namespace {

const int kJavaHome = 1003, kBrowse = 1004, kClasspath = 1005, kPath = 1007, kDetect = 1008;
const char kSuccess[] = "提示：Java jdk 环境变量设置成功！";
const char kTemplate[] = ".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar";

std::string Jars(const std::string& folder)
{
    return ".;" + folder + "\\lib\\dt.jar;" + folder + "\\lib\\tools.jar";
}

void MakeFolders(const std::string& path)
{
    ASSERT_TRUE(harness::MakeFolders(path)) << path;
}

// What cmd prints in a process whose environment is built afresh from the registry, as
// a shell builds it for the programs it starts.
std::string RunCmdInFreshEnvironment(const std::string& commands)
{
    HANDLE token = nullptr;
    void* block = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &token) ||
        !CreateEnvironmentBlock(&block, token, FALSE))
        return "no environment block";
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &sa, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::string cmd = "cmd.exe /c " + commands;
    std::string out;
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT, block, nullptr, &si, &pi)) {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
        char buf[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got)
            out.append(buf, got);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    } else {
        out = "cmd did not start";
    }
    if (writeEnd) CloseHandle(writeEnd);
    CloseHandle(readEnd);
    DestroyEnvironmentBlock(block);
    CloseHandle(token);
    return out;
}

std::string Line(const std::string& text, const std::string& prefix)
{
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.compare(0, prefix.size(), prefix) == 0)
            return line;
        pos = end + 1;
    }
    return "(no line " + prefix + ")";
}

class DetectBrowseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* root : {"D:\\", "E:\\"})
            ASSERT_NE(GetDriveTypeA(root), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << root << " is not mapped";
        auto path = MachineEnvironment::Get("PATH");
        ASSERT_TRUE(path);
        m_machinePath = path->Text();
    }
    void TearDown() override
    {
        for (const char* tree : {"D:\\Program Files", "D:\\jdks", "D:\\jdk-11.0.2", "E:\\Java"})
            harness::RemoveTree(tree);
    }
    harness::LaunchOptions Launch(const char* javaHome, const std::string& directory = {})
    {
        harness::LaunchOptions options;
        options.environment["JAVA_HOME"] = javaHome ? std::optional<std::string>(javaHome) : std::nullopt;
        options.environment["CLASSPATH"] = std::nullopt;
        options.currentDirectory = directory;
        return options;
    }
    // The folder browser the program opened; null when none came.
    static HWND WaitForBrowser(AppUnderTest& app)
    {
        HWND browser = nullptr;
        harness::WaitUntil([&] {
            for (HWND h : app.OtherDialogs())
                if (AppUnderTest::StaticTexts(h).find("Select Directory:") != std::string::npos)
                    browser = h;
            return browser != nullptr;
        }, 10000);
        return browser;
    }

    harness::MachineEnvironmentGuard guard;
    std::string m_machinePath;
};

TEST_F(DetectBrowseTest, DetectedJdkIsWrittenAndSeenByProcessesStartedLater)
{
    const std::string jdk = "D:\\Program Files\\Java\\jdk1.8.0_202";
    MakeFolders(jdk);
    MakeFolders("E:\\Java\\jdk9");
    MachineEnvironment::Delete("JAVA_HOME");
    MachineEnvironment::Delete("CLASSPATH");

    AppUnderTest app(Launch(nullptr));
    ASSERT_TRUE(app.Dialog());
    app.Click(kDetect);
    ASSERT_TRUE(harness::WaitUntil([&] { return app.Text(kJavaHome) == jdk; }, 10000)) << app.Text(kJavaHome);
    const std::string path = m_machinePath + ";" + jdk + "\\bin";
    EXPECT_EQ(path, app.Text(kPath));
    EXPECT_EQ(Jars(jdk), app.Text(kClasspath));

    app.Click(IDOK);
    HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(kSuccess, AppUnderTest::StaticTexts(box));
    AppUnderTest::Answer(box);
    ASSERT_TRUE(app.WaitForExit());

    EXPECT_EQ(jdk, MachineEnvironment::Get("JAVA_HOME").value_or(harness::RegValue{}).Text());
    EXPECT_EQ(path, MachineEnvironment::Get("PATH").value_or(harness::RegValue{}).Text());
    EXPECT_EQ(Jars(jdk), MachineEnvironment::Get("CLASSPATH").value_or(harness::RegValue{}).Text());

    const std::string out = RunCmdInFreshEnvironment("echo JAVA_HOME=%JAVA_HOME%& set PATH& set CLASSPATH");
    EXPECT_EQ("JAVA_HOME=" + jdk, Line(out, "JAVA_HOME=")) << out;
    EXPECT_EQ("CLASSPATH=" + Jars(jdk), Line(out, "CLASSPATH=")) << out;
    const std::string pathLine = Line(out, "PATH=");
    EXPECT_EQ(pathLine.size() - jdk.size() - 5, pathLine.rfind(";" + jdk + "\\bin")) << out;
}

TEST_F(DetectBrowseTest, DetectingNothingEmptiesJavaHome)
{
    AppUnderTest app(Launch("C:\\old jdk"));
    ASSERT_TRUE(app.Dialog());
    ASSERT_EQ("C:\\old jdk", app.Text(kJavaHome));
    app.Click(kDetect);
    ASSERT_TRUE(harness::WaitUntil([&] { return app.Text(kJavaHome).empty(); }, 10000));
    EXPECT_EQ(m_machinePath, app.Text(kPath)) << "an empty folder adds nothing to PATH";
    EXPECT_EQ(kTemplate, app.Text(kClasspath));
}

TEST_F(DetectBrowseTest, BrowserOpensOnTheCurrentDirectoryAndOkTakesItsPath)
{
    const std::string folder = "D:\\jdk-11.0.2";
    MakeFolders(folder);
    AppUnderTest app(Launch("C:\\old", folder));
    ASSERT_TRUE(app.Dialog());
    app.Click(kBrowse);
    HWND browser = WaitForBrowser(app);
    ASSERT_TRUE(browser);
    EXPECT_EQ("C:\\old", app.Text(kJavaHome));
    harness::PumpMessages(300);
    AppUnderTest::Answer(browser, IDOK);
    ASSERT_TRUE(harness::WaitUntil([&] { return app.Text(kJavaHome) != "C:\\old"; }, 10000));
    EXPECT_EQ(folder, app.Text(kJavaHome));
    EXPECT_EQ(m_machinePath + ";" + folder + "\\bin", app.Text(kPath));
    EXPECT_EQ(Jars(folder), app.Text(kClasspath));
}

TEST_F(DetectBrowseTest, ChosenDriveRootKeepsItsBackslash)
{
    AppUnderTest app(Launch(nullptr, "E:\\"));
    ASSERT_TRUE(app.Dialog());
    app.Click(kBrowse);
    HWND browser = WaitForBrowser(app);
    ASSERT_TRUE(browser);
    harness::PumpMessages(300);
    AppUnderTest::Answer(browser, IDOK);
    ASSERT_TRUE(harness::WaitUntil([&] { return !app.Text(kJavaHome).empty(); }, 10000));
    EXPECT_EQ("E:\\", app.Text(kJavaHome));
    EXPECT_EQ(m_machinePath + ";E:\\bin", app.Text(kPath));
    EXPECT_EQ(".;E:\\\\lib\\dt.jar;E:\\\\lib\\tools.jar", app.Text(kClasspath));
}

TEST_F(DetectBrowseTest, CancelledBrowserChangesNothing)
{
    MakeFolders("D:\\jdks\\jdk-17");
    AppUnderTest app(Launch("C:\\kept", "D:\\jdks\\jdk-17"));
    ASSERT_TRUE(app.Dialog());
    app.SetText(kPath, "X:\\typed by hand");
    const std::string classpath = app.Text(kClasspath);
    app.Click(kBrowse);
    HWND browser = WaitForBrowser(app);
    ASSERT_TRUE(browser);
    harness::PumpMessages(300);
    AppUnderTest::Answer(browser, IDCANCEL);
    ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(browser); }, 10000));
    harness::PumpMessages(200);
    EXPECT_EQ("C:\\kept", app.Text(kJavaHome));
    EXPECT_EQ("X:\\typed by hand", app.Text(kPath));
    EXPECT_EQ(classpath, app.Text(kClasspath));
}

}  // namespace
