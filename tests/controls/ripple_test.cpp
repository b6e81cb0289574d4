// The ripple: generator, drops, one step and one frame against hand-computed values, the fast code
// against the plain reference over thousands of ticks, automatic drops, and the effect on a real window.
#include "RippleEffect.h"
#include "RippleReference.h"
#include "TestWindows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

using namespace ripple;

namespace {

// A record over plain vectors, for the operations that need no window.
struct Surface {
    RippleEffect effect;
    std::vector<int32_t> a, b;

    Surface(int w, int h, bool wide = false) : a(size_t(w) * h), b(size_t(w) * h) {
        effect.width = w;
        effect.height = h;
        effect.currentHeights = a.data();
        effect.previousHeights = b.data();
        if (wide) effect.flags |= kWideKernel;
    }
    int32_t at(int x, int y) const { return effect.currentHeights[y * effect.width + x]; }
    int nonZero() const {
        int n = 0;
        for (int i = 0; i < effect.width * effect.height; ++i) n += effect.currentHeights[i] != 0;
        return n;
    }
};

}  // namespace

TEST(RippleRandom, SequenceAndFullRangeForZero) {
    uint32_t s = 1;
    // Each result is the low 16 bits of the state before the step s' = (s * 32767 + 2047) mod (2^31 - 1).
    const uint32_t expected[] = {1, 34814, 32769, 19451, 47109};
    for (uint32_t e : expected) EXPECT_EQ(Random16(s), e);
    EXPECT_EQ(s, 839318005u);

    s = 123456789;
    EXPECT_EQ(RandomBelow(s, 0), 3259354389u);  // second draw << 16 | first draw, not reduced
    s = 123456789;
    EXPECT_EQ(RandomBelow(s, 1000), 389u);

    RippleEffect e;
    e.randomState = 1;
    EXPECT_EQ(Random16(e), 1u);
    EXPECT_EQ(Random16(e), 34814u);
}

TEST(RippleDrop, EdgesAndSizesNormalKernel) {
    Surface s(20, 16);
    RippleEffect& e = s.effect;
    for (auto p : {std::pair<int, int>{0, 5}, {5, 0}, {19, 5}, {5, 15}, {-1, 5}, {5, -3}}) {
        Drop(e, p.first, p.second, 1, 40);
        EXPECT_EQ(s.nonZero(), 0) << p.first << "," << p.second;
    }
    EXPECT_EQ(e.flags & kMoving, 0u);

    Drop(e, 1, 1, 1, 40);
    Drop(e, 18, 14, 0, 41);  // size 0 also covers one cell
    EXPECT_EQ(s.nonZero(), 2);
    EXPECT_EQ(s.at(1, 1), 40);
    EXPECT_EQ(s.at(18, 14), 41);
    EXPECT_NE(e.flags & kMoving, 0u);

    // Size 8: r = 4, so the centre must be 5 cells from every edge.
    Surface big(20, 16);
    for (auto p : {std::pair<int, int>{4, 7}, {15, 7}, {7, 4}, {7, 11}}) {
        Drop(big.effect, p.first, p.second, 8, 256);
        EXPECT_EQ(big.nonZero(), 0) << p.first << "," << p.second;
    }
    Drop(big.effect, 5, 5, 8, 256);
    EXPECT_EQ(big.nonZero(), 81);
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x) EXPECT_EQ(big.at(x, y), 256);
    Surface distant(20, 16);
    Drop(distant.effect, 14, 10, 8, 256);
    EXPECT_EQ(distant.nonZero(), 81);
    EXPECT_EQ(distant.at(18, 14), 256);
}

TEST(RippleDrop, WideKernelIsHalfAsTall) {
    Surface s(20, 16, true);
    Drop(s.effect, 7, 3, 8, 256);  // ry = 2: rows 1..5
    EXPECT_EQ(s.nonZero(), 45);
    EXPECT_EQ(s.at(3, 1), 256);
    EXPECT_EQ(s.at(11, 5), 256);
    EXPECT_EQ(s.at(7, 6), 0);
    Surface t(20, 16, true);
    Drop(t.effect, 7, 2, 8, 256);  // rows 0..4: refused
    EXPECT_EQ(t.nonZero(), 0);
    Drop(t.effect, 4, 7, 8, 256);  // columns 0..8: refused
    EXPECT_EQ(t.nonZero(), 0);
}

TEST(RippleDrop, LevelsAreOverwrittenNotAdded) {
    Surface s(10, 10);
    Drop(s.effect, 4, 4, 3, 100);
    Drop(s.effect, 4, 4, 1, 30);
    EXPECT_EQ(s.at(4, 4), 30);
    EXPECT_EQ(s.at(3, 3), 100);
    Drop(s.effect, 4, 4, 3, -7);
    EXPECT_EQ(s.at(5, 5), -7);
}

