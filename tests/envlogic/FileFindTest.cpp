// Full paths of found entries below a folder whose name ends in a double-byte character
// with the trail byte 0x5C.
#include "CFileFind.h"
#include <gtest/gtest.h>
#include <string>

TEST(CFileFind, JoinsAfterADoubleByteTrailBackslash)
{
    ASSERT_EQ(GetACP(), 936u);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "tamrivel-find-" + std::to_string(GetCurrentProcessId());
    const std::string folders[] = {root + "\\\x81\x5c", root + "\\plain", root + "\\\x81\x5c\\\xc8\xed\x81\x5c"};
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    for (const std::string& folder : folders) {
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        HANDLE h = CreateFileA((folder + "\\a.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    for (const std::string& folder : folders) {
        CFileFind finder;
        ASSERT_TRUE(finder.FindFile((folder + "\\*.txt").c_str())) << folder;
        finder.FindNextFile();
        EXPECT_EQ(folder, finder.GetRoot().str());
        EXPECT_EQ(folder + "\\a.txt", finder.GetFilePath().str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(finder.GetFilePath()));
    }
    {
        // A root that ends in a real backslash gets no second one.
        CFileFind finder;
        ASSERT_TRUE(finder.FindFile("C:\\*"));
        finder.FindNextFile();
        EXPECT_EQ("C:\\" + finder.GetFileName().str(), finder.GetFilePath().str());
    }
    for (auto it = std::rbegin(folders); it != std::rend(folders); ++it) {
        DeleteFileA((*it + "\\a.txt").c_str());
        RemoveDirectoryA(it->c_str());
    }
    RemoveDirectoryA(root.c_str());
}
