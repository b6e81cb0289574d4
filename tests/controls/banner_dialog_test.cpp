// The real program: pointer moves and a click over the banner make waves that show on the screen, and
// with the rain stopped (test builds honour TAMRIVEL_TEST_NO_RAIN) the picture comes back at rest.
#include "AppUnderTest.h"
#include "TestWindows.h"

#include <gtest/gtest.h>

TEST(BannerInTheDialog, PointerAndClickDisturbThePictureThatReturnsAtRest) {
    HBITMAP file = static_cast<HBITMAP>(LoadImageA(nullptr, harness::SourcePath("resources\\art\\banner.bmp").c_str(),
                                                   IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(file, nullptr);
    const std::vector<uint32_t> whole = BitmapPixels(file);
    DeleteObject(file);

    harness::LaunchOptions options;
    options.environment["TAMRIVEL_TEST_NO_RAIN"] = "1";
    harness::AppUnderTest app(options);
    HWND dialog = app.Dialog();
    ASSERT_NE(dialog, nullptr);
    // On top and away from the corner where other test programs open their windows, so that the
    // pointer and the screen read-back meet this dialog only.
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, HWND_TOPMOST, GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left) - 30,
                 GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top) - 30, 0, 0, SWP_NOSIZE);
    PumpFor(100);
    HWND banner = app.Item(1000);
    ASSERT_NE(banner, nullptr);
    // The static takes the picture's size for its window, so its sunken edge hides the picture's
    // right and bottom border pixels: compare what the client area shows.
    RECT client;
    GetClientRect(banner, &client);
    const int w = client.right, h = client.bottom;
    ASSERT_GE(w, 180);
    ASSERT_LE(w, 204);
    ASSERT_GE(h, 180);
    ASSERT_LE(h, 208);
    std::vector<uint32_t> picture;
    for (int y = 0; y < h; ++y) picture.insert(picture.end(), whole.begin() + y * 204, whole.begin() + y * 204 + w);
    // Another process's window surface is not readable through its DC here; the screen is.
    POINT at = {0, 0};
    ClientToScreen(banner, &at);
    auto shown = [&] { return ReadWindowPixels(nullptr, w, h, at.x, at.y); };
    // The static's own first painting of the picture is not what is compared: under Wine it shows a
    // few stray lines. A first light touch makes the effect paint its frames over it.
    MouseMoveTo(at.x + 6, at.y + 6);
    PumpFor(30);
    ParkPointer();
    ASSERT_TRUE(PumpUntil([&] { return shown() == picture; }, 30000)) << "the banner did not settle on the picture";

    // The pointer gliding over the picture makes waves; then the water comes to rest again.
    for (int i = 0; i < 12; ++i) {
        MouseMoveTo(at.x + 30 + i * 5, at.y + 60 + (i % 4) * 3);
        PumpFor(15);
    }
    MouseMoveTo(at.x + 100, at.y + 150);
    ASSERT_TRUE(PumpUntil([&] { return shown() != picture; }, 3000)) << "pointer moves made no waves";
    ASSERT_TRUE(PumpUntil([&] { return shown() == picture; }, 60000)) << "the water never came to rest";

    // A click, the pointer still: the click's own stone disturbs the picture round its point.
    MouseButton(true);
    MouseButton(false);
    PumpFor(250);
    const std::vector<uint32_t> waves = shown();
    int changed = 0;
    for (int y = 130; y < 170; ++y)
        for (int x = 80; x < 120; ++x) changed += waves[size_t(y) * w + x] != picture[size_t(y) * w + x];
    EXPECT_GT(changed, 200);
    ParkPointer();
    EXPECT_TRUE(PumpUntil([&] { return shown() == picture; }, 60000)) << "the water never came to rest";
    app.CloseBox();
    EXPECT_TRUE(app.WaitForExit());
}
