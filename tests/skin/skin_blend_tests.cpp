// Alpha pictures blended into a destination's own pixels must be indistinguishable from the
// system's blend: the pure blend against the system on every alpha, the runs that need blending,
// and whole draws into every kind of destination, with direct blending on and off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "SkinBlend.h"
#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skintest;
using namespace skin;

namespace {

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

// The system's blend of src over dst, both w x h top-down, one call.
std::vector<uint32_t> SystemBlend(const std::vector<uint32_t>& dst, const std::vector<uint32_t>& src, int w, int h) {
    void *sb = nullptr, *db = nullptr;
    HBITMAP s = CreateDib32(w, h, &sb), d = CreateDib32(w, h, &db);
    std::memcpy(sb, src.data(), src.size() * 4);
    std::memcpy(db, dst.data(), dst.size() * 4);
    HDC sdc = CreateCompatibleDC(nullptr), ddc = CreateCompatibleDC(nullptr);
    HGDIOBJ so = SelectObject(sdc, s), dso = SelectObject(ddc, d);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(ddc, 0, 0, w, h, sdc, 0, 0, w, h, bf));
    GdiFlush();
    std::vector<uint32_t> out(static_cast<uint32_t*>(db), static_cast<uint32_t*>(db) + dst.size());
    SelectObject(sdc, so);
    SelectObject(ddc, dso);
    DeleteDC(sdc);
    DeleteDC(ddc);
    DeleteObject(s);
    DeleteObject(d);
    return out;
}

}  // namespace

TEST(SkinBlend, EqualsTheSystemBlendForEveryAlphaAndDestinationValue) {
    // 256 alphas across, 256 destination values down; each pass a different source pattern.
    const int W = 256, H = 256;
    std::vector<uint32_t> src(W * H), dst(W * H);
    for (int pass = 0; pass < 10; ++pass) {
        const bool straight = pass >= 7;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const uint32_t a = x, d = y, p = pass;
                uint32_t c[3] = {(p * 97 + d * 5) & 0xFF, (p * 31 + 255 - d) & 0xFF, (p * 57 + d * 3) & 0xFF};
                for (uint32_t& v : c)
                    if (!straight) v = pass == 0 ? a : v * a / 255;  // pass 0: channels equal to alpha
                src[y * W + x] = Argb(a, c[2], c[1], c[0]);
                dst[y * W + x] = Argb((d * 7 + p) & 0xFF, 255 - d, (d * 3) & 0xFF, d);
            }
        const std::vector<uint32_t> expected = SystemBlend(dst, src, W, H);
        for (int i = 0; i < W * H; ++i)
            ASSERT_EQ(expected[i], BlendOver(dst[i], src[i]))
                << std::hex << "dst " << dst[i] << " src " << src[i] << (straight ? " straight" : "");
    }
    // Worked values: half-covered grey over white rounds to nearest; clear keeps, opaque replaces.
    EXPECT_EQ(0xFFBFBFBFu, BlendOver(0xFFFFFFFFu, 0x80404040u));  // 0x40 + round(255 * 127 / 255)
    EXPECT_EQ(0x12345678u, BlendOver(0x12345678u, 0));
    EXPECT_EQ(0xFF010203u, BlendOver(0x12345678u, 0xFF010203u));
    EXPECT_TRUE(CSkinImage::EngineBlendingMatchesSystem());
}

