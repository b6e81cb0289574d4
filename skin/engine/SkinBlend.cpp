#include "SkinBlend.h"

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

}  // namespace skin
