// Drawing checked on pixels read back from 32-bit sections: frames by state and layout,
// nine-grid scaling, tiling, colour keys, alpha, border fill, glyphs, mirroring and text.
#include <gtest/gtest.h>

#include <climits>

#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skintest;
using namespace skin;

namespace {

uint32_t Argb(int a, int r, int g, int b) {
    return (static_cast<uint32_t>(a) << 24) | (r << 16) | (g << 8) | b;
}

// Pixel (x, y) of frame f in a test strip: every pixel of every frame differs.
uint32_t FramePixel(int f, int x, int y) { return Argb(255, f * 50 + 10, y * 20 + 5, x * 20 + 5); }
COLORREF FrameColor(int f, int x, int y) {
    uint32_t p = FramePixel(f, x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

class Draw : public ::testing::Test {
protected:
    void Png(const std::string& name, int w, int h, const std::vector<uint32_t>& px, bool alpha = false) {
        dir.Write(name, EncodePng(w, h, px, alpha));
    }
    CSkinClassTheme* Theme(const std::string& text, const char* cls = "BUTTON") {
        schema = SchemaFromText(text, dir.Path());
        return schema->GetClassTheme(cls);
    }
    // A strip of n frames of w x h, stacked vertically or side by side.
    void Strip(const std::string& name, int n, int w, int h, bool vertical) {
        const int W = vertical ? w : w * n, H = vertical ? h * n : h;
        std::vector<uint32_t> px(static_cast<size_t>(W) * H);
        for (int f = 0; f < n; ++f)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    int X = vertical ? x : f * w + x, Y = vertical ? f * h + y : y;
                    px[static_cast<size_t>(Y) * W + X] = FramePixel(f, x, y);
                }
        Png(name, W, H, px);
    }
    TempDir dir;
    CSkinRef<CSkinSchema> schema;
};

}  // namespace

TEST_F(Draw, FrameFollowsStateInBothLayouts) {
    Strip("V.PNG", 5, 9, 9, true);
    Strip("H.PNG", 5, 9, 9, false);
    for (bool vertical : {true, false}) {
        CSkinClassTheme* t = Theme(std::string("[Button.PushButton]\nImageFile = ") + (vertical ? "V.PNG" : "H.PNG") +
                                   "\nImageCount = 5\nSizingMargins = 3, 3, 3, 3\n" +
                                   (vertical ? "ImageLayout = Vertical\n" : ""));
        for (int state = 0; state <= 6; ++state) {
            Canvas c(9, 9);
            RECT r{0, 0, 9, 9};
            ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, state, r));
            const int frame = (state == 0 || state > 5) ? 0 : state - 1;
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 9; ++x)
                    ASSERT_EQ(FrameColor(frame, x, y), c.At(x, y))
                        << (vertical ? "vertical" : "horizontal") << " state " << state << " at " << x << "," << y;
        }
    }
}

TEST_F(Draw, NineGridWithOddMarginsIntoFewRows) {
    NineGridPlan plan = PlanNineGrid(RECT{0, 0, 9, 4}, RECT{0, 0, 9, 9}, RECT{3, 3, 3, 3}, ST_STRETCH, false);
    ASSERT_EQ(9u, plan.cells.size());
    EXPECT_EQ(2, plan.cells[0].dest.bottom);  // m.top = MulDiv(4, 3, 6)
    EXPECT_EQ(1, plan.cells[6].dest.top);     // m.bottom = 2, raised to 3: one row overlaps
    EXPECT_EQ(4, plan.cells[6].dest.bottom);
    EXPECT_TRUE(IsRectEmpty(&plan.cells[4].dest));

    Strip("G.PNG", 1, 9, 9, true);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = G.PNG\nSizingMargins = 3, 3, 3, 3\n");
    Canvas c(9, 4);
    RECT r{0, 0, 9, 4};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    for (int x = 0; x < 9; ++x) {
        for (int y = 1; y < 4; ++y) EXPECT_EQ(FrameColor(0, x, y + 5), c.At(x, y)) << x << "," << y;
        EXPECT_TRUE(c.At(x, 0) == FrameColor(0, x, 0) || c.At(x, 0) == FrameColor(0, x, 1));
    }
    // Wider than the margins: corners keep their size, the middle stretches.
    Canvas wide(30, 9);
    RECT rw{0, 0, 30, 9};
    ASSERT_TRUE(t->DrawThemeBackground(wide.dc(), 1, 1, rw));
    for (int y = 0; y < 9; ++y) {
        EXPECT_EQ(FrameColor(0, 0, y), wide.At(0, y));
        EXPECT_EQ(FrameColor(0, 2, y), wide.At(2, y));
        EXPECT_EQ(FrameColor(0, 8, y), wide.At(29, y));
        EXPECT_EQ(FrameColor(0, 6, y), wide.At(27, y));
    }
}

