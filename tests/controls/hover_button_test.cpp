// The hover button driven by real pointer input: pictures read back from the button's normal slot and
// from the screen, the number of leave requests, and the size after SizeToContent.
#include "CHoverBitmapButton.h"
#include "TestParent.h"

#include <gtest/gtest.h>
#include <commctrl.h>

namespace {

int g_trackCalls = 0;
BOOL(WINAPI* g_realTrack)(LPTRACKMOUSEEVENT) = nullptr;

BOOL WINAPI CountingTrack(LPTRACKMOUSEEVENT tme) {
    ++g_trackCalls;
    EXPECT_EQ(tme->dwFlags, DWORD(TME_LEAVE));
    EXPECT_EQ(tme->dwHoverTime, 0u);
    return g_realTrack(tme);
}

std::vector<uint32_t> Resource(UINT id) {
    HBITMAP bmp = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    std::vector<uint32_t> px = BitmapPixels(bmp);
    DeleteObject(bmp);
    return px;
}

// Columns [0, w) of a picture whose rows are 'stride' pixels wide.
std::vector<uint32_t> Columns(const std::vector<uint32_t>& px, int stride, int w) {
    std::vector<uint32_t> out;
    for (size_t row = 0; row < px.size() / stride; ++row)
        out.insert(out.end(), px.begin() + row * stride, px.begin() + row * stride + w);
    return out;
}

class TestButton : public CHoverBitmapButton {
public:
    HBITMAP Normal() const { return static_cast<HBITMAP>(m_bitmap.GetSafeHandle()); }
};

class HoverButton : public ::testing::Test {
protected:
    void SetUp() override {
        g_realTrack = reinterpret_cast<decltype(g_realTrack)>(
            PatchImport("comctl32.dll", "_TrackMouseEvent", reinterpret_cast<void*>(&CountingTrack)));
        ASSERT_NE(g_realTrack, nullptr) << "the controls call _TrackMouseEvent through comctl32";
        g_trackCalls = 0;
        ParkPointer();
        PumpFor(50);
        // A plain push button as in the dialog template, larger than the pictures.
        HWND hwnd = parent.AddChild("BUTTON", "", WS_TABSTOP, 1004, 40, 30, 29, 24);
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        button.SetHoverBitmaps(133, 131, 132, 0);
        button.SizeToContent();
        ::InvalidateRect(hwnd, nullptr, TRUE);
        PumpFor(50);
    }
    void TearDown() override {
        PatchImport("comctl32.dll", "_TrackMouseEvent", reinterpret_cast<void*>(g_realTrack));
        MouseButton(false);
        ParkPointer();
        PumpFor(30);
    }
    std::vector<uint32_t> OnScreen() { return ReadWindowPixels(button.m_hWnd, 23, 22); }

    TestParent parent;
    TestButton button;
    const std::vector<uint32_t> normal = Resource(133), hover = Resource(132), pressed = Resource(131);
};

}  // namespace

TEST_F(HoverButton, OwnerDrawnAndSizedToTheNormalPicture) {
    EXPECT_EQ(button.GetStyle() & 0x8B, 0x8Bu);
    RECT r;
    GetWindowRect(button.m_hWnd, &r);
    EXPECT_EQ(r.right - r.left, 23);
    EXPECT_EQ(r.bottom - r.top, 22);
    EXPECT_EQ(BitmapPixels(button.Normal()), normal);
    EXPECT_EQ(OnScreen(), normal);
}

// Whatever type the template gave, the button becomes owner-drawn and keeps the flags above the type.
TEST_F(HoverButton, AnyButtonTypeBecomesOwnerDrawn) {
    const DWORD types[] = {BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_CHECKBOX, BS_RADIOBUTTON, BS_GROUPBOX,
                           BS_AUTORADIOBUTTON};
    int id = 1100;
    for (DWORD type : types) {
        CHoverBitmapButton other;
        HWND hwnd = parent.AddChild("BUTTON", "", WS_TABSTOP | BS_NOTIFY | type, id++, 80, 30, 29, 24);
        ASSERT_TRUE(other.SubclassWindow(hwnd));
        const DWORD style = other.GetStyle();
        EXPECT_EQ(style & BS_TYPEMASK, DWORD(BS_OWNERDRAW)) << type;
        EXPECT_EQ(style & (BS_BITMAP | BS_NOTIFY), DWORD(BS_BITMAP | BS_NOTIFY)) << type;
        other.UnsubclassWindow();
        DestroyWindow(hwnd);
    }
}

TEST_F(HoverButton, EnterLeaveAndComeBack) {
    const POINT c = CentreOf(button.m_hWnd);
    MouseMoveTo(c.x, c.y);
    ASSERT_TRUE(PumpUntil([&] { return BitmapPixels(button.Normal()) == hover; }, 2000)) << "no hover picture";
    PumpFor(30);
    EXPECT_EQ(OnScreen(), hover);
    for (int i = 0; i < 8; ++i) {
        MouseMoveTo(c.x - 4 + i, c.y + (i % 3) - 1);
        PumpFor(15);
    }
    EXPECT_EQ(g_trackCalls, 1) << "one leave request however many moves";

    MouseMoveTo(c.x + 80, c.y + 60);
    ASSERT_TRUE(PumpUntil([&] { return BitmapPixels(button.Normal()) == normal; }, 3000)) << "never left";
    PumpFor(30);
    EXPECT_EQ(OnScreen(), normal);

    MouseMoveTo(c.x, c.y);
    ASSERT_TRUE(PumpUntil([&] { return BitmapPixels(button.Normal()) == hover; }, 2000));
    EXPECT_EQ(g_trackCalls, 2);
}

TEST_F(HoverButton, PressShowsThePressedPictureAndReleaseTheHoverOne) {
    const POINT c = CentreOf(button.m_hWnd);
    MouseMoveTo(c.x, c.y);
    ASSERT_TRUE(PumpUntil([&] { return BitmapPixels(button.Normal()) == hover; }, 2000));
    MouseButton(true);
    ASSERT_TRUE(PumpUntil([&] { return Columns(OnScreen(), 23, 21) == pressed; }, 2000))
        << "the pressed picture never showed";
    // The two columns the narrower picture does not cover continue its edge, not the hover picture.
    const std::vector<uint32_t> shown = OnScreen();
    for (int y = 0; y < 22; ++y) EXPECT_EQ(shown[size_t(y) * 23 + 22], pressed[size_t(y) * 21 + 20]) << y;
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([&] { return OnScreen() == hover; }, 2000)) << "release over the button shows hover";
    EXPECT_EQ(BitmapPixels(button.Normal()), hover);
}
