// PATH checks over real folders in a temporary tree; the JAVA_HOME form check as a table.
#include "JavaPathCheck.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& wide)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], n, nullptr, nullptr);
    text.resize(static_cast<size_t>(n - 1));
    return text;
}

TEST(IsAbsoluteFolderPath, OnlyFullFoldersCount)
{
    const std::pair<const char*, bool> rows[] = {
        {"C:\\jdk", true},
        {"D:\\", true},
        {"c:\\Program Files\\Java\\jdk-21", true},
        {"  C:\\jdk  ", true},
        {"\"C:\\Program Files\\Java\\jdk-21\"", true},
        {" \"D:\\jdk\\\" \t", true},
        {"\\\\server\\share", true},
        {"\\\\server\\share\\Java\\jdk-21", true},
        {"D:\\\xc8\xed\xbc\xfe\\\x81\x5c", true},  // 软件\俓: a trail byte 0x5C is no separator
        {"d", false},
        {"8ibz50", false},
        {"y1e", false},
        {"", false},
        {"   ", false},
        {"\"\"", false},
        {"C:", false},
        {"C:jdk", false},
        {"\"C:\"", false},
        {"jdk\\bin", false},
        {"..\\jdk", false},
        {"\\jdk", false},
        {"C:/jdk", false},
        {"1:\\jdk", false},
        {"\\\\server", false},
        {"\\\\server\\", false},
        {"\\\\\\share", false},
        {"\\\\?\\C:\\jdk", false},
        {"C:\\jdk;D:\\other", false},
        {"C:\\jdk\";D:\\x", false},
        {"C:\\a|b", false},
        {"C:\\jdk\\bin:x", false},
        {"C:\\jdk\r\n", false},
        {"C:\\j\tdk", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, IsAbsoluteFolderPath(row.first)) << "[" << row.first << "]";
}

TEST(IsAbsoluteFolderPath, TrimmedTextIsTheFolder)
{
    EXPECT_EQ(TrimFolderInput("  \"C:\\Program Files\\Java\\jdk-21\"  ").str(), "C:\\Program Files\\Java\\jdk-21");
    EXPECT_EQ(TrimFolderInput("\"D:\\\"").str(), "D:\\");
    EXPECT_EQ(TrimFolderInput(" d ").str(), "d");
    EXPECT_EQ(TrimFolderInput("C:\\a b\\c").str(), "C:\\a b\\c");
    EXPECT_EQ(TrimFolderInput("\"\"").str(), "");
}

// A tree of folders under the temporary folder; names may lie outside the code page.
class PathTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_root = std::wstring(temp) + L"tamrivel-pathcheck-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_root.c_str(), nullptr);
        File(L"Common Files\\Oracle\\Java\\javapath\\java.exe");
        File(L"old\\bin\\java.exe");
        File(L"jdk\\bin\\java.exe");
        File(L"jdk\\bin\\javac.exe");
        File(L"\xD55C\xAE00\\bin\\java.exe");  // 한글
        Folder(L"empty");
        Folder(L"dirjava\\java.exe");
        SetEnvironmentVariableW(L"TAMRIVEL_ROOT", m_root.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"TAMRIVEL_ROOT", nullptr);
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) {
            DeleteFileW(it->c_str());
            RemoveDirectoryW(it->c_str());
        }
        RemoveDirectoryW(m_root.c_str());
    }
    std::wstring At(const std::wstring& relative) const { return m_root + L"\\" + relative; }
    std::wstring m_root;

private:
    void Folder(const std::wstring& relative)
    {
        std::wstring path = m_root;
        for (size_t start = 0;;) {
            const size_t end = relative.find(L'\\', start);
            path += L"\\" + relative.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
            if (CreateDirectoryW(path.c_str(), nullptr))
                m_made.push_back(path);
            if (end == std::wstring::npos)
                return;
            start = end + 1;
        }
    }
    void File(const std::wstring& relative)
    {
        const size_t slash = relative.find_last_of(L'\\');
        Folder(relative.substr(0, slash));
        const std::wstring path = At(relative);
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
        m_made.push_back(path);
    }
    std::vector<std::wstring> m_made;
};

