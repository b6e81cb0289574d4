// The real program as the user sees it: its dialog's frame, push buttons, check box and group box,
// and its success message box, read back from the screen and compared with this program's own
// drawing of the same theme parts; the close box clicked with the real pointer; focus cues after Tab.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "AppUnderTest.h"
#include "CSkinEngine.h"
#include "CSkinObjectFrame.h"
#include "Input.h"
#include "MachineEnvironment.h"
#include "SkinFrameGeometry.h"
#include "SkinGdi.h"
#include "Wait.h"

using harness::AppUnderTest;

namespace {

const int kJavaHome = 1003, kAuto = 1006;

// Pixels of one picture, top-down, as COLORREF.
struct Picture {
    int w = 0, h = 0;
    std::vector<COLORREF> px;
    COLORREF At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

Picture FromDc(int w, int h, const std::function<void(HDC)>& draw) {
    Picture p{w, h, {}};
    DWORD* bits = nullptr;
    skin::Bitmap bitmap(skin::CreateDib32(w, h, reinterpret_cast<void**>(&bits)));
    skin::MemoryDC dc(nullptr);
    dc.Select(bitmap.Get());
    draw(dc.Get());
    GdiFlush();
    for (int i = 0; i < w * h; ++i) p.px.push_back(RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF));
    return p;
}

Picture FromScreen(const RECT& r) {
    return FromDc(r.right - r.left, r.bottom - r.top, [&](HDC dc) {
        harness::CopyScreen(dc, r);
    });
}

// A theme part drawn over the dialog's face, as the program draws it.
Picture Part(const char* cls, int part, int state, int w, int h, const RECT& at) {
    const COLORREF face = CSkinEngine::Instance()->GetMetrics()->colors[COLOR_BTNFACE];
    return FromDc(w, h, [&](HDC dc) {
        skin::FillSolid(dc, RECT{0, 0, w, h}, face);
        CSkinEngine::Instance()->GetThemeClass(nullptr, cls)->DrawThemeBackground(dc, part, state, at);
    });
}

// Pixels of r that differ by more than the rounding of the two ways a see-through picture is blended
// (into a section's pixels here, into the window's device there).
int Differ(const Picture& a, const Picture& b, const RECT& r) {
    auto off = [](COLORREF p, COLORREF q, int shift) { return std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)); };
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF p = a.At(x, y), q = b.At(x, y);
            n += off(p, q, 0) > 2 || off(p, q, 8) > 2 || off(p, q, 16) > 2;
        }
    return n;
}

// The needle appears somewhere in the haystack, pixel for pixel.
bool Contains(const Picture& hay, const Picture& needle) {
    for (int y = 0; y + needle.h <= hay.h; ++y)
        for (int x = 0; x + needle.w <= hay.w; ++x) {
            bool same = true;
            for (int j = 0; j < needle.h && same; ++j)
                for (int i = 0; i < needle.w && same; ++i) same = hay.At(x + i, y + j) == needle.At(i, j);
            if (same) return true;
        }
    return false;
}

// What of a drawing differs from the plain face: the smallest rectangle around it, cut out.
Picture Trimmed(const Picture& p, COLORREF ground) {
    RECT box{p.w, p.h, 0, 0};
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            if (p.At(x, y) != ground) {
                box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    Picture out{std::max<int>(0, box.right - box.left), std::max<int>(0, box.bottom - box.top), {}};
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) out.px.push_back(p.At(x, y));
    return out;
}

RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

skin::FrameBorders BordersOf(HWND h) {
    return skin::CalcFrameBorders(static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)),
                                  static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE)),
                                  CSkinObjectFrame::FrameMetricsFrom(CSkinEngine::Instance()->GetMetrics()), false, 0);
}

