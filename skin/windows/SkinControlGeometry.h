#pragma once
// The skinned controls' pictures as plain data: which theme part and state each piece of a
// progress bar, tab control, trackbar and spin button is drawn with, and where.
#include <windows.h>

#include <vector>

namespace skin {

// ---- progress bar
struct ProgressLook {
    RECT content{};         // the bar's inside (its content margins taken off)
    bool vertical = false;  // fills from the bottom up
    bool smooth = false;    // one chunk up to the position
    int chunkSize = 0;      // 0: two thirds of the bar's thickness
    int spaceSize = -1;     // negative: 2
};
// Chunks up to pos within [low, high]; the last one is cut at the content's end.
std::vector<RECT> ProgressChunks(const ProgressLook& look, int low, int high, int pos);
// The moving block of a marquee: a few chunks that start step chunk-strides in and wrap round.
std::vector<RECT> MarqueeChunks(const ProgressLook& look, int step);
// Steps a marquee tick moves by: fast timers move two.
int MarqueeAdvance(UINT intervalMs);
// What a marquee runs at when started without an interval of its own.
constexpr UINT kDefaultMarqueeInterval = 30;

// ---- tab control
struct TabItemLook {
    int part;
    int state;
    RECT rect;
};
// The theme class "TAB" part and state of item index of count; selected is -1 for none.
// buttons: TCS_BUTTONS, drawn as push buttons ("BUTTON" part 1).
TabItemLook TabItemFor(int index, int count, int selected, int hot, bool buttons, const RECT& itemRect);
// Items in drawing order: the selected one last, over its neighbours.
std::vector<int> TabDrawingOrder(int count, int selected);

// ---- trackbar
// "TRACKBAR" thumb part by the style's tick placement and orientation; 0 with TBS_NOTHUMB.
int TrackThumbPart(DWORD style);
int TrackThumbState(bool enabled, bool captured, bool focusedWithCues, bool hot);
// For TBS_VERT the channel comes back with its axes exchanged.
RECT TrackChannelRect(RECT reported, DWORD style);
// Pixel of a logical position along the channel, the thumb's middle at the ends.
int TrackTickPixel(int pos, int low, int high, int channelStart, int channelEnd, int thumbLength);

// ---- spin
enum class SpinButton { None, Up, Down };
struct SpinPiece {
    int part;
    RECT rect;
    SpinButton button;
};
// The two arrow buttons of the client rectangle; UDS_HORZ puts down on the left.
std::vector<SpinPiece> SpinPieces(const RECT& client, DWORD style);
int SpinState(bool enabled, bool hot, bool pressed);

// ---- MDI client
// Where a maximized child goes so that its own borders lie outside the client area.
RECT MaximizedChildRect(int clientWidth, int clientHeight, int left, int top, int right, int bottom);

// ---- toolbar
// Toolbars inside these parents belong to shell bands that draw them in their own way.
bool IsToolbarLeftAlone(const char* parentClassName);

}  // namespace skin
