#pragma once
// What the skinned controls share while they paint: the schema held for the length of a paint,
// the theme's system colours and brushes, and the paint or print context a message carries.
#include <windows.h>

#include "CSkinObjectBase.h"
#include "CSkinSchema.h"

namespace skin {

// Held while drawing: another thread may load the skin again meanwhile.
inline CSkinRef<CSkinSchema> HoldSchema(const CSkinObjectBase& object) {
    CSkinSchema* schema = object.GetOwnSchema();
    if (!schema && object.GetEngine()) schema = object.GetEngine()->GetSchema();
    return CSkinRef<CSkinSchema>::Share(schema);
}

inline COLORREF ThemeSysColor(const CSkinSchema* schema, int index) {
    const CSkinMetrics* m = schema ? schema->GetMetrics() : nullptr;
    return m && m->colors[index] != 0xFFFFFFFFu ? m->colors[index] : GetSysColor(index);
}

inline HBRUSH ThemeSysBrush(const CSkinSchema* schema, int index) {
    const CSkinMetrics* m = schema ? schema->GetMetrics() : nullptr;
    HBRUSH brush = m ? m->GetSysColorBrush(index) : nullptr;
    return brush ? brush : GetSysColorBrush(index);
}

// WM_PAINT with a DC in wParam (as some callers send it) or WM_PRINTCLIENT paints there; otherwise
// the window is painted between BeginPaint and EndPaint.
template <typename PaintFn>
void PaintWindow(HWND window, WPARAM dcParam, PaintFn paint) {
    if (dcParam) {
        paint(reinterpret_cast<HDC>(dcParam));
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (dc) paint(dc);
    EndPaint(window, &ps);
}

}  // namespace skin