// The frame of a captioned window on screen: borders whole, the caption's background where neither title
// nor buttons are (between fromX and toX, as fractions of the width).
void ExpectThemedFrame(HWND window, double fromX, double toX) {
    const RECT wr = WindowRect(window);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const skin::FrameBorders b = BordersOf(window);
    const Picture shown = FromScreen(wr);
    const RECT left{0, b.top, b.left, h - b.bottom}, right{w - b.right, b.top, w, h - b.bottom};
    const RECT bottom{12, h - b.bottom, w - 12, h}, caption{static_cast<LONG>(w * fromX), 0, static_cast<LONG>(w * toX), b.top};
    EXPECT_EQ(0, Differ(shown, Part("WINDOW", 7, 1, w, h, RECT{0, b.top, b.left, h - b.bottom}), left));
    EXPECT_EQ(0, Differ(shown, Part("WINDOW", 8, 1, w, h, RECT{w - b.right, b.top, w, h - b.bottom}), right));
    EXPECT_EQ(0, Differ(shown, Part("WINDOW", 9, 1, w, h, RECT{0, h - b.bottom, w, h}), bottom));
    EXPECT_EQ(0, Differ(shown, Part("WINDOW", 1, 1, w, h, RECT{0, 0, w, b.top}), caption)) << "active caption";
}

// The top line of a focus rectangle: a row near the top edge whose pixels alternate along its middle,
// which no smooth button face does.
bool HasDottedRow(const Picture& p) {
    for (int y = 1; y < std::min(p.h, 7); ++y) {
        int changes = 0;
        for (int x = 6; x + 7 < p.w; ++x) changes += p.At(x, y) != p.At(x + 1, y);
        if (changes >= (p.w - 13) * 3 / 4) return true;
    }
    return false;
}

HWND FocusOf(AppUnderTest& app) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(app.ThreadId(), &info) ? info.hwndFocus : nullptr;
}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found;
    } s{&match, nullptr};
    EnumChildWindows(parent, [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if ((*s->match)(h)) {
            s->found = h;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void PointerTo(POINT p) {
    harness::SendPointerMove(p);
    harness::PumpMessages(150);
}

void LeftButton(bool down) {
    harness::SendLeftButton(down);
    harness::PumpMessages(150);
}

class FaceApp : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        ASSERT_TRUE(CSkinEngine::Instance()->LoadSkin(path, nullptr));
    }
    void SetUp() override {
        PointerTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5});
        options.environment["JAVA_HOME"] = std::string("C:\\jdk");
        options.environment["TAMRIVEL_TEST_NO_RAIN"] = std::string("1");
    }
    // The dialog up, in front and settled. Without a window manager the system activates a new window
    // before it makes it the foreground window, and tells it it is inactive: the user's way out, a click
    // elsewhere and back, is played here.
    HWND Show(AppUnderTest& app) {
        const HWND dialog = app.Dialog();
        if (!dialog) return nullptr;
        harness::PumpMessages(300);
        const HWND elsewhere = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 700, 600, 50, 50, nullptr,
                                               nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(elsewhere);
        harness::PumpMessages(200);
        SetForegroundWindow(dialog);
        harness::PumpMessages(400);
        DestroyWindow(elsewhere);
        harness::PumpMessages(200);
        return dialog;
    }
    harness::MachineEnvironmentGuard guard;
    harness::LaunchOptions options;
};

