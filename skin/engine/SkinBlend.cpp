#include "SkinBlend.h"

#include "SkinGdi.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace skin {
namespace {

// Rows of a control are short: an inline copy beats the library call's set-up.
inline void CopyPixels(uint32_t* d, const uint32_t* s, int n) {
#ifdef __SSE2__
    int i = 0;
    for (; i + 4 <= n; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
    for (; i < n; ++i) d[i] = s[i];
#else
    std::memcpy(d, s, static_cast<size_t>(n) * 4);
#endif
}

}  // namespace

void BlendOverRow(uint32_t* dst, const uint32_t* src, int count) {
    for (int x = 0; x < count; ++x) {
        const uint32_t s = src[x];
        if (s == 0) continue;  // fully clear: the destination stays
        dst[x] = BlendOver(dst[x], s);
    }
}

BlendRuns FindBlendRuns(const uint32_t* pixels, int width, int height) {
    constexpr int kJoinGap = 8;
    BlendRuns out;
    out.rowStart.reserve(static_cast<size_t>(height) + 1);
    for (int y = 0; y < height; ++y) {
        out.rowStart.push_back(static_cast<int>(out.runs.size()));
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        const size_t first = out.runs.size();
        for (int x = 0; x < width; ++x) {
            const uint32_t p = row[x], a = p >> 24;
            if (a == 255) continue;
            if (((p >> 16) & 0xFF) > a || ((p >> 8) & 0xFF) > a || (p & 0xFF) > a) out.straight = true;
            if (out.runs.size() > first && x - out.runs.back().x1 < kJoinGap)
                out.runs.back().x1 = x + 1;
            else
                out.runs.push_back({x, x + 1});
        }
    }
    out.rowStart.push_back(static_cast<int>(out.runs.size()));
    for (int y = 0; y < height; ++y) {
        if (out.rowStart[y] == out.rowStart[y + 1]) continue;
        if (!out.bands.empty() && out.bands.back().second == y)
            out.bands.back().second = y + 1;
        else
            out.bands.emplace_back(y, y + 1);
    }
    return out;
}

void BlendPicture(uint8_t* dstRows, intptr_t dstStride, const uint32_t* pixels, int width, int firstRow,
                  int rowCount, const BlendRuns& runs) {
    for (int y = firstRow; y < firstRow + rowCount; ++y) {
        uint32_t* d = reinterpret_cast<uint32_t*>(dstRows + dstStride * (y - firstRow));
        const uint32_t* s = pixels + static_cast<size_t>(y) * width;
        int x = 0;
        for (int i = runs.rowStart[y]; i < runs.rowStart[y + 1]; ++i) {
            const BlendRun& r = runs.runs[i];
            if (r.x0 > x) CopyPixels(d + x, s + x, r.x0 - x);
            BlendOverRow(d + r.x0, s + r.x0, r.x1 - r.x0);
            x = r.x1;
        }
        if (x < width) CopyPixels(d + x, s + x, width - x);
    }
}

namespace {

struct LoadedDrawing : SystemDrawing {
    LoadedDrawing() {
        if (HMODULE m = LoadLibraryA("msimg32.dll")) {
            alphaBlend = reinterpret_cast<AlphaBlendFn>(GetProcAddress(m, "AlphaBlend"));
            transparentBlt = reinterpret_cast<TransparentBltFn>(GetProcAddress(m, "TransparentBlt"));
            gradientFill = reinterpret_cast<GradientFillFn>(GetProcAddress(m, "GradientFill"));
        }
        if (HMODULE g = GetModuleHandleA("GDI32.DLL")) {
            getLayout = reinterpret_cast<GetLayoutFn>(GetProcAddress(g, "GetLayout"));
            setLayout = reinterpret_cast<SetLayoutFn>(GetProcAddress(g, "SetLayout"));
        }
    }
};

}  // namespace

const SystemDrawing& SystemGdi() {
    static const LoadedDrawing fns;
    return fns;
}

// Whether the system's blend into a 32-bit section gives exactly BlendOver's pixels: every alpha
// against a spread of destination values, for premultiplied pixels and for straight ones apart.
static SystemBlendCheck MeasureSystemBlend() {
    SystemBlendCheck result;
    if (!SystemGdi().alphaBlend) return result;
    constexpr int W = 256, H = 32;
    void* srcBits = nullptr;
    void* dstBits = nullptr;
    Bitmap src(CreateDib32(W, H, &srcBits)), dst(CreateDib32(W, H, &dstBits));
    MemoryDC from(nullptr), to(nullptr);
    if (!src || !dst || !from || !to) return result;
    from.Select(src.Get());
    to.Select(dst.Get());
    auto* s = static_cast<uint32_t*>(srcBits);
    auto* d = static_cast<uint32_t*>(dstBits);
    std::vector<uint32_t> before(static_cast<size_t>(W) * H);
    // Rows below H / 2 hold premultiplied pixels, the rest straight ones.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint32_t a = static_cast<uint32_t>(x), k = static_cast<uint32_t>(y);
            uint32_t c[3] = {(k * 37 + a * 3) & 0xFF, (k * 91 + 255 - a) & 0xFF, (k * 13 + a * 7) & 0xFF};
            if (y < H / 2)
                for (uint32_t& v : c) v = v * a / 255;
            s[y * W + x] = c[0] | (c[1] << 8) | (c[2] << 16) | (a << 24);
            before[y * W + x] = d[y * W + x] = ((k * 8 + a) & 0xFF) | (((k * 29 + a * 5) & 0xFF) << 8) |
                                               (((255 - k * 8 + a * 11) & 0xFF) << 16) |
                                               (((k * 53 + a) & 0xFF) << 24);
        }
    GdiFlush();
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!SystemGdi().alphaBlend(to.Get(), 0, 0, W, H, from.Get(), 0, 0, W, H, bf)) return result;
    GdiFlush();
    bool pm = true, st = true;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (BlendOver(before[y * W + x], s[y * W + x]) != d[y * W + x]) (y < H / 2 ? pm : st) = false;
    result.premultiplied = pm;
    result.straight = pm && st;
    return result;
}

