// Frame borders a theme gives a window of each style pair: what AdjustWindowRectEx answers while
// skinned and what the frame lays its non-client area out by.
#include <gtest/gtest.h>

#include "CSkinObjectFrame.h"
#include "SkinFrameGeometry.h"
#include "SkinTestSupport.h"

using namespace skintest;

namespace {

struct BordersCase {
    const char* name;
    DWORD style, exStyle;
    RECT expected;  // with the metrics below
};

}  // namespace

TEST(FrameBorders, FollowStylesAndMetrics) {
    CSkinRef<CSkinSchema> schema = SchemaFromText("[SysMetrics]\r\n");
    CSkinMetrics& m = *schema->GetMetrics();
    m.cxBorder = 1, m.cyBorder = 2, m.cxEdge = 3, m.cyEdge = 5, m.borderMultiplier = 4;
    m.captionHeight = 26, m.smallCaptionHeight = 18;
    const BordersCase cases[] = {
        {"bare popup", WS_POPUP, 0, {0, 0, 0, 0}},
        {"border", WS_POPUP | WS_BORDER, 0, {1, 2, 1, 2}},
        {"window edge", WS_POPUP, WS_EX_WINDOWEDGE, {2, 4, 2, 4}},
        {"static edge", WS_POPUP, WS_EX_STATICEDGE, {1, 2, 1, 2}},
        {"window edge wins over static", WS_POPUP, WS_EX_WINDOWEDGE | WS_EX_STATICEDGE, {2, 4, 2, 4}},
        {"modal frame", WS_POPUP, WS_EX_DLGMODALFRAME, {1, 2, 1, 2}},
        {"sizing border", WS_POPUP | WS_THICKFRAME, 0, {4, 8, 4, 8}},
        {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, {3, 5, 3, 5}},
        {"caption", WS_POPUP | WS_CAPTION, 0, {1, 28, 1, 2}},
        {"tool caption", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, {1, 20, 1, 2}},
        {"overlapped window", WS_OVERLAPPEDWINDOW, WS_EX_WINDOWEDGE, {7, 40, 7, 14}},
        {"dialog frame only", WS_POPUP | WS_DLGFRAME, 0, {1, 2, 1, 2}},
        {"maximized child keeps the skin's frame", WS_CHILD | WS_CAPTION | WS_MAXIMIZE, 0, {1, 28, 1, 2}},
    };
    for (const BordersCase& c : cases) {
        const skin::FrameBorders got =
            skin::CalcFrameBorders(c.style, c.exStyle, CSkinObjectFrame::FrameMetricsFrom(&m), false, 0);
        EXPECT_EQ(c.expected.left, got.left) << c.name;
        EXPECT_EQ(c.expected.top, got.top) << c.name;
        EXPECT_EQ(c.expected.right, got.right) << c.name;
        EXPECT_EQ(c.expected.bottom, got.bottom) << c.name;
    }
}

TEST(FrameBorders, MaximizedTopLevelCaptionUsesTheSystemFrame) {
    CSkinRef<CSkinSchema> schema = SchemaFromText("[SysMetrics]\r\n");
    CSkinMetrics& m = *schema->GetMetrics();
    m.captionHeight = 26, m.smallCaptionHeight = 18;
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE;
    RECT probe = {0, 0, 100, 100};
    ASSERT_TRUE(AdjustWindowRectEx(&probe, style, FALSE, 0));
    const int frame = -probe.left;
    const skin::FrameBorders got =
        skin::CalcFrameBorders(style, 0, CSkinObjectFrame::FrameMetricsFrom(&m), true, frame);
    EXPECT_EQ(frame, got.left);
    EXPECT_EQ(frame + 26, got.top);
    EXPECT_EQ(frame, got.right);
    EXPECT_EQ(frame, got.bottom);
}
