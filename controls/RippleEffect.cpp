#include "RippleEffect.h"

#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#define RIPPLE_SSE2 1
#include <immintrin.h>
#endif
#include <initializer_list>

namespace ripple {

namespace {

void* GlobalAllocate(size_t bytes) { return GlobalAlloc(GMEM_ZEROINIT, bytes); }
void GlobalRelease(void* block) { GlobalFree(block); }

Allocator g_allocator = {GlobalAllocate, GlobalRelease};

// Wrapping 32-bit arithmetic as the simulation's integers are meant to behave, without signed overflow.
inline int32_t Wrap(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

Allocator DefaultAllocator() { return {GlobalAllocate, GlobalRelease}; }

Allocator SetAllocator(Allocator allocator) {
    Allocator previous = g_allocator;
    g_allocator = allocator;
    return previous;
}

uint32_t Random16(uint32_t& state) {
    const uint32_t result = state & 0xFFFFu;
    state = static_cast<uint32_t>((static_cast<uint64_t>(state) * 32767u + 2047u) % 2147483647u);
    return result;
}

uint32_t RandomBelow(uint32_t& state, uint32_t n) {
    const uint32_t a = Random16(state);
    const uint32_t b = Random16(state);
    const uint32_t v = (b << 16) + a;
    return n != 0 ? v % n : v;
}

bool DropCells(int32_t* cells, int32_t width, int32_t height, bool wide, int x, int y, uint32_t size,
               int level) {
    if (!cells) return false;
    const int64_t r = size / 2;
    const int64_t ry = wide ? r / 2 : r;
    if (!(x + r <= int64_t(width) - 2 && x - r >= 1 && y + ry <= int64_t(height) - 2 && y - ry >= 1))
        return false;
    for (int64_t row = y - ry; row <= y + ry; ++row) {
        int32_t* line = cells + row * width;
        for (int64_t col = x - r; col <= x + r; ++col) line[col] = level;
    }
    return true;
}

void StepCells(const int32_t* __restrict cur, int32_t* __restrict prev, int32_t width, int32_t height,
               bool wide) {
    const ptrdiff_t w = width;
    const ptrdiff_t end = ptrdiff_t(height - 1) * w;
    if (!wide) {
        for (ptrdiff_t i = w; i < end; ++i) {
            uint32_t s = uint32_t(cur[i - 1]) + uint32_t(cur[i + 1]) + uint32_t(cur[i - w]) + uint32_t(cur[i + w]);
            int32_t n = Wrap(uint32_t(Wrap(s) >> 1) - uint32_t(prev[i]));
            prev[i] = Wrap(uint32_t(n) - uint32_t(n >> 5));
        }
    } else {
        for (ptrdiff_t i = w; i < end; ++i) {
            uint32_t a = uint32_t(cur[i - 1]) + uint32_t(cur[i + 1]) + uint32_t(cur[i - 2]) + uint32_t(cur[i + 2]);
            uint32_t b = uint32_t(cur[i - 3]) + uint32_t(cur[i + 3]);
            uint32_t c = uint32_t(cur[i - w]) + uint32_t(cur[i + w]);
            uint32_t s = 3u * a + 2u * b + 8u * c;
            int32_t n = Wrap(uint32_t(Wrap(s) >> 4) - uint32_t(prev[i]));
            prev[i] = Wrap(uint32_t(n) - uint32_t(n >> 5));
        }
    }
}

void BuildLookup(const uint8_t* source, uint32_t* lookup, int32_t width, int32_t height, int32_t stride) {
    const size_t half = size_t(width) * size_t(height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = source + ptrdiff_t(y) * stride;
        const uint8_t* up = source + ptrdiff_t(y > 0 ? y - 1 : 0) * stride;
        const uint8_t* down = source + ptrdiff_t(y < height - 1 ? y + 1 : y) * stride;
        uint32_t* smooth = lookup + size_t(y) * width;
        uint32_t* plain = smooth + half;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t o = x * 3;
            const int32_t ol = (x > 0 ? x - 1 : 0) * 3;
            const int32_t orr = (x < width - 1 ? x + 1 : x) * 3;
            uint32_t s = 0, p = 0;
            for (int k = 0; k < 3; ++k) {
                const uint32_t v = (4u * row[o + k] + 3u * (row[ol + k] + row[orr + k] + up[o + k] + down[o + k])) >> 4;
                s |= v << (8 * k);
                p |= uint32_t(row[o + k]) << (8 * k);
            }
            smooth[x] = s;
            plain[x] = p;
        }
    }
}

namespace {

inline void Store3(uint8_t* to, uint32_t v) {
    to[0] = uint8_t(v);
    to[1] = uint8_t(v >> 8);
    to[2] = uint8_t(v >> 16);
}

// One pixel; returns whether it was displaced inside the picture.
inline bool RenderPixel(const int32_t* h, ptrdiff_t w, int32_t x, int32_t y, const uint32_t* lookup, size_t half,
                        uint8_t* to, uint64_t uw, uint64_t uh) {
    const int64_t dx = int64_t(h[x - 1]) - h[x + 1];
    const int64_t dy = int64_t(h[x - w]) - h[x + w];
    if ((dx | dy) == 0) {
        Store3(to, lookup[half + size_t(y) * w + x]);
        return false;
    }
    const int64_t sx = x + dx, sy = y + dy;
    if (uint64_t(sx) >= uw || uint64_t(sy) >= uh) return false;
    Store3(to, lookup[size_t(sy) * w + size_t(sx)]);
    return true;
}

}  // namespace

bool RenderCellsScalar(const int32_t* heights, const uint32_t* lookup, uint8_t* frame, int32_t width,
                       int32_t height, int32_t stride) {
    bool moved = false;
    const ptrdiff_t w = width;
    const size_t half = size_t(width) * size_t(height);
    for (int32_t y = 1; y < height - 1; ++y) {
        const int32_t* h = heights + y * w;
        uint8_t* dst = frame + ptrdiff_t(y) * stride;
        for (int32_t x = 0; x < width; ++x)
            moved |= RenderPixel(h, w, x, y, lookup, half, dst + x * 3, uint64_t(width), uint64_t(height));
    }
    return moved;
}

namespace {

// |h| < 2^28 everywhere keeps differences and coordinates exact in 32-bit vector lanes.
bool HeightsFitLanes(const int32_t* heights, size_t cells) {
    uint32_t all = 0;
    for (size_t i = 0; i < cells; ++i) all |= uint32_t(heights[i] ^ (heights[i] >> 31));
    return all < (1u << 28);
}

#if defined(RIPPLE_SSE2)
// Four pixels at a time: the displacement, the bounds and the table index are computed in vector
// lanes; the table reads are scalar. A point displaced outside the picture keeps its frame pixel.
__attribute__((target("sse2"))) bool RenderSse2(const int32_t* heights, const uint32_t* lookup, uint8_t* frame,
                                                int32_t width, int32_t height, int32_t stride) {
    const size_t cells = size_t(width) * size_t(height);
    bool moved = false;
    const ptrdiff_t w = width;
    const size_t half = cells;
    const __m128i lane = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i flip = _mm_set1_epi32(INT32_MIN);  // unsigned compare through the signed one
    const __m128i vwFlipped = _mm_set1_epi32(int32_t(uint32_t(width) ^ 0x80000000u));
    const __m128i vhFlipped = _mm_set1_epi32(int32_t(uint32_t(height) ^ 0x80000000u));
    const __m128i weights = _mm_set1_epi32(int32_t(uint32_t(width) << 16 | 1u));  // sx * 1 + sy * width
    const __m128i low16 = _mm_set1_epi32(0xFFFF);
    __m128i anyMoved = _mm_setzero_si128();
    alignas(16) uint32_t index[4];
    for (int32_t y = 1; y < height - 1; ++y) {
        const int32_t* h = heights + y * w;
        uint8_t* dst = frame + ptrdiff_t(y) * stride;
        const __m128i vy = _mm_set1_epi32(y);
        const __m128i own0 = _mm_add_epi32(_mm_set1_epi32(int32_t(half + size_t(y) * w)), lane);
        int32_t x = 0;
        for (; x + 4 <= width; x += 4) {
            const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + x - 1));
            const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + x + 1));
            const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + x - w));
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + x + w));
            const __m128i vx = _mm_add_epi32(_mm_set1_epi32(x), lane);
            const __m128i dx = _mm_sub_epi32(l, r), dy = _mm_sub_epi32(u, d);
            const __m128i sx = _mm_add_epi32(vx, dx), sy = _mm_add_epi32(vy, dy);
            const __m128i still = _mm_cmpeq_epi32(_mm_or_si128(dx, dy), _mm_setzero_si128());
            const __m128i inside = _mm_and_si128(_mm_cmplt_epi32(_mm_xor_si128(sx, flip), vwFlipped),
                                                 _mm_cmplt_epi32(_mm_xor_si128(sy, flip), vhFlipped));
            const int usable = _mm_movemask_epi8(_mm_or_si128(still, inside));
            anyMoved = _mm_or_si128(anyMoved, _mm_andnot_si128(still, inside));
            const __m128i packed = _mm_or_si128(_mm_and_si128(sx, low16), _mm_slli_epi32(sy, 16));
            const __m128i displaced = _mm_madd_epi16(packed, weights);
            const __m128i own = _mm_add_epi32(own0, _mm_set1_epi32(x));
            const __m128i idx = _mm_or_si128(_mm_and_si128(still, own), _mm_andnot_si128(still, displaced));
            _mm_store_si128(reinterpret_cast<__m128i*>(index), idx);
            uint32_t p0, p1, p2, p3;
            if (usable == 0xFFFF) {
                p0 = lookup[index[0]], p1 = lookup[index[1]], p2 = lookup[index[2]], p3 = lookup[index[3]];
            } else {
                // A point displaced outside keeps the frame's pixel: read it back and write it unchanged.
                uint32_t keep[4];
                for (int k = 0; k < 4; ++k) {
                    const uint8_t* q = dst + (x + k) * 3;
                    keep[k] = uint32_t(q[0]) | uint32_t(q[1]) << 8 | uint32_t(q[2]) << 16;
                }
                p0 = (usable & 0x000F) ? lookup[index[0]] : keep[0];
                p1 = (usable & 0x00F0) ? lookup[index[1]] : keep[1];
                p2 = (usable & 0x0F00) ? lookup[index[2]] : keep[2];
                p3 = (usable & 0xF000) ? lookup[index[3]] : keep[3];
            }
            const uint32_t w0 = p0 | (p1 << 24), w1 = (p1 >> 8) | (p2 << 16), w2 = (p2 >> 16) | (p3 << 8);
            uint8_t* to = dst + x * 3;
            std::memcpy(to, &w0, 4);
            std::memcpy(to + 4, &w1, 4);
            std::memcpy(to + 8, &w2, 4);
        }
        for (; x < width; ++x)
            moved |= RenderPixel(h, w, x, y, lookup, half, dst + x * 3, uint64_t(width), uint64_t(height));
    }
    return moved || _mm_movemask_epi8(anyMoved) != 0;
}