TEST(RippleStep, NormalKernelByHand) {
    Surface s(5, 5);
    s.a[10] = 100;  // (0, 2)
    s.b[12] = 7;    // previous height at (2, 2)
    s.b[0] = 99;    // row 0 is never written
    s.effect.flags |= kMoving;
    int32_t* before = s.effect.previousHeights;
    Step(s.effect);
    ASSERT_EQ(s.effect.currentHeights, before) << "the buffer just written becomes current";
    const int32_t* c = s.effect.currentHeights;
    // (100 >> 1) - 0 = 50, damped by 50 >> 5 = 1; the flat array makes (4, 1) a neighbour of (0, 2).
    EXPECT_EQ(c[9], 49);
    EXPECT_EQ(c[11], 49);
    EXPECT_EQ(c[5], 49);
    EXPECT_EQ(c[15], 49);
    EXPECT_EQ(c[10], 0);
    EXPECT_EQ(c[12], -6);  // 0 - 7 = -7, and -7 >> 5 = -1 moves it one towards zero
    EXPECT_EQ(c[0], 99);
    EXPECT_EQ(c[14], 0);
    for (int i = 20; i < 25; ++i) EXPECT_EQ(c[i], 0);
}

TEST(RippleStep, WideKernelByHand) {
    Surface s(8, 5, true);
    s.a[20] = 64;  // (4, 2)
    s.effect.flags |= kMoving;
    Step(s.effect);
    const int32_t* c = s.effect.currentHeights;
    EXPECT_EQ(c[19], 12);  // 3 * 64 >> 4
    EXPECT_EQ(c[18], 12);
    EXPECT_EQ(c[17], 8);   // 2 * 64 >> 4
    EXPECT_EQ(c[23], 8);
    EXPECT_EQ(c[21], 12);
    EXPECT_EQ(c[12], 31);  // 8 * 64 >> 4 = 32, damped to 31
    EXPECT_EQ(c[28], 31);
    EXPECT_EQ(c[16], 0);
    EXPECT_EQ(c[20], 0);
}

TEST(RippleStep, NothingWhileAtRest) {
    Surface s(6, 6);
    s.a[14] = 50;
    int32_t* cur = s.effect.currentHeights;
    Step(s.effect);
    EXPECT_EQ(s.effect.currentHeights, cur);
    EXPECT_EQ(s.b[13], 0);
}

namespace {

std::vector<uint8_t> Gradient(int w, int h, int& stride) {
    stride = DibStride(w);
    std::vector<uint8_t> p(size_t(stride) * h, 0xEE);  // padding bytes must never reach a pixel
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < 3; ++k) p[size_t(y) * stride + x * 3 + k] = uint8_t(10 * x + 40 * y + k);
    return p;
}

}  // namespace

TEST(RippleRender, OneFrameByHand) {
    int stride = 0;
    const std::vector<uint8_t> src = Gradient(4, 4, stride);
    std::vector<uint32_t> lookup(LookupCells(4, 4));
    BuildLookup(src.data(), lookup.data(), 4, 4, stride);
    std::vector<int32_t> h(16, 0);
    h[1 * 4 + 1] = 1;  // H(1, 1)

    auto sse2 = [](const int32_t* h, const uint32_t* l, uint8_t* f, int32_t w, int32_t ht, int32_t s) {
        return RenderCellsOn(RenderPath::Sse2, h, l, f, w, ht, s);
    };
    auto avx2 = [](const int32_t* h, const uint32_t* l, uint8_t* f, int32_t w, int32_t ht, int32_t s) {
        return RenderCellsOn(RenderPath::Avx2, h, l, f, w, ht, s);
    };
    using Fn = bool (*)(const int32_t*, const uint32_t*, uint8_t*, int32_t, int32_t, int32_t);
    for (Fn render : {Fn(&RenderCells), Fn(&RenderCellsScalar), Fn(sse2), Fn(avx2)}) {
        std::vector<uint8_t> frame(src.size(), 0x55);
        ASSERT_TRUE(render(h.data(), lookup.data(), frame.data(), 4, 4, stride));
        auto px = [&](int x, int y, int k) { return int(frame[size_t(y) * stride + x * 3 + k]); };
        for (int k = 0; k < 3; ++k) {
            // (2, 1) samples (3, 1): its right neighbour lies outside and is clamped to (3, 1):
            // (4 * 70 + 3 * (60 + 70 + 30 + 110)) >> 4 = 68, plus k in every term.
            EXPECT_EQ(px(2, 1, k), 68 + k);
            // (1, 2) samples (1, 3) on the bottom row; the pixel below is clamped:
            // (4 * 130 + 3 * (120 + 140 + 90 + 130)) >> 4 = 122.
            EXPECT_EQ(px(1, 2, k), 122 + k);
            // (0, 1) would sample (-1, 1): left as it was.
            EXPECT_EQ(px(0, 1, k), 0x55);
            // (1, 1) is not displaced: copied unsmoothed.
            EXPECT_EQ(px(1, 1, k), 50 + k);
            // Rows 0 and 3 are never written.
            EXPECT_EQ(px(1, 0, k), 0x55);
            EXPECT_EQ(px(2, 3, k), 0x55);
        }
    }

    std::vector<int32_t> flat(16, 0);
    std::vector<uint8_t> frame(src.size(), 0);
    EXPECT_FALSE(RenderCells(flat.data(), lookup.data(), frame.data(), 4, 4, stride));
    EXPECT_EQ(frame[size_t(1) * stride + 3], src[size_t(1) * stride + 3]);
}

