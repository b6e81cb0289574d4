#include "SkinNineGrid.h"

#include <algorithm>

#include "SkinTables.h"

namespace skin {

RECT ClampMargins(const RECT& margins, int width, int height) {
    auto clamp = [](LONG v, int limit) { return v < 0 ? 0 : (v > limit ? static_cast<LONG>(limit) : v); };
    const int w = width > 0 ? width : 0, h = height > 0 ? height : 0;
    return RECT{clamp(margins.left, w), clamp(margins.top, h), clamp(margins.right, w), clamp(margins.bottom, h)};
}

bool MarginsFitHeight(const RECT& src, const RECT& margins) {
    return static_cast<int64_t>(src.bottom) - src.top >= static_cast<int64_t>(margins.top) + margins.bottom;
}

NineGridPlan PlanNineGrid(const RECT& D, const RECT& S, const RECT& margins, int sizingType, bool borderOnly) {
    NineGridPlan plan;
    const int sh = S.bottom - S.top, sw = S.right - S.left;
    const int dh = D.bottom - D.top, dw = D.right - D.left;
    const RECT M = ClampMargins(margins, sw, sh);
    if (!MarginsFitHeight(S, M) || dw <= 0 || dh <= 0) return plan;
    plan.tileFlags = sizingType == ST_TILE ? 3 : 0;
    if (M.left == 0 && M.top == 0 && M.right == 0 && M.bottom == 0) {
        plan.cells.push_back({D, S, true});
        return plan;
    }
    RECT m = M;
    const int mv = M.top + M.bottom, mh = M.left + M.right;
    if (mv >= dh || sh == mv) {
        m.top = mv != 0 ? MulDiv(dh, M.top, mv) : 0;
        m.bottom = dh - m.top;
        if (m.bottom > 0 && (m.bottom & 1) != (M.bottom & 1)) m.bottom += 1;
        plan.tileFlags &= ~1;
    }
    if (mh >= dw || sw == mh) {
        m.left = mh != 0 ? MulDiv(dw, M.left, mh) : 0;
        m.right = dw - m.left;
        plan.tileFlags &= ~2;
    }
    const LONG sx[4] = {S.left, S.left + M.left, S.right - M.right, S.right};
    const LONG sy[4] = {S.top, S.top + M.top, S.bottom - M.bottom, S.bottom};
    const LONG dx[4] = {D.left, D.left + m.left, D.right - m.right, D.right};
    const LONG dy[4] = {D.top, D.top + m.top, D.bottom - m.bottom, D.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1) {
                plan.centre = RECT{dx[1], dy[1], dx[2], dy[2]};
                if (borderOnly) continue;
            }
            bool corner = row != 1 && col != 1;
            plan.cells.push_back({RECT{dx[col], dy[row], dx[col + 1], dy[row + 1]},
                                  RECT{sx[col], sy[row], sx[col + 1], sy[row + 1]}, !corner});
        }
    }
    return plan;
}

std::vector<std::pair<RECT, RECT>> PlanTiledCopy(const RECT& d, const RECT& s, int flags) {
    std::vector<std::pair<RECT, RECT>> pieces;
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return pieces;
    const bool stretchLine = (sw == 1 && (sh == 1 || sh == dh)) || (sh == 1 && (sw == 1 || sw == dw));
    if (flags == 0 || stretchLine) {
        pieces.emplace_back(d, s);
        return pieces;
    }
    const int rowStep = (flags & 1) && sh < dh ? sh : dh;
    const int colStep = (flags & 2) ? std::min(sw, dw) : dw;
    for (int x = d.left; x < d.right; x += colStep) {
        for (int y = d.top; y < d.bottom; y += rowStep) {
            RECT pd{x, y, x + colStep, y + rowStep};
            RECT ps = s;
            if (flags & 1) {
                ps.bottom = s.top + rowStep;
                if (pd.bottom > d.bottom) {
                    ps.bottom -= pd.bottom - d.bottom;
                    pd.bottom = d.bottom;
                }
            }
            if (flags & 2) {
                ps.right = s.left + colStep;
                if (pd.right > d.right) {
                    ps.right -= pd.right - d.right;
                    pd.right = d.right;
                }
            }
            pieces.emplace_back(pd, ps);
        }
    }
    return pieces;
}


}  // namespace skin