TEST_F(FaceApp, DialogFrameButtonsCheckBoxAndGroupBoxAreThemed) {
    AppUnderTest app(options);
    const HWND dialog = Show(app);
    ASSERT_TRUE(dialog);
    ExpectThemedFrame(dialog, 0.4, 0.6);
    // The focus in the first field: OK is the default button without the focus.
    app.Focus(kJavaHome);
    harness::PumpMessages(300);

    // OK is the default button, Cancel a plain one: their edges are the theme's (the text sits inside).
    const struct {
        int id, state;
    } buttons[] = {{IDOK, 5}, {IDCANCEL, 1}};
    for (const auto& button : buttons) {
        const RECT r = WindowRect(app.Item(button.id));
        const int w = r.right - r.left, h = r.bottom - r.top;
        const Picture shown = FromScreen(r), theme = Part("BUTTON", 1, button.state, w, h, RECT{0, 0, w, h});
        // The see-through corners show what lies behind the button; the edges between them are the theme's.
        for (const RECT& edge : {RECT{5, 0, w - 5, 3}, RECT{5, h - 3, w - 5, h}, RECT{0, 5, 3, h - 5}, RECT{w - 3, 5, w, h - 5}})
            EXPECT_EQ(0, Differ(shown, theme, edge)) << "button " << button.id;
    }

    // The checked check box shows the theme's checked glyph.
    const RECT box = WindowRect(app.Item(kAuto));
    const COLORREF face = CSkinEngine::Instance()->GetMetrics()->colors[COLOR_BTNFACE];
    const Picture glyph = Trimmed(Part("BUTTON", 3, 5, 40, 40, RECT{0, 0, 40, 40}), face);
    ASSERT_GT(glyph.w, 4);
    EXPECT_TRUE(Contains(FromScreen(box), glyph)) << "no " << glyph.w << "x" << glyph.h << " checked glyph";

    // The group box's frame: its bottom and left edges lie where the title cannot reach.
    const HWND group = FindChild(dialog, [](HWND h) {
        return (GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && AppUnderTest::WindowText(h).size() > 0;
    });
    ASSERT_TRUE(group);
    const RECT g = WindowRect(group);
    const int gw = g.right - g.left, gh = g.bottom - g.top;
    const Picture shown = FromScreen(g), theme = Part("BUTTON", 4, 1, gw, gh, RECT{0, gh / 4, gw, gh});
    EXPECT_EQ(0, Differ(shown, theme, RECT{8, gh - 3, gw - 8, gh}));
    EXPECT_EQ(0, Differ(shown, theme, RECT{0, gh / 2, 3, gh - 8}));
}

TEST_F(FaceApp, SuccessMessageBoxIsThemed) {
    AppUnderTest app(options);
    ASSERT_TRUE(Show(app));
    app.Click(IDOK);
    const HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    SetForegroundWindow(box);
    harness::PumpMessages(600);
    ExpectThemedFrame(box, 0.55, 0.7);
    AppUnderTest::Answer(box);
    EXPECT_TRUE(app.WaitForExit(10000));
}

// The skin's close box, clicked with the real pointer, cancels: the program ends and writes nothing.
TEST_F(FaceApp, CloseBoxClickedWithThePointerCancels) {
    const auto before = harness::MachineEnvironment::Get("JAVA_HOME");
    AppUnderTest app(options);
    const HWND dialog = Show(app);
    ASSERT_TRUE(dialog);
    app.SetText(kJavaHome, "C:\\other");
    const RECT wr = WindowRect(dialog);
    const int row = wr.top + BordersOf(dialog).top / 2;
    POINT close{-1, -1};
    for (int x = wr.right - 1; x > wr.right - 80 && close.x < 0; --x) {
        DWORD_PTR hit = 0;
        SendMessageTimeoutA(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, row), SMTO_ABORTIFHUNG, 2000, &hit);
        if (hit == HTCLOSE) close = POINT{x - 4, row};
    }
    ASSERT_GE(close.x, 0) << "no close box on the caption";
    PointerTo(close);
    LeftButton(true);
    LeftButton(false);
    ASSERT_TRUE(app.WaitForExit(10000));
    const auto after = harness::MachineEnvironment::Get("JAVA_HOME");
    EXPECT_EQ(before.has_value(), after.has_value());
    if (before && after) {
        EXPECT_TRUE(before->data == after->data);
    }
}

// Focus cues stay hidden until the keyboard is used: after Tab the focused push button shows one.
TEST_F(FaceApp, FocusCueAppearsAfterTab) {
    AppUnderTest app(options);
    const HWND dialog = Show(app);
    ASSERT_TRUE(dialog);
    const HWND cancel = app.Item(IDCANCEL);
    const RECT r = WindowRect(cancel);
    const Picture before = FromScreen(r);
    for (int i = 0; i < 20 && FocusOf(app) != cancel; ++i) {
        app.PressKey(VK_TAB);
        harness::PumpMessages(100);
    }
    ASSERT_EQ(cancel, FocusOf(app)) << "Tab never reached Cancel";
    harness::PumpMessages(300);
    const Picture after = FromScreen(r);
    EXPECT_FALSE(HasDottedRow(before)) << "a cue before the keyboard was used";
    EXPECT_TRUE(HasDottedRow(after)) << "no focus cue after Tab";
}

}  // namespace
