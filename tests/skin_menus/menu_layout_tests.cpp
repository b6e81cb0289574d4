// Menu geometry over plain data: popup columns and menu bar rows.
#include <gtest/gtest.h>

#include "SkinMenuLayout.h"

using skin::MenuBarItemMeasure;
using skin::MenuItemMeasure;

namespace {

MenuItemMeasure Text(int cx, int cy, bool columnBreak = false) {
    MenuItemMeasure m;
    m.cx = cx;
    m.cy = cy;
    m.columnBreak = columnBreak;
    return m;
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(MenuLayout, ColumnsShareTheirWidestItemAndTheNextStartsFourPixelsRight) {
    // Third item breaks: column one holds items 0-1 (widest 80), column two items 2-4 (widest 120).
    const std::vector<MenuItemMeasure> items = {Text(60, 22), Text(80, 22), Text(50, 22, true), Text(120, 6),
                                                Text(90, 22)};
    const skin::MenuLayout layout = skin::PlaceMenuItems(items);
    ASSERT_EQ(layout.rects.size(), 5u);
    EXPECT_TRUE(Same(layout.rects[0], RECT{3, 3, 83, 25}));
    EXPECT_TRUE(Same(layout.rects[1], RECT{3, 25, 83, 47}));
    EXPECT_TRUE(Same(layout.rects[2], RECT{87, 3, 207, 25}));
    EXPECT_TRUE(Same(layout.rects[3], RECT{87, 25, 207, 31}));
    EXPECT_TRUE(Same(layout.rects[4], RECT{87, 31, 207, 53}));
    EXPECT_EQ(layout.size.cx, 207 + 3);
    EXPECT_EQ(layout.size.cy, 53 + 3);
}

TEST(MenuLayout, BreakOnTheFirstItemOfAColumnOpensNoEmptyColumnAndTheTallestColumnSetsTheHeight) {
    const std::vector<MenuItemMeasure> items = {Text(40, 22, true), Text(40, 22), Text(40, 22), Text(70, 17, true)};
    const skin::MenuLayout layout = skin::PlaceMenuItems(items);
    EXPECT_EQ(layout.rects[0].left, 3);
    EXPECT_EQ(layout.rects[3].left, 3 + 40 + 4);
    EXPECT_EQ(layout.rects[3].top, 3);
    EXPECT_EQ(layout.size.cy, 3 + 66 + 3);
}

TEST(MenuLayout, RealItemBitmapsWidenTheGutterAndRaiseShortItems) {
    struct Case {
        bool themed;
        int bitmapWidth;
        int expectGutter;
    } cases[] = {{true, 0, 33}, {false, 0, 17}, {true, 16, 33}, {true, 30, 42}, {false, 30, 34}};
    for (const Case& c : cases) {
        MenuItemMeasure m = Text(10, 17);
        m.bitmapWidth = c.bitmapWidth;
        m.bitmapHeight = c.bitmapWidth ? 24 : 0;
        EXPECT_EQ(skin::MenuGutter(c.themed, {m}), c.expectGutter) << c.themed << " " << c.bitmapWidth;
        if (c.bitmapWidth) {
            EXPECT_EQ(skin::PlaceMenuItems({m}).rects[0].bottom, 3 + 28);
        }
    }
    // Separators and owner-drawn items keep their own sizes whatever bitmap they name.
    MenuItemMeasure separator = Text(0, 6);
    separator.separator = true;
    separator.bitmapWidth = 60;
    separator.bitmapHeight = 60;
    EXPECT_EQ(skin::MenuGutter(true, {separator}), 33);
    EXPECT_EQ(skin::PlaceMenuItems({separator}).rects[0].bottom, 3 + 6);
}

TEST(MenuBarLayout, WrapsIntoRowsAndPacksTheTrailingRightJustifiedItemsAgainstTheEdge) {
    struct Case {
        const char* name;
        int right;
        std::vector<MenuBarItemMeasure> items;
        std::vector<RECT> expect;
        int bottom;
    } cases[] = {
        {"one row", 200, {{40, false}, {50, false}}, {{0, 10, 40, 29}, {40, 10, 90, 29}}, 30},
        {"wraps", 100, {{40, false}, {50, false}, {30, false}},
         {{0, 10, 40, 29}, {40, 10, 90, 29}, {0, 29, 30, 48}}, 49},
        // An item wider than the bar still takes the first place of a row.
        {"too wide", 30, {{40, false}, {50, false}}, {{0, 10, 40, 29}, {0, 29, 50, 48}}, 49},
        {"right justified", 200, {{40, false}, {30, true}, {20, true}},
         {{0, 10, 40, 29}, {150, 10, 180, 29}, {180, 10, 200, 29}}, 30},
        // A justified item before an ordinary one stays: moving it would cover that item.
        {"justified before ordinary", 200, {{40, true}, {30, false}}, {{0, 10, 40, 29}, {40, 10, 70, 29}}, 30},
        // Only the last row's items move.
        {"justified on an earlier row", 100, {{60, true}, {60, false}, {20, true}},
         {{0, 10, 60, 29}, {0, 29, 60, 48}, {80, 29, 100, 48}}, 49},
        {"empty", 100, {}, {}, 11},
    };
    for (const Case& c : cases) {
        const skin::MenuBarLayout bar = skin::PlaceMenuBarItems(0, 10, c.right, 19, c.items);
        ASSERT_EQ(bar.rects.size(), c.expect.size()) << c.name;
        for (size_t i = 0; i < c.expect.size(); ++i)
            EXPECT_TRUE(Same(bar.rects[i], c.expect[i]))
                << c.name << " item " << i << ": " << bar.rects[i].left << "," << bar.rects[i].top << ","
                << bar.rects[i].right << "," << bar.rects[i].bottom;
        EXPECT_EQ(bar.bottom, c.bottom) << c.name;
    }
}

TEST(MenuBarLayout, ShownTextDropsTheMnemonicMarkerAndKeepsADoubledAmpersand) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {{"&File", "File"}, {"Save &As", "Save As"}, {"R&&D", "R&D"}, {"&&&Go", "&Go"}, {"End&", "End"},
                 {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(skin::WithoutMnemonicMarker(c.text), c.shown) << c.text;
}
