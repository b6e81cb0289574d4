#pragma once
// One decoded theme image (all frames of a part in one bitmap) and how it is drawn
// into a rectangle: solid regions, nine-grid stretch or tile, colour key, alpha.
#include <windows.h>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SkinBlend.h"
#include "SkinGdi.h"

namespace skin {

// Decoded PNG: top-down rows of blue, green, red, alpha (alpha 0 when the image has no alpha channel).
struct DecodedImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<uint32_t> pixels;
};
// Largest side accepted; larger images are refused before any pixel memory is taken.
constexpr int kMaxImageSide = 4096;
bool DecodePng(const void* data, size_t size, DecodedImage& out);

// Scaled margins and the nine cells of one draw.
struct NineGridCell {
    RECT dest;
    RECT src;
    bool tiled;  // edges and centre are tiled copies; corners plain copies
};
struct NineGridPlan {
    int tileFlags = 0;  // 1 vertical, 2 horizontal
    std::vector<NineGridCell> cells;
};
// Empty plan when nothing is to be drawn.
NineGridPlan PlanNineGrid(const RECT& dest, const RECT& src, const RECT& margins, int sizingType,
                          bool borderOnly);
// Pieces of one tiled copy as (dest, src) pairs; a single pair is a plain (stretched) copy.
std::vector<std::pair<RECT, RECT>> PlanTiledCopy(const RECT& dest, const RECT& src, int tileFlags);

}  // namespace skin

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
    void SetMirrorAllowed(BOOL allowed) { m_mirrorAllowed = allowed; }

    void PrepareSolidRects(int frameCount, BOOL horizontalLayout, const RECT& margins);
    void Draw(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, COLORREF transparentColor,
              int sizingType, BOOL borderOnly);

    // The engine's own blending and keyed copy, normally used only when msimg32 lacks them.
    static void ForceSoftwareBlending(bool force);
    // Alpha pictures drawn into memory contexts are blended by the engine (into a 32-bit section's
    // pixels, or over their see-through rows read back) when its blend gives the system's pixels
    // (checked once); off, every draw goes through the system's blend.
    static void AllowEngineBlending(bool allow);
    static bool EngineBlendingMatchesSystem();

    // Composed results kept for reuse (for tests).
    size_t GetComposedCount() const { return m_composed.size(); }
    // Draws that the engine blended itself, and those of them written straight into a section's
    // pixels (for tests).
    unsigned GetEngineBlendCount() const { return m_engineBlends; }
    unsigned GetSectionBlendCount() const { return m_sectionBlends; }

private:
    // One draw's nine-grid result at its destination size, so that repeated draws are one copy.
    struct Composed {
        RECT src{};
        int width = 0, height = 0;
        RECT margins{};
        int sizingType = 0;
        BOOL borderOnly = FALSE;
        COLORREF key = CLR_INVALID;
        BOOL mirrored = FALSE;
        skin::Bitmap bitmap;
        uint32_t* bits = nullptr;
        std::unique_ptr<skin::MemoryDC> dc;  // keeps the bitmap selected: no selection per draw
        int opaqueTop = 0, opaqueBottom = 0;  // rows that need no blending, copied plainly
        skin::BlendRuns runs;                 // pixels that are not opaque, found once
        // The picture with its see-through rows blended over what was last read from a destination.
        skin::Bitmap stage;
        uint32_t* stageBits = nullptr;
        std::unique_ptr<skin::MemoryDC> stageDC;
    };
    bool Matches(const Composed& c, const RECT& src, int w, int h, const RECT& margins, int sizingType,
                 BOOL borderOnly, COLORREF key) const;
    bool ComposeInto(Composed& c);
    bool EnsureDCs();
    void ResetCaches();
    // Takes a new picture (bits may be null for a device-dependent bitmap) and forgets every derived cache.
    void SetPicture(skin::Bitmap bitmap, uint32_t* bits, BOOL alpha, int width, int height);
    BOOL AdoptDecoded(const skin::DecodedImage& img, BOOL premultiply);
    BOOL AdoptBitmap(HBITMAP bitmap, BOOL alpha);
    const SolidRect* FindSolid(const RECT& src) const;
    void NineGrid(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, int sizingType,
                  BOOL borderOnly);
    void TiledCopy(HDC dc, HDC mem, const RECT& d, const RECT& s, int flags);
    void CellCopy(HDC dc, HDC mem, const RECT& d, const RECT& s);
    // Blends premultiplied pixels (a top-down array of stride pixels) over the destination.
    void SoftwareAlphaBlend(HDC dc, const RECT& d, const uint32_t* pixels, int stride, int rows, const RECT& s);
    void FlipPixels();
    bool DrawBlended(HDC dc, const RECT& dest, Composed& c);
    bool BlendIntoSection(HDC dc, const RECT& dest, const Composed& c, HGDIOBJ bitmap, const DIBSECTION& ds);

    BOOL m_mirrorAllowed = TRUE;
    skin::Bitmap m_bitmap;
    uint32_t* m_bits = nullptr;  // pixels of a 32-bit top-down section, else null
    BOOL m_hasAlpha = FALSE;
    BOOL m_mirrored = FALSE;
    BOOL m_solidRectsReady = FALSE;
    int m_width = 0;
    int m_height = 0;
    COLORREF m_lastTransparentColor = CLR_INVALID;
    std::vector<SolidRect> m_solidRects;
    std::unique_ptr<skin::MemoryDC> m_imageDC;    // holds the image's bitmap
    std::vector<std::unique_ptr<Composed>> m_composed;  // most recent first
    bool m_composing = false;
    unsigned m_engineBlends = 0;
    unsigned m_sectionBlends = 0;
    // The 32-bit sections last blended into directly, most recent first. A section does not tell
    // whether its rows run bottom-up; that is found once by reading one pixel through the context.
    struct KnownSection {
        HGDIOBJ bitmap = nullptr;
        void* bits = nullptr;
        LONG width = 0, height = 0;
        bool bottomUp = false;
    };
    std::array<KnownSection, 4> m_sections;
    CRITICAL_SECTION m_lock;
};

// Images of one class handle, by upper-cased path. Failed loads are tried again later.
class CSkinPackage;
class CSkinImageCache {
public:
    CSkinImage* Get(CSkinPackage* package, const std::string& imagePath, BOOL premultiply = TRUE);
    size_t GetCount() const { return m_images.size(); }

private:
    std::vector<std::pair<std::string, std::unique_ptr<CSkinImage>>> m_images;
};
