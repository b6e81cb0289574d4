#pragma once
// An off-screen copy of a rectangle of a target DC: the skinned controls draw everything there
// and the target gets it in one copy, so nothing flickers between background and parts.
#include <windows.h>

#include "SkinGdi.h"

class CSkinPaintBuffer {
public:
    CSkinPaintBuffer(HDC target, const RECT& rect)
        : m_target(target), m_rect(rect),
          m_bitmap(CreateCompatibleBitmap(target, Width() > 0 ? Width() : 1, Height() > 0 ? Height() : 1)),
          m_memory(target) {
        if (!*this) return;
        m_memory.Select(m_bitmap.Get());
        SetWindowOrgEx(m_memory.Get(), rect.left, rect.top, nullptr);
        // Text and brushes start as the target's: the caller's font and colours carry over.
        SelectObject(m_memory.Get(), GetCurrentObject(target, OBJ_FONT));
        SetTextColor(m_memory.Get(), GetTextColor(target));
        SetBkColor(m_memory.Get(), GetBkColor(target));
    }
    ~CSkinPaintBuffer() {
        if (!*this) return;
        SetWindowOrgEx(m_memory.Get(), 0, 0, nullptr);
        BitBlt(m_target, m_rect.left, m_rect.top, Width(), Height(), m_memory.Get(), 0, 0, SRCCOPY);
    }
    CSkinPaintBuffer(const CSkinPaintBuffer&) = delete;
    CSkinPaintBuffer& operator=(const CSkinPaintBuffer&) = delete;

    HDC Get() const { return m_memory.Get(); }
    explicit operator bool() const { return m_memory && m_bitmap && Width() > 0 && Height() > 0; }

private:
    int Width() const { return m_rect.right - m_rect.left; }
    int Height() const { return m_rect.bottom - m_rect.top; }

    HDC m_target;
    RECT m_rect;
    // Declared first, so the DC has let go of it by the time it is deleted (the system refuses to
    // delete a bitmap still selected into a DC, and it would leak).
    skin::Bitmap m_bitmap;
    skin::MemoryDC m_memory;
};
