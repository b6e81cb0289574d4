#pragma once
#include <windows.h>

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
    CSize(SIZE s) : SIZE(s) {}
};

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(POINT p) : POINT(p) {}
    // From a mouse message's lParam: signed 16-bit coordinates.
    explicit CPoint(LPARAM lp) : POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))} {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    bool IsRectEmpty() const { return ::IsRectEmpty(this) != FALSE; }
    bool PtInRect(POINT p) const { return ::PtInRect(this, p) != FALSE; }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    bool operator==(const CRect& o) const { return ::EqualRect(this, &o) != FALSE; }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