TEST_F(Draw, TilingPiecesAndStretchedOnePixelEdges) {
    auto pieces = PlanTiledCopy(RECT{0, 0, 25, 4}, RECT{3, 0, 13, 4}, 3);
    ASSERT_EQ(3u, pieces.size());
    EXPECT_EQ(10, pieces[1].first.left);
    EXPECT_EQ(20, pieces[2].first.left);
    EXPECT_EQ(25, pieces[2].first.right);
    EXPECT_EQ(3, pieces[2].second.left);
    EXPECT_EQ(8, pieces[2].second.right);  // the source's left five columns
    EXPECT_EQ(1u, PlanTiledCopy(RECT{0, 0, 1, 40}, RECT{0, 0, 1, 40}, 3).size());
    EXPECT_EQ(1u, PlanTiledCopy(RECT{0, 0, 30, 30}, RECT{0, 0, 1, 1}, 3).size());
    EXPECT_EQ(1u, PlanTiledCopy(RECT{0, 0, 30, 7}, RECT{0, 0, 1, 7}, 3).size());
    EXPECT_EQ(90u, PlanTiledCopy(RECT{0, 0, 30, 7}, RECT{0, 0, 1, 3}, 3).size());  // tiled, not stretched

    Strip("T.PNG", 1, 10, 4, true);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = T.PNG\nSizingType = Tile\n");
    Canvas c(25, 10);
    RECT r{0, 0, 25, 10};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    for (int x = 0; x < 25; ++x)
        for (int y = 0; y < 10; ++y) ASSERT_EQ(FrameColor(0, x % 10, y % 4), c.At(x, y)) << x << "," << y;

    // A 1-pixel-wide edge cell stretches along a tiled edge.
    std::vector<uint32_t> px(9);
    for (int i = 0; i < 9; ++i) px[i] = Argb(255, 20 * i, 0, 0);
    Png("E.PNG", 3, 3, px);
    t = Theme("[Button.PushButton]\nImageFile = E.PNG\nSizingType = Tile\nSizingMargins = 1, 1, 1, 1\n");
    Canvas e(12, 12);
    RECT re{0, 0, 12, 12};
    ASSERT_TRUE(t->DrawThemeBackground(e.dc(), 1, 1, re));
    for (int y = 1; y < 11; ++y) {
        EXPECT_EQ(RGB(60, 0, 0), e.At(0, y));
        EXPECT_EQ(RGB(80, 0, 0), e.At(5, y));
        EXPECT_EQ(RGB(100, 0, 0), e.At(11, y));
    }
}

TEST_F(Draw, ColourKeys) {
    std::vector<uint32_t> px(16);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) px[y * 4 + x] = x < 2 ? Argb(255, 255, 0, 255) : Argb(255, 0, 160, 0);
    Png("K.PNG", 4, 4, px);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = K.PNG\nTransparent = True\n");
    Canvas c(8, 8, RGB(255, 255, 255));
    RECT r{0, 0, 8, 8};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(RGB(255, 255, 255), c.At(1, 3));
    EXPECT_EQ(RGB(0, 160, 0), c.At(6, 3));
    EXPECT_EQ(RGB(255, 0, 255), t->GetImageCache()->Get(nullptr, "K.PNG")->GetLastTransparentColor());

    t = Theme("[Button.PushButton]\nImageFile = K.PNG\nTransparent = True\nTransparentColor = 0 160 0\n");
    c.Fill(RGB(255, 255, 255));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(RGB(255, 0, 255), c.At(1, 3));
    EXPECT_EQ(RGB(255, 255, 255), c.At(6, 3));

    t = Theme("[Button.PushButton]\nImageFile = K.PNG\n");  // no key: magenta is a colour
    c.Fill(RGB(255, 255, 255));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(RGB(255, 0, 255), c.At(1, 3));

    // A frame that is all key colour draws nothing at all.
    Png("M.PNG", 4, 4, std::vector<uint32_t>(16, Argb(255, 255, 0, 255)));
    t = Theme("[Button.PushButton]\nImageFile = M.PNG\nTransparent = True\n");
    c.Fill(RGB(1, 2, 3));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(0, c.CountNot(RGB(1, 2, 3)));

    // The engine's own keyed copy gives the same pixels as the system's.
    t = Theme("[Button.PushButton]\nImageFile = K.PNG\nTransparent = True\n");
    CSkinImage::ForceSoftwareBlending(true);
    c.Fill(RGB(255, 255, 255));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    CSkinImage::ForceSoftwareBlending(false);
    EXPECT_EQ(RGB(255, 255, 255), c.At(1, 3));
    EXPECT_EQ(RGB(0, 160, 0), c.At(6, 3));
}

