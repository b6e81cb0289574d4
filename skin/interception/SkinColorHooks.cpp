// System colours, their brushes and the edges and frame controls drawn with them.
#include "SkinEdge.h"
#include "SkinHookSupport.h"
#include "SkinReplacements.h"

namespace skin {
namespace hooks {

namespace {

EdgeColors ThemeEdgeColors(const CSkinMetrics& m) {
    return {m.colors[COLOR_3DLIGHT], m.colors[COLOR_BTNHIGHLIGHT], m.colors[COLOR_BTNSHADOW],
            m.colors[COLOR_3DDKSHADOW], m.colors[COLOR_BTNFACE], m.colors[COLOR_WINDOW]};
}

BOOL ThemeEdge(HDC dc, LPRECT rect, UINT edge, UINT flags, const CSkinMetrics& m) {
    return DrawSkinEdge(dc, rect, edge, flags, ThemeEdgeColors(m), m.cxBorder, m.cyBorder);
}

// Draws a theme part, TRUE when the theme has it.
BOOL DrawPart(CSkinEngine* engine, HDC dc, LPCSTR className, int part, int state, const RECT& rect) {
    CSkinClassTheme* theme = engine->GetThemeClass(nullptr, className);
    return theme && theme->DrawThemeBackground(dc, part, state, rect);
}

BOOL SkinFrameControl(CSkinEngine* engine, const CSkinMetrics& m, HDC dc, LPRECT rect, UINT type, UINT state) {
    if (!dc || !rect) return FALSE;
    if (type == DFC_SCROLL) {
        if (state & DFCS_SCROLLSIZEGRIP) {
            skin::FillSolid(dc, *rect, m.colors[COLOR_BTNFACE]);
            return DrawPart(engine, dc, "SCROLLBAR", 10, 1, *rect);
        }
        const UINT arrow = state & 0x1F;
        if (arrow > DFCS_SCROLLRIGHT) return FALSE;
        const int look = (state & DFCS_INACTIVE) ? 4 : (state & DFCS_PUSHED) ? 3 : 1;
        return DrawPart(engine, dc, "SCROLLBAR", 1, look + 4 * static_cast<int>(arrow), *rect);
    }
    if (type == DFC_BUTTON && (state & DFCS_BUTTONPUSH) &&
        !(state & ~(DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_CHECKED | DFCS_ADJUSTRECT))) {
        RECT r = *rect;
        ThemeEdge(dc, &r, (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST, m);
        if (r.right > r.left && r.bottom > r.top) skin::FillSolid(dc, r, m.colors[COLOR_BTNFACE]);
        if (state & DFCS_ADJUSTRECT) *rect = r;
        return TRUE;
    }
    return FALSE;
}

}  // namespace

DWORD WINAPI SkinGetSysColor(int index) {
    if (CSkinMetrics* m = SkinMetrics(SkinApplyColors))
        if (index >= 0 && index <= 30 && m->colors[index] != 0xFFFFFFFFu) return m->colors[index];
    return SystemEntry<decltype(&::GetSysColor)>(SlotGetSysColor)(index);
}

HBRUSH WINAPI SkinGetSysColorBrush(int index) {
    if (CSkinMetrics* m = SkinMetrics(SkinApplyColors))
        if (index >= 1 && index <= 30)
            if (HBRUSH brush = m->GetSysColorBrush(index)) return brush;
    return SystemEntry<decltype(&::GetSysColorBrush)>(SlotGetSysColorBrush)(index);
}

int WINAPI SkinFillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(brush);
    if (value >= 1 && value <= 30)
        if (CSkinMetrics* m = SkinMetrics(SkinApplyColors))
            if (HBRUSH themed = m->GetSysColorBrush(static_cast<int>(value) - 1)) brush = themed;
    return SystemEntry<decltype(&::FillRect)>(SlotFillRect)(dc, rect, brush);
}

BOOL WINAPI SkinDeleteObject(HGDIOBJ object) {
    // Theme brushes and fonts handed out to callers stay valid whatever the callers do with them.
    if (object) {
        CSkinEngine* engine = Manager()->ActiveEngine();
        CSkinMetrics* m = engine ? engine->GetMetrics() : nullptr;
        if (m && m->OwnsGdiObject(object)) return FALSE;
    }
    return SystemEntry<decltype(&::DeleteObject)>(SlotDeleteObject)(object);
}

BOOL WINAPI SkinDrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
    if (CSkinMetrics* m = SkinMetrics(SkinApplyColors)) return ThemeEdge(dc, rect, edge, flags, *m);
    return SystemEntry<decltype(&::DrawEdge)>(SlotDrawEdge)(dc, rect, edge, flags);
}

BOOL WINAPI SkinDrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
    if (CSkinEngine* engine = SkinOn(SkinApplyColors))
        if (CSkinMetrics* m = engine->GetMetrics())
            if (SkinFrameControl(engine, *m, dc, rect, type, state)) return TRUE;
    return SystemEntry<decltype(&::DrawFrameControl)>(SlotDrawFrameControl)(dc, rect, type, state);
}

}  // namespace hooks
}  // namespace skin
