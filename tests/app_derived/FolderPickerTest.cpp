// The picker inside this process: a second thread runs DoModal while the test answers
// the shell's browser from here.
#include "CFolderPickerDialog.h"
#include "AppUnderTest.h"
#include "Wait.h"
#include <gtest/gtest.h>
#include <thread>

namespace {

HWND FindBrowserOf(DWORD threadId)
{
    HWND found = nullptr;
    harness::WaitUntil([&] {
        EnumThreadWindows(threadId, [](HWND h, LPARAM lp) -> BOOL {
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (IsWindowVisible(h) && strcmp(cls, "#32770") == 0) {
                *reinterpret_cast<HWND*>(lp) = h;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&found));
        return found != nullptr;
    }, 10000);
    return found;
}

// Runs DoModal on its own thread and answers the browser with the given button.
INT_PTR RunAndAnswer(CFolderPickerDialog& picker, int button)
{
    INT_PTR result = -1;
    DWORD threadId = 0;
    std::thread runner([&] {
        threadId = GetCurrentThreadId();
        result = picker.DoModal();
    });
    harness::WaitUntil([&] { return threadId != 0; }, 5000);
    HWND browser = FindBrowserOf(threadId);
    EXPECT_TRUE(browser) << "no folder browser appeared";
    if (browser) {
        harness::PumpMessages(200);
        harness::AppUnderTest::Answer(browser, button);
    }
    runner.join();
    return result;
}

class FolderPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(MAX_PATH, m_saved);
        CreateDirectoryA(kFirst, nullptr);
        CreateDirectoryA(kSecond, nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(kFirst));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(m_saved);
        RemoveDirectoryA(kFirst);
        RemoveDirectoryA(kSecond);
    }
    static constexpr const char* kFirst = "C:\\tamrivel-picker-1";
    static constexpr const char* kSecond = "C:\\tamrivel-picker-2";
    char m_saved[MAX_PATH] = {};
};

TEST_F(FolderPickerTest, CancelAnswersCancelAndLeavesThePathEmpty)
{
    CFolderPickerDialog picker(nullptr);
    EXPECT_EQ(IDCANCEL, RunAndAnswer(picker, IDCANCEL));
    EXPECT_STREQ("", picker.m_szSelectedPath);
}

TEST_F(FolderPickerTest, OpensOnTheCurrentDirectoryThenOnTheLastChoice)
{
    CFolderPickerDialog picker(nullptr);
    ASSERT_EQ(IDOK, RunAndAnswer(picker, IDOK));
    EXPECT_STREQ(kFirst, picker.m_szSelectedPath);

    // A reused picker starts from its previous choice, not from the current directory.
    ASSERT_TRUE(SetCurrentDirectoryA(kSecond));
    EXPECT_EQ(IDCANCEL, RunAndAnswer(picker, IDCANCEL));
    EXPECT_STREQ(kFirst, picker.m_szSelectedPath) << "cancelling keeps the previous choice";
    ASSERT_EQ(IDOK, RunAndAnswer(picker, IDOK));
    EXPECT_STREQ(kFirst, picker.m_szSelectedPath);

    CFolderPickerDialog fresh(nullptr);
    ASSERT_EQ(IDOK, RunAndAnswer(fresh, IDOK));
    EXPECT_STREQ(kSecond, fresh.m_szSelectedPath);
}

}  // namespace
