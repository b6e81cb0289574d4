#pragma once
// Menu geometry over plain data: the popup window's columns and the frame's menu bar rows.
#include <windows.h>
#include <string>
#include <vector>

namespace skin {

struct MenuItemMeasure {
    bool ownerDrawn = false;
    bool separator = false;
    bool columnBreak = false;
    int cx = 0;  // measured width, gutter and margins included
    int cy = 0;  // measured height
    // A real item bitmap (not one of the predefined HBMMENU_ values); 0 x 0 when none.
    int bitmapWidth = 0;
    int bitmapHeight = 0;
};

struct MenuLayout {
    std::vector<RECT> rects;  // one per item, client coordinates
    SIZE size = {0, 0};       // the window's size
};

// Space between a popup's edge and its items.
constexpr int kMenuMargin = 3;

// Left column for checks and pictures: 33 themed, 17 classic, wider for wide item bitmaps.
int MenuGutter(bool themed, const std::vector<MenuItemMeasure>& items);
int MenuSeparatorHeight(bool themed);
int MenuTextItemWidth(bool themed, int labelWidth, int gutter, int acceleratorWidth);
int MenuTextItemHeight(bool themed, int labelHeight);
// Places the measured items in columns (3 pixel margins, 4 between columns).
MenuLayout PlaceMenuItems(const std::vector<MenuItemMeasure>& items);

struct MenuBarItemMeasure {
    int width = 0;
    bool rightJustified = false;  // MFT_RIGHTJUSTIFY or an MDI child button
};

struct MenuBarLayout {
    std::vector<RECT> rects;
    int bottom = 0;  // the bar's bottom: the last row's bottom + 1
};

// Rows of height itemHeight from (left, top), wrapping before right; the right-justified items
// at the end of the last row are packed against the right edge.
MenuBarLayout PlaceMenuBarItems(int left, int top, int right, int itemHeight,
                                const std::vector<MenuBarItemMeasure>& items);

// A menu text as shown: a single "&" (the mnemonic marker) dropped, "&&" shown as one "&".
std::string WithoutMnemonicMarker(const std::string& text);

}  // namespace skin
