#pragma once
// Source-over blending of premultiplied 32-bit pixels (blue low, alpha high) with per-pixel alpha
// and constant alpha 255, rounded as the system's AlphaBlend rounds, so that a picture blended here
// and one blended by the system cannot be told apart.
#include <cstdint>
#include <utility>
#include <vector>

namespace skin {

// Each channel is s + round(d * (255 - a) / 255). A channel above its alpha (straight, not
// premultiplied pixels) sums past 255 and its ninth bit is or-ed into the next channel, as the
// system's blend does; premultiplied pixels never get there.
inline uint32_t BlendOver(uint32_t dst, uint32_t src) {
    const uint32_t a = src >> 24;
    if (a == 255) return src;
    const uint32_t inv = 255 - a;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= (((src >> shift) & 0xFFu) + (((dst >> shift) & 0xFFu) * inv + 127) / 255) << shift;
    return out;
}

// Blends count source pixels over count destination pixels.
void BlendOverRow(uint32_t* dst, const uint32_t* src, int count);

// Horizontal runs [x0, x1) of one row that need blending; pixels between runs are opaque.
struct BlendRun {
    int x0, x1;
};
// Runs of a top-down picture of width x height: rowStart[y] .. rowStart[y + 1] index the runs of
// row y. Runs closer than a few pixels are joined: a short copy between them costs more than it saves.
struct BlendRuns {
    std::vector<BlendRun> runs;
    std::vector<int> rowStart;
    std::vector<std::pair<int, int>> bands;  // [top, bottom) of consecutive rows that have runs
    bool straight = false;  // some channel exceeds its alpha
    bool any() const { return !runs.empty(); }
};
BlendRuns FindBlendRuns(const uint32_t* pixels, int width, int height);

// Draws rows [firstRow, firstRow + rowCount) of a top-down picture width pixels wide over
// destination rows: opaque pixels are copied, the runs blended. dstRows points at the destination
// row that receives firstRow; dstStride is in bytes and negative for a bottom-up destination.
void BlendPicture(uint8_t* dstRows, intptr_t dstStride, const uint32_t* pixels, int width, int firstRow,
                  int rowCount, const BlendRuns& runs);

}  // namespace skin
