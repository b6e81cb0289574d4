#pragma once
// The skinned frame as plain data: borders, the client rectangle, the caption buttons with their
// layout, states and hit test, and how the system's hit codes are mapped under a skinned frame.
#include <windows.h>

#include <vector>

namespace skin {

// The numbers of the theme's metrics the frame geometry depends on.
struct FrameMetrics {
    int cxBorder = 1, cyBorder = 1, cxEdge = 2, cyEdge = 2, sizingBorder = 1;
    int captionHeight = 0, smallCaptionHeight = 0, cxVScroll = 0, cyHScroll = 0;
};

struct FrameBorders {
    int left = 0, top = 0, right = 0, bottom = 0;
};

inline bool HasFullCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }
// 2 window edge, 1 static edge, plus a thin or dialog border.
int FrameEdgeCount(DWORD style, DWORD exStyle);
// maximizedTopLevel: the window is a maximized top-level window with a full caption; systemFrame is
// then the frame width the system gives those styles.
FrameBorders CalcFrameBorders(DWORD style, DWORD exStyle, const FrameMetrics& metrics, bool maximizedTopLevel,
                              int systemFrame);
// The client rectangle inside the window rectangle: borders, then the own scroll bars.
RECT CalcClientRect(RECT window, const FrameBorders& borders, DWORD style, DWORD exStyle,
                    const FrameMetrics& metrics);

struct CaptionButton {
    int hitCode;  // HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP
    int part;     // of the theme class "WINDOW"
    UINT command;
    BOOL enabled;
    RECT rect;  // window coordinates, from the last layout
};

// Right to left on screen. closeEnabled: what the system menu says of SC_CLOSE.
std::vector<CaptionButton> BuildCaptionButtons(DWORD style, DWORD exStyle, bool minimized, bool maximized,
                                               bool closeEnabled);

struct CaptionLayout {
    RECT work;  // the window rectangle at (0, 0)
    FrameBorders borders;
    DWORD style, exStyle;
    bool maximized;
    // Width of a button for a height; null: square.
    SIZE (*buttonSize)(int height, void* context);
    void* context;
};
// Places the buttons; the x where the first placed (leftmost) button begins, where the title ends.
int LayoutCaptionButtons(std::vector<CaptionButton>& buttons, const CaptionLayout& layout,
                         const FrameMetrics& metrics);
// The width of a caption button drawn from an image of w x h holding count frames side by side
// (horizontal) or stacked, scaled to the height s.
SIZE CaptionButtonSizeFromImage(int w, int h, int count, bool horizontal, int s);

// Index of the first enabled button under the point (window coordinates), or -1. A maximized top-level
// window reaches its buttons from the screen's top row and the close button from its right column.
int CaptionButtonAt(const std::vector<CaptionButton>& buttons, POINT point, bool maximizedTopLevel);
// Theme state of a caption button (CBS_NORMAL.. CBS_DISABLED, plus 4 when inactive).
int CaptionButtonState(bool enabled, bool hot, bool pressed, bool otherPressed, bool active);

// What a skinned frame answers for the system's hit code: the system's own buttons and menu bar
// become caption, its scroll bars client area (the skin draws them) unless they are flat.
int MapSystemHitCode(int code, bool flatScrollBars);
// Where the system, measuring its own lower caption, finds nothing: HTCAPTION inside the skin's caption
// strip (between the side borders, above the client area), else HTNOWHERE.
int SkinCaptionHitCode(POINT windowPoint, SIZE window, RECT clientInWindow, const FrameBorders& borders,
                       bool fullCaption);

}  // namespace skin

namespace skin {

// What one frame image cuts away at a window's edge: the see-through runs in its two corners, and how
// many whole lines between the corners are see-through from the outside edge inwards.
struct RegionPiece {
    std::vector<RECT> start, end;  // end: relative to the first line of the end margin
    int lines = 0;
    int startMargin = 0, endMargin = 0;
};
// mask[y * width + x] is true for a see-through pixel. Rows are scanned (caption, bottom edge); the
// margins lie along a row; lines are counted from the top row, or from the bottom with fromEnd.
RegionPiece ScanRegionPieceRows(const std::vector<bool>& mask, int width, int height, int startMargin, int endMargin,
                                bool fromEnd);
// The same for the left and right edges, scanned column by column; margins lie along a column and
// lines are counted from the left column, or from the right one with fromEnd.
RegionPiece ScanRegionPieceColumns(const std::vector<bool>& mask, int width, int height, int startMargin,
                                   int endMargin, bool fromEnd);

struct FramePieces {
    RegionPiece caption, left, right, bottom;
};
// Rectangles to take out of (0, 0, cx, cy) for a window with top border top and border width border.
std::vector<RECT> FrameRegionCuts(const FramePieces& pieces, int cx, int cy, int top, int border);

}  // namespace skin
