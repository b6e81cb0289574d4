#include "SkinEdge.h"

#include "SkinGdi.h"

namespace skin {

namespace {

struct LayerColors {
    COLORREF topLeft, bottomRight;
};

// One layer of the edge: outer (BDR_RAISEDOUTER/BDR_SUNKENOUTER) or inner (the INNER pair).
bool LayerOf(UINT edge, bool outer, UINT flags, const EdgeColors& c, LayerColors* out) {
    const UINT raised = outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    const UINT sunken = outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
    if (!(edge & (raised | sunken))) return false;
    if (flags & (BF_FLAT | BF_MONO)) {
        const COLORREF flat = outer ? c.shadow : c.face;
        *out = {flat, flat};
        return true;
    }
    const bool soft = (flags & BF_SOFT) != 0;
    if (edge & raised) {
        *out = outer ? LayerColors{soft ? c.highlight : c.light, c.dkShadow}
                     : LayerColors{soft ? c.light : c.highlight, c.shadow};
    } else {
        *out = outer ? LayerColors{soft ? c.dkShadow : c.shadow, c.highlight}
                     : LayerColors{soft ? c.shadow : c.dkShadow, c.light};
    }
    return true;
}

COLORREF MiddleColor(UINT flags, const EdgeColors& c) { return (flags & BF_MONO) ? c.window : c.face; }

void DrawLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
    GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, color));
    HGDIOBJ old = SelectObject(dc, pen.Get());
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
}

// A diagonal edge runs from the corner opposite the named end to that end; a line rising to
// the right or to the left faces up and takes the top-left colour.
BOOL DrawDiagonalEdge(HDC dc, RECT* rect, UINT edge, UINT flags, const EdgeColors& colors) {
    RECT r = *rect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int size = w < h ? w : h;
    if (size <= 0) return TRUE;
    const bool endTop = (flags & BF_TOP) != 0;
    const bool endRight = (flags & BF_RIGHT) != 0;
    POINT from, to;
    from.x = endRight ? r.left : r.right - 1;
    from.y = endTop ? r.bottom - 1 : r.top;
    to.x = endRight ? from.x + size : from.x - size;
    to.y = endTop ? from.y - size : from.y + size;
    const int stepX = endRight ? 1 : -1;
    const int inwardY = endTop ? -1 : 1;
    if (flags & BF_MIDDLE) {
        GdiHandle<HBRUSH> brush(CreateSolidBrush(MiddleColor(flags, colors)));
        GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, MiddleColor(flags, colors)));
        HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
        HGDIOBJ oldPen = SelectObject(dc, pen.Get());
        POINT corner = {to.x - stepX, from.y};
        POINT tri[3] = {from, to, corner};
        Polygon(dc, tri, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    // Each inner layer runs one pixel further inside than the one before it.
    int offset = 0;
    for (bool outer : {true, false}) {
        LayerColors layer;
        if (!LayerOf(edge, outer, flags, colors, &layer)) continue;
        const COLORREF color = endTop ? layer.topLeft : layer.bottomRight;
        DrawLine(dc, from.x + offset * stepX, from.y, to.x, to.y - offset * inwardY, color);
        ++offset;
    }
    if (flags & BF_ADJUST) {
        if (flags & BF_LEFT) rect->left += offset;
        if (flags & BF_TOP) rect->top += offset;
        if (flags & BF_RIGHT) rect->right -= offset;
        if (flags & BF_BOTTOM) rect->bottom -= offset;
    }
    return TRUE;
}

}  // namespace

EdgePlan PlanRectEdge(const RECT& rect, UINT edge, UINT flags, const EdgeColors& colors, int cx, int cy) {
    EdgePlan plan;
    RECT r = rect;
    for (bool outer : {true, false}) {
        LayerColors layer;
        if (!LayerOf(edge, outer, flags, colors, &layer)) continue;
        if (flags & BF_LEFT) plan.bands.push_back({{r.left, r.top, r.left + cx, r.bottom}, layer.topLeft});
        if (flags & BF_TOP) plan.bands.push_back({{r.left, r.top, r.right, r.top + cy}, layer.topLeft});
        if (flags & BF_RIGHT) plan.bands.push_back({{r.right - cx, r.top, r.right, r.bottom}, layer.bottomRight});
        if (flags & BF_BOTTOM) plan.bands.push_back({{r.left, r.bottom - cy, r.right, r.bottom}, layer.bottomRight});
        if (flags & BF_LEFT) r.left += cx;
        if (flags & BF_TOP) r.top += cy;
        if (flags & BF_RIGHT) r.right -= cx;
        if (flags & BF_BOTTOM) r.bottom -= cy;
    }
    plan.interior = r;
    if (flags & BF_MIDDLE) {
        plan.fillMiddle = true;
        plan.middle = MiddleColor(flags, colors);
    }
    return plan;
}

BOOL DrawSkinEdge(HDC dc, RECT* rect, UINT edge, UINT flags, const EdgeColors& colors, int cx, int cy) {
    if (!dc || !rect) return FALSE;
    if (flags & BF_DIAGONAL) return DrawDiagonalEdge(dc, rect, edge, flags, colors);
    const EdgePlan plan = PlanRectEdge(*rect, edge, flags, colors, cx < 1 ? 1 : cx, cy < 1 ? 1 : cy);
    for (const EdgeBand& band : plan.bands)
        if (band.rect.right > band.rect.left && band.rect.bottom > band.rect.top) FillSolid(dc, band.rect, band.color);
    if (plan.fillMiddle && plan.interior.right > plan.interior.left && plan.interior.bottom > plan.interior.top)
        FillSolid(dc, plan.interior, plan.middle);
    if (flags & BF_ADJUST) *rect = plan.interior;
    return TRUE;
}

}  // namespace skin
