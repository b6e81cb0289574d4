#include "SkinScrollBarDraw.h"

#include <cstdint>

#include "CSkinSchema.h"
#include "CSkinScrollBarTracking.h"
#include "SkinTables.h"

namespace {

// Arrow states of part 1 come in blocks of four (normal, hot, pressed, disabled) per direction,
// followed by one hover state per direction.
enum ArrowDirection { ArrowUp = 0, ArrowDown = 1, ArrowLeft = 2, ArrowRight = 3 };

int PieceState(int hit, const SkinScrollBarLook& look, BOOL enabled) {
    if (!enabled) return 4;
    if (hit == look.pressedPart) return 3;
    if (hit == look.hotPart) return 2;
    return 1;
}

int ArrowState(ArrowDirection direction, int hit, const SkinScrollBarLook& look, BOOL enabled, BOOL hoverStates) {
    const int plain = PieceState(hit, look, enabled);
    if (plain == 1 && hoverStates && look.barHot) return 17 + direction;
    return direction * 4 + plain;
}

}  // namespace

SkinScrollBarLook ScrollBarLook(const CSkinScrollBarInfo& bar, const CSkinScrollBarTracking* tracking) {
    SkinScrollBarLook look;
    const BOOL tracked = tracking && tracking->IsTracking(bar);
    if (tracked && (tracking->inside || tracking->dragging)) look.pressedPart = bar.hotPart;
    if (!tracking) look.hotPart = bar.hotPart;
    look.barHot = bar.hotPart != ScrollHitNone || tracked;
    return look;
}

std::vector<SkinScrollBarPiece> PlanScrollBar(const CSkinScrollBarInfo& bar, const SkinScrollBarLook& look,
                                              BOOL hoverStates) {
    std::vector<SkinScrollBarPiece> pieces;
    if (bar.crossEnd - bar.crossStart < 1) return pieces;
    const BOOL enabled = look.enabled >= 0 ? look.enabled != 0
                                           : int64_t(bar.maximum) - bar.page - bar.minimum >= 0;
    const BOOL thumbShown = enabled && bar.secondArrowStart >= bar.thumbEnd;
    const BOOL v = bar.vertical;
    auto add = [&](int part, int state, int from, int to) {
        if (from < to) pieces.push_back({part, state, ScrollBarSpan(bar, from, to)});
    };

    add(ScrollPartArrow, ArrowState(v ? ArrowUp : ArrowLeft, ScrollHitFirstArrow, look, enabled, hoverStates),
        bar.axisStart, bar.firstArrowEnd);
    const int afterState = PieceState(ScrollHitPageAfter, look, enabled);
    const int afterPart = v ? ScrollPartUpperTrackVert : ScrollPartUpperTrackHorz;
    if (thumbShown) {
        add(v ? ScrollPartLowerTrackVert : ScrollPartLowerTrackHorz, PieceState(ScrollHitPageBefore, look, enabled),
            bar.firstArrowEnd, bar.thumbStart);
        const int thumbState = PieceState(ScrollHitThumb, look, enabled);
        add(v ? ScrollPartThumbVert : ScrollPartThumbHorz, thumbState, bar.thumbStart, bar.thumbEnd);
        if (bar.thumbEnd - bar.thumbStart > (v ? 13 : 9))
            add(v ? ScrollPartGripperVert : ScrollPartGripperHorz, thumbState, bar.thumbStart, bar.thumbEnd);
        add(afterPart, afterState, bar.thumbEnd, bar.secondArrowStart);
    } else {
        add(afterPart, afterState, bar.firstArrowEnd, bar.secondArrowStart);
    }
    add(ScrollPartArrow, ArrowState(v ? ArrowDown : ArrowRight, ScrollHitSecondArrow, look, enabled, hoverStates),
        bar.secondArrowStart, bar.axisEnd);
    return pieces;
}

BOOL ScrollBarHasHoverStates(const CSkinClassTheme& theme) {
    return theme.GetThemeInt(ScrollPartArrow, 0, skin::TMT_IMAGECOUNT, 16) == 20;
}

void DrawThemeScrollBar(HDC dc, const CSkinScrollBarInfo& bar, CSkinClassTheme& theme, const SkinScrollBarLook& look,
                        HBRUSH background) {
    if (bar.crossEnd - bar.crossStart < 1) return;
    if (background) FillRect(dc, &bar.rect, background);
    for (const SkinScrollBarPiece& piece : PlanScrollBar(bar, look, ScrollBarHasHoverStates(theme)))
        theme.DrawThemeBackground(dc, piece.part, piece.state, piece.rect);
}
