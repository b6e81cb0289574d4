#pragma once
// The platform's edge drawing rules (raised and sunken borders, soft, flat and mono edges,
// diagonals, middle fill, adjusted rectangle) over a set of colours of the caller's choice.
#include <windows.h>
#include <vector>

namespace skin {

struct EdgeColors {
    COLORREF light, highlight, shadow, dkShadow, face, window;
};

// A band of one colour along one side of one layer of the edge.
struct EdgeBand {
    RECT rect;
    COLORREF color;
};

struct EdgePlan {
    std::vector<EdgeBand> bands;  // painted in order; later bands cover the corners of earlier ones
    RECT interior;                // what the edge leaves inside (written back for BF_ADJUST)
    bool fillMiddle = false;
    COLORREF middle = 0;
};

// Rectangular edges only (no BF_DIAGONAL). cx, cy: width of one layer across and down.
EdgePlan PlanRectEdge(const RECT& rect, UINT edge, UINT flags, const EdgeColors& colors, int cx, int cy);

// Draws the edge (diagonals included); with BF_ADJUST rect receives the interior.
BOOL DrawSkinEdge(HDC dc, RECT* rect, UINT edge, UINT flags, const EdgeColors& colors, int cx, int cy);

}  // namespace skin
