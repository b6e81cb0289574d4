// When the skin looks again at scroll positions a control moved without the intercepted calls.
#include <gtest/gtest.h>
#include <windows.h>

#include "SkinScrollSync.h"

namespace {

TEST(ScrollSync, OnlyCommonControlsBeforeVersion6NeedIt) {
    struct Row {
        DWORD version;
        bool needed;
    } rows[] = {
        {0, true},                       // unknown counts as 4.0
        {MAKELONG(0, 4), true},
        {MAKELONG(81, 5), true},
        {MAKELONG(0, 6), false},
        {MAKELONG(16, 6), false},
    };
    for (const Row& row : rows) EXPECT_EQ(row.needed, skin::NeedsScrollSync(row.version)) << std::hex << row.version;
}

TEST(ScrollSync, PositionOrRangeMovedButNotPageOrTrack) {
    SCROLLINFO saved{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 40, 40};
    struct Row {
        const char* name;
        void (*change)(SCROLLINFO&);
        bool moved;
    } rows[] = {
        {"same", [](SCROLLINFO&) {}, false},
        {"position", [](SCROLLINFO& s) { s.nPos = 41; }, true},
        {"maximum", [](SCROLLINFO& s) { s.nMax = 99; }, true},
        {"minimum", [](SCROLLINFO& s) { s.nMin = 1; }, true},
        {"page only", [](SCROLLINFO& s) { s.nPage = 20; }, false},
        {"track only", [](SCROLLINFO& s) { s.nTrackPos = 7; }, false},
    };
    for (const Row& row : rows) {
        SCROLLINFO now = saved;
        row.change(now);
        EXPECT_EQ(row.moved, skin::ScrollInfoMoved(saved, now)) << row.name;
    }
}

}  // namespace