TEST_F(Draw, PremultipliedAlpha) {
    Png("A.PNG", 2, 1, {Argb(128, 200, 100, 50), Argb(255, 0, 0, 255)}, true);
    for (bool software : {false, true}) {
        CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = A.PNG\n");
        CSkinImage::ForceSoftwareBlending(software);
        Canvas c(2, 1, RGB(255, 255, 255));
        RECT r{0, 0, 2, 1};
        ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
        CSkinImage::ForceSoftwareBlending(false);
        ASSERT_TRUE(t->GetImageCache()->Get(nullptr, "A.PNG")->HasAlpha());
        COLORREF p = c.At(0, 0);
        EXPECT_NEAR(227, GetRValue(p), 2) << (software ? "software" : "system");
        EXPECT_NEAR(177, GetGValue(p), 2);
        EXPECT_NEAR(152, GetBValue(p), 2);
        EXPECT_EQ(RGB(0, 0, 255), c.At(1, 0));
    }

    // Clear and opaque pixels in either order need blending; all opaque does not.
    CSkinImage img;
    ASSERT_TRUE(img.LoadFromPngMemory(EncodePng(2, 1, {Argb(0, 1, 1, 1), Argb(255, 9, 9, 9)}, true).data(),
                                      EncodePng(2, 1, {Argb(0, 1, 1, 1), Argb(255, 9, 9, 9)}, true).size()));
    EXPECT_TRUE(img.HasAlpha());
    std::string opaqueFirst = EncodePng(2, 1, {Argb(255, 9, 9, 9), Argb(0, 1, 1, 1)}, true);
    ASSERT_TRUE(img.LoadFromPngMemory(opaqueFirst.data(), opaqueFirst.size()));
    EXPECT_TRUE(img.HasAlpha());
    std::string opaque = EncodePng(2, 1, {Argb(255, 9, 9, 9), Argb(255, 1, 1, 1)}, true);
    ASSERT_TRUE(img.LoadFromPngMemory(opaque.data(), opaque.size()));
    EXPECT_FALSE(img.HasAlpha());
    std::string rgb = EncodePng(2, 1, {Argb(255, 9, 9, 9), Argb(255, 1, 1, 1)}, false);
    ASSERT_TRUE(img.LoadFromPngMemory(rgb.data(), rgb.size()));
    EXPECT_FALSE(img.HasAlpha());

    // A theme that asks for straight alpha keeps the decoded pixels.
    std::string half = EncodePng(1, 1, {Argb(128, 200, 100, 50)}, true);
    ASSERT_TRUE(img.LoadFromPngMemory(half.data(), half.size(), FALSE));
    EXPECT_TRUE(img.HasAlpha());
    BITMAP bm;
    ASSERT_TRUE(GetObjectA(img.GetBitmap(), sizeof(bm), &bm));
    EXPECT_EQ(Argb(128, 200, 100, 50), *static_cast<uint32_t*>(bm.bmBits));
}

TEST_F(Draw, BorderFillNoneAndMissingImages) {
    CSkinClassTheme* t = Theme(
        "[Button.PushButton]\nBgType = BorderFill\nBorderSize = 2\nBorderColor = 10 20 30\nFillColor = 200 210 220\n"
        "[Button.PushButton(Hot)]\nBorderOnly = True\n"
        "[Button.RadioButton]\nBgType = None\n"
        "[Button.CheckBox]\nImageFile = NOPE.PNG\n"
        "[Button.GroupBox]\nBgType = BorderFill\nFillColor = 1 2 3\n");
    Canvas c(10, 8, RGB(255, 255, 255));
    RECT r{0, 0, 10, 8};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(RGB(10, 20, 30), c.At(x, 0));
        EXPECT_EQ(RGB(10, 20, 30), c.At(x, 1));
        EXPECT_EQ(RGB(10, 20, 30), c.At(x, 7));
    }
    EXPECT_EQ(RGB(10, 20, 30), c.At(1, 4));
    EXPECT_EQ(RGB(10, 20, 30), c.At(8, 4));
    EXPECT_EQ(RGB(200, 210, 220), c.At(2, 2));
    EXPECT_EQ(RGB(200, 210, 220), c.At(7, 5));

    c.Fill(RGB(255, 255, 255));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 2, r));  // border only
    EXPECT_EQ(RGB(10, 20, 30), c.At(0, 0));
    EXPECT_EQ(RGB(255, 255, 255), c.At(4, 4));

    c.Fill(RGB(255, 255, 255));
    EXPECT_TRUE(t->DrawThemeBackground(c.dc(), 2, 1, r));   // NONE: success, nothing drawn
    EXPECT_FALSE(t->DrawThemeBackground(c.dc(), 3, 1, r));  // missing image: failure, nothing drawn
    EXPECT_FALSE(t->DrawThemeBackground(c.dc(), 5, 1, r));  // no image named at all
    EXPECT_EQ(0, c.CountNot(RGB(255, 255, 255)));

    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 4, 1, r));   // no border colour: all fill
    EXPECT_EQ(0, c.CountNot(RGB(1, 2, 3)));

    // A missing image is tried again later and drawn once it exists.
    Png("NOPE.PNG", 1, 1, {Argb(255, 9, 8, 7)});
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 3, 1, r));
    EXPECT_EQ(RGB(9, 8, 7), c.At(5, 5));
}

