#include "SkinMenuLayout.h"

#include <algorithm>

namespace skin {

namespace {
constexpr int kColumnGap = 4;
}  // namespace

int MenuGutter(bool themed, const std::vector<MenuItemMeasure>& items) {
    int gutter = themed ? 33 : 17;
    for (const MenuItemMeasure& item : items) {
        if (item.ownerDrawn || item.separator || item.bitmapWidth <= 0) continue;
        gutter = std::max(gutter, item.bitmapWidth + (themed ? 12 : 4));
    }
    return gutter;
}

int MenuSeparatorHeight(bool themed) { return themed ? 6 : 9; }

int MenuTextItemWidth(bool themed, int labelWidth, int gutter, int acceleratorWidth) {
    return labelWidth + gutter + acceleratorWidth + (themed ? 55 : 44);
}

int MenuTextItemHeight(bool themed, int labelHeight) { return std::max(labelHeight, themed ? 22 : 17); }

MenuLayout PlaceMenuItems(const std::vector<MenuItemMeasure>& items) {
    MenuLayout layout;
    layout.rects.resize(items.size());
    int x = kMenuMargin, y = kMenuMargin, widest = 0, tallest = 0;
    size_t columnStart = 0;
    auto closeColumn = [&](size_t end) {
        for (size_t i = columnStart; i < end; ++i) layout.rects[i].right = x + widest;
    };
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItemMeasure& item = items[i];
        if (item.columnBreak && i > columnStart) {
            closeColumn(i);
            x += widest + kColumnGap;
            tallest = std::max(tallest, y);
            y = kMenuMargin;
            widest = 0;
            columnStart = i;
        }
        int cy = item.cy;
        if (!item.ownerDrawn && !item.separator && item.bitmapHeight > 0)
            cy = std::max(cy, item.bitmapHeight + 4);
        widest = std::max(widest, item.cx);
        layout.rects[i] = {x, y, x + item.cx, y + cy};
        y += cy;
    }
    closeColumn(items.size());
    layout.size.cx = x + widest + kMenuMargin;
    layout.size.cy = std::max(y, tallest) + kMenuMargin;
    return layout;
}

MenuBarLayout PlaceMenuBarItems(int left, int top, int right, int itemHeight,
                                const std::vector<MenuBarItemMeasure>& items) {
    MenuBarLayout bar;
    bar.rects.resize(items.size());
    int x = left, y = top;
    size_t lastRowStart = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int w = items[i].width;
        if (i > 0 && x + w > right) {
            x = left;
            y += itemHeight;
            lastRowStart = i;
        }
        bar.rects[i] = {x, y, x + w, y + itemHeight};
        x += w;
    }
    // Only the unbroken run of right-justified items at the row's end moves: moving one that
    // stands before an ordinary item would lay it over that item.
    int edge = right;
    for (size_t i = items.size(); i-- > lastRowStart;) {
        if (!items[i].rightJustified) break;
        RECT& r = bar.rects[i];
        const int w = r.right - r.left;
        r.right = edge;
        r.left = edge - w;
        edge = r.left;
    }
    bar.bottom = (items.empty() ? top : y + itemHeight) + 1;
    return bar;
}

std::string WithoutMnemonicMarker(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            shown += '&';
            ++i;
        }
    }
    return shown;
}

}  // namespace skin
