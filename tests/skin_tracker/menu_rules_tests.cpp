// Tracking decisions over plain data: keyboard stepping, mnemonics, WM_MENUCHAR replies, command
// delivery and the placement of popups and submenus on a work area.
#include <gtest/gtest.h>

#include "SkinMenuRules.h"

using namespace skin::menurules;

namespace {

std::vector<StepItem> Items(const char* shape) {
    // '-' separator, 'm' an MDI child button (SC_CLOSE), anything else a plain item.
    std::vector<StepItem> items;
    for (const char* p = shape; *p; ++p) {
        StepItem item;
        item.separator = *p == '-';
        item.id = *p == 'm' ? SC_CLOSE : 100u + static_cast<UINT>(p - shape);
        items.push_back(item);
    }
    return items;
}

}  // namespace

TEST(MenuRules, NextItemStepsOverSeparatorsAndWrapsAsAsked) {
    struct Case {
        const char* shape;
        int from, direction;
        bool wrap, skipButtons;
        int expected;
    } cases[] = {
        {"a-b", -1, 1, true, false, 0},     // nothing selected: the first
        {"a-b", -1, -1, true, false, 2},    // nothing selected, upwards: the last
        {"a-b", 0, 1, true, false, 2},      // over the separator
        {"a-b", 2, 1, true, false, 0},      // wraps at the end
        {"a-b", 0, -1, true, false, 2},     // wraps at the start
        {"a-b", 2, 1, false, false, -1},    // a bar does not wrap
        {"-a-", 1, 1, true, false, 1},      // the only item comes round to itself
        {"---", -1, 1, true, false, -1},    // nothing qualifies
        {"", -1, 1, true, false, -1},
        {"mab", 2, 1, true, true, 1},       // MDI buttons are passed over on a bar
        {"mab", 2, 1, true, false, 0},      // but not elsewhere
        {"abm", 1, 1, false, true, -1},     // the button at the end is no step
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, NextItem(Items(c.shape), c.from, c.direction, c.wrap, c.skipButtons))
            << c.shape << " from " << c.from << " dir " << c.direction;
}

TEST(MenuRules, MnemonicPicksMarkedLettersFallsBackAndSkipsDisabled) {
    struct Case {
        std::vector<MnemonicItem> items;
        int selected;
        char ch;
        MnemonicMatch::Kind kind;
        int position;
    } cases[] = {
        {{{"&Open", true}, {"&Save", true}}, -1, 's', MnemonicMatch::Execute, 1},
        {{{"&Open", true}, {"&Save", true}}, -1, 'x', MnemonicMatch::None, -1},
        // Two items share the letter: selected in turn from after the selection, never executed.
        {{{"&Copy", true}, {"&Cut", true}, {"Paste", true}}, -1, 'c', MnemonicMatch::Select, 0},
        {{{"&Copy", true}, {"&Cut", true}, {"Paste", true}}, 0, 'c', MnemonicMatch::Select, 1},
        {{{"&Copy", true}, {"&Cut", true}, {"Paste", true}}, 1, 'c', MnemonicMatch::Select, 0},
        // A disabled match is passed over; the one enabled match is executed.
        {{{"&Copy", false}, {"&Cut", true}}, -1, 'c', MnemonicMatch::Execute, 1},
        {{{"&Copy", false}, {"&Cut", false}}, -1, 'c', MnemonicMatch::AllDisabled, -1},
        // Unmarked texts match on their first letter only when no item is marked with it.
        {{{"Paste", true}, {"&Print", true}}, -1, 'p', MnemonicMatch::Execute, 1},
        {{{"Paste", true}, {"Open", true}}, -1, 'p', MnemonicMatch::Execute, 0},
        {{{"A&&B", true}, {"Ba&r", true}}, -1, 'b', MnemonicMatch::None, -1},  // "&&" is an ampersand
        {{{"A&&B", true}, {"Ba&r", true}}, -1, 'r', MnemonicMatch::Execute, 1},
        {{{"", true}, {"&1 Recent", true}}, -1, '1', MnemonicMatch::Execute, 1},
    };
    for (const Case& c : cases) {
        const MnemonicMatch m = MatchMnemonic(c.items, c.selected, c.ch);
        EXPECT_EQ(c.kind, m.kind) << c.items[0].text << " '" << c.ch << "' after " << c.selected;
        EXPECT_EQ(c.position, m.position) << c.items[0].text << " '" << c.ch << "' after " << c.selected;
    }
}

