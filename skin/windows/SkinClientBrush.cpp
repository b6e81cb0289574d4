#include "SkinClientBrush.h"

#include "CSkinSchema.h"

namespace {

HBRUSH ColorBrush(const CSkinMetrics* metrics, int index) {
    HBRUSH brush = metrics ? metrics->GetSysColorBrush(index) : nullptr;
    return brush ? brush : GetSysColorBrush(index);
}

}  // namespace

HBRUSH SkinClientBrush(HWND window, HDC dc, UINT ctlColorMessage, const CSkinMetrics* metrics) {
    const HWND parent = GetParent(window);
    const LRESULT answer =
        parent ? SendMessageA(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)) : 0;
    if (answer > 0 && answer <= 30) return ColorBrush(metrics, static_cast<int>(answer) - 1);
    if (answer) return reinterpret_cast<HBRUSH>(answer);
    if (ctlColorMessage == WM_CTLCOLOREDIT || ctlColorMessage == WM_CTLCOLORLISTBOX) {
        if (metrics && metrics->brushWindow) return metrics->brushWindow.Get();
        return ColorBrush(metrics, COLOR_WINDOW);
    }
    return ColorBrush(metrics, COLOR_BTNFACE);
}
