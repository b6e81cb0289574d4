// Runs in a prefix of its own with A:, B:, D: and E: mapped to empty folders; each case
// builds its folder trees through the drive letters and removes them afterwards.
#include "JdkLocator.h"
#include "FileTree.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {


// Folders (and files, for names given to File) made for one case, gone at its end.
class Trees {
public:
    ~Trees()
    {
        for (auto it = m_roots.rbegin(); it != m_roots.rend(); ++it)
            harness::RemoveTree(*it);
    }
    Trees& Folder(const std::string& path)
    {
        MakeParents(path);
        CreateDirectoryA(path.c_str(), nullptr);
        EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << path;
        return *this;
    }
    Trees& File(const std::string& path)
    {
        MakeParents(path);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << path;
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        return *this;
    }
private:
    void MakeParents(const std::string& path)
    {
        // Every folder below the drive root that did not exist yet is ours to remove.
        for (size_t pos = 3; (pos = path.find('\\', pos)) != std::string::npos; ++pos) {
            const std::string parent = path.substr(0, pos);
            if (GetFileAttributesA(parent.c_str()) == INVALID_FILE_ATTRIBUTES) {
                CreateDirectoryA(parent.c_str(), nullptr);
                m_roots.push_back(parent);
            }
        }
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            m_roots.push_back(path);
    }
    std::vector<std::string> m_roots;
};

class JdkLocatorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const char* root : {"A:\\", "B:\\", "C:\\", "D:\\", "E:\\"})
            ASSERT_NE(GetDriveTypeA(root), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << root << " is not mapped";
    }
    void SetUp() override { ASSERT_EQ(FindJdkHome().str(), "") << "the prefix must start without any JDK"; }
};

TEST_F(JdkLocatorTest, NothingAnywhereGivesEmpty)
{
    Trees t;
    t.Folder("C:\\Java\\openjdk8").Folder("D:\\Program Files\\Java\\jre1.8").Folder("E:\\Java");
    EXPECT_EQ(FindJdkHome().str(), "");
}

TEST_F(JdkLocatorTest, LowerDriveWinsOverPatternOrder)
{
    {
        Trees t;
        t.Folder("C:\\Java\\jdk1.6").Folder("D:\\Program Files\\Java\\jdk1.8");
        EXPECT_EQ(FindJdkHome().str(), "C:\\Java\\jdk1.6");
    }
    {
        Trees t;
        t.Folder("E:\\Java\\jdk9").Folder("D:\\Program Files (x86)\\Java\\jdk1.5");
        EXPECT_EQ(FindJdkHome().str(), "D:\\Program Files (x86)\\Java\\jdk1.5");
    }
}

TEST_F(JdkLocatorTest, PatternOrderWinsOnOneDrive)
{
    {
        Trees t;
        t.Folder("C:\\Program Files\\Java\\jdk1.7").Folder("C:\\Java\\jdk1.8");
        EXPECT_EQ(FindJdkHome().str(), "C:\\Java\\jdk1.8");
    }
    {
        Trees t;
        t.Folder("D:\\Program Files (x86)\\Java\\jdk1.8").Folder("D:\\Program Files\\Java\\jdk1.6");
        EXPECT_EQ(FindJdkHome().str(), "D:\\Program Files\\Java\\jdk1.6");
    }
}

TEST_F(JdkLocatorTest, OnlyTheFirstListedEntryOfAPatternCounts)
{
    {
        Trees t;
        t.Folder("C:\\Program Files\\Java\\jdk1.7.0_25").Folder("C:\\Program Files\\Java\\jdk1.6.0_45");
        EXPECT_EQ(FindJdkHome().str(), "C:\\Program Files\\Java\\jdk1.6.0_45");
    }
    {
        // jdk-setup.exe is listed before jdk1.8, so the first pattern fails on C:.
        Trees t;
        t.File("C:\\Java\\jdk-setup.exe").Folder("C:\\Java\\jdk1.8").Folder("C:\\Program Files\\Java\\jdk1.7");
        EXPECT_EQ(FindJdkHome().str(), "C:\\Program Files\\Java\\jdk1.7");
    }
    {
        Trees t;
        t.File("C:\\Java\\jdk-setup.exe").Folder("C:\\Java\\jdk1.8");
        EXPECT_EQ(FindJdkHome().str(), "");
    }
    {
        Trees t;
        t.File("C:\\Java\\jdk-setup.exe").Folder("C:\\Java\\jdk1.8").Folder("D:\\Java\\jdk1.9");
        EXPECT_EQ(FindJdkHome().str(), "D:\\Java\\jdk1.9");
    }
}

TEST_F(JdkLocatorTest, OnlyDriveDHoldingOne)
{
    Trees t;
    t.Folder("D:\\Program Files (x86)\\Java\\jdk1.6.0_10");
    EXPECT_EQ(FindJdkHome().str(), "D:\\Program Files (x86)\\Java\\jdk1.6.0_10");
}

TEST_F(JdkLocatorTest, NamesMatchWithoutRegardToCase)
{
    Trees t;
    t.Folder("D:\\Java\\JDK-17");
    EXPECT_EQ(FindJdkHome().str(), "D:\\Java\\JDK-17");
}

TEST_F(JdkLocatorTest, DrivesAAndBAreNeverProbed)
{
    {
        Trees t;
        t.Folder("A:\\Java\\jdk1.4").Folder("B:\\Program Files\\Java\\jdk1.5");
        EXPECT_EQ(FindJdkHome().str(), "");
    }
    {
        Trees t;
        t.Folder("A:\\Java\\jdk1.4").Folder("B:\\Java\\jdk1.5").Folder("E:\\Program Files\\Java\\jdk11");
        EXPECT_EQ(FindJdkHome().str(), "E:\\Program Files\\Java\\jdk11");
    }
}

}  // namespace