TEST(MenuRules, MenuCharRepliesOutsideTheMenuAreIgnored) {
    struct Case {
        LRESULT reply;
        MenuCharAction::Kind kind;
        int position;
    } cases[] = {
        {MAKELRESULT(0, MNC_IGNORE), MenuCharAction::Beep, -1},
        {MAKELRESULT(0, MNC_CLOSE), MenuCharAction::Close, -1},
        {MAKELRESULT(2, MNC_EXECUTE), MenuCharAction::Execute, 2},
        {MAKELRESULT(1, MNC_SELECT), MenuCharAction::Select, 1},
        {MAKELRESULT(3, MNC_EXECUTE), MenuCharAction::Ignore, -1},  // past the last of 3
        {MAKELRESULT(0xFFFF, MNC_SELECT), MenuCharAction::Ignore, -1},
        {0x40000, MenuCharAction::Ignore, -1},                      // above 0x3FFFF
        {-1, MenuCharAction::Ignore, -1},
    };
    for (const Case& c : cases) {
        const MenuCharAction a = ReadMenuCharReply(c.reply, 3);
        EXPECT_EQ(c.kind, a.kind) << std::hex << c.reply;
        EXPECT_EQ(c.position, a.position) << std::hex << c.reply;
    }
}

TEST(MenuRules, CommandsArePostedOrSentUnlessReturned) {
    EXPECT_EQ(Delivery::Post, PlanDelivery(WM_COMMAND, false).how);
    EXPECT_EQ(Delivery::Send, PlanDelivery(WM_MENUCOMMAND, false).how);
    const DeliveryPlan system = PlanDelivery(WM_SYSCOMMAND, false);
    EXPECT_EQ(Delivery::Send, system.how);
    EXPECT_TRUE(system.repaintFrameAfter);
    EXPECT_FALSE(PlanDelivery(WM_COMMAND, false).repaintFrameAfter);
    EXPECT_EQ(Delivery::None, PlanDelivery(WM_COMMAND, true).how);
    EXPECT_EQ(Delivery::None, PlanDelivery(WM_SYSCOMMAND, true).how);
    EXPECT_EQ(Delivery::None, PlanDelivery(0, false).how);
}

TEST(MenuRules, PopupsAlignAndStayOnTheWorkArea) {
    const RECT work = {0, 0, 800, 600};
    const RECT exclude = {700, 100, 760, 120};
    struct Case {
        POINT point;
        UINT flags;
        bool mirrored;
        const RECT* exclude;
        POINT expected;
        bool leftwards;
    } cases[] = {
        {{100, 100}, 0, false, nullptr, {100, 100}, false},
        {{300, 300}, TPM_RIGHTALIGN, false, nullptr, {200, 300}, true},
        {{300, 300}, 0, true, nullptr, {200, 300}, true},                   // a mirrored owner flips
        {{300, 300}, TPM_CENTERALIGN, true, nullptr, {250, 300}, false},   // but not a centred menu
        {{300, 300}, TPM_BOTTOMALIGN | TPM_VCENTERALIGN, false, nullptr, {300, 250}, false},
        {{300, 301}, TPM_VCENTERALIGN, false, nullptr, {300, 276}, false},
        // Too far right: opens to the left of the point.
        {{750, 100}, 0, false, nullptr, {650, 100}, true},
        // Starting beyond the edge, or centred: flush with the right edge.
        {{850, 100}, 0, false, nullptr, {700, 100}, true},
        {{780, 100}, TPM_CENTERALIGN, false, nullptr, {700, 100}, true},
        // Moved left onto the excluded rectangle: past its left side.
        {{750, 100}, 0, false, &exclude, {600, 100}, true},
        // Too low: above the point.
        {{100, 580}, 0, false, nullptr, {100, 530}, false},
        // Too far left after right alignment: opens at the point instead.
        {{50, 100}, TPM_RIGHTALIGN, false, nullptr, {50, 100}, false},
    };
    for (const Case& c : cases) {
        Placement p = AlignPopup(c.point, 100, 50, c.flags, c.mirrored);
        p = FitToScreen(p, 100, 50, c.flags, c.exclude, work);
        EXPECT_EQ(c.expected.x, p.at.x) << c.point.x << "," << c.point.y << " flags " << c.flags;
        EXPECT_EQ(c.expected.y, p.at.y) << c.point.x << "," << c.point.y << " flags " << c.flags;
        EXPECT_EQ(c.leftwards, p.leftwards) << c.point.x << "," << c.point.y << " flags " << c.flags;
    }
    // A popup wider than the work area starts at its left edge.
    const Placement wide = FitToScreen(AlignPopup({400, 10}, 900, 50, 0, false), 900, 50, 0, nullptr, work);
    EXPECT_EQ(0, wide.at.x);
}

