#pragma once
// Where a skinned drop-down combo puts its parts, over plain numbers.
#include <windows.h>

#include <algorithm>

namespace skin {

struct ComboLayout {
    RECT strip;    // covers the system's own button, filled with the background
    RECT button;   // the theme's drop-down button
    RECT content;  // what an image background must leave uncovered
};

// Theme states of "COMBOBOX" parts 0 and 1.
inline int ComboState(bool enabled, bool pressed, bool hot) {
    if (!enabled) return 4;
    if (pressed) return 3;
    return hot ? 2 : 1;
}

// client: the client rectangle; themeScroll: the theme's vertical scroll-bar width; systemScroll: the
// system's own; borderFill: the border takes the outer pixel, the button sits inside it; rightAligned:
// WS_EX_RIGHT puts the button at the left.
inline ComboLayout LayoutCombo(const RECT& client, int themeScroll, int systemScroll, bool borderFill, bool rightAligned) {
    ComboLayout l{};
    // Wide enough to hide the system's button with its edge, whichever of the two is wider.
    const int d = std::max(themeScroll + 1, systemScroll + 3);
    l.strip = rightAligned ? RECT{client.left, client.top, client.left + d, client.bottom}
                           : RECT{client.right - d, client.top, client.right, client.bottom};
    RECT inner = client;
    if (borderFill) InflateRect(&inner, -1, -1);
    l.button = rightAligned ? RECT{inner.left, inner.top, inner.left + themeScroll, inner.bottom}
                            : RECT{inner.right - themeScroll, inner.top, inner.right, inner.bottom};
    l.content = RECT{client.left + 3, client.top + 3, client.right - themeScroll - 3, client.bottom - 3};
    if (rightAligned) OffsetRect(&l.content, themeScroll, 0);
    return l;
}

// The edit part of a simple combo: the top of the window, as tall as the edit's items plus the frame.
inline RECT SimpleComboEditRect(const RECT& window, int itemHeight, int dialogFrameHeight) {
    RECT r{0, 0, window.right - window.left, 0};
    r.bottom = std::min<LONG>(itemHeight + 2 * dialogFrameHeight, window.bottom - window.top);
    return r;
}

}  // namespace skin
