#pragma once
// Source-over blending of premultiplied 32-bit pixels (blue low, alpha high) with per-pixel alpha
// and constant alpha 255, rounded as the system's AlphaBlend rounds, so that a picture blended here
// and one blended by the system cannot be told apart.
#include <windows.h>

#include <array>
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

// The system's drawing functions that may be missing, looked up once.
struct SystemDrawing {
    using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    using GetLayoutFn = DWORD(WINAPI*)(HDC);
    using SetLayoutFn = DWORD(WINAPI*)(HDC, DWORD);
    AlphaBlendFn alphaBlend = nullptr;
    TransparentBltFn transparentBlt = nullptr;
    GradientFillFn gradientFill = nullptr;
    GetLayoutFn getLayout = nullptr;
    SetLayoutFn setLayout = nullptr;
};
const SystemDrawing& SystemGdi();

// Whether the system's blend into a 32-bit section gives exactly BlendOver's pixels, for
// premultiplied pixels and for straight ones apart (checked once).
struct SystemBlendCheck {
    bool premultiplied = false;
    bool straight = false;
};
const SystemBlendCheck& BlendCheck();

// A 32-bit section does not tell whether its rows run bottom-up; that is found once per section by
// reading one pixel through the context. The last few sections blended into are remembered.
struct SectionRowOrders {
    struct Known {
        HGDIOBJ bitmap = nullptr;
        void* bits = nullptr;
        LONG width = 0, height = 0;
        bool bottomUp = false;
    };
    std::array<Known, 4> sections;  // most recent first
};

// Blends a composed top-down picture (width x height, its see-through runs found) straight into the
// pixels of the 32-bit section ds selected into dc at dest. False when the section cannot take it
// (the destination reaches outside it, or its row order cannot be told); nothing is drawn then.
bool BlendIntoSection(HDC dc, const RECT& dest, const uint32_t* picture, int width, int height, const BlendRuns& runs,
                      HGDIOBJ bitmap, const DIBSECTION& ds, SectionRowOrders& memory);

}  // namespace skin