const SystemBlendCheck& BlendCheck() {
    static const SystemBlendCheck check = MeasureSystemBlend();
    return check;
}

bool BlendIntoSection(HDC dc, const RECT& dest, const uint32_t* picture, int width, int height, const BlendRuns& runs,
                      HGDIOBJ bitmap, const DIBSECTION& ds, SectionRowOrders& memory) {
    if (!ds.dsBm.bmBits || ds.dsBm.bmBitsPixel != 32 || ds.dsBmih.biCompression != BI_RGB) return false;
    POINT viewport, window;
    if (!GetViewportOrgEx(dc, &viewport) || !GetWindowOrgEx(dc, &window)) return false;
    const int x0 = dest.left - window.x + viewport.x, y0 = dest.top - window.y + viewport.y;
    const LONG bw = ds.dsBm.bmWidth, bh = ds.dsBm.bmHeight;
    if (x0 < 0 || y0 < 0 || x0 + width > bw || y0 + height > bh) return false;
    GdiFlush();  // earlier drawing into the section lands before its pixels are read
    auto* base = static_cast<uint8_t*>(ds.dsBm.bmBits);
    const intptr_t stride = ds.dsBm.bmWidthBytes;
    auto pixel = [&](LONG x, LONG y, bool bottomUp) {
        return reinterpret_cast<const uint32_t*>(base + stride * (bottomUp ? bh - 1 - y : y))[x];
    };
    auto known = std::find_if(memory.sections.begin(), memory.sections.end(), [&](const SectionRowOrders::Known& k) {
        return k.bitmap == bitmap && k.bits == ds.dsBm.bmBits && k.width == bw && k.height == bh;
    });
    if (known == memory.sections.end()) {
        // Find a pixel of the part's rows whose colour differs between the two readings of the rows
        // and ask the context which one it shows. Rows alike both ways up are read back instead.
        bool found = false, bottomUp = false;
        for (LONG y = y0; y < y0 + height && !found; ++y)
            for (LONG x = x0; x < x0 + width; ++x) {
                const uint32_t down = pixel(x, y, false), up = pixel(x, y, true);
                if (((down ^ up) & 0x00FFFFFFu) == 0) continue;
                const COLORREF seen = GetPixel(dc, x + window.x - viewport.x, y + window.y - viewport.y);
                auto rgb = [](uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); };
                if (seen == CLR_INVALID || (seen != rgb(down) && seen != rgb(up))) return false;
                bottomUp = seen == rgb(up);
                found = true;
                break;
            }
        if (!found) return false;
        known = memory.sections.end() - 1;  // the oldest gives way
        *known = SectionRowOrders::Known{bitmap, ds.dsBm.bmBits, bw, bh, bottomUp};
    }
    std::rotate(memory.sections.begin(), known, known + 1);
    const bool bottomUp = memory.sections.front().bottomUp;
    uint8_t* first = base + stride * (bottomUp ? bh - 1 - y0 : y0) + static_cast<intptr_t>(x0) * 4;
    BlendPicture(first, bottomUp ? -stride : stride, picture, width, 0, height, runs);
    return true;
}

}  // namespace skin