TEST(SkinBlend, RunsCoverEverySeeThroughPixelAndPicturesBlendOnlyThere) {
    // 20 x 6: clear corners, a soft left column, a half-clear pixel mid top row, two close ones joined.
    const int W = 20, H = 6;
    std::vector<uint32_t> px(W * H, Argb(255, 90, 80, 70));
    px[0] = px[W - 1] = px[(H - 1) * W] = px[H * W - 1] = 0;
    for (int y = 1; y < H - 1; ++y) px[y * W] = Argb(100, 40, 30, 20);
    px[10] = Argb(128, 60, 50, 40);
    px[2 * W + 12] = px[2 * W + 16] = Argb(10, 1, 1, 1);
    BlendRuns runs = FindBlendRuns(px.data(), W, H);
    ASSERT_EQ(static_cast<size_t>(H + 1), runs.rowStart.size());
    auto rowRuns = [&](int y) {
        std::vector<std::pair<int, int>> r;
        for (int i = runs.rowStart[y]; i < runs.rowStart[y + 1]; ++i) r.emplace_back(runs.runs[i].x0, runs.runs[i].x1);
        return r;
    };
    using R = std::vector<std::pair<int, int>>;
    EXPECT_EQ((R{{0, 1}, {10, 11}, {19, 20}}), rowRuns(0));
    EXPECT_EQ((R{{0, 1}}), rowRuns(1));
    EXPECT_EQ((R{{0, 1}, {12, 17}}), rowRuns(2));  // 12 and 16 are close enough to share a run
    EXPECT_EQ((R{{0, 1}, {19, 20}}), rowRuns(5));
    EXPECT_FALSE(runs.straight);
    std::vector<uint32_t> opaque(W * H, Argb(255, 1, 2, 3));
    EXPECT_FALSE(FindBlendRuns(opaque.data(), W, H).any());
    std::vector<uint32_t> straight{Argb(100, 200, 0, 0)};
    EXPECT_TRUE(FindBlendRuns(straight.data(), 1, 1).straight);

    // Into a larger bottom-up buffer at (3, 2): every pixel of the picture as BlendOver gives, nothing else touched.
    const int BW = 30, BH = 10;
    std::vector<uint32_t> buffer(BW * BH), before;
    for (int i = 0; i < BW * BH; ++i) buffer[i] = 0x01010101u * static_cast<uint32_t>(i % 251) ^ 0x00FF00FFu;
    before = buffer;
    const intptr_t stride = BW * 4;
    uint8_t* firstRow = reinterpret_cast<uint8_t*>(buffer.data()) + stride * (BH - 1 - 2) + 3 * 4;  // top row of the picture
    BlendPicture(firstRow, -stride, px.data(), W, 0, H, runs);
    for (int by = 0; by < BH; ++by)
        for (int bx = 0; bx < BW; ++bx) {
            const int y = BH - 1 - by - 2, x = bx - 3;  // picture row shown by buffer row by
            const uint32_t was = before[by * BW + bx], now = buffer[by * BW + bx];
            if (x < 0 || x >= W || y < 0 || y >= H)
                ASSERT_EQ(was, now) << bx << "," << by;
            else
                ASSERT_EQ(BlendOver(was, px[y * W + x]), now) << x << "," << y;
        }
}

namespace {

// A destination: a bitmap of some kind in a memory context, prepared by setup, its pixels read back
// as 32-bit top-down values.
struct Destination {
    const char* name;
    enum Kind { Section32, SectionBottomUp32, Section24, Section16, SectionFields, Compatible } kind;
    int width, height;
    RECT rect;                          // drawn rectangle, logical
    std::function<void(HDC)> setup;     // mapping, layout, clipping
    enum Path { System, Staged, Section } path;  // who is expected to blend
    bool uniform = false;                        // background of one colour
};

std::vector<uint32_t> Background(int w, int h, bool uniform = false) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h, Argb(0, 200, 30, 30));
    if (uniform) return px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[static_cast<size_t>(y) * w + x] =
                Argb((x * 29 + y * 3) & 0xFF, (x * 11 + y * 17) & 0xFF, (255 - x * 5 + y * 7) & 0xFF, (x * y + 40) & 0xFF);
    return px;
}

BITMAPINFO Info32(int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

std::vector<uint32_t> DrawInto(const Destination& d, CSkinClassTheme* theme, int part, int state) {
    HBITMAP bmp = nullptr;
    if (d.kind == Destination::Compatible) {
        HDC screen = GetDC(nullptr);
        bmp = CreateCompatibleBitmap(screen, d.width, d.height);
        ReleaseDC(nullptr, screen);
    } else if (d.kind == Destination::SectionFields) {
        // 32 bits as ten bits of red, green and blue.
        struct {
            BITMAPINFOHEADER h;
            DWORD masks[3];
        } bf = {Info32(d.width, d.height).bmiHeader, {0x3FF00000u, 0x000FFC00u, 0x000003FFu}};
        bf.h.biCompression = BI_BITFIELDS;
        void* bits = nullptr;
        bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bf), DIB_RGB_COLORS, &bits, nullptr, 0);
    } else {
        BITMAPINFO bi = Info32(d.width, d.height);
        if (d.kind == Destination::SectionBottomUp32) bi.bmiHeader.biHeight = d.height;
        if (d.kind == Destination::Section24) bi.bmiHeader.biBitCount = 24;
        if (d.kind == Destination::Section16) bi.bmiHeader.biBitCount = 16;
        void* bits = nullptr;
        bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    EXPECT_TRUE(bmp) << d.name;
    if (!bmp) return {};
    std::vector<uint32_t> px = Background(d.width, d.height, d.uniform);
    BITMAPINFO bi = Info32(d.width, d.height);
    HDC screen = GetDC(nullptr);
    SetDIBits(screen, bmp, 0, d.height, px.data(), &bi, DIB_RGB_COLORS);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    if (d.setup) d.setup(dc);
    EXPECT_TRUE(theme->DrawThemeBackground(dc, part, state, d.rect)) << d.name;
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(d.height, GetDIBits(screen, bmp, 0, d.height, px.data(), &bi, DIB_RGB_COLORS)) << d.name;
    ReleaseDC(nullptr, screen);
    DeleteObject(bmp);
    return px;
}

