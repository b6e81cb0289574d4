#include "SkinControlGeometry.h"

#include <commctrl.h>
#include <vssym32.h>

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

const int kMarqueeChunks = 5;

int Extent(const ProgressLook& look) {
    return look.vertical ? look.content.bottom - look.content.top : look.content.right - look.content.left;
}

int Thickness(const ProgressLook& look) {
    return look.vertical ? look.content.right - look.content.left : look.content.bottom - look.content.top;
}

int ChunkOf(const ProgressLook& look) {
    const int chunk = look.chunkSize > 0 ? look.chunkSize : Thickness(look) * 2 / 3;
    return std::max(chunk, 1);
}

int SpaceOf(const ProgressLook& look) { return look.spaceSize < 0 ? 2 : look.spaceSize; }

// A stretch [from, to) along the bar, as a rectangle cut to the content; empty pieces are dropped.
void AddPiece(const ProgressLook& look, int from, int to, std::vector<RECT>* out) {
    const int length = Extent(look);
    from = std::max(from, 0);
    to = std::min(to, length);
    if (to <= from) return;
    const RECT& c = look.content;
    if (look.vertical)
        out->push_back(RECT{c.left, c.bottom - to, c.right, c.bottom - from});
    else
        out->push_back(RECT{c.left + from, c.top, c.left + to, c.bottom});
}

}  // namespace

std::vector<RECT> ProgressChunks(const ProgressLook& look, int low, int high, int pos) {
    std::vector<RECT> chunks;
    const int length = Extent(look);
    if (length <= 0 || Thickness(look) <= 0 || high <= low) return chunks;
    pos = std::min(std::max(pos, low), high);
    // Never more than the position: the fill rounds down.
    const int filled = static_cast<int>(static_cast<long long>(pos - low) * length / (high - low));
    if (filled <= 0) return chunks;
    if (look.smooth) {
        AddPiece(look, 0, filled, &chunks);
        return chunks;
    }
    const int chunk = ChunkOf(look), stride = chunk + SpaceOf(look);
    for (int at = 0; at < filled; at += stride) AddPiece(look, at, at + chunk, &chunks);
    return chunks;
}

std::vector<RECT> MarqueeChunks(const ProgressLook& look, int step) {
    std::vector<RECT> chunks;
    const int length = Extent(look);
    if (length <= 0 || Thickness(look) <= 0) return chunks;
    const int chunk = ChunkOf(look), stride = chunk + SpaceOf(look);
    const int block = kMarqueeChunks * stride;
    // The block enters at the start, crosses the bar and leaves before it enters again.
    const long long span = static_cast<long long>(length) + block;
    long long offset = (static_cast<long long>(step) * stride) % span;
    if (offset < 0) offset += span;
    const int head = static_cast<int>(offset);
    for (int k = 0; k < kMarqueeChunks; ++k) {
        const int from = head - block + k * stride;
        AddPiece(look, from, from + chunk, &chunks);
    }
    return chunks;
}

int MarqueeAdvance(UINT intervalMs) { return intervalMs <= 50 ? 2 : 1; }

TabItemLook TabItemFor(int index, int count, int selected, int hot, bool buttons, const RECT& itemRect) {
    TabItemLook look{0, 0, itemRect};
    const bool isSelected = index == selected;
    if (buttons) {
        look.part = BP_PUSHBUTTON;
        look.state = isSelected ? PBS_PRESSED : PBS_NORMAL;
        return look;
    }
    if (index == 0)
        look.part = TABP_TOPTABITEMLEFTEDGE;
    else if (index == count - 1 && !isSelected)
        look.part = TABP_TOPTABITEMRIGHTEDGE;
    else
        look.part = TABP_TOPTABITEM;
    if (isSelected) {
        look.state = TTIS_SELECTED;
        InflateRect(&look.rect, 2, 2);
    } else {
        look.state = index == hot ? TTIS_HOT : TTIS_NORMAL;
    }
    return look;
}

std::vector<int> TabDrawingOrder(int count, int selected) {
    std::vector<int> order;
    for (int i = 0; i < count; ++i)
        if (i != selected) order.push_back(i);
    if (selected >= 0 && selected < count) order.push_back(selected);
    return order;
}

int TrackThumbPart(DWORD style) {
    if (style & TBS_NOTHUMB) return 0;
    const bool vertical = (style & TBS_VERT) != 0;
    if (style & TBS_BOTH) return vertical ? TKP_THUMBVERT : TKP_THUMB;
    // TBS_TOP and TBS_LEFT are the same bit, as are TBS_BOTTOM and TBS_RIGHT (zero).
    if (vertical) return (style & TBS_LEFT) ? TKP_THUMBLEFT : TKP_THUMBRIGHT;
    return (style & TBS_TOP) ? TKP_THUMBTOP : TKP_THUMBBOTTOM;
}

int TrackThumbState(bool enabled, bool captured, bool focusedWithCues, bool hot) {
    if (!enabled) return TUS_DISABLED;
    if (captured) return TUS_PRESSED;
    if (focusedWithCues) return TUS_FOCUSED;
    return hot ? TUS_HOT : TUS_NORMAL;
}

RECT TrackChannelRect(RECT reported, DWORD style) {
    if (!(style & TBS_VERT)) return reported;
    return RECT{reported.top, reported.left, reported.bottom, reported.right};
}

int TrackTickPixel(int pos, int low, int high, int channelStart, int channelEnd, int thumbLength) {
    const int first = channelStart + thumbLength / 2;
    const int run = std::max(channelEnd - channelStart - thumbLength, 0);
    if (high <= low) return first;
    pos = std::min(std::max(pos, low), high);
    return first + MulDiv(pos - low, run, high - low);
}

std::vector<SpinPiece> SpinPieces(const RECT& client, DWORD style) {
    std::vector<SpinPiece> pieces;
    if (style & UDS_HORZ) {
        const int middle = (client.left + client.right) / 2;
        pieces.push_back({SPNP_DOWNHORZ, RECT{client.left, client.top, middle, client.bottom}, SpinButton::Down});
        pieces.push_back({SPNP_UPHORZ, RECT{middle, client.top, client.right, client.bottom}, SpinButton::Up});
    } else {
        const int middle = (client.top + client.bottom) / 2;
        pieces.push_back({SPNP_UP, RECT{client.left, client.top, client.right, middle}, SpinButton::Up});
        pieces.push_back({SPNP_DOWN, RECT{client.left, middle, client.right, client.bottom}, SpinButton::Down});
    }
    return pieces;
}

int SpinState(bool enabled, bool hot, bool pressed) {
    if (!enabled) return UPS_DISABLED;
    if (pressed) return UPS_PRESSED;
    return hot ? UPS_HOT : UPS_NORMAL;
}

RECT MaximizedChildRect(int clientWidth, int clientHeight, int left, int top, int right, int bottom) {
    return RECT{-left, -top, clientWidth + right, clientHeight + bottom};
}

bool IsToolbarLeftAlone(const char* parentClassName) {
    if (!parentClassName) return false;
    static const char* const kParents[] = {"Breadcrumb Parent", "TravelBand", "msctls_progress32",
                                           "UniversalSearchBand"};
    for (const char* name : kParents)
        if (_stricmp(parentClassName, name) == 0) return true;
    return false;
}

}  // namespace skin
