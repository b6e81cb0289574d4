#include "SkinButtonDraw.h"

#include "CSkinImage.h"
#include "CSkinSchema.h"
#include "SkinTables.h"

#include <cstring>

namespace skin {

namespace {

// Restores the context's selections, colours, modes and clipping on every way out.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
    ~SavedDC() { if (m_saved) RestoreDC(m_dc, m_saved); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

SIZE TextSize(HDC dc, const char* text) {
    SIZE s{0, 0};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &s);
    return s;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    SIZE s = BitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask);
    if (!info.hbmColor) s.cy /= 2;  // a monochrome icon stacks its AND and XOR masks
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return s;
}

void DrawSplitMarker(HDC dc, const RECT& rect, const ButtonFace& face) {
    const RECT strip = SplitStripRect(rect);
    if (strip.bottom <= strip.top) return;
    const bool enabled = face.flags.enabled;
    // A downward triangle four rows high: 7, 5, 3, 1 pixels.
    const int cx = (strip.left + 2 + strip.right) / 2, cy = (strip.top + strip.bottom) / 2 - 2;
    Brush arrow(CreateSolidBrush(enabled ? face.btnText : face.grayText));
    for (int row = 0; row < 4; ++row) {
        RECT r{cx - 3 + row, cy + row, cx + 4 - row, cy + row + 1};
        FillRect(dc, &r, arrow.Get());
    }
    Brush shadow(CreateSolidBrush(enabled ? face.btnShadow : face.grayText));
    Brush light(CreateSolidBrush(face.btnHighlight));
    RECT line{strip.left, strip.top, strip.left + 1, strip.bottom};
    FillRect(dc, &line, shadow.Get());
    OffsetRect(&line, 1, 0);
    FillRect(dc, &line, light.Get());
}

// The text as DT_HIDEPREFIX shows it: mnemonic marks gone, "&&" a plain "&". Wine's DrawText
// ignores that flag, so the text is drawn without prefix processing instead.
std::string WithoutPrefixes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        else if (text[i] == '&') continue;
        out += text[i];
    }
    return out;
}

}  // namespace

void ApplySkinMetrics(ButtonFace& face, const CSkinMetrics& m) {
    face.metrics.cxBorder = m.cxBorder;
    face.metrics.cyBorder = m.cyBorder;
    face.metrics.cxEdge = m.cxEdge;
    face.metrics.cyEdge = m.cyEdge;
    face.btnText = m.colors[COLOR_BTNTEXT];
    face.grayText = m.colors[COLOR_GRAYTEXT];
    face.btnShadow = m.colors[COLOR_BTNSHADOW];
    face.btnHighlight = m.colors[COLOR_BTNHIGHLIGHT];
}

SIZE ThemePartDrawSize(CSkinClassTheme& theme, int part, int state, SIZE fallback) {
    CSkinSchema* schema = theme.GetSchema();
    if (!schema) return fallback;
    std::string path = theme.GetThemeStringRef(part, state, TMT_IMAGEFILE);
    if (path.empty()) path = theme.GetThemeStringRef(part, state, TMT_IMAGEFILE1);
    if (path.empty()) return fallback;
    CSkinImage* image;
    {
        // The cache grows on a miss; drawing on other threads reads it under the same lock.
        EnterCriticalSection(schema->GetLock());
        image = theme.GetImageCache()->Get(schema->GetPackage(), path, schema->GetPremultiplyAlpha());
        LeaveCriticalSection(schema->GetLock());
    }
    if (!image) return fallback;
    int count = theme.GetThemeInt(part, state, TMT_IMAGECOUNT, 1);
    if (count < 1) count = 1;
    const bool horizontal = theme.GetThemeEnumValue(part, state, TMT_IMAGELAYOUT, IL_HORIZONTAL) == IL_HORIZONTAL;
    SIZE s{image->GetWidth(), image->GetHeight()};
    if (horizontal) s.cx /= count; else s.cy /= count;
    if (s.cx <= 0 || s.cy <= 0) return fallback;
    return s;
}