// Soft edges everywhere: clear corners, half-clear top and bottom rows, two see-through columns on
// either side all the way down, a gradient face; every alpha level appears somewhere.
std::string SoftEdgedPng(int n) {
    std::vector<uint32_t> px(static_cast<size_t>(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            uint32_t a = 255;
            const int ex = std::min(x, n - 1 - x), ey = std::min(y, n - 1 - y);
            if (ex == 0 && ey == 0) a = 0;
            else if (ey == 0) a = 40 + (x * 23) % 200;
            else if (ex == 0) a = 90 + (y * 13) % 120;
            else if (ex == 1) a = 180 + y % 60;
            else if (ey == 1 && ex < 4) a = (x * 71 + y * 31) & 0xFF;
            px[static_cast<size_t>(y) * n + x] = Argb(a, 30 + x * 12, 200 - y * 9, (x * y * 5) & 0xFF);
        }
    return EncodePng(n, n, px, true);
}

}  // namespace

TEST(SkinBlend, EngineAndSystemBlendingGiveIdenticalPixelsOnEveryDestination) {
    TempDir dir;
    dir.Write("SOFT.PNG", SoftEdgedPng(12));
    const std::string text =
        "[Button.PushButton]\nImageFile = SOFT.PNG\nSizingMargins = 4, 4, 4, 4\n"
        "[Button.CheckBox]\nImageFile = SOFT.PNG\nSizingMargins = 4, 4, 4, 4\nSizingType = Tile\n"
        "[Button.RadioButton]\nImageFile = SOFT.PNG\n";
    auto noTransform = [](HDC) {};
    using D = Destination;
    const std::vector<Destination> dests = {
        {"32-bit top-down section", D::Section32, 90, 40, {5, 7, 80, 30}, noTransform, D::Section},
        {"32-bit bottom-up section", D::SectionBottomUp32, 90, 40, {5, 7, 80, 30}, noTransform, D::Section},
        {"whole section", D::Section32, 75, 23, {0, 0, 75, 23}, noTransform, D::Section},
        {"moved origins", D::SectionBottomUp32, 90, 40, {-10, 0, 65, 23},
         [](HDC dc) {
             SetViewportOrgEx(dc, 20, 9, nullptr);
             SetWindowOrgEx(dc, -3, 2, nullptr);
         },
         D::Section},
        // One colour reads the same both ways up: the rows' order stays unknown, so read back.
        {"uniform top-down section", D::Section32, 90, 40, {5, 7, 80, 30}, noTransform, D::Staged, true},
        {"uniform bottom-up section", D::SectionBottomUp32, 90, 40, {5, 7, 80, 30}, noTransform, D::Staged, true},
        {"compatible bitmap", D::Compatible, 90, 40, {5, 7, 80, 30}, noTransform, D::Staged},
        {"clipped context", D::Section32, 90, 40, {5, 7, 80, 30},
         [](HDC dc) { ExcludeClipRect(dc, 30, 10, 50, 20); }, D::Staged},
        {"24-bit section", D::Section24, 90, 40, {5, 7, 80, 30}, noTransform, D::Staged},
        {"16-bit section", D::Section16, 90, 40, {5, 7, 80, 30}, noTransform, D::System},
        {"10-bit channel section", D::SectionFields, 90, 40, {5, 7, 80, 30}, noTransform, D::System},
        {"mirrored context", D::Section32, 90, 40, {5, 7, 80, 30}, [](HDC dc) { SetLayout(dc, LAYOUT_RTL); },
         D::System},
        {"partly outside the bitmap", D::Section32, 60, 20, {-6, -4, 69, 19}, noTransform, D::System},
        {"scaled mapping", D::Section32, 90, 40, {5, 7, 80, 30},
         [](HDC dc) {
             SetMapMode(dc, MM_ANISOTROPIC);
             SetWindowExtEx(dc, 2, 2, nullptr);
             SetViewportExtEx(dc, 1, 1, nullptr);
         },
         D::System},
    };
    for (const char* documentation : {"", "[Documentation]\nAlphaLevel = 255\n"}) {  // premultiplied, then straight
        auto schema = SchemaFromText(documentation + text, dir.Path());
        CSkinClassTheme* theme = schema->GetClassTheme("BUTTON");
        for (const Destination& d : dests) {
            for (int part : {1, 2, 3}) {  // stretch, tile, no margins
                // Each destination at two sizes: its own and one smaller than the margins.
                for (bool small : {false, true}) {
                    Destination at = d;
                    if (small) at.rect = RECT{d.rect.left, d.rect.top, d.rect.left + 6, d.rect.top + 5};
                    CSkinImage* image = nullptr;
                    CSkinImage::AllowEngineBlending(false);
                    const std::vector<uint32_t> system = DrawInto(at, theme, part, 1);
                    CSkinImage::AllowEngineBlending(true);
                    image = theme->GetImageCache()->Get(nullptr, "SOFT.PNG");
                    ASSERT_TRUE(image && image->HasAlpha());
                    const unsigned engine = image->GetEngineBlendCount(), section = image->GetSectionBlendCount();
                    const std::vector<uint32_t> direct = DrawInto(at, theme, part, 1);
                    EXPECT_EQ(engine + (d.path != D::System), image->GetEngineBlendCount())
                        << d.name << " part " << part << (small ? " small" : "");
                    EXPECT_EQ(section + (d.path == D::Section), image->GetSectionBlendCount())
                        << d.name << " part " << part << (small ? " small" : "");
                    ASSERT_EQ(system.size(), direct.size());
                    size_t changed = 0;
                    for (size_t i = 0; i < system.size(); ++i) {
                        ASSERT_EQ(system[i], direct[i])
                            << std::hex << d.name << " part " << part << (small ? " small" : "") << (*documentation ? " straight" : "")
                            << " at " << std::dec << i % at.width << "," << i / at.width;
                        changed += system[i] != Background(at.width, at.height, at.uniform)[i];
                    }
                    if (d.path != D::System) {
                        EXPECT_GT(changed, 0u) << d.name;  // the part was drawn at all
                    }
                }
            }
        }
    }
    CSkinImage::AllowEngineBlending(true);
}