TEST_F(Draw, ImageSelectionAndGlyphsBySize) {
    Png("BG.PNG", 1, 1, {Argb(255, 255, 255, 255)});
    Png("G1.PNG", 4, 4, std::vector<uint32_t>(16, Argb(255, 255, 0, 0)));
    Png("G2.PNG", 8, 8, std::vector<uint32_t>(64, Argb(255, 0, 255, 0)));
    Png("G3.PNG", 20, 20, std::vector<uint32_t>(400, Argb(255, 0, 0, 255)));
    CSkinClassTheme* t = Theme(
        "[Button.CheckBox]\nImageSelectType = DPI\nImageFile1 = G1.PNG\n"
        "[Button.PushButton]\nImageFile = BG.PNG\nImageFile1 = G1.PNG\nImageFile2 = G2.PNG\nImageFile3 = G3.PNG\n"
        "GlyphType = ImageGlyph\nImageSelectType = Size\n"
        "[Button.RadioButton]\nImageFile = BG.PNG\nGlyphType = ImageGlyph\nGlyphImageFile = G2.PNG\n"
        "ContentMargins = 2, 0, 2, 0\n");
    Canvas c(10, 10, RGB(0, 0, 0));
    RECT r{0, 0, 10, 10};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 3, 1, r));  // only IMAGEFILE1 with DPI selection
    EXPECT_EQ(RGB(255, 0, 0), c.At(5, 5));

    c.Fill(RGB(0, 0, 0));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(RGB(255, 255, 255), c.At(0, 0));
    EXPECT_EQ(RGB(0, 255, 0), c.At(1, 1));  // the largest that fits, centred
    EXPECT_EQ(RGB(0, 255, 0), c.At(8, 8));
    EXPECT_EQ(RGB(255, 255, 255), c.At(9, 9));

    Canvas s(5, 5, RGB(0, 0, 0));
    RECT rs{0, 0, 5, 5};
    ASSERT_TRUE(t->DrawThemeBackground(s.dc(), 1, 1, rs));
    EXPECT_EQ(RGB(255, 0, 0), s.At(0, 0));  // nothing fits: IMAGEFILE1 in any case
    EXPECT_EQ(RGB(255, 255, 255), s.At(4, 4));

    c.Fill(RGB(0, 0, 0));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 2, 1, r));  // GLYPHIMAGEFILE in the content area
    EXPECT_EQ(RGB(0, 255, 0), c.At(2, 2));  // area (2, 2, 10, 10): left 2, top 2
    EXPECT_EQ(RGB(0, 255, 0), c.At(9, 9));
    EXPECT_EQ(RGB(255, 255, 255), c.At(1, 5));
    EXPECT_EQ(RGB(255, 255, 255), c.At(5, 1));
}

TEST_F(Draw, TrueSizePlacement) {
    Strip("S.PNG", 1, 4, 4, true);
    CSkinClassTheme* t = Theme(
        "[Button.PushButton]\nImageFile = S.PNG\nSizingType = TrueSize\nSizingMargins = 1, 1, 1, 1\n"
        "[Button.PushButton(Hot)]\nVAlign = Bottom\n"
        "[Button.PushButton(Pressed)]\nTrueSizeStretchMark = 1\n");
    Canvas c(10, 10, RGB(0, 0, 0));
    RECT r{0, 0, 10, 10};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(FrameColor(0, 0, 0), c.At(3, 3));
    EXPECT_EQ(FrameColor(0, 3, 3), c.At(6, 6));
    EXPECT_EQ(RGB(0, 0, 0), c.At(2, 2));
    c.Fill(RGB(0, 0, 0));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 2, r));
    EXPECT_EQ(FrameColor(0, 0, 0), c.At(3, 6));
    EXPECT_EQ(FrameColor(0, 3, 3), c.At(6, 9));
    Canvas small(2, 2, RGB(0, 0, 0));
    RECT rs{0, 0, 2, 2};
    ASSERT_TRUE(t->DrawThemeBackground(small.dc(), 1, 3, rs));
    // Shrunk to the rectangle, not clipped: the four pixels sample all four quarters of the frame.
    EXPECT_EQ(10, GetRValue(small.At(0, 0)));
    EXPECT_LT(GetGValue(small.At(0, 0)), 45);
    EXPECT_LT(GetBValue(small.At(0, 0)), 45);
    EXPECT_GE(GetGValue(small.At(1, 1)), 45);
    EXPECT_GE(GetBValue(small.At(1, 1)), 45);
}

