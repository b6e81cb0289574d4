#pragma once
// Where the parts of a button go in its client rectangle.
#include "SkinButtonRole.h"

namespace skin {

struct ButtonMetrics {
    int cxBorder = 1, cyBorder = 1, cxEdge = 2, cyEdge = 2;
};

enum class ButtonHAlign { Left, Center, Right };
enum class ButtonVAlign { Top, Center, Bottom };
ButtonHAlign HorizontalAlignment(DWORD style, bool pushLike);
ButtonVAlign VerticalAlignment(DWORD style);

// Check box or radio circle: glyph of the given size; spaceHeight is the height of " " in the font.
RECT GlyphRect(const RECT& client, DWORD style, SIZE glyph, int spaceHeight);
// The text beside that glyph.
RECT BesideGlyphRect(const RECT& client, DWORD style, int glyphWidth);
// The caption of a group box for a text of that size (cx 0: no text; cy then the height of "x").
RECT GroupCaptionRect(const RECT& client, DWORD style, SIZE text, const ButtonMetrics& m);
// The frame line of a group box.
RECT GroupFrameRect(const RECT& client, int spaceHeight);
// Inside a push button's edge; split buttons give up their drop-down strip too.
RECT PushContentRect(const RECT& client, const ButtonMetrics& m, bool split);
// The split button's drop-down strip.
RECT SplitStripRect(const RECT& rect);
// The top-left corner of content of the given size placed in area.
POINT ContentPosition(const RECT& area, SIZE content, DWORD style, const ButtonRole& role, const ButtonMetrics& m);
// The focus rectangle around content placed at its position.
RECT FocusRect(const ButtonRole& role, const RECT& client, const RECT& content, const ButtonMetrics& m);

}  // namespace skin