// Two sections of one size, one of each row order, drawn into in turn: each keeps its own order.
TEST(SkinBlend, SectionsOfBothRowOrdersInTurn) {
    TempDir dir;
    dir.Write("SOFT.PNG", SoftEdgedPng(12));
    auto schema = SchemaFromText("[Button.PushButton]\nImageFile = SOFT.PNG\nSizingMargins = 4, 4, 4, 4\n", dir.Path());
    CSkinClassTheme* theme = schema->GetClassTheme("BUTTON");
    const int W = 90, H = 40;
    struct Target {
        HBITMAP bmp;
        HDC dc;
        HGDIOBJ old;
        uint32_t* bits;
    };
    auto make = [&](bool bottomUp) {
        BITMAPINFO bi = Info32(W, H);
        if (bottomUp) bi.bmiHeader.biHeight = H;
        void* bits = nullptr;
        Target t{CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), CreateCompatibleDC(nullptr), nullptr,
                 nullptr};
        t.bits = static_cast<uint32_t*>(bits);
        const std::vector<uint32_t> px = Background(W, H);
        const BITMAPINFO topDown = Info32(W, H);
        SetDIBits(t.dc, t.bmp, 0, H, px.data(), &topDown, DIB_RGB_COLORS);
        t.old = SelectObject(t.dc, t.bmp);
        return t;
    };
    // Engine and system targets of each order; the same draws go to both of a pair.
    Target engine[2] = {make(false), make(true)}, system[2] = {make(false), make(true)};
    CSkinImage* image = nullptr;
    for (int round = 0; round < 8; ++round) {
        const int k = round % 2;
        const RECT r{round * 2, round * 2, round * 2 + 75, round * 2 + 23};
        CSkinImage::AllowEngineBlending(false);
        ASSERT_TRUE(theme->DrawThemeBackground(system[k].dc, 1, 1, r));
        CSkinImage::AllowEngineBlending(true);
        ASSERT_TRUE(theme->DrawThemeBackground(engine[k].dc, 1, 1, r));
        GdiFlush();
        ASSERT_EQ(0, std::memcmp(engine[k].bits, system[k].bits, static_cast<size_t>(W) * H * 4))
            << "round " << round << (k ? " bottom-up" : " top-down");
        image = theme->GetImageCache()->Get(nullptr, "SOFT.PNG");
    }
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(8u, image->GetSectionBlendCount());
    for (Target* t : {&engine[0], &engine[1], &system[0], &system[1]}) {
        SelectObject(t->dc, t->old);
        DeleteDC(t->dc);
        DeleteObject(t->bmp);
    }
}

