#include "EnvironmentComposition.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// Sets or clears a variable of this process for one test.
class ScopedProcessVariable {
public:
    ScopedProcessVariable(const char* name, const char* value) : m_name(name) { SetEnvironmentVariableA(name, value); }
    ~ScopedProcessVariable() { SetEnvironmentVariableA(m_name, nullptr); }
private:
    const char* m_name;
};

}  // namespace

TEST(ComposeClasspath, AutomaticPutsTheFolderIntoBothPlaceholders)
{
    EXPECT_EQ(ComposeClasspath(1, "C:\\jdk").str(), ".;C:\\jdk\\lib\\dt.jar;C:\\jdk\\lib\\tools.jar");
    EXPECT_EQ(ComposeClasspath(1, "C:\\jdk\\").str(), ".;C:\\jdk\\lib\\dt.jar;C:\\jdk\\lib\\tools.jar");
    // Only one trailing backslash goes; a drive root keeps its own.
    EXPECT_EQ(ComposeClasspath(1, "C:\\jdk\\\\").str(), ".;C:\\jdk\\\\lib\\dt.jar;C:\\jdk\\\\lib\\tools.jar");
    EXPECT_EQ(ComposeClasspath(1, "C:\\").str(), ".;C:\\\\lib\\dt.jar;C:\\\\lib\\tools.jar");
    EXPECT_EQ(ComposeClasspath(7, "D:\\Program Files\\Java\\jdk1.8").str(),
              ".;D:\\Program Files\\Java\\jdk1.8\\lib\\dt.jar;D:\\Program Files\\Java\\jdk1.8\\lib\\tools.jar");
}

TEST(ComposeClasspath, EmptyFolderKeepsTheTemplate)
{
    EXPECT_EQ(ComposeClasspath(1, "").str(), ".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar");
    EXPECT_EQ(ComposeClasspath(1, "").str(), ClasspathTemplate);
}

TEST(ComposeClasspath, DoubleByteFolderEndingInBackslashTrailByteIsKept)
{
    // 俓 is 0x81 0x5C in code page 936: its second byte is no backslash.
    ASSERT_EQ(GetACP(), 936u);
    const CString folder = "D:\\软件\\俓";
    ASSERT_EQ(static_cast<unsigned char>(folder[folder.GetLength() - 1]), 0x5C);
    EXPECT_EQ(ComposeClasspath(1, folder).str(), ".;" + folder + "\\lib\\dt.jar;" + folder + "\\lib\\tools.jar");
    EXPECT_EQ(ComposeClasspath(1, folder + "\\").str(), ComposeClasspath(1, folder));
}

TEST(ComposeClasspath, LongFolderIsNotTruncated)
{
    const CString folder = "C:\\" + CString('x', 6000);
    const CString classpath = ComposeClasspath(1, folder + "\\");
    EXPECT_EQ(classpath, ".;" + folder + "\\lib\\dt.jar;" + folder + "\\lib\\tools.jar");
}

TEST(ComposeClasspath, ManualModeAnswersTheInheritedValueWhateverTheFolder)
{
    {
        ScopedProcessVariable cp("CLASSPATH", ".;E:\\libs\\a.jar");
        EXPECT_EQ(ComposeClasspath(0, "C:\\jdk").str(), ".;E:\\libs\\a.jar");
        EXPECT_EQ(ComposeClasspath(0, "").str(), ".;E:\\libs\\a.jar");
    }
    {
        ScopedProcessVariable cp("CLASSPATH", nullptr);
        EXPECT_EQ(ComposeClasspath(0, "C:\\jdk").str(), "");
    }
    {
        const std::string longValue = ".;" + std::string(9000, 'y') + ".jar";
        ScopedProcessVariable cp("CLASSPATH", longValue.c_str());
        EXPECT_EQ(ComposeClasspath(0, "C:\\jdk").str(), longValue);
    }
}

TEST(ComposePath, AppendsTheBinFolderAfterOneSeparator)
{
    EXPECT_EQ(ComposePath("C:\\Windows;C:\\Windows\\system32", "C:\\jdk").str(), "C:\\Windows;C:\\Windows\\system32;C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("C:\\Windows;", "C:\\jdk").str(), "C:\\Windows;C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("", "C:\\jdk").str(), ";C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("C:\\Windows", "C:\\jdk\\").str(), "C:\\Windows;C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("C:\\Windows", "C:\\").str(), "C:\\Windows;C:\\bin");
}

TEST(ComposePath, AnEqualEntryAnywhereLeavesThePathUnchanged)
{
    for (const char* path : {"C:\\jdk\\bin", "C:\\jdk\\bin;C:\\Windows", "C:\\Windows;C:\\jdk\\bin;D:\\tools",
                             "C:\\Windows;C:\\jdk\\bin", "C:\\Windows;C:\\jdk\\bin;", ";;C:\\jdk\\bin;;"}) {
        EXPECT_EQ(ComposePath(path, "C:\\jdk").str(), path) << path;
        EXPECT_EQ(ComposePath(path, "C:\\jdk\\").str(), path) << path;
    }
}

