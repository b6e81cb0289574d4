// The program's own edit fields under its skin, as the screen shows them: the theme's edit border,
// the read-only CLASSPATH field (automatic on) in the read-only colours, and typing that still
// recomputes the derived fields without losing either look.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "AppUnderTest.h"
#include "Wait.h"

using harness::AppUnderTest;

namespace {

const int kJavaHome = 1003, kClasspath = 1005, kAuto = 1006, kPath = 1007;
// The program's theme (resources/theme/NormalSilver.ini): [Edit] BorderColor, [SysMetrics] Window
// and BtnFace (the dialog's brush, which read-only edits are drawn with).
const COLORREF kEditBorder = RGB(134, 139, 145);
const COLORREF kWindow = RGB(255, 255, 255);
const COLORREF kDialog = RGB(238, 238, 244);

COLORREF ScreenPixel(HWND hWnd, int x, int y) {
    RECT r{};
    GetWindowRect(hWnd, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.left + x, r.top + y);
    ReleaseDC(nullptr, screen);
    return c;
}

struct FieldLook {
    COLORREF left, top, right, bottom;  // the border, halfway along each side
    COLORREF inside[3];                 // just inside the border along the top
};

FieldLook LookOf(HWND field) {
    RECT r{};
    GetWindowRect(field, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    return FieldLook{ScreenPixel(field, 0, h / 2), ScreenPixel(field, w / 2, 0), ScreenPixel(field, w - 1, h / 2),
                     ScreenPixel(field, w / 2, h - 1),
                     {ScreenPixel(field, 1, 1), ScreenPixel(field, w / 2, 1), ScreenPixel(field, w - 2, 1)}};
}

void ExpectLook(HWND field, COLORREF inside, const char* what) {
    SCOPED_TRACE(what);
    const FieldLook look = LookOf(field);
    EXPECT_EQ(kEditBorder, look.left);
    EXPECT_EQ(kEditBorder, look.top);
    EXPECT_EQ(kEditBorder, look.right);
    EXPECT_EQ(kEditBorder, look.bottom);
    for (COLORREF c : look.inside) EXPECT_EQ(inside, c);
}

TEST(SkinEditApp, FieldsShowTheThemesBordersAndReadOnlyColoursWhileTypingRecomputes) {
    harness::LaunchOptions options;
    options.environment["JAVA_HOME"] = std::string("C:\\jdk");
    options.environment["CLASSPATH"] = std::nullopt;
    AppUnderTest app(options);
    HWND dialog = app.Dialog();
    ASSERT_TRUE(dialog);
    harness::PumpMessages(400);
    ASSERT_TRUE(app.IsChecked(kAuto));
    ASSERT_TRUE(app.IsReadOnly(kClasspath));

    ExpectLook(app.Item(kJavaHome), kWindow, "JAVA_HOME, writable");
    ExpectLook(app.Item(kClasspath), kDialog, "CLASSPATH, read-only while automatic");
    ExpectLook(app.Item(kPath), kWindow, "PATH, writable");

    const std::string classpathBefore = app.Text(kClasspath);
    SendMessageA(app.Item(kJavaHome), EM_SETSEL, 0, -1);
    app.Type(kJavaHome, "D:\\jdk17");
    EXPECT_EQ("D:\\jdk17", app.Text(kJavaHome));
    EXPECT_NE(classpathBefore, app.Text(kClasspath));
    EXPECT_NE(std::string::npos, app.Text(kClasspath).find("D:\\jdk17\\lib\\tools.jar"));
    EXPECT_NE(std::string::npos, app.Text(kPath).find("D:\\jdk17\\bin"));
    harness::PumpMessages(300);
    ExpectLook(app.Item(kJavaHome), kWindow, "JAVA_HOME after typing");
    ExpectLook(app.Item(kClasspath), kDialog, "CLASSPATH after recomputing");

    // Automatic off: CLASSPATH can be typed into and takes the writable colours.
    app.Click(kAuto);
    ASSERT_TRUE(harness::WaitUntil([&] { return !app.IsReadOnly(kClasspath); }, 5000));
    harness::PumpMessages(300);
    ExpectLook(app.Item(kClasspath), kWindow, "CLASSPATH, writable");

    app.Click(IDCANCEL);
    EXPECT_TRUE(app.WaitForExit(10000));
}

}  // namespace
