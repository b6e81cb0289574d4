#pragma once
// Owners for the GDI handles the engine keeps, and a memory device context that
// puts back what it selected.
#include <windows.h>
#include <utility>

namespace skin {

template <typename H>
class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(H h) : m_h(h) {}
    ~GdiHandle() { Reset(); }
    GdiHandle(const GdiHandle&) = delete;
    GdiHandle& operator=(const GdiHandle&) = delete;
    GdiHandle(GdiHandle&& o) noexcept : m_h(std::exchange(o.m_h, nullptr)) {}
    GdiHandle& operator=(GdiHandle&& o) noexcept {
        if (this != &o) { Reset(); m_h = std::exchange(o.m_h, nullptr); }
        return *this;
    }
    void Reset(H h = nullptr) {
        // Let go before deleting, so the object is no longer ours while DeleteObject runs.
        H old = std::exchange(m_h, h);
        if (old) DeleteObject(old);
    }
    H Get() const { return m_h; }
    H Release() { return std::exchange(m_h, nullptr); }
    explicit operator bool() const { return m_h != nullptr; }

private:
    H m_h = nullptr;
};

using Bitmap = GdiHandle<HBITMAP>;
using Brush = GdiHandle<HBRUSH>;
using Font = GdiHandle<HFONT>;

class MemoryDC {
public:
    explicit MemoryDC(HDC reference) : m_dc(CreateCompatibleDC(reference)) {}
    ~MemoryDC() {
        if (m_dc) {
            if (m_oldBitmap) SelectObject(m_dc, m_oldBitmap);
            DeleteDC(m_dc);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    void Select(HBITMAP bitmap) {
        HGDIOBJ old = SelectObject(m_dc, bitmap);
        if (!m_oldBitmap) m_oldBitmap = old;
    }
    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_oldBitmap = nullptr;
};

// Top-down 32-bit section; bits null on failure.
inline HBITMAP CreateDib32(int width, int height, void** bits) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    if (!bmp) p = nullptr;
    if (bits) *bits = p;
    return bmp;
}

// Solid fill without creating a brush.
inline void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    COLORREF old = SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

}  // namespace skin