TEST(MenuRules, SubmenusOpenBesideTheirItemAndPreferTheSideOfTheirParent) {
    SubmenuRequest base;
    base.w = 120;
    base.h = 80;
    base.menuBarHeight = 19;
    base.work = {0, 0, 800, 600};
    struct Case {
        const char* what;
        RECT item;
        bool underBar, parentLeftwards, mirrored, minimized;
        POINT expected;
        bool leftwards;
    } cases[] = {
        {"right of a popup item", {100, 100, 200, 120}, false, false, false, false, {197, 97}, false},
        {"left when the parent opened leftwards", {300, 100, 400, 120}, false, true, false, false, {183, 97}, true},
        {"left parent, no room left", {10, 100, 110, 120}, false, true, false, false, {107, 97}, false},
        {"right edge: leftwards", {600, 100, 700, 120}, false, false, false, false, {483, 97}, true},
        {"bottom: bottoms aligned", {100, 560, 200, 580}, false, false, false, false, {197, 500}, false},
        {"below a bar item", {40, 20, 80, 39}, true, false, false, false, {40, 39}, false},
        {"bar item, mirrored owner", {300, 20, 340, 39}, true, false, true, false, {220, 39}, true},
        {"bar item near the right edge", {760, 20, 790, 39}, true, false, false, false, {680, 39}, false},
        {"bar at the bottom: above the bar", {40, 580, 80, 599}, true, false, false, false, {40, 500}, false},
        {"minimized owner: upwards", {40, 300, 80, 319}, true, false, false, true, {40, 220}, false},
        {"minimized owner at the top: downwards", {40, 10, 80, 29}, true, false, false, true, {40, 29}, false},
    };
    for (const Case& c : cases) {
        SubmenuRequest r = base;
        r.item = c.item;
        r.underBar = c.underBar;
        r.parentLeftwards = c.parentLeftwards;
        r.ownerMirrored = c.mirrored;
        r.ownerMinimized = c.minimized;
        const Placement p = PlaceSubmenu(r);
        EXPECT_EQ(c.expected.x, p.at.x) << c.what;
        EXPECT_EQ(c.expected.y, p.at.y) << c.what;
        EXPECT_EQ(c.leftwards, p.leftwards) << c.what;
    }
    // An item as wide as the work area: no side is free, so it stays on the work area.
    SubmenuRequest wide = base;
    wide.item = {0, 100, 800, 120};
    const Placement p = PlaceSubmenu(wide);
    EXPECT_EQ(0, p.at.x);
    EXPECT_EQ(97, p.at.y);
}

TEST(MenuRules, MenuSelectCarriesIdOrPositionAndTheMarks) {
    EXPECT_EQ(MAKEWPARAM(42, MF_MOUSESELECT), MenuSelectParam(42, 3, 0, 0, false, false, false));
    EXPECT_EQ(MAKEWPARAM(3, MF_POPUP), MenuSelectParam(42, 3, 0, 0, true, true, false));
    EXPECT_EQ(MAKEWPARAM(SC_CLOSE, MF_SYSMENU | MF_GRAYED | MFS_DEFAULT),
              MenuSelectParam(SC_CLOSE, 6, 0, MF_GRAYED | MFS_DEFAULT, false, true, true));
    EXPECT_EQ(MAKEWPARAM(7, MF_CHECKED | MFT_RADIOCHECK | MF_MOUSESELECT),
              MenuSelectParam(7, 0, MFT_RADIOCHECK, MF_CHECKED, false, false, false));
}