// Eight pixels at a time with masked hardware gathers: no branch depends on the water.
__attribute__((target("avx2"))) bool RenderAvx2(const int32_t* heights, const uint32_t* lookup, uint8_t* frame,
                                                int32_t width, int32_t height, int32_t stride) {
    const ptrdiff_t w = width;
    const size_t half = size_t(width) * size_t(height);
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i minusOne = _mm256_set1_epi32(-1);
    const __m256i vw = _mm256_set1_epi32(width), vh = _mm256_set1_epi32(height);
    // 24 bytes of frame <-> eight 0x00RRGGBB values.
    const __m256i spreadDwords = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i spreadBytes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,
                                                 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i packBytes = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                               0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packDwords = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    __m256i anyMoved = _mm256_setzero_si256();
    bool moved = false;
    for (int32_t y = 1; y < height - 1; ++y) {
        const int32_t* h = heights + y * w;
        uint8_t* dst = frame + ptrdiff_t(y) * stride;
        const __m256i vy = _mm256_set1_epi32(y);
        const __m256i own0 = _mm256_add_epi32(_mm256_set1_epi32(int32_t(half + size_t(y) * w)), lane);
        int32_t x = 0;
        for (; x + 8 <= width; x += 8) {
            const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + x - 1));
            const __m256i r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + x + 1));
            const __m256i u = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + x - w));
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + x + w));
            const __m256i vx = _mm256_add_epi32(_mm256_set1_epi32(x), lane);
            const __m256i dx = _mm256_sub_epi32(l, r), dy = _mm256_sub_epi32(u, d);
            const __m256i sx = _mm256_add_epi32(vx, dx), sy = _mm256_add_epi32(vy, dy);
            const __m256i still = _mm256_cmpeq_epi32(_mm256_or_si256(dx, dy), _mm256_setzero_si256());
            const __m256i inside =
                _mm256_and_si256(_mm256_and_si256(_mm256_cmpgt_epi32(sx, minusOne), _mm256_cmpgt_epi32(vw, sx)),
                                 _mm256_and_si256(_mm256_cmpgt_epi32(sy, minusOne), _mm256_cmpgt_epi32(vh, sy)));
            const __m256i usable = _mm256_or_si256(still, inside);
            anyMoved = _mm256_or_si256(anyMoved, _mm256_andnot_si256(still, inside));
            const __m256i displaced = _mm256_add_epi32(_mm256_mullo_epi32(sy, vw), sx);
            const __m256i own = _mm256_add_epi32(own0, _mm256_set1_epi32(x));
            const __m256i idx = _mm256_blendv_epi8(displaced, own, still);
            uint8_t* to = dst + x * 3;
            // The 8 bytes read past the block stay inside the frame: row height-1 follows.
            const __m256i current = _mm256_shuffle_epi8(
                _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(to)), spreadDwords),
                spreadBytes);
            const __m256i px = _mm256_mask_i32gather_epi32(current, reinterpret_cast<const int*>(lookup), idx,
                                                           usable, 4);
            const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(px, packBytes), packDwords);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm256_castsi256_si128(packed));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(to + 16), _mm256_extracti128_si256(packed, 1));
        }
        for (; x < width; ++x)
            moved |= RenderPixel(h, w, x, y, lookup, half, dst + x * 3, uint64_t(width), uint64_t(height));
    }
    return moved || _mm256_movemask_epi8(anyMoved) != 0;
}
#endif

}  // namespace

