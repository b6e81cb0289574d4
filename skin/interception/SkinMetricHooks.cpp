// System metrics, non-client fonts and window-rectangle adjustment from the theme.
#include "CSkinObjectFrame.h"
#include "SkinHookSupport.h"
#include "SkinReplacements.h"
#include "SkinTables.h"

namespace skin {
namespace hooks {

namespace {

constexpr unsigned kMetricOptions = SkinApplyMetrics | SkinApplyFrame | SkinApplyColors;
constexpr int kStatusFont = 804;     // TMT_STATUSFONT
constexpr int kIconTitleFont = 806;  // TMT_ICONTITLEFONT

// The theme's answer for a metric, or the system's value for metrics the theme does not set.
int ThemeMetric(const CSkinMetrics& m, int index, int systemValue) {
    switch (index) {
    case SM_CXVSCROLL: return m.cxVScroll;
    case SM_CYVSCROLL: return m.cyVScroll;
    case SM_CXHSCROLL: return m.cxHScroll;
    case SM_CYHSCROLL: return m.cyHScroll;
    case SM_CYCAPTION: return m.captionHeight;
    case SM_CYSMCAPTION: return m.smallCaptionHeight;
    case SM_CXBORDER: return m.cxBorder;
    case SM_CYBORDER: return m.cyBorder;
    case SM_CXEDGE: return m.cxEdge;
    case SM_CYEDGE: return m.cyEdge;
    default: return systemValue;
    }
}

// Metrics answer from the theme only with all three options and outside the metrics' own refresh
// (which reads the system's values through these very functions).
CSkinMetrics* MetricAnswerer() {
    CSkinMetrics* m = SkinMetrics(kMetricOptions);
    return m && !m->refreshing ? m : nullptr;
}

void FontOf(HFONT font, LOGFONTA* out) {
    LOGFONTA lf;
    if (font && GetObjectA(font, sizeof(lf), &lf) == sizeof(lf)) *out = lf;
}

bool FullCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

BOOL AdjustRect(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle, bool childException, int slot) {
    auto systemAdjust = [&]() -> BOOL {
        if (slot == SlotAdjustWindowRect)
            return SystemEntry<decltype(&::AdjustWindowRect)>(SlotAdjustWindowRect)(rect, style, menu);
        return SystemEntry<decltype(&::AdjustWindowRectEx)>(SlotAdjustWindowRectEx)(rect, style, menu, exStyle);
    };
    CSkinEngine* engine = SkinOn(SkinApplyMetrics | SkinApplyFrame);
    CSkinSchema* schema = engine ? engine->GetSchema() : nullptr;
    const bool maximizedCaption = FullCaption(style) && (style & WS_MAXIMIZE);
    const bool child = childException && (style & WS_CHILD);
    if (schema && rect && !menu && (style & WS_THICKFRAME) && (!maximizedCaption || child)) {
        // The same borders the frame lays its non-client area out by.
        const skin::FrameBorders b =
            skin::CalcFrameBorders(style, exStyle, CSkinObjectFrame::FrameMetricsFrom(schema->GetMetrics()), false, 0);
        rect->left -= b.left;
        rect->top -= b.top;
        rect->right += b.right;
        rect->bottom += b.bottom;
        return TRUE;
    }
    const BOOL done = systemAdjust();
    if (done && rect && FullCaption(style))
        if (CSkinMetrics* m = SkinMetrics(SkinApplyMetrics)) {
            const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
            const int skinHeight = tool ? m->smallCaptionHeight : m->captionHeight;
            const int systemHeight = tool ? m->systemSmallCaptionHeight : m->systemCaptionHeight;
            rect->top -= skinHeight - systemHeight;
        }
    return done;
}

}  // namespace

int WINAPI SkinGetSystemMetrics(int index) {
    const int value = SystemEntry<decltype(&::GetSystemMetrics)>(SlotGetSystemMetrics)(index);
    if (CSkinMetrics* m = MetricAnswerer()) return ThemeMetric(*m, index, value);
    return value;
}

BOOL WINAPI SkinSystemParametersInfoA(UINT action, UINT param, PVOID data, UINT flags) {
    const BOOL done =
        SystemEntry<decltype(&::SystemParametersInfoA)>(SlotSystemParametersInfoA)(action, param, data, flags);
    if (!done || !data) return done;
    CSkinMetrics* m = MetricAnswerer();
    CSkinSchema* schema = m ? m->schema : nullptr;
    if (!schema) return done;
    if (action == SPI_GETICONTITLELOGFONT && param == sizeof(LOGFONTA)) {
        LOGFONTA lf;
        if (schema->GetSchemaFont(kClassSysMetrics, 0, 0, kIconTitleFont, &lf) == S_OK)
            *static_cast<LOGFONTA*>(data) = lf;
    } else if (action == SPI_GETNONCLIENTMETRICS && param == 340) {
        auto* ncm = static_cast<NONCLIENTMETRICSA*>(data);
        FontOf(m->menuFont.Get(), &ncm->lfMenuFont);
        FontOf(m->captionFont.Get(), &ncm->lfCaptionFont);
        LOGFONTA lf;
        if (schema->GetSchemaFont(kClassSysMetrics, 0, 0, kStatusFont, &lf) == S_OK) ncm->lfStatusFont = lf;
    }
    return done;
}

BOOL WINAPI SkinAdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    return AdjustRect(rect, style, menu, exStyle, true, SlotAdjustWindowRectEx);
}

BOOL WINAPI SkinAdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustRect(rect, style, menu, WS_EX_WINDOWEDGE, false, SlotAdjustWindowRect);
}

}  // namespace hooks
}  // namespace skin