TEST_F(PathTree, FirstJavaBeforeTheJdkIsNamedAsWritten)
{
    const std::wstring bin = At(L"jdk\\bin");
    const std::wstring korean = At(L"\xD55C\xAE00\\bin");
    const std::wstring javapath = At(L"Common Files\\Oracle\\Java\\javapath");
    const std::wstring referenced = L"%TAMRIVEL_ROOT%\\Common Files\\Oracle\\Java\\javapath";
    struct Row {
        std::wstring path;
        std::wstring shadowing;
    };
    const Row rows[] = {
        {At(L"empty") + L";" + javapath + L";" + bin, javapath},
        {L"C:\\windows\\system32;" + javapath + L";" + At(L"old\\bin") + L";" + bin, javapath},
        {bin + L";" + javapath, L""},
        {At(L"JDK\\BIN\\") + L";" + javapath + L";" + bin, L""},
        {At(L"empty") + L";" + At(L"missing") + L";;  ;" + At(L"dirjava") + L";" + bin, L""},
        {referenced + L";" + bin, referenced},
        {L"%TAMRIVEL_UNSET%\\Common Files\\Oracle\\Java\\javapath;" + bin, L""},
        {L"\"" + At(L"old\\bin") + L"\";" + bin, L"\"" + At(L"old\\bin") + L"\""},
        {L"Common Files\\Oracle\\Java\\javapath;old\\bin;" + bin, L""},
        {At(L"empty") + L";" + korean + L";" + bin, korean},
        {At(L"empty") + L";" + javapath, javapath},
        {L"", L""},
    };
    // Relative entries never count, even when the current folder holds them.
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(m_root.c_str());
    for (const Row& row : rows)
        EXPECT_EQ(Narrow(row.shadowing), Narrow(FindShadowingJavaEntry(row.path, bin))) << Narrow(row.path);
    SetCurrentDirectoryW(previous);
}

TEST_F(PathTree, PuttingTheJdkFirstLeavesNothingShadowing)
{
    const std::wstring bin = At(L"jdk\\bin");
    const std::wstring korean = At(L"\xD55C\xAE00\\bin");
    const std::wstring javapath = At(L"Common Files\\Oracle\\Java\\javapath");
    const std::wstring rest = javapath + L";;%TAMRIVEL_ROOT%\\old\\bin;" + korean + L"; C:\\x ";
    struct Row {
        std::wstring path;
        std::wstring first;
    };
    const Row rows[] = {
        {rest + L";" + bin, bin + L";" + rest},
        {rest + L";" + bin + L";", bin + L";" + rest + L";"},
        {bin + L";" + rest + L";" + At(L"JDK\\bin\\") + L";%TAMRIVEL_ROOT%\\jdk\\bin", bin + L";" + rest},
        {rest, bin + L";" + rest},
        {bin, bin},
        {L"", bin},
    };
    for (const Row& row : rows) {
        const std::wstring first = PutEntryFirst(row.path, bin);
        EXPECT_EQ(Narrow(row.first), Narrow(first)) << Narrow(row.path);
        EXPECT_EQ(L"", FindShadowingJavaEntry(first, bin)) << Narrow(first);
    }
}

TEST(ComposePathW, AppendsTheBinUnlessAnEntryEqualsIt)
{
    const std::wstring korean = L"C:\\Program Files\\\xD55C\xAE00\\bin";
    const std::wstring bin = L"C:\\jdk\\bin";
    const std::pair<std::wstring, std::wstring> rows[] = {
        {korean, korean + L";" + bin},
        {korean + L";", korean + L";" + bin},
        {L"", L";" + bin},
        {korean + L";" + bin + L";D:\\x", korean + L";" + bin + L";D:\\x"},
        {L"c:\\jdk\\bin", L"c:\\jdk\\bin;" + bin},
        {L"C:\\jdk\\bin2", L"C:\\jdk\\bin2;" + bin},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Narrow(row.second), Narrow(ComposePathW(row.first, bin))) << Narrow(row.first);
    EXPECT_EQ(Narrow(korean), Narrow(ComposePathW(korean, L"")));
}

}  // namespace