bool RenderPathAvailable(RenderPath path) {
    switch (path) {
    case RenderPath::Scalar:
        return true;
#if defined(RIPPLE_SSE2)
    case RenderPath::Sse2: {
        static const bool sse2 = __builtin_cpu_supports("sse2");
        return sse2;
    }
    case RenderPath::Avx2: {
        static const bool avx2 = __builtin_cpu_supports("avx2");
        return avx2;
    }
#endif
    default:
        return false;
    }
}

bool RenderCellsOn(RenderPath path, const int32_t* heights, const uint32_t* lookup, uint8_t* frame, int32_t width,
                   int32_t height, int32_t stride) {
#if defined(RIPPLE_SSE2)
    // Vector lanes hold coordinates in 16 (madd) or 32 bits: unusual surfaces take the scalar path.
    const bool lanesFit = width < 32768 && height < 32768 && width >= 4 &&
                          HeightsFitLanes(heights, size_t(width) * size_t(height));
    if (lanesFit && RenderPathAvailable(path)) {
        if (path == RenderPath::Avx2) return RenderAvx2(heights, lookup, frame, width, height, stride);
        if (path == RenderPath::Sse2) return RenderSse2(heights, lookup, frame, width, height, stride);
    }
#else
    (void)path;
#endif
    return RenderCellsScalar(heights, lookup, frame, width, height, stride);
}

