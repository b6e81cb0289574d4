#pragma once
// One decoded theme image (all frames of a part in one bitmap) and how it is drawn into a
// rectangle: solid regions, nine-grid stretch or tile, colour key, alpha. Painting threads may
// draw one image at once: a draw holds the image's lock, since it may flip the pixels for a
// mirrored destination and fills the caches of composed pictures and of section row orders.
#include <windows.h>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CSkinComposeCache.h"
#include "SkinBlend.h"
#include "SkinGdi.h"
#include "SkinImageLoading.h"
#include "SkinNineGrid.h"
#include "SkinPng.h"

class CSkinImage {
public:
    struct SolidRect {
        RECT rect;       // bitmap coordinates, top-down
        uint32_t color;  // red low byte, green, blue, alpha on top when the image has alpha
    };

    CSkinImage();
    ~CSkinImage();
    CSkinImage(const CSkinImage&) = delete;
    CSkinImage& operator=(const CSkinImage&) = delete;

    BOOL LoadFromResource(HMODULE module, LPCSTR resourceName, BOOL premultiply = TRUE);
    BOOL LoadFromFile(LPCSTR path, BOOL premultiply = TRUE);
    BOOL LoadFromPngMemory(const void* data, size_t size, BOOL premultiply = TRUE);
    // Packed device-independent bitmap: header, colour table, pixels.
    BOOL LoadFromPackedDib(const void* data, size_t size, BOOL premultiply = TRUE);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    BOOL HasAlpha() const { return m_hasAlpha; }
    BOOL IsMirrored() const { return m_mirrored; }
    HBITMAP GetBitmap() const { return m_bitmap.Get(); }
    COLORREF GetLastTransparentColor() const { return m_lastTransparentColor; }
    const std::vector<SolidRect>& GetSolidRects() const { return m_solidRects; }
    // For the draw without a mirroring argument (one thread at a time).
    void SetMirrorAllowed(BOOL allowed) { m_mirrorAllowed = allowed; }

    void PrepareSolidRects(int frameCount, BOOL horizontalLayout, const RECT& margins);
    void Draw(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, COLORREF transparentColor,
              int sizingType, BOOL borderOnly);
    // The same with the part's MIRRORIMAGE given for this draw alone, as painting threads need.
    void Draw(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, COLORREF transparentColor,
              int sizingType, BOOL borderOnly, BOOL mirrorAllowed);

    // The engine's own blending and keyed copy, normally used only when msimg32 lacks them.
    static void ForceSoftwareBlending(bool force);
    // Alpha pictures drawn into memory contexts are blended by the engine (into a 32-bit section's
    // pixels, or over their see-through rows read back) when its blend gives the system's pixels
    // (checked once); off, every draw goes through the system's blend.
    static void AllowEngineBlending(bool allow);
    static bool EngineBlendingMatchesSystem();

    // Composed results kept for reuse (for tests).
    size_t GetComposedCount() const;
    // Draws that the engine blended itself, and those of them written straight into a section's
    // pixels (for tests).
    unsigned GetEngineBlendCount() const { return m_engineBlends; }
    unsigned GetSectionBlendCount() const { return m_sectionBlends; }

private:
    using Composed = CSkinComposeCache::Entry;
    bool ComposeInto(Composed& c);
    bool EnsureDCs();
    void ResetCaches();
    // Takes a new picture (bits may be null for a device-dependent bitmap) and forgets every derived cache.
    void SetPicture(skin::Bitmap bitmap, uint32_t* bits, BOOL alpha, int width, int height);
    BOOL AdoptDecoded(const skin::DecodedImage& img, BOOL premultiply);
    BOOL AdoptBitmap(skin::Bitmap bitmap, BOOL alpha);
    const SolidRect* FindSolid(const RECT& src) const;
    // Returns where the centre cell goes (drawn or not), empty without margins.
    RECT NineGrid(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, int sizingType, BOOL borderOnly);
    void TiledCopy(HDC dc, HDC mem, const RECT& d, const RECT& s, int flags);
    void CellCopy(HDC dc, HDC mem, const RECT& d, const RECT& s);
    // Blends premultiplied pixels (a top-down array of stride pixels) over the destination.
    void SoftwareAlphaBlend(HDC dc, const RECT& d, const uint32_t* pixels, int stride, int rows, const RECT& s);
    void FlipPixels();
    bool DrawBlended(HDC dc, const RECT& dest, Composed& c);

    BOOL m_mirrorAllowed = TRUE;
    skin::Bitmap m_bitmap;
    uint32_t* m_bits = nullptr;  // pixels of a 32-bit top-down section, else null
    BOOL m_hasAlpha = FALSE;
    BOOL m_mirrored = FALSE;
    std::atomic<bool> m_solidRectsReady{false};
    int m_width = 0;
    int m_height = 0;
    COLORREF m_lastTransparentColor = CLR_INVALID;
    std::vector<SolidRect> m_solidRects;
    std::unique_ptr<skin::MemoryDC> m_imageDC;  // holds the image's bitmap
    CSkinComposeCache m_composed;
    bool m_composing = false;
    unsigned m_engineBlends = 0;
    unsigned m_sectionBlends = 0;
    skin::SectionRowOrders m_sections;
    mutable CRITICAL_SECTION m_lock;
};