// The program's step and render (every render path this processor has) equal the plain reference bit
// for bit over many random ticks, for odd sizes (row padding, vector tails) and both kernels, including
// heights too large for 32-bit lanes.
TEST(RippleRender, FastEqualsPlainOverThousandsOfTicks) {
    EXPECT_TRUE(RenderPathAvailable(RenderPath::Sse2));
    if (!RenderPathAvailable(RenderPath::Avx2)) std::fprintf(stderr, "no AVX2 here: that path is not compared\n");
    std::mt19937 rng(20261207);
    struct Case { int w, h; bool wide; int ticks; int maxLevel; };
    const Case cases[] = {{204, 208, false, 1500, 300}, {37, 23, false, 1500, 300}, {41, 17, true, 1500, 300},
                          {13, 9, false, 500, 1 << 30}, {64, 48, true, 500, 5000}};
    for (const Case& c : cases) {
        ripple_reference::Picture pic(c.w, c.h);
        for (auto& b : pic.bytes) b = uint8_t(rng());
        std::vector<uint32_t> lookup(LookupCells(c.w, c.h));
        BuildLookup(pic.bytes.data(), lookup.data(), c.w, c.h, pic.stride);
        std::vector<int32_t> cur(size_t(c.w) * c.h), prev(cur.size());
        std::vector<uint8_t> frame = pic.bytes, frameScalar = pic.bytes, frameSse2 = pic.bytes, frameAvx2 = pic.bytes;
        ripple_reference::Surface ref(c.w, c.h);
        ripple_reference::Picture refFrame = pic;
        for (int t = 0; t < c.ticks; ++t) {
            const int drops = int(rng() % 3);
            for (int i = 0; i < drops; ++i) {
                const int x = int(rng() % c.w), y = int(rng() % c.h);
                const uint32_t size = rng() % 9;
                const int level = int(rng() % uint32_t(c.maxLevel)) - c.maxLevel / 8;
                const bool a = DropCells(cur.data(), c.w, c.h, c.wide, x, y, size, level);
                const bool b = DropCells(ref.cur.data(), c.w, c.h, c.wide, x, y, size, level);
                ASSERT_EQ(a, b);
            }
            StepCells(cur.data(), prev.data(), c.w, c.h, c.wide);
            cur.swap(prev);
            ripple_reference::Step(ref, c.wide);
            ASSERT_EQ(cur, ref.cur) << c.w << "x" << c.h << " tick " << t;
            const bool moved = RenderCells(cur.data(), lookup.data(), frame.data(), c.w, c.h, pic.stride);
            const bool movedScalar =
                RenderCellsScalar(cur.data(), lookup.data(), frameScalar.data(), c.w, c.h, pic.stride);
            const bool movedSse2 =
                RenderCellsOn(RenderPath::Sse2, cur.data(), lookup.data(), frameSse2.data(), c.w, c.h, pic.stride);
            const bool movedAvx2 =
                RenderCellsOn(RenderPath::Avx2, cur.data(), lookup.data(), frameAvx2.data(), c.w, c.h, pic.stride);
            const bool movedRef = ripple_reference::Render(ref, pic, refFrame);
            ASSERT_EQ(moved, movedRef) << c.w << "x" << c.h << " tick " << t;
            ASSERT_EQ(movedScalar, movedRef);
            ASSERT_EQ(movedSse2, movedRef);
            ASSERT_EQ(movedAvx2, movedRef);
            ASSERT_TRUE(frame == refFrame.bytes) << c.w << "x" << c.h << " tick " << t;
            ASSERT_TRUE(frameScalar == refFrame.bytes) << c.w << "x" << c.h << " tick " << t;
            ASSERT_TRUE(frameSse2 == refFrame.bytes) << c.w << "x" << c.h << " tick " << t;
            ASSERT_TRUE(frameAvx2 == refFrame.bytes) << c.w << "x" << c.h << " tick " << t;
        }
    }
}