bool RenderCells(const int32_t* heights, const uint32_t* lookup, uint8_t* frame, int32_t width, int32_t height,
                 int32_t stride) {
    static const RenderPath best = RenderPathAvailable(RenderPath::Avx2)   ? RenderPath::Avx2
                                   : RenderPathAvailable(RenderPath::Sse2) ? RenderPath::Sse2
                                                                           : RenderPath::Scalar;
    return RenderCellsOn(best, heights, lookup, frame, width, height, stride);
}

// ---- record operations --------------------------------------------------------------------------

uint32_t Random16(RippleEffect& effect) { return Random16(effect.randomState); }
uint32_t RandomBelow(RippleEffect& effect, UINT n) { return RandomBelow(effect.randomState, n); }

void Release(RippleEffect& effect) {
    if (effect.frameDC) DeleteDC(effect.frameDC);
    if (effect.frameBitmap) DeleteObject(effect.frameBitmap);
    for (void* block : {static_cast<void*>(effect.sourcePixels), static_cast<void*>(effect.framePixels),
                        static_cast<void*>(effect.currentHeights), static_cast<void*>(effect.previousHeights),
                        static_cast<void*>(effect.lookup)}) {
        if (block) g_allocator.release(block);
    }
    if (effect.window) KillTimer(effect.window, reinterpret_cast<UINT_PTR>(&effect));
    effect = RippleEffect{};
}

