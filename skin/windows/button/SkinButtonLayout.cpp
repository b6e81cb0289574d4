#include "SkinButtonLayout.h"

namespace skin {

ButtonHAlign HorizontalAlignment(DWORD style, bool pushLike) {
    switch (style & BS_CENTER) {
    case BS_LEFT: return ButtonHAlign::Left;
    case BS_RIGHT: return ButtonHAlign::Right;
    case BS_CENTER: return ButtonHAlign::Center;
    default: return pushLike ? ButtonHAlign::Center : ButtonHAlign::Left;
    }
}

ButtonVAlign VerticalAlignment(DWORD style) {
    switch (style & BS_VCENTER) {
    case BS_TOP: return ButtonVAlign::Top;
    case BS_BOTTOM: return ButtonVAlign::Bottom;
    default: return ButtonVAlign::Center;
    }
}

RECT GlyphRect(const RECT& client, DWORD style, SIZE glyph, int spaceHeight) {
    const int h = spaceHeight, line = h + h / 4;
    int y;
    switch (VerticalAlignment(style)) {
    case ButtonVAlign::Top: y = client.top + (line - glyph.cy) / 2; break;
    case ButtonVAlign::Bottom: y = client.bottom + (line - glyph.cy) / 2 - line; break;
    default: y = client.top + (client.bottom - client.top - glyph.cy) / 2; break;
    }
    const int x = (style & BS_LEFTTEXT) ? client.right - glyph.cx : client.left;
    return {x, y, x + glyph.cx, y + glyph.cy};
}

RECT BesideGlyphRect(const RECT& client, DWORD style, int glyphWidth) {
    RECT r = client;
    if (style & BS_LEFTTEXT)
        r.right -= glyphWidth + 3;
    else
        r.left += glyphWidth + 3;
    return r;
}

RECT GroupCaptionRect(const RECT& client, DWORD style, SIZE text, const ButtonMetrics& m) {
    const int width = text.cx > 0 ? text.cx + 2 * m.cxEdge : 0;
    int left;
    switch (style & BS_CENTER) {
    case BS_RIGHT: left = client.right - m.cxBorder - 6 - width; break;
    case BS_CENTER: left = client.left + (client.right - client.left - width) / 2 + m.cxBorder; break;
    default: left = client.left + m.cxBorder + 8; break;
    }
    return {left, client.top, left + width, client.top + text.cy};
}

RECT GroupFrameRect(const RECT& client, int spaceHeight) {
    RECT r = client;
    r.top += spaceHeight / 2;
    return r;
}

RECT PushContentRect(const RECT& client, const ButtonMetrics& m, bool split) {
    RECT r{client.left + m.cxEdge, client.top + m.cyEdge, client.right - m.cxEdge, client.bottom - m.cyEdge};
    if (split) r.right -= 12;
    return r;
}

RECT SplitStripRect(const RECT& rect) {
    return {rect.right - 4 - 12, rect.top + 4, rect.right - 4, rect.bottom - 4};
}

POINT ContentPosition(const RECT& area, SIZE content, DWORD style, const ButtonRole& role, const ButtonMetrics& m) {
    const bool inset = role.pushLike && !role.multiLine;
    const int dx = inset ? m.cxBorder : 0, dy = inset ? m.cyBorder : 0;
    POINT p;
    switch (HorizontalAlignment(style, role.pushLike)) {
    case ButtonHAlign::Left: p.x = area.left + dx; break;
    case ButtonHAlign::Right: p.x = area.right - content.cx - dx; break;
    default: p.x = area.left + (area.right - area.left - content.cx) / 2; break;
    }
    switch (VerticalAlignment(style)) {
    case ButtonVAlign::Top: p.y = area.top + dy; break;
    case ButtonVAlign::Bottom: p.y = area.bottom - content.cy - dy; break;
    default: p.y = area.top + (area.bottom - area.top - content.cy) / 2; break;
    }
    return p;
}

RECT FocusRect(const ButtonRole& role, const RECT& client, const RECT& content, const ButtonMetrics& m) {
    if (role.pushLike)
        return {client.left + m.cxBorder, client.top + m.cyBorder, client.right - m.cxBorder, client.bottom - m.cyBorder};
    if (role.type == BS_USERBUTTON) return client;
    RECT r{content.left - m.cxBorder, content.top - m.cyBorder, content.right + m.cxEdge, content.bottom + m.cyEdge};
    RECT clipped;
    if (!IntersectRect(&clipped, &r, &client)) return RECT{};
    return clipped;
}

}  // namespace skin