TEST_F(Draw, MirroredContextsFlipAlphaImagesOnce) {
    Png("R.PNG", 4, 1, {Argb(200, 200, 0, 0), Argb(200, 200, 0, 0), Argb(200, 0, 0, 200), Argb(200, 0, 0, 200)},
        true);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = R.PNG\n[Button.RadioButton]\nImageFile = R.PNG\n"
                               "MirrorImage = False\n");
    Canvas rtl(4, 1), ltr(4, 1);
    SetLayout(rtl.dc(), LAYOUT_RTL);
    RECT r{0, 0, 4, 1};
    ASSERT_TRUE(t->DrawThemeBackground(rtl.dc(), 1, 1, r));
    CSkinImage* img = t->GetImageCache()->Get(nullptr, "R.PNG");
    EXPECT_TRUE(img->IsMirrored());
    BITMAP bm;
    GetObjectA(img->GetBitmap(), sizeof(bm), &bm);
    EXPECT_EQ(0u, (static_cast<uint32_t*>(bm.bmBits)[0] >> 16) & 0xFF);  // blue half now on the left
    ASSERT_TRUE(t->DrawThemeBackground(rtl.dc(), 1, 1, r));
    EXPECT_TRUE(img->IsMirrored());  // stays flipped
    ASSERT_TRUE(t->DrawThemeBackground(ltr.dc(), 1, 1, r));
    EXPECT_FALSE(img->IsMirrored());
    EXPECT_GT(GetBValue(ltr.At(3, 0)), GetRValue(ltr.At(3, 0)));
    ASSERT_TRUE(t->DrawThemeBackground(rtl.dc(), 2, 1, r));  // mirroring not allowed
    EXPECT_FALSE(img->IsMirrored());
}

TEST_F(Draw, SolidRegionsFoundOnce) {
    // Frame 0 all grey; frame 1 a black ring around white.
    std::vector<uint32_t> px(6 * 12, Argb(255, 128, 128, 128));
    for (int y = 6; y < 12; ++y)
        for (int x = 0; x < 6; ++x)
            px[y * 6 + x] = (x == 0 || x == 5 || y == 6 || y == 11) ? Argb(255, 0, 0, 0) : Argb(255, 255, 255, 255);
    Png("SR.PNG", 6, 12, px);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = SR.PNG\nImageCount = 2\nImageLayout = Vertical\n"
                               "SizingMargins = 1, 1, 1, 1\n");
    Canvas c(20, 20);
    RECT r{0, 0, 20, 20};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 2, r));
    EXPECT_EQ(RGB(255, 255, 255), c.At(10, 10));
    EXPECT_EQ(RGB(0, 0, 0), c.At(0, 10));
    CSkinImage* img = t->GetImageCache()->Get(nullptr, "SR.PNG");
    const auto& regions = img->GetSolidRects();
    ASSERT_FALSE(regions.empty());
    EXPECT_EQ(0, regions[0].rect.top);
    EXPECT_EQ(6, regions[0].rect.bottom);
    EXPECT_EQ(RGB(128, 128, 128), regions[0].color);
    bool centre = false;
    for (const auto& s : regions)
        centre |= s.rect.left == 1 && s.rect.top == 7 && s.rect.right == 5 && s.rect.bottom == 11 &&
                  s.color == RGB(255, 255, 255);
    EXPECT_TRUE(centre);
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(RGB(128, 128, 128), c.At(10, 10));
}