int Create(RippleEffect& effect, HWND window, HBITMAP picture, UINT intervalMs, BOOL wideKernel) {
    effect = RippleEffect{};
    if (wideKernel) effect.flags |= kWideKernel;
    effect.window = window;
    effect.randomState = GetTickCount();

    // The timer and the frames belong to the window: without one there is nothing to paint on.
    BITMAP bm = {};
    if (!window || !IsWindow(window) || !picture || GetObjectA(picture, sizeof bm, &bm) == 0 ||
        bm.bmHeight <= 3 || bm.bmWidth <= 3) {
        effect = RippleEffect{};
        return 1;
    }
    effect.width = bm.bmWidth;
    effect.height = bm.bmHeight;
    effect.heightPitch = effect.width * 4;
    effect.stride = DibStride(effect.width);

    HDC windowDC = GetDC(window);
    if (windowDC) {
        effect.frameDC = CreateCompatibleDC(windowDC);
        effect.frameBitmap = CreateCompatibleBitmap(windowDC, effect.width, effect.height);
        if (effect.frameDC && effect.frameBitmap) SelectObject(effect.frameDC, effect.frameBitmap);
    }

    const size_t cells = size_t(effect.heightPitch) * size_t(effect.height);
    const size_t pixels = size_t(effect.stride) * size_t(effect.height);
    effect.currentHeights = static_cast<int32_t*>(g_allocator.allocate(cells));
    effect.previousHeights = static_cast<int32_t*>(g_allocator.allocate(cells));
    effect.sourcePixels = static_cast<uint8_t*>(g_allocator.allocate(pixels));
    effect.framePixels = static_cast<uint8_t*>(g_allocator.allocate(pixels));
    effect.lookup = static_cast<uint32_t*>(g_allocator.allocate(LookupCells(effect.width, effect.height) * 4));

    BITMAPINFOHEADER& h = effect.header.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = effect.width;
    h.biHeight = -effect.height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;

    bool copied = false;
    if (windowDC) {
        HDC pictureDC = CreateCompatibleDC(windowDC);
        ReleaseDC(window, windowDC);
        if (pictureDC) {
            // The picture stays unselected: GetDIBits wants a bitmap that no DC holds.
            if (effect.sourcePixels && effect.framePixels) {
                copied = GetDIBits(pictureDC, picture, 0, effect.height, effect.sourcePixels, &effect.header,
                                   DIB_RGB_COLORS) == effect.height &&
                         GetDIBits(pictureDC, picture, 0, effect.height, effect.framePixels, &effect.header,
                                   DIB_RGB_COLORS) == effect.height;
            }
            DeleteDC(pictureDC);
        }
    }

    if (!copied || !effect.currentHeights || !effect.previousHeights || !effect.sourcePixels ||
        !effect.framePixels || !effect.lookup || !effect.frameDC || !effect.frameBitmap) {
        Release(effect);
        return 1;
    }
    BuildLookup(effect.sourcePixels, effect.lookup, effect.width, effect.height, effect.stride);

    if (!SetTimer(window, reinterpret_cast<UINT_PTR>(&effect), intervalMs, OnTick)) {
        Release(effect);
        return 1;
    }
    effect.flags |= kMoving | kFrameReady;
    Render(effect);
    if (HDC dc = GetDC(window)) {
        Paint(effect, dc, TRUE);
        ReleaseDC(window, dc);
    }
    return 0;
}

void SetAutoDrops(RippleEffect& effect, int mode, int a, int b, int c) {
    if (mode == 0) {
        effect.flags &= ~uint32_t(kAutoDrops);
        effect.autoMode = 0;
        return;
    }
    if (mode == 2) {
        effect.wanderDX = effect.wanderDY = a;
        effect.wanderX = int32_t(RandomBelow(effect, UINT(effect.width - 2)) + 1);
        effect.wanderY = int32_t(RandomBelow(effect, UINT(effect.height - 2)) + 1);
    }
    effect.autoMode = mode;
    effect.autoP1 = a;
    effect.autoP2 = b;
    effect.autoP3 = c;
    effect.flags |= kAutoDrops;
}