// Our own theme: every part and state of the classes the program skins, at a few sizes, drawn by
// the engine's blend and by the system's, bit for bit the same.
TEST(SkinBlend, OwnThemeDrawsTheSameEitherWay) {
    CSkinEngine* engine = CSkinEngine::Instance();
    ASSERT_TRUE(engine->LoadSkin(ExePath().c_str(), nullptr));
    const int W = 220, H = 60;
    const std::vector<uint32_t> background = Background(W, H);
    void *engineBits = nullptr, *systemBits = nullptr;
    HBITMAP engineBmp = CreateDib32(W, H, &engineBits), systemBmp = CreateDib32(W, H, &systemBits);
    HDC engineDC = CreateCompatibleDC(nullptr), systemDC = CreateCompatibleDC(nullptr);
    HGDIOBJ oldEngine = SelectObject(engineDC, engineBmp), oldSystem = SelectObject(systemDC, systemBmp);
    const RECT sizes[] = {{3, 2, 78, 25}, {10, 10, 27, 27}, {0, 40, 220, 49}, {50, 5, 54, 58}};
    int drawn = 0;
    for (const char* cls : {"BUTTON", "WINDOW", "SCROLLBAR", "TAB", "HEADER", "PROGRESS", "REBAR", "TOOLBAR",
                            "MENU", "COMBOBOX", "SPIN", "STATUS", "EXPLORERBAR", "EDIT", "LISTVIEW", "TREEVIEW"}) {
        CSkinClassTheme* theme = engine->GetThemeClass(nullptr, cls);
        if (!theme) continue;
        for (int part = 0; part <= 40; ++part)
            for (int state = 0; state <= 8; ++state)
                for (const RECT& r : sizes) {
                    std::memcpy(engineBits, background.data(), background.size() * 4);
                    std::memcpy(systemBits, background.data(), background.size() * 4);
                    CSkinImage::AllowEngineBlending(true);
                    const BOOL ok = theme->DrawThemeBackground(engineDC, part, state, r);
                    CSkinImage::AllowEngineBlending(false);
                    EXPECT_EQ(ok, theme->DrawThemeBackground(systemDC, part, state, r));
                    CSkinImage::AllowEngineBlending(true);
                    GdiFlush();
                    drawn += ok;
                    ASSERT_EQ(0, std::memcmp(engineBits, systemBits, background.size() * 4))
                        << cls << " part " << part << " state " << state << " at " << r.left << "," << r.top;
                }
    }
    EXPECT_GT(drawn, 500);
    CSkinClassTheme* button = engine->GetThemeClass(nullptr, "BUTTON");
    CSkinImage* pushButton = button->GetImageCache()->Get(nullptr, button->GetThemeString(1, 1, TMT_IMAGEFILE, "").str());
    ASSERT_NE(nullptr, pushButton);
    EXPECT_GT(pushButton->GetSectionBlendCount(), 0u);  // the engine's blend was the one compared
    SelectObject(engineDC, oldEngine);
    SelectObject(systemDC, oldSystem);
    DeleteDC(engineDC);
    DeleteDC(systemDC);
    DeleteObject(engineBmp);
    DeleteObject(systemBmp);
}
