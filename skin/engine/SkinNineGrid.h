#pragma once
// Where the cells of a nine-grid draw go: scaled margins, the nine source and destination cells,
// and the pieces of a tiled copy.
#include <windows.h>
#include <cstdint>
#include <utility>
#include <vector>

namespace skin {

struct NineGridCell {
    RECT dest;
    RECT src;
    bool tiled;  // edges and centre are tiled copies; corners plain copies
};
struct NineGridPlan {
    int tileFlags = 0;  // 1 vertical, 2 horizontal
    std::vector<NineGridCell> cells;
    RECT centre{};  // destination of the centre cell, drawn or not; empty without margins
};
// Margins as a frame of width x height can hold: none negative, none wider or higher than the frame.
// A theme may write any number (2147483647 included) and sums of such margins must not overflow.
RECT ClampMargins(const RECT& margins, int width, int height);
// The source frame is at least as high as the top and bottom margins together.
bool MarginsFitHeight(const RECT& src, const RECT& margins);
// Empty plan when nothing is to be drawn.
NineGridPlan PlanNineGrid(const RECT& dest, const RECT& src, const RECT& margins, int sizingType,
                          bool borderOnly);
// Pieces of one tiled copy as (dest, src) pairs; a single pair is a plain (stretched) copy.
std::vector<std::pair<RECT, RECT>> PlanTiledCopy(const RECT& dest, const RECT& src, int tileFlags);

}  // namespace skin