BOOL DrawThemeButton(HDC dc, const RECT& rect, CSkinClassTheme& theme, const ButtonFace& face) {
    const ButtonRole role = ClassifyButton(face.style, face.typeOverride);
    if (role.kind == ButtonKind::NotSkinned) return FALSE;
    SavedDC saved(dc);
    if (face.font) SelectObject(dc, face.font);
    SetBkMode(dc, TRANSPARENT);

    const ButtonPartState ps = ButtonPartAndState(role, face.flags);
    const ButtonMetrics& m = face.metrics;
    const int spaceHeight = TextSize(dc, " ").cy;
    const bool hasImage = (face.style & (BS_BITMAP | BS_ICON)) != 0;

    UINT flags = role.multiLine ? DT_WORDBREAK | DT_NOCLIP | DT_EDITCONTROL : DT_SINGLELINE | DT_NOCLIP;
    std::string text = face.text;
    if (face.hideAccel) {
        flags |= DT_HIDEPREFIX | DT_NOPREFIX;
        text = WithoutPrefixes(text);
    }
    if (face.exStyle & WS_EX_RTLREADING) flags |= DT_RTLREADING;

    RECT area = rect;
    if (role.pushLike) {
        theme.DrawThemeBackground(dc, BP_PUSH, ps.state, rect);
        if (role.split) DrawSplitMarker(dc, rect, face);
        area = PushContentRect(rect, m, role.split);
    } else if (role.kind == ButtonKind::CheckBox || role.kind == ButtonKind::Radio) {
        const SIZE glyph = ThemePartDrawSize(theme, ps.part, 1, SIZE{13, 13});
        const RECT box = GlyphRect(rect, face.style, glyph, spaceHeight);
        theme.DrawThemeBackground(dc, ps.part, ps.state, box);
        area = BesideGlyphRect(rect, face.style, glyph.cx);
    } else if (role.kind == ButtonKind::GroupBox) {
        SIZE caption{0, TextSize(dc, "x").cy};
        if (!text.empty() && !hasImage) {
            RECT measured{0, 0, rect.right - rect.left, 0};
            DrawTextA(dc, text.c_str(), -1, &measured, flags | DT_CALCRECT);
            caption = {measured.right - measured.left, measured.bottom - measured.top};
        }
        area = GroupCaptionRect(rect, face.style, caption, m);
        const RECT frame = GroupFrameRect(rect, spaceHeight);
        if (area.right > area.left) {
            // The line stops behind the caption even when nothing fills the gap (NULL_BRUSH parent).
            RECT gap = area;
            gap.left -= m.cxEdge;
            SaveDC(dc);
            ExcludeClipRect(dc, gap.left, gap.top, gap.right, gap.bottom);
            theme.DrawThemeBackground(dc, ps.part, ps.state, frame);
            RestoreDC(dc, -1);
            if (face.parentBrush) FillRect(dc, &gap, face.parentBrush);
        } else {
            theme.DrawThemeBackground(dc, ps.part, ps.state, frame);
        }
    }

    // Content: an image, else the text.
    SIZE content{0, 0};
    RECT measured{};
    bool drawText = false;
    if (face.style & BS_BITMAP)
        content = BitmapSize(face.bitmap);
    else if (face.style & BS_ICON)
        content = IconSize(face.icon);
    else if (!text.empty()) {
        measured = {0, 0, area.right - area.left, 0};
        DrawTextA(dc, text.c_str(), -1, &measured, flags | DT_CALCRECT);
        content = {measured.right - measured.left, measured.bottom - measured.top};
        drawText = role.type != BS_USERBUTTON;
    }
    RECT placed{};
    if (content.cx > 0 && content.cy > 0) {
        POINT at;
        if (role.kind == ButtonKind::GroupBox && !role.pushLike)
            at = {area.left + m.cxEdge, area.top};
        else
            at = ContentPosition(area, content, face.style, role, m);
        placed = {at.x, at.y, at.x + content.cx, at.y + content.cy};
        const UINT disabled = face.flags.enabled ? 0 : DSS_DISABLED;
        if (face.style & BS_BITMAP) {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(face.bitmap), 0, at.x, at.y, content.cx,
                       content.cy, DST_BITMAP | disabled);
        } else if (face.style & BS_ICON) {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(face.icon), 0, at.x, at.y, content.cx,
                       content.cy, DST_ICON | disabled);
        } else if (drawText) {
            // Lines of multi-line text keep the button's alignment inside the measured block.
            if (role.multiLine) {
                const ButtonHAlign h = HorizontalAlignment(face.style, role.pushLike);
                if (h == ButtonHAlign::Center) flags |= DT_CENTER;
                if (h == ButtonHAlign::Right) flags |= DT_RIGHT;
            }
            SetTextColor(dc, face.btnText);
            theme.DrawThemeText(dc, ps.part, ps.state, text.c_str(), flags, placed);
        }
    }

    if (face.focused && !face.hideFocus) {
        RECT focus{};
        if (role.pushLike || role.type == BS_USERBUTTON)
            focus = FocusRect(role, rect, rect, m);
        else if (placed.right > placed.left)
            focus = FocusRect(role, rect, placed, m);
        if (focus.right > focus.left && focus.bottom > focus.top) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &focus);
        }
    }
    return TRUE;
}

}  // namespace skin