TEST(ComposePath, OnlyWholeByteExactEntriesCount)
{
    // Longer entries that merely contain the bin folder do not hold it.
    EXPECT_EQ(ComposePath("C:\\jdk\\bin2", "C:\\jdk").str(), "C:\\jdk\\bin2;C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("C:\\Windows;C:\\jdk\\binaries", "C:\\jdk").str(), "C:\\Windows;C:\\jdk\\binaries;C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("X:\\C:\\jdk\\bin", "C:\\jdk").str(), "X:\\C:\\jdk\\bin;C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("c:\\jdk\\bin", "C:\\jdk").str(), "c:\\jdk\\bin;C:\\jdk\\bin");
    EXPECT_EQ(ComposePath("C:\\jdk\\bin\\", "C:\\jdk").str(), "C:\\jdk\\bin\\;C:\\jdk\\bin");
}

TEST(ComposePath, OnlyAFullFolderAddsItsBin)
{
    // Anything else would put a relative entry into the machine-wide PATH.
    for (const char* folder : {"", "   ", "\"\"", "d", "8ibz50", "y1e", "bin", "C:", "C:jdk", "jdk\\bin", "\\jdk",
                               "\\\\server", "C:\\jdk;D:\\x"}) {
        EXPECT_EQ(ComposePath("C:\\Windows;bin", folder).str(), "C:\\Windows;bin") << folder;
        EXPECT_EQ(ComposePath("", folder).str(), "") << folder;
    }
    // Surrounding spaces and quotes are not part of the folder.
    EXPECT_EQ(ComposePath("C:\\Windows", "  \"C:\\Program Files\\Java\\jdk-21\" ").str(),
              "C:\\Windows;C:\\Program Files\\Java\\jdk-21\\bin");
    EXPECT_EQ(ComposePath("C:\\Windows", "\\\\server\\share\\jdk").str(), "C:\\Windows;\\\\server\\share\\jdk\\bin");
    EXPECT_EQ(ComposePath("C:\\Windows", "D:\\").str(), "C:\\Windows;D:\\bin");
}

TEST(ComposeClasspath, RelativeFolderKeepsTheTemplateRulesAQuotedOneIsTrimmed)
{
    EXPECT_EQ(ComposeClasspath(1, "d").str(), ".;d\\lib\\dt.jar;d\\lib\\tools.jar");
    EXPECT_EQ(ComposeClasspath(1, " \"C:\\jdk\\\" ").str(), ".;C:\\jdk\\lib\\dt.jar;C:\\jdk\\lib\\tools.jar");
}

TEST(ComposePath, StartsFromTheRememberedPathEachTime)
{
    const CString remembered = "C:\\Windows";
    CString shown = ComposePath(remembered, "C:\\a");
    shown = ComposePath(remembered, "C:\\ab");
    EXPECT_EQ(shown.str(), "C:\\Windows;C:\\ab\\bin");
    EXPECT_EQ(remembered.str(), "C:\\Windows");
}

TEST(ComposePath, DoubleByteFoldersCompareByBytes)
{
    const CString folder = "D:\\软件\\俓";
    const CString bin = folder + "\\bin";
    EXPECT_EQ(ComposePath("C:\\Windows", folder).str(), "C:\\Windows;" + bin);
    EXPECT_EQ(ComposePath("C:\\Windows;" + bin, folder).str(), "C:\\Windows;" + bin);
}

TEST(ComposePath, LongRememberedPathIsKeptWhole)
{
    CString remembered;
    for (int i = 0; i < 400; ++i)
        remembered += "C:\\tools\\pkg" + CString(static_cast<char>('0' + i % 10)) + ";";
    remembered += "C:\\last";
    ASSERT_GT(remembered.GetLength(), 4096);
    EXPECT_EQ(ComposePath(remembered, "C:\\jdk").str(), remembered + ";C:\\jdk\\bin");
    const CString withJdk = remembered + ";C:\\jdk\\bin;C:\\tail";
    EXPECT_EQ(ComposePath(withJdk, "C:\\jdk").str(), withJdk);
}

TEST(ComposePath, FolderTooLongForThePathFunctionsIsRefused)
{
    // The joined "<folder>\bin" must fit MAX_PATH with its terminator.
    const CString longest = "C:\\" + CString('j', MAX_PATH - 1 - 4 - 3);
    CString bin;
    ASSERT_TRUE(ComposeJdkBinFolder(longest, bin));
    EXPECT_EQ(bin, longest + "\\bin");
    EXPECT_EQ(ComposePath("C:\\Windows", longest).str(), "C:\\Windows;" + longest + "\\bin");

    const CString tooLong = longest + "k";
    bin = "unchanged";
    EXPECT_FALSE(ComposeJdkBinFolder(tooLong, bin));
    EXPECT_EQ(bin.str(), "unchanged");
    EXPECT_EQ(ComposePath("C:\\Windows", tooLong).str(), "C:\\Windows");
    EXPECT_FALSE(ComposeJdkBinFolder("C:\\" + CString('z', 5000), bin));
    EXPECT_EQ(ComposePath("C:\\Windows", "C:\\" + CString('z', 5000)).str(), "C:\\Windows");
}