TEST_F(Draw, BitmapsFromMemoryAndFiles) {
    // 3 x 2, 24 bits, bottom-up: rows padded to 12 bytes.
    std::string dib(40 + 24, '\0');
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = 3;
    h.biHeight = 2;
    h.biPlanes = 1;
    h.biBitCount = 24;
    memcpy(&dib[0], &h, 40);
    for (int x = 0; x < 3; ++x) {
        dib[40 + x * 3 + 2] = static_cast<char>(200);       // bottom row red
        dib[40 + 12 + x * 3 + 1] = static_cast<char>(150);  // top row green
    }
    CSkinImage img;
    ASSERT_TRUE(img.LoadFromPackedDib(dib.data(), dib.size()));
    EXPECT_EQ(3, img.GetWidth());
    EXPECT_EQ(2, img.GetHeight());
    EXPECT_FALSE(img.HasAlpha());
    Canvas c(3, 2);
    img.Draw(c.dc(), RECT{0, 0, 3, 2}, RECT{0, 0, 3, 2}, RECT{0, 0, 0, 0}, CLR_INVALID, ST_STRETCH, FALSE);
    EXPECT_EQ(RGB(0, 150, 0), c.At(1, 0));
    EXPECT_EQ(RGB(200, 0, 0), c.At(1, 1));
    EXPECT_FALSE(img.LoadFromPackedDib(dib.data(), dib.size() - 1));  // shorter than its pixels
    EXPECT_FALSE(img.LoadFromPackedDib(dib.data(), 20));

    // The same pixels as a bitmap file in a theme folder.
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + 40;
    fh.bfSize = static_cast<DWORD>(sizeof(fh) + dib.size());
    std::string file(reinterpret_cast<const char*>(&fh), sizeof(fh));
    dir.Write("B.BMP", file + dib);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = B.BMP\n");
    c.Fill(RGB(255, 255, 255));
    RECT r{0, 0, 3, 2};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(RGB(0, 150, 0), c.At(1, 0));
    EXPECT_EQ(RGB(200, 0, 0), c.At(1, 1));
}

TEST_F(Draw, TextWithShadowMarginsAndCentring) {
    CSkinClassTheme* t = Theme(
        "[Button.PushButton]\nTextColor = 255 0 0\nTextShadowType = Single\nTextShadowOffset = 2, 2\n"
        "TextShadowColor = 0 0 255\nContentAlignment = Center\nCaptionMargins = 10, 10, 0, 0\n"
        "[Button.CheckBox]\nTextShadowType = Single\nTextShadowOffset = 2, 2\n");
    Canvas c(200, 40, RGB(128, 128, 128));
    RECT r{0, 0, 200, 40};
    ASSERT_TRUE(t->DrawThemeText(c.dc(), 1, 1, "MMMM", DT_SINGLELINE | DT_VCENTER, r));
    int red = 0, blue = 0, minRed = 200, maxRed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            COLORREF p = c.At(x, y);
            if (p == RGB(255, 0, 0)) {
                ++red;
                minRed = std::min(minRed, x);
                maxRed = std::max(maxRed, x);
            }
            blue += p == RGB(0, 0, 255);
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(blue, 5);
    EXPECT_GT(minRed, 40);  // centred in 10..190
    EXPECT_LT(maxRed, 160);
    EXPECT_EQ(RGB(255, 0, 0), GetTextColor(c.dc()));

    // Without a text colour the context's own stays; without a shadow colour there is no shadow.
    c.Fill(RGB(128, 128, 128));
    SetTextColor(c.dc(), RGB(0, 100, 0));
    ASSERT_TRUE(t->DrawThemeText(c.dc(), 3, 1, "MMMM", DT_SINGLELINE, r));
    int green = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) green += c.At(x, y) == RGB(0, 100, 0);
    EXPECT_GT(green, 10);
    EXPECT_FALSE(t->DrawThemeText(c.dc(), 1, 1, nullptr, 0, r));
}

TEST_F(Draw, ComposedResultsAreReusedAndKeepOpaqueFillsOpaque) {
    // Clear corners, opaque edges and centre: the centre and edges are solid regions of an alpha image.
    const uint32_t X = Argb(255, 40, 90, 160);
    Png("C.PNG", 3, 3, {0, X, 0, X, X, X, 0, X, 0}, true);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = C.PNG\nSizingMargins = 1, 1, 1, 1\nSizingType = Tile\n");
    Canvas c(10, 10, RGB(255, 0, 0));
    RECT r{0, 0, 10, 10};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_EQ(RGB(40, 90, 160), c.At(5, 5));
    EXPECT_EQ(RGB(40, 90, 160), c.At(0, 5));
    EXPECT_EQ(RGB(255, 0, 0), c.At(0, 0));
    CSkinImage* img = t->GetImageCache()->Get(nullptr, "C.PNG");
    EXPECT_EQ(1u, img->GetComposedCount());
    c.Fill(RGB(0, 255, 0));
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));  // the same size again: drawn from the kept result
    EXPECT_EQ(1u, img->GetComposedCount());
    EXPECT_EQ(RGB(40, 90, 160), c.At(5, 5));
    EXPECT_EQ(RGB(0, 255, 0), c.At(9, 9));
    RECT other{0, 0, 7, 6};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, other));
    EXPECT_EQ(2u, img->GetComposedCount());
    for (int i = 0; i < 20; ++i) {
        RECT each{0, 0, 3 + i, 3};
        t->DrawThemeBackground(c.dc(), 1, 1, each);
    }
    EXPECT_LE(img->GetComposedCount(), 8u);  // bounded
}

