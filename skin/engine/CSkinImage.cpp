#include "CSkinImage.h"
#include "CSkinCriticalLock.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "SkinTables.h"

using namespace skin;

namespace {

std::atomic<bool> g_forceSoftware{false};
std::atomic<bool> g_allowEngineBlend{true};

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

COLORREF ToColorRef(uint32_t solid) { return solid & 0x00FFFFFFu; }

// Copies the destination area into a top-down section, lets fn change it, and puts it back.
template <typename Fn>
void EditDestination(HDC dc, const RECT& d, Fn fn) {
    const int w = d.right - d.left, h = d.bottom - d.top;
    if (w <= 0 || h <= 0) return;
    void* bits = nullptr;
    Bitmap tmp(CreateDib32(w, h, &bits));
    if (!tmp) return;
    MemoryDC mem(dc);
    if (!mem) return;
    mem.Select(tmp.Get());
    BitBlt(mem.Get(), 0, 0, w, h, dc, d.left, d.top, SRCCOPY);
    GdiFlush();
    fn(static_cast<uint32_t*>(bits), w, h);
    BitBlt(dc, d.left, d.top, w, h, mem.Get(), 0, 0, SRCCOPY);
}

// Copies a composed picture except the rectangle hole (picture coordinates) that is to stay untouched.
void CopyAround(HDC dc, const RECT& dest, HDC from, int w, int h, const RECT& hole) {
    auto copy = [&](LONG x, LONG y, LONG cx, LONG cy) {
        if (cx > 0 && cy > 0) BitBlt(dc, dest.left + x, dest.top + y, cx, cy, from, x, y, SRCCOPY);
    };
    copy(0, 0, w, hole.top);
    copy(0, hole.bottom, w, h - hole.bottom);
    copy(0, hole.top, hole.left, hole.bottom - hole.top);
    copy(hole.right, hole.top, w - hole.right, hole.bottom - hole.top);
}

}  // namespace

void CSkinImage::ForceSoftwareBlending(bool force) { g_forceSoftware.store(force); }
void CSkinImage::AllowEngineBlending(bool allow) { g_allowEngineBlend.store(allow); }
bool CSkinImage::EngineBlendingMatchesSystem() { return BlendCheck().premultiplied; }