TEST(RippleAuto, WandererReflectsAtTheEdges) {
    Surface s(20, 16);
    RippleEffect& e = s.effect;
    e.randomState = 99;
    SetAutoDrops(e, 2, 3, 1, 40);
    EXPECT_EQ(e.wanderDX, 3);
    EXPECT_EQ(e.wanderDY, 3);
    EXPECT_GE(e.wanderX, 1);
    EXPECT_LE(e.wanderX, 18);

    e.wanderX = 18, e.wanderY = 2;
    e.wanderDX = 3, e.wanderDY = -3;
    e.tickCount = 0;
    AutoDrop(e);  // odd tick: nothing
    EXPECT_EQ(e.wanderX, 18);
    EXPECT_EQ(s.nonZero(), 0);
    AutoDrop(e);  // x: 21 >= 19 -> 2 * 19 - 21 = 17; y: -1 < 1 -> 1 - (-1) = 2
    EXPECT_EQ(e.wanderX, 17);
    EXPECT_EQ(e.wanderDX, -3);
    EXPECT_EQ(e.wanderY, 2);
    EXPECT_EQ(e.wanderDY, 3);
    EXPECT_EQ(s.at(17, 2), 40);

    // Landing exactly on the last column: it stays there, turns, and its stone is refused.
    Surface t(20, 16);
    t.effect.randomState = 5;
    SetAutoDrops(t.effect, 2, 2, 1, 40);
    t.effect.wanderX = 17, t.effect.wanderY = 8, t.effect.wanderDX = 2, t.effect.wanderDY = 0;
    t.effect.tickCount = 1;
    AutoDrop(t.effect);
    EXPECT_EQ(t.effect.wanderX, 19);
    EXPECT_EQ(t.effect.wanderDX, -2);
    EXPECT_EQ(t.nonZero(), 0);
    EXPECT_EQ(t.effect.flags & kMoving, 0u);
}

TEST(RippleAuto, ShowerWithNoExtraDropsStillDropsOne) {
    Surface s(30, 20);
    RippleEffect& e = s.effect;
    e.randomState = 4242;
    SetAutoDrops(e, 3, 0, 1, 1000);
    uint32_t mirror = 4242;
    const int x = int(RandomBelow(mirror, 28)) + 1;
    const int y = int(RandomBelow(mirror, 18)) + 1;
    EXPECT_EQ(RandomBelow(mirror, 1), 0u);  // size 1
    const int level = int(RandomBelow(mirror, 1000));
    ASSERT_NE(level, 0);
    AutoDrop(e);
    EXPECT_EQ(s.nonZero(), 1);
    EXPECT_EQ(s.at(x, y), level);
    EXPECT_EQ(e.randomState, mirror);

    // Rain with a divisor of 1 drops every tick, levels offset by 50.
    Surface r(30, 20);
    r.effect.randomState = 77;
    SetAutoDrops(r.effect, 1, 1, 1, 1);
    AutoDrop(r.effect);
    EXPECT_EQ(r.nonZero(), 1);
    int found = 0;
    for (int i = 0; i < 600; ++i) found = r.a[i] ? r.a[i] : found;
    EXPECT_EQ(found, 50);

    // Mode 0 stops the drops and keeps the parameters.
    SetAutoDrops(r.effect, 0, 9, 9, 9);
    EXPECT_EQ(r.effect.flags & kAutoDrops, 0u);
    EXPECT_EQ(r.effect.autoP1, 1);
    const uint32_t state = r.effect.randomState;
    AutoDrop(r.effect);
    EXPECT_EQ(r.effect.randomState, state);
}

// ---- on real windows --------------------------------------------------------------------------

namespace {

int g_allocations = 0, g_frees = 0, g_failAt = -1;

void* CountingAlloc(size_t bytes) {
    if (g_allocations++ == g_failAt) return nullptr;
    return DefaultAllocator().allocate(bytes);
}
void CountingFree(void* block) {
    ++g_frees;
    DefaultAllocator().release(block);
}

bool AllZero(const RippleEffect& e) {
    const BITMAPINFO noHeader = {};
    return !e.window && !e.flags && !e.frameDC && !e.frameBitmap && !e.sourcePixels && !e.framePixels &&
           !e.currentHeights && !e.previousHeights && !e.width && !e.height && !e.stride && !e.heightPitch &&
           !e.randomState && !e.autoMode && !e.autoP1 && !e.autoP2 && !e.autoP3 && !e.wanderX && !e.wanderY &&
           !e.wanderDX && !e.wanderDY && !e.tickCount && !e.lookup &&
           std::memcmp(&e.header, &noHeader, sizeof noHeader) == 0;
}

}  // namespace