TEST_F(Draw, FolderImagesIn32BitBitmapsAndOtherPictureFormats) {
    // A 32-bit bitmap file carries alpha: half-transparent red over the canvas.
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = 2;
    h.biHeight = 1;
    h.biPlanes = 1;
    h.biBitCount = 32;
    const uint32_t px[2] = {0x80FF0000u, 0xFF0000FFu};  // red at alpha 128, opaque blue (straight alpha)
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + 40;
    fh.bfSize = fh.bfOffBits + sizeof(px);
    std::string file(reinterpret_cast<const char*>(&fh), sizeof(fh));
    file.append(reinterpret_cast<const char*>(&h), 40);
    file.append(reinterpret_cast<const char*>(px), sizeof(px));
    dir.Write("A32.BMP", file);
    // The smallest GIF: one white pixel.
    static const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                                        0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
                                        0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    dir.Write("W.GIF", std::string(reinterpret_cast<const char*>(gif), sizeof(gif)));

    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = A32.BMP\n[Button.CheckBox]\nImageFile = W.GIF\n");
    Canvas c(2, 1, RGB(0, 0, 0));
    RECT r{0, 0, 2, 1};
    ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_TRUE(t->GetImageCache()->Get(nullptr, "A32.BMP")->HasAlpha());
    EXPECT_NEAR(128, GetRValue(c.At(0, 0)), 2);
    EXPECT_EQ(RGB(0, 0, 255), c.At(1, 0));

    HRESULT co = CoInitialize(nullptr);
    Canvas g(4, 4, RGB(0, 0, 0));
    RECT rg{0, 0, 4, 4};
    ASSERT_TRUE(t->DrawThemeBackground(g.dc(), 3, 1, rg)) << "picture loader";
    EXPECT_EQ(RGB(255, 255, 255), g.At(2, 2));
    if (SUCCEEDED(co)) CoUninitialize();
}

TEST_F(Draw, PartlyOpaqueImagesBlendOnlyWhereNeeded) {
    // Rounded corners (clear and half-clear) around an opaque gradient face.
    std::vector<uint32_t> px(9 * 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool corner = (x == 0 || x == 8) && (y == 0 || y == 8);
            const bool soft = ((x == 1 || x == 7) && (y == 0 || y == 8)) || ((y == 1 || y == 7) && (x == 0 || x == 8));
            px[y * 9 + x] = Argb(corner ? 0 : soft ? 128 : 255, 20 + y * 20, 200 - x * 10, 90);
        }
    Png("RND.PNG", 9, 9, px, true);
    CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = RND.PNG\nSizingMargins = 3, 3, 3, 3\n");
    Canvas system(75, 23, RGB(200, 30, 30)), software(75, 23, RGB(200, 30, 30));
    RECT r{0, 0, 75, 23};
    ASSERT_TRUE(t->DrawThemeBackground(system.dc(), 1, 1, r));
    CSkinImage::ForceSoftwareBlending(true);
    ASSERT_TRUE(t->DrawThemeBackground(software.dc(), 1, 1, r));
    CSkinImage::ForceSoftwareBlending(false);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 75; ++x) {
            COLORREF a = system.At(x, y), b = software.At(x, y);
            ASSERT_NEAR(GetRValue(a), GetRValue(b), 2) << x << "," << y;
            ASSERT_NEAR(GetGValue(a), GetGValue(b), 2) << x << "," << y;
            ASSERT_NEAR(GetBValue(a), GetBValue(b), 2) << x << "," << y;
        }
    EXPECT_EQ(RGB(200, 30, 30), system.At(0, 0));  // the clear corner shows the canvas
    EXPECT_NE(RGB(200, 30, 30), system.At(1, 0));
}