BOOL CSkinImage::AdoptDecoded(const DecodedImage& img, BOOL premultiply) {
    void* bits = nullptr;
    Bitmap bmp(CreateDib32(img.width, img.height, &bits));
    if (!bmp) return FALSE;
    uint32_t* px = static_cast<uint32_t*>(bits);
    const size_t n = img.pixels.size();
    BOOL alpha = img.hasAlpha ? TRUE : FALSE;
    if (img.hasAlpha && premultiply) {
        // Straight alpha only matters when some pixel is see-through in a way a key cannot express.
        // Clear and opaque pixels together count in either order; all-clear alpha is an unused byte.
        bool sawClear = false, sawOpaque = false, partial = false;
        for (size_t i = 0; i < n && !partial; ++i) {
            uint32_t a = img.pixels[i] >> 24;
            if (a == 0) sawClear = true;
            else if (a == 255) sawOpaque = true;
            else partial = true;
            if (sawClear && sawOpaque) partial = true;
        }
        if (partial) {
            for (size_t i = 0; i < n; ++i) {
                uint32_t p = img.pixels[i], a = p >> 24;
                uint32_t b = (p & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, r = ((p >> 16) & 0xFF) * a / 255;
                px[i] = b | (g << 8) | (r << 16) | (a << 24);
            }
        } else {
            std::memcpy(px, img.pixels.data(), n * 4);
            alpha = FALSE;
        }
    } else {
        std::memcpy(px, img.pixels.data(), n * 4);
    }
    SetPicture(std::move(bmp), px, alpha, img.width, img.height);
    return TRUE;
}

BOOL CSkinImage::LoadFromPngMemory(const void* data, size_t size, BOOL premultiply) {
    if (size < 10) return FALSE;
    DecodedImage img;
    if (!DecodePng(data, size, img)) return FALSE;
    return AdoptDecoded(img, premultiply);
}

BOOL CSkinImage::LoadFromPackedDib(const void* data, size_t size, BOOL premultiply) {
    DecodedImage img;
    return DecodePackedDib(data, size, img) && AdoptDecoded(img, premultiply);
}

BOOL CSkinImage::LoadFromResource(HMODULE module, LPCSTR resourceName, BOOL premultiply) {
    DecodedImage img;
    return LoadResourcePicture(module, resourceName, img) && AdoptDecoded(img, premultiply);
}

BOOL CSkinImage::LoadFromFile(LPCSTR path, BOOL premultiply) {
    LoadedPicture picture;
    if (!LoadPictureFile(path, picture)) return FALSE;
    return picture.isDecoded ? AdoptDecoded(picture.decoded, premultiply) : AdoptBitmap(std::move(picture.bitmap), FALSE);
}

BOOL CSkinImage::AdoptBitmap(skin::Bitmap bitmap, BOOL alpha) {
    BITMAP bm = {};
    if (!bitmap || !GetObjectA(bitmap.Get(), sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return FALSE;
    SetPicture(std::move(bitmap), nullptr, alpha, bm.bmWidth, bm.bmHeight);
    return TRUE;
}

void CSkinImage::SetPicture(skin::Bitmap bitmap, uint32_t* bits, BOOL alpha, int width, int height) {
    ResetCaches();
    m_bitmap = std::move(bitmap);
    m_bits = bits;
    m_hasAlpha = alpha;
    m_width = width;
    m_height = height;
    m_mirrored = FALSE;
    m_solidRectsReady.store(false, std::memory_order_relaxed);
    m_solidRects.clear();
}

void CSkinImage::PrepareSolidRects(int count, BOOL horizontal, const RECT& margins) {
    if (m_solidRectsReady.load(std::memory_order_acquire) || !m_bitmap) return;
    if (count < 1) count = 1;
    if (count != 1 && horizontal) return;
    CSkinCriticalLock lock(&m_lock);
    if (m_solidRectsReady.load(std::memory_order_relaxed)) return;
    // Published last: a draw that sees the flag reads a finished list.
    struct Publish {
        std::atomic<bool>& ready;
        ~Publish() { ready.store(true, std::memory_order_release); }
    } publish{m_solidRectsReady};
    m_solidRects.clear();
    const RECT M = ClampMargins(margins, m_width, m_height / count);

    std::vector<uint32_t> copy;
    const uint32_t* px = m_bits;
    if (!px) {
        void* bits = nullptr;
        Bitmap tmp(CreateDib32(m_width, m_height, &bits));
        if (!tmp || !EnsureDCs()) return;
        {
            MemoryDC dst(nullptr);
            dst.Select(tmp.Get());
            BitBlt(dst.Get(), 0, 0, m_width, m_height, m_imageDC->Get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        copy.assign(p, p + static_cast<size_t>(m_width) * m_height);
        for (uint32_t& v : copy) v &= 0x00FFFFFFu;
        px = copy.data();
    }
    const int W = m_width, H = m_height;
    auto test = [&](LONG l, LONG t, LONG r, LONG b) -> bool {
        if (l < 0 || t < 0 || r <= l || b <= t || r > W || b > H) return false;
        const uint32_t first = px[static_cast<size_t>(t) * W + l];
        for (LONG y = t; y < b; ++y) {
            const uint32_t* row = px + static_cast<size_t>(y) * W;
            for (LONG x = l; x < r; ++x)
                if (row[x] != first) return false;
        }
        // Stored as red low, blue high; alpha kept only for images drawn with alpha.
        uint32_t c = ((first >> 16) & 0xFF) | (first & 0xFF00) | ((first & 0xFF) << 16);
        if (m_hasAlpha) c |= first & 0xFF000000u;
        m_solidRects.push_back({RECT{l, t, r, b}, c});
        return true;
    };
    const int fh = H / count;
    const bool anyMargin = M.left || M.top || M.right || M.bottom;
    for (int k = 0; k < count; ++k) {
        const LONG top = k * fh, bottom = (k + 1) * fh;
        if (test(0, top, W, bottom) || !anyMargin) continue;
        test(0, top + M.top, M.left, bottom - M.bottom);
        test(M.left, top, W - M.right, top + M.top);
        test(W - M.right, top + M.top, W, bottom - M.bottom);
        test(M.left, bottom - M.bottom, W - M.right, bottom);
        test(M.left, top + M.top, W - M.right, bottom - M.bottom);
    }
}

const CSkinImage::SolidRect* CSkinImage::FindSolid(const RECT& src) const {
    for (const SolidRect& s : m_solidRects)
        if (Contains(s.rect, src)) return &s;
    return nullptr;
}

CSkinImage::CSkinImage() { InitializeCriticalSection(&m_lock); }

CSkinImage::~CSkinImage() {
    ResetCaches();
    DeleteCriticalSection(&m_lock);
}

void CSkinImage::ResetCaches() {
    // Each context lets go of its bitmap before the bitmap is deleted (members in that order).
    m_imageDC.reset();
    m_composed.Clear();
}

size_t CSkinImage::GetComposedCount() const {
    CSkinCriticalLock lock(&m_lock);
    return m_composed.GetCount();
}

bool CSkinImage::EnsureDCs() {
    if (!m_imageDC) {
        m_imageDC = std::make_unique<MemoryDC>(nullptr);
        if (!*m_imageDC) {
            m_imageDC.reset();
            return false;
        }
        m_imageDC->Select(m_bitmap.Get());
        SetStretchBltMode(m_imageDC->Get(), COLORONCOLOR);
    }
    return true;
}

bool CSkinImage::ComposeInto(Composed& c) {
    if (!CSkinComposeCache::PrepareSurface(c)) return false;
    const RECT local{0, 0, c.what.width, c.what.height};
    if (c.what.key != CLR_INVALID) FillSolid(c.dc->Get(), local, c.what.key);
    m_composing = true;
    const RECT centre = NineGrid(c.dc->Get(), local, c.what.src, c.what.margins, c.what.sizingType, c.what.borderOnly);
    m_composing = false;
    if (c.what.borderOnly && !IsEmpty(centre)) c.hole = centre;
    GdiFlush();
    if (m_hasAlpha) CSkinComposeCache::AnalyseAlpha(c);
    return true;
}

void CSkinImage::Draw(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, COLORREF key,
                      int sizingType, BOOL borderOnly) {
    Draw(dc, dest, src, margins, key, sizingType, borderOnly, m_mirrorAllowed);
}

void CSkinImage::Draw(HDC dc, const RECT& dest, const RECT& src, const RECT& sizingMargins, COLORREF key,
                      int sizingType, BOOL borderOnly, BOOL mirrorAllowed) {
    const RECT margins = ClampMargins(sizingMargins, src.right - src.left, src.bottom - src.top);
    if (!MarginsFitHeight(src, margins)) return;
    const bool anyMargin = margins.left || margins.top || margins.right || margins.bottom;
    // A border-only draw leaves the centre alone, so a frame of one colour is not one fill.
    const bool solidAllowed = !(borderOnly && anyMargin);
    // Only alpha pictures are ever flipped: an opaque one's finished region list is read unlocked.
    if (solidAllowed && !m_hasAlpha && m_solidRectsReady.load(std::memory_order_acquire)) {
        if (const SolidRect* s = FindSolid(src)) {
            if (ToColorRef(s->color) != key) FillSolid(dc, dest, ToColorRef(s->color));
            return;
        }
    }
    CSkinCriticalLock lock(&m_lock);
    if (const SolidRect* s = solidAllowed ? FindSolid(src) : nullptr) {
        if (!m_hasAlpha) {
            if (ToColorRef(s->color) != key) FillSolid(dc, dest, ToColorRef(s->color));
            return;
        }
        if (s->color == 0) return;
        if ((s->color >> 24) == 255) {
            FillSolid(dc, dest, ToColorRef(s->color));
            return;
        }
    }
    m_lastTransparentColor = key;
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (!m_bitmap || w <= 0 || h <= 0 || !EnsureDCs()) return;
    SetStretchBltMode(dc, COLORONCOLOR);  // as a direct nine-grid would leave the destination

    const bool destMirrored = SystemGdi().getLayout && [&] {
        DWORD layout = SystemGdi().getLayout(dc);
        return layout != 0 && layout != GDI_ERROR;
    }();
    if (mirrorAllowed && m_hasAlpha && (m_mirrored != FALSE) != destMirrored) FlipPixels();
    // Without alpha the composed picture is copied by an unmirrored context, so the system mirrors it.
    const COLORREF usedKey = m_hasAlpha ? CLR_INVALID : key;

    CSkinComposeCache::Key what;
    what.src = src;
    what.width = w;
    what.height = h;
    what.margins = margins;
    what.sizingType = sizingType;
    what.borderOnly = borderOnly;
    what.key = usedKey;
    what.mirrored = m_mirrored;
    Composed* c = m_composed.Find(what);
    Composed oneOff;
    if (!c) {
        auto fresh = std::make_unique<Composed>();
        fresh->what = what;
        if (CSkinComposeCache::IsKeepable(w, h)) {
            if (!ComposeInto(*fresh)) return;
            c = m_composed.Insert(std::move(fresh));
        } else {
            oneOff.what = what;
            if (!ComposeInto(oneOff)) return;
            c = &oneOff;
        }
    }
    HDC from = c->dc->Get();
    if (m_hasAlpha) {
        if (SystemGdi().alphaBlend && !g_forceSoftware.load(std::memory_order_relaxed)) {
            if (!destMirrored && DrawBlended(dc, dest, *c)) return;
            BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            const int top = c->opaqueTop, bottom = c->opaqueBottom;
            if (bottom - top >= 2) {
                // Blending costs far more than copying: only the rows with see-through pixels blend.
                if (top > 0) SystemGdi().alphaBlend(dc, dest.left, dest.top, w, top, from, 0, 0, w, top, bf);
                BitBlt(dc, dest.left, dest.top + top, w, bottom - top, from, 0, top, SRCCOPY);
                if (bottom < h)
                    SystemGdi().alphaBlend(dc, dest.left, dest.top + bottom, w, h - bottom, from, 0, bottom, w, h - bottom, bf);
            } else {
                SystemGdi().alphaBlend(dc, dest.left, dest.top, w, h, from, 0, 0, w, h, bf);
            }
        } else {
            SoftwareAlphaBlend(dc, dest, c->bits, w, h, RECT{0, 0, w, h});
        }
    } else if (usedKey != CLR_INVALID) {
        if (SystemGdi().transparentBlt && !g_forceSoftware.load(std::memory_order_relaxed)) {
            SystemGdi().transparentBlt(dc, dest.left, dest.top, w, h, from, 0, 0, w, h, usedKey);
        } else {
            const uint32_t* pixels = c->bits;
            const uint32_t keyBgr = ((usedKey & 0xFF) << 16) | (usedKey & 0xFF00) | ((usedKey >> 16) & 0xFF);
            EditDestination(dc, dest, [&](uint32_t* to, int dw, int dh) {
                for (size_t i = 0; i < static_cast<size_t>(dw) * dh; ++i)
                    if ((pixels[i] & 0x00FFFFFFu) != keyBgr) to[i] = pixels[i];
            });
        }
    } else if (!IsEmpty(c->hole)) {
        CopyAround(dc, dest, from, w, h, c->hole);
    } else {
        BitBlt(dc, dest.left, dest.top, w, h, from, 0, 0, SRCCOPY);
    }
}

// The system's blend is slow per pixel. For a memory context seen without mirroring or scaling,
// the engine blends: straight into the pixels of a 32-bit section when nothing clips the part,
// otherwise the rows with see-through pixels are read back, blended here and the whole picture
// copied out, which clips it as the system's blend would. Either way the pixels are the system's.
// Anything else returns false and goes through the system.
bool CSkinImage::DrawBlended(HDC dc, const RECT& dest, Composed& c) {
    if (!g_allowEngineBlend.load(std::memory_order_relaxed) || !c.bits) return false;
    const SystemBlendCheck& check = BlendCheck();
    if (!check.premultiplied || (c.runs.straight && !check.straight)) return false;
    if (GetObjectType(dc) != OBJ_MEMDC || GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE)
        return false;
    // Pixels outside the bitmap cannot be read back; the clip box never reaches beyond it.
    RECT clip;
    const int region = GetClipBox(dc, &clip);
    if ((region != SIMPLEREGION && region != COMPLEXREGION) || !Contains(clip, dest)) return false;
    // Only depths whose copies keep every colour bit; fewer bits would round twice.
    DIBSECTION ds = {};
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    const int got = bitmap ? GetObjectA(bitmap, sizeof(ds), &ds) : 0;
    if (got < static_cast<int>(sizeof(BITMAP)) || (ds.dsBm.bmBitsPixel != 32 && ds.dsBm.bmBitsPixel != 24) ||
        (got == static_cast<int>(sizeof(ds)) && ds.dsBmih.biCompression != BI_RGB))
        return false;
    if (region == SIMPLEREGION && got == static_cast<int>(sizeof(ds)) &&
        BlendIntoSection(dc, dest, c.bits, c.what.width, c.what.height, c.runs, bitmap, ds, m_sections)) {
        ++m_engineBlends;
        ++m_sectionBlends;
        return true;
    }
    const int w = c.what.width, h = c.what.height;
    if (!c.stage) {
        void* bits = nullptr;
        Bitmap stage(CreateDib32(w, h, &bits));
        auto stageDC = std::make_unique<MemoryDC>(nullptr);
        if (!stage || !*stageDC) return false;
        stageDC->Select(stage.Get());
        std::memcpy(bits, c.bits, static_cast<size_t>(w) * h * 4);
        c.stage = std::move(stage);
        c.stageBits = static_cast<uint32_t*>(bits);
        c.stageDC = std::move(stageDC);
    }
    HDC stage = c.stageDC->Get();
    for (const auto& band : c.runs.bands)
        if (!BitBlt(stage, 0, band.first, w, band.second - band.first, dc, dest.left, dest.top + band.first, SRCCOPY))
            return false;
    GdiFlush();
    for (const auto& band : c.runs.bands)
        BlendPicture(reinterpret_cast<uint8_t*>(c.stageBits + static_cast<size_t>(band.first) * w),
                     static_cast<intptr_t>(w) * 4, c.bits, w, band.first, band.second - band.first, c.runs);
    BitBlt(dc, dest.left, dest.top, w, h, stage, 0, 0, SRCCOPY);
    ++m_engineBlends;
    return true;
}

void CSkinImage::FlipPixels() {
    if (!m_bits) return;
    GdiFlush();
    for (int y = 0; y < m_height; ++y) {
        uint32_t* row = m_bits + static_cast<size_t>(y) * m_width;
        std::reverse(row, row + m_width);
    }
    for (SolidRect& s : m_solidRects) {
        LONG l = m_width - s.rect.right, r = m_width - s.rect.left;
        s.rect.left = l;
        s.rect.right = r;
    }
    m_mirrored = !m_mirrored;
}

RECT CSkinImage::NineGrid(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, int sizingType,
                          BOOL borderOnly) {
    if (!m_bitmap || !m_imageDC) return RECT{};
    NineGridPlan plan = PlanNineGrid(dest, src, margins, sizingType, borderOnly != FALSE);
    if (plan.cells.empty()) return RECT{};
    SetStretchBltMode(dc, COLORONCOLOR);
    HDC mem = m_imageDC->Get();
    for (const NineGridCell& cell : plan.cells) {
        if (cell.tiled)
            TiledCopy(dc, mem, cell.dest, cell.src, plan.tileFlags);
        else
            CellCopy(dc, mem, cell.dest, cell.src);
    }
    return plan.centre;
}

void CSkinImage::TiledCopy(HDC dc, HDC mem, const RECT& d, const RECT& s, int flags) {
    if (IsEmpty(d) || IsEmpty(s)) return;
    if (const SolidRect* solid = FindSolid(s)) {
        if (!m_hasAlpha) {
            FillSolid(dc, d, ToColorRef(solid->color));
            return;
        }
        if (solid->color == 0) return;
        // A fill would leave the alpha byte 0 in a composed picture; there the copy keeps it.
        if ((solid->color >> 24) == 255 && !m_composing) {
            FillSolid(dc, d, ToColorRef(solid->color));
            return;
        }
    }
    for (const auto& piece : PlanTiledCopy(d, s, flags)) CellCopy(dc, mem, piece.first, piece.second);
}

void CSkinImage::CellCopy(HDC dc, HDC mem, const RECT& d, const RECT& s) {
    if (IsEmpty(d) || IsEmpty(s)) return;
    const int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
    if (m_hasAlpha) {
        if (SystemGdi().alphaBlend && !g_forceSoftware.load(std::memory_order_relaxed)) {
            BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            SystemGdi().alphaBlend(dc, d.left, d.top, dw, dh, mem, s.left, s.top, sw, sh, bf);
        } else {
            if (m_bits) SoftwareAlphaBlend(dc, d, m_bits, m_width, m_height, s);
        }
        return;
    }
    if (dw == sw && dh == sh)
        BitBlt(dc, d.left, d.top, dw, dh, mem, s.left, s.top, SRCCOPY);
    else
        StretchBlt(dc, d.left, d.top, dw, dh, mem, s.left, s.top, sw, sh, SRCCOPY);
}

void CSkinImage::SoftwareAlphaBlend(HDC dc, const RECT& d, const uint32_t* pixels, int stride, int rows,
                                    const RECT& s) {
    if (!pixels) return;
    if (s.left < 0 || s.top < 0 || s.right > stride || s.bottom > rows) return;
    GdiFlush();
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    EditDestination(dc, d, [&](uint32_t* to, int dw, int dh) {
        for (int y = 0; y < dh; ++y) {
            const uint32_t* srow = pixels + static_cast<size_t>(s.top + y * sh / dh) * stride + s.left;
            uint32_t* drow = to + static_cast<size_t>(y) * dw;
            for (int x = 0; x < dw; ++x) {
                drow[x] = BlendOver(drow[x], srow[x * sw / dw]);
            }
        }
    });
}