TEST(RippleCreate, SizesAcceptedAndRefused) {
    TestWindow w(64, 64);
    for (auto size : {std::pair<int, int>{4, 4}, {3, 10}, {10, 3}, {3, 3}}) {
        Bitmap bmp(size.first, size.second, RGB(10, 200, 30));
        RippleEffect e;
        const int result = Create(e, w.hwnd, bmp.handle, 20, FALSE);
        const bool accepted = size.first >= 4 && size.second >= 4;
        EXPECT_EQ(result, accepted ? 0 : 1) << size.first << "x" << size.second;
        EXPECT_EQ(KillTimer(w.hwnd, reinterpret_cast<UINT_PTR>(&e)) != FALSE, accepted);
        if (!accepted) {
            EXPECT_TRUE(AllZero(e));
        }
        Release(e);
        EXPECT_TRUE(AllZero(e));
    }
    RippleEffect e;
    Bitmap bmp(8, 8, 0);
    EXPECT_EQ(Create(e, nullptr, bmp.handle, 20, FALSE), 1);
    EXPECT_EQ(Create(e, w.hwnd, nullptr, 20, FALSE), 1);
    EXPECT_TRUE(AllZero(e));
}

TEST(RippleCreate, AllocationFailuresReleaseEverything) {
    TestWindow w(64, 64);
    Bitmap bmp(40, 30, RGB(1, 2, 3));
    const Allocator old = SetAllocator({CountingAlloc, CountingFree});
    for (int failAt = 0; failAt < 5; ++failAt) {
        g_allocations = g_frees = 0;
        g_failAt = failAt;
        RippleEffect e;
        EXPECT_EQ(Create(e, w.hwnd, bmp.handle, 20, FALSE), 1) << failAt;
        EXPECT_EQ(g_frees, g_allocations - 1) << "every block obtained is freed, failing at " << failAt;
        EXPECT_FALSE(KillTimer(w.hwnd, reinterpret_cast<UINT_PTR>(&e)));
        EXPECT_TRUE(AllZero(e));
    }
    g_failAt = -1;
    g_allocations = g_frees = 0;
    RippleEffect e;
    EXPECT_EQ(Create(e, w.hwnd, bmp.handle, 20, FALSE), 0);
    EXPECT_EQ(g_allocations, 5);
    Release(e);
    EXPECT_EQ(g_frees, 5);
    SetAllocator(old);
}

TEST(RippleCreate, FirstFrameIsThePictureAndTheWaterRests) {
    TestWindow w(80, 60);
    Bitmap bmp = Bitmap::Pattern(50, 40);
    RippleEffect e;
    ASSERT_EQ(Create(e, w.hwnd, bmp.handle, 20, FALSE), 0);
    EXPECT_EQ(e.flags & (kMoving | kFrameReady), 0u);
    EXPECT_EQ(e.stride, DibStride(50));
    EXPECT_EQ(std::memcmp(e.framePixels, e.sourcePixels, size_t(e.stride) * 40), 0);
    EXPECT_EQ(ReadWindowPixels(w.hwnd, 50, 40), bmp.Pixels());
    Release(e);
}

// Stones change what the window shows; once the water rests (no rain) the picture is back exactly.
TEST(RippleWindow, DropsDisturbThePictureAndItComesBack) {
    TestWindow w(120, 100);
    Bitmap bmp = Bitmap::Pattern(100, 90);
    RippleEffect e;
    ASSERT_EQ(Create(e, w.hwnd, bmp.handle, 10, FALSE), 0);
    const std::vector<uint32_t> picture = bmp.Pixels();
    Drop(e, 50, 45, 8, 256);
    for (int x = 10; x < 90; x += 3) Drop(e, x, 30, 1, 40);
    PumpFor(120);
    EXPECT_NE(ReadWindowPixels(w.hwnd, 100, 90), picture);
    EXPECT_TRUE(PumpUntil([&] { return (e.flags & kMoving) == 0; }, 20000)) << "the water never came to rest";
    PumpFor(60);
    EXPECT_EQ(ReadWindowPixels(w.hwnd, 100, 90), picture);
    Release(e);
}