// A border-only part leaves the destination's centre as it was, whatever the picture is made of.
TEST_F(Draw, BorderOnlyLeavesTheCentreUntouched) {
    const COLORREF background = RGB(1, 2, 3);
    struct Case {
        const char* name;
        uint32_t border, centre, corner;  // ARGB
        bool alpha;
        const char* extra;
    };
    const Case cases[] = {
        {"opaque picture", Argb(255, 200, 0, 0), Argb(255, 0, 200, 0), Argb(255, 200, 0, 0), false, ""},
        {"alpha picture", Argb(255, 200, 0, 0), Argb(255, 0, 200, 0), Argb(128, 100, 0, 0), true, ""},
        {"one colour", Argb(255, 200, 0, 0), Argb(255, 200, 0, 0), Argb(255, 200, 0, 0), false, ""},
        {"colour key", Argb(255, 200, 0, 0), Argb(255, 0, 200, 0), Argb(255, 255, 0, 255), false,
         "Transparent = True\n"},
    };
    for (const Case& k : cases) {
        std::vector<uint32_t> px(81, k.border);
        for (int y = 3; y < 6; ++y)
            for (int x = 3; x < 6; ++x) px[static_cast<size_t>(y) * 9 + x] = k.centre;
        px[0] = k.corner;
        Png("B.PNG", 9, 9, px, k.alpha);
        CSkinClassTheme* t = Theme(std::string("[Button.PushButton]\nImageFile = B.PNG\nSizingMargins = 3, 3, 3, 3\n"
                                               "BorderOnly = True\n") + k.extra);
        for (int round = 0; round < 2; ++round) {  // composed, then from the composed cache
            Canvas c(30, 20, background);
            ASSERT_TRUE(t->DrawThemeBackground(c.dc(), 1, 1, RECT{0, 0, 30, 20})) << k.name;
            EXPECT_EQ(RGB(200, 0, 0), c.At(15, 1)) << k.name;
            EXPECT_EQ(RGB(200, 0, 0), c.At(1, 10)) << k.name;
            EXPECT_EQ(RGB(200, 0, 0), c.At(28, 18)) << k.name;
            int touched = 0;
            for (int y = 3; y < 17; ++y)
                for (int x = 3; x < 27; ++x) touched += c.At(x, y) != background;
            EXPECT_EQ(0, touched) << k.name << " round " << round;
        }
    }
}

// Margins are clamped to the frame: any number a theme writes (the parser takes 2147483647) draws
// without overflowing, negative margins count as none.
TEST_F(Draw, SizingMarginsAreClampedToTheFrame) {
    Strip("F.PNG", 1, 9, 9, true);
    auto draw = [&](const std::string& margins, Canvas& c) {
        CSkinClassTheme* t = Theme("[Button.PushButton]\nImageFile = F.PNG\nSizingMargins = " + margins + "\n");
        RECT m = t->GetThemeRect(1, 1, TMT_SIZINGMARGINS, 0, 0, 0, 0);
        t->DrawThemeBackground(c.dc(), 1, 1, RECT{0, 0, 27, 18});
        return m;
    };
    const int all = 27 * 18;
    Canvas plain(27, 18, RGB(1, 2, 3));
    draw("0, 0, 0, 0", plain);
    ASSERT_EQ(all, plain.CountNot(RGB(1, 2, 3)));

    struct Case {
        const char* margins;
        bool drawsNothing;  // top and bottom together higher than the frame
        bool likePlain;     // the same pixels as without margins
    };
    const Case cases[] = {
        {"2147483647, 2147483647, 2147483647, 2147483647", true, false},
        {"0, 0, 2147483647, 2147483647", true, false},
        {"0, 0, 5, 2147483647", true, false},
        {"-5, -5, -5, -5", false, true},
        {"-2147483647, -2147483647, 0, 0", false, true},
        {"2147483647, 0, 0, 0", false, false},
        {"0, 2147483647, 0, 0", false, false},
        {"0, 0, 2147483647, 0", false, false},
    };
    for (const Case& k : cases) {
        Canvas c(27, 18, RGB(1, 2, 3));
        const RECT m = draw(k.margins, c);
        EXPECT_TRUE(m.left != 0 || m.top != 0 || m.right != 0 || m.bottom != 0) << k.margins << " parsed";
        if (k.drawsNothing) {
            EXPECT_EQ(0, c.CountNot(RGB(1, 2, 3))) << k.margins;
            continue;
        }
        EXPECT_EQ(all, c.CountNot(RGB(1, 2, 3))) << k.margins << " covers everything";
        int differ = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 27; ++x) differ += c.At(x, y) != plain.At(x, y);
        if (k.likePlain) {
            EXPECT_EQ(0, differ) << k.margins;
        }
        // Every drawn pixel is one of the frame's own colours.
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 27; ++x) {
                const COLORREF p = c.At(x, y);
                bool ofFrame = false;
                for (int fy = 0; fy < 9 && !ofFrame; ++fy)
                    for (int fx = 0; fx < 9 && !ofFrame; ++fx) ofFrame = p == FrameColor(0, fx, fy);
                ASSERT_TRUE(ofFrame) << k.margins << " at " << x << "," << y;
            }
    }
    // The plan itself: huge margins neither overflow nor give cells outside the source.
    const RECT src{0, 0, 9, 9}, dest{0, 0, 27, 18};
    EXPECT_TRUE(PlanNineGrid(dest, src, RECT{0, LONG_MAX, 0, LONG_MAX}, ST_STRETCH, false).cells.empty());
    for (const NineGridCell& cell : PlanNineGrid(dest, src, RECT{LONG_MAX, 0, LONG_MAX, 0}, ST_TILE, false).cells) {
        EXPECT_GE(cell.src.left, 0);
        EXPECT_LE(cell.src.right, 9);
    }
}
