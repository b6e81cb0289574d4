// The real program: its dialog, a message box it shows and the folder browser each have a skin
// object while they live, and none once they are gone.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "AppUnderTest.h"
#include "Wait.h"

using harness::AppUnderTest;

namespace {

const int kJavaHome = 1003, kBrowse = 1004;
const UINT kSkinMapQuery = RegisterWindowMessageA("TAMRIVEL_TEST_SKINMAP");

// Asked through the main dialog's skin procedure: how many windows are attached (window 0), or
// whether a window is.
LRESULT AskSkinMap(HWND dialog, HWND about) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(dialog, kSkinMapQuery, reinterpret_cast<WPARAM>(about), 0, SMTO_ABORTIFHUNG, 5000, &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

HWND WaitForBrowser(AppUnderTest& app) {
    HWND browser = nullptr;
    harness::WaitUntil([&] {
        for (HWND h : app.OtherDialogs())
            if (AppUnderTest::StaticTexts(h).find("Select Directory:") != std::string::npos) browser = h;
        return browser != nullptr;
    }, 10000);
    return browser;
}

TEST(SkinApp, DialogMessageBoxAndFolderBrowserAreAttachedWhileTheyLive) {
    harness::LaunchOptions options;
    options.environment["JAVA_HOME"] = std::string("C:\\jdk");
    AppUnderTest app(options);
    HWND dialog = app.Dialog();
    ASSERT_TRUE(dialog);
    harness::PumpMessages(200);
    EXPECT_EQ(1, AskSkinMap(dialog, dialog));
    EXPECT_EQ(1, AskSkinMap(dialog, app.Item(kJavaHome)));
    const LRESULT settled = AskSkinMap(dialog, nullptr);
    EXPECT_GT(settled, 10);  // the dialog and its controls

    // A JAVA_HOME too long for PATH makes the dialog say so in a message box.
    std::thread typing([&] { app.SetText(kJavaHome, "C:\\" + std::string(300, 'j')); });
    HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(1, AskSkinMap(dialog, box));
    EXPECT_GT(AskSkinMap(dialog, nullptr), settled);
    AppUnderTest::Answer(box);
    typing.join();
    ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(box); }, 5000));
    EXPECT_EQ(0, AskSkinMap(dialog, box));
    EXPECT_EQ(settled, AskSkinMap(dialog, nullptr));

    app.Click(kBrowse);
    HWND browser = WaitForBrowser(app);
    ASSERT_TRUE(browser);
    harness::PumpMessages(300);
    EXPECT_EQ(1, AskSkinMap(dialog, browser));
    EXPECT_GT(AskSkinMap(dialog, nullptr), settled);
    AppUnderTest::Answer(browser, IDCANCEL);
    ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(browser); }, 5000));
    harness::PumpMessages(200);
    EXPECT_EQ(0, AskSkinMap(dialog, browser));
    EXPECT_EQ(settled, AskSkinMap(dialog, nullptr));

    app.Click(IDCANCEL);
    EXPECT_TRUE(app.WaitForExit(10000));
}

}  // namespace