void Drop(RippleEffect& effect, int x, int y, UINT size, int level) {
    if (DropCells(effect.currentHeights, effect.width, effect.height, (effect.flags & kWideKernel) != 0, x, y,
                  size, level))
        effect.flags |= kMoving;
}

void Step(RippleEffect& effect) {
    if (!(effect.flags & kMoving) || !effect.currentHeights) return;
    StepCells(effect.currentHeights, effect.previousHeights, effect.width, effect.height,
              (effect.flags & kWideKernel) != 0);
    int32_t* written = effect.previousHeights;
    effect.previousHeights = effect.currentHeights;
    effect.currentHeights = written;
}

void Render(RippleEffect& effect) {
    if (!(effect.flags & kMoving) || !effect.currentHeights) return;
    effect.flags |= kFrameReady;
    const bool moved = RenderCells(effect.currentHeights, effect.lookup, effect.framePixels, effect.width,
                                   effect.height, effect.stride);
    if (effect.frameDC)
        SetDIBits(effect.frameDC, effect.frameBitmap, 0, effect.height, effect.framePixels, &effect.header,
                  DIB_RGB_COLORS);
    if (!moved) effect.flags &= ~uint32_t(kMoving);
}

void Paint(RippleEffect& effect, HDC target, BOOL force) {
    if (force || (effect.flags & kFrameReady)) {
        BitBlt(target, 0, 0, effect.width, effect.height, effect.frameDC, 0, 0, SRCCOPY);
        effect.flags &= ~uint32_t(kFrameReady);
    }
}

namespace {

void ReflectAxis(int32_t& pos, int32_t& delta, int32_t limit) {
    int32_t v = Wrap(uint32_t(pos) + uint32_t(delta));
    if (v < 1) {
        v = Wrap(1u - uint32_t(v));
        delta = Wrap(0u - uint32_t(delta));
    }
    if (v >= limit - 1) {
        v = Wrap(2u * uint32_t(limit - 1) - uint32_t(v));
        delta = Wrap(0u - uint32_t(delta));
    }
    pos = v;
}

}  // namespace

void AutoDrop(RippleEffect& effect) {
    if (!(effect.flags & kAutoDrops)) return;
    switch (effect.autoMode) {
    case 1: {
        if (effect.autoP1 != 0 && RandomBelow(effect, UINT(effect.autoP1)) != 0) return;
        const int x = int(RandomBelow(effect, UINT(effect.width - 2)) + 1);
        const int y = int(RandomBelow(effect, UINT(effect.height - 2)) + 1);
        const UINT size = RandomBelow(effect, UINT(effect.autoP2)) + 1;
        const int level = int(RandomBelow(effect, UINT(effect.autoP3)) + 50);
        Drop(effect, x, y, size, level);
        break;
    }
    case 2:
        if (++effect.tickCount & 1) return;
        ReflectAxis(effect.wanderX, effect.wanderDX, effect.width);
        ReflectAxis(effect.wanderY, effect.wanderDY, effect.height);
        Drop(effect, effect.wanderX, effect.wanderY, UINT(effect.autoP2), effect.autoP3);
        break;
    case 3:
        for (int64_t i = 0; i <= effect.autoP1; ++i) {
            const int x = int(RandomBelow(effect, UINT(effect.width - 2)) + 1);
            const int y = int(RandomBelow(effect, UINT(effect.height - 2)) + 1);
            const UINT size = RandomBelow(effect, UINT(effect.autoP2)) + 1;
            const int level = int(RandomBelow(effect, UINT(effect.autoP3)));
            Drop(effect, x, y, size, level);
        }
        break;
    default:
        break;
    }
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD) {
    RippleEffect& effect = *reinterpret_cast<RippleEffect*>(id);
    Step(effect);
    Render(effect);
    if (effect.flags & kFrameReady) {
        if (HDC dc = GetDC(effect.window)) {
            Paint(effect, dc, FALSE);
            ReleaseDC(effect.window, dc);
        }
    }
    AutoDrop(effect);
}

}  // namespace ripple
