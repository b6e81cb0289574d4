#include "CSkinImage.h"

#include <olectl.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>

#include "CSkinPackage.h"
#include "SkinTables.h"

namespace skin {
namespace {

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > src->size - src->pos) png_error(png, "truncated");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

// Everything libpng allocates and every pointer touched after setjmp lives outside the
// function that calls setjmp, so a longjmp leaves nothing undefined behind.
struct PngDecodeState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t> rows;
    std::vector<png_bytep> rowPointers;
    int width = 0, height = 0, channels = 0;
    ~PngDecodeState() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

bool RunPngDecode(PngDecodeState& st, PngSource& src) {
    if (setjmp(png_jmpbuf(st.png))) return false;
    png_set_read_fn(st.png, &src, PngRead);
    png_set_user_limits(st.png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(st.png, 8u << 20);
    // Metadata is never used; skipping it unread also keeps an oversized text or profile chunk
    // (only a warning to the library) from allocating whatever length it claims.
    static const png_byte kIgnored[] =
        "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0pCAL\0sCAL\0tIME\0pHYs\0oFFs\0sBIT\0cHRM\0sRGB\0hIST\0";
    png_set_keep_unknown_chunks(st.png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(st.png, PNG_HANDLE_CHUNK_NEVER, kIgnored, 15);
    png_read_info(st.png, st.info);
    png_uint_32 w = 0, h = 0;
    int depth = 0, colorType = 0;
    png_get_IHDR(st.png, st.info, &w, &h, &depth, &colorType, nullptr, nullptr, nullptr);
    if (w == 0 || h == 0 || w > static_cast<png_uint_32>(kMaxImageSide) ||
        h > static_cast<png_uint_32>(kMaxImageSide))
        return false;
    if (depth == 16) png_set_strip_16(st.png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(st.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(st.png);
    if (png_get_valid(st.png, st.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(st.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(st.png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(st.png, st.info, &background) && background)
        png_set_background(st.png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double fileGamma = 0;
    if (png_get_gAMA(st.png, st.info, &fileGamma) && fileGamma > 0) png_set_gamma(st.png, 2.2, fileGamma);
    png_set_bgr(st.png);
    png_set_interlace_handling(st.png);
    png_read_update_info(st.png, st.info);
    st.channels = png_get_channels(st.png, st.info);
    size_t rowBytes = png_get_rowbytes(st.png, st.info);
    if ((st.channels != 3 && st.channels != 4) || rowBytes < static_cast<size_t>(w) * st.channels) return false;
    st.width = static_cast<int>(w);
    st.height = static_cast<int>(h);
    if (png_get_interlace_type(st.png, st.info) == PNG_INTERLACE_NONE) {
        // Row by row into a growing buffer: a short file fails before the whole image is allocated.
        for (png_uint_32 y = 0; y < h; ++y) {
            st.rows.resize(rowBytes * (y + 1));
            png_read_row(st.png, st.rows.data() + rowBytes * y, nullptr);
        }
        return true;
    }
    st.rows.resize(rowBytes * h);
    st.rowPointers.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) st.rowPointers[y] = st.rows.data() + rowBytes * y;
    png_read_image(st.png, st.rowPointers.data());
    return true;
}

}  // namespace

bool DecodePng(const void* data, size_t size, DecodedImage& out) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (!data || size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
    PngDecodeState st;
    st.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!st.png) return false;
    st.info = png_create_info_struct(st.png);
    if (!st.info) return false;
    PngSource src{static_cast<const uint8_t*>(data), size, 0};
    try {
        if (!RunPngDecode(st, src)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    out.width = st.width;
    out.height = st.height;
    out.hasAlpha = st.channels == 4;
    out.pixels.assign(static_cast<size_t>(st.width) * st.height, 0);
    size_t rowBytes = st.rows.size() / st.height;
    for (int y = 0; y < st.height; ++y) {
        const uint8_t* row = st.rows.data() + rowBytes * y;
        uint32_t* dst = out.pixels.data() + static_cast<size_t>(y) * st.width;
        for (int x = 0; x < st.width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * st.channels;
            uint32_t a = st.channels == 4 ? p[3] : 0;
            dst[x] = p[0] | (p[1] << 8) | (p[2] << 16) | (a << 24);
        }
    }
    return true;
}

NineGridPlan PlanNineGrid(const RECT& D, const RECT& S, const RECT& M, int sizingType, bool borderOnly) {
    NineGridPlan plan;
    const int sh = S.bottom - S.top, sw = S.right - S.left;
    const int dh = D.bottom - D.top, dw = D.right - D.left;
    if (sh < M.top + M.bottom || dw <= 0 || dh <= 0) return plan;
    plan.tileFlags = sizingType == ST_TILE ? 3 : 0;
    if (M.left == 0 && M.top == 0 && M.right == 0 && M.bottom == 0) {
        plan.cells.push_back({D, S, true});
        return plan;
    }
    RECT m = M;
    const int mv = M.top + M.bottom, mh = M.left + M.right;
    if (mv >= dh || sh == mv) {
        m.top = mv != 0 ? MulDiv(dh, M.top, mv) : 0;
        m.bottom = dh - m.top;
        if (m.bottom > 0 && (m.bottom & 1) != (M.bottom & 1)) m.bottom += 1;
        plan.tileFlags &= ~1;
    }
    if (mh >= dw || sw == mh) {
        m.left = mh != 0 ? MulDiv(dw, M.left, mh) : 0;
        m.right = dw - m.left;
        plan.tileFlags &= ~2;
    }
    const LONG sx[4] = {S.left, S.left + M.left, S.right - M.right, S.right};
    const LONG sy[4] = {S.top, S.top + M.top, S.bottom - M.bottom, S.bottom};
    const LONG dx[4] = {D.left, D.left + m.left, D.right - m.right, D.right};
    const LONG dy[4] = {D.top, D.top + m.top, D.bottom - m.bottom, D.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1 && borderOnly) continue;
            bool corner = row != 1 && col != 1;
            plan.cells.push_back({RECT{dx[col], dy[row], dx[col + 1], dy[row + 1]},
                                  RECT{sx[col], sy[row], sx[col + 1], sy[row + 1]}, !corner});
        }
    }
    return plan;
}

std::vector<std::pair<RECT, RECT>> PlanTiledCopy(const RECT& d, const RECT& s, int flags) {
    std::vector<std::pair<RECT, RECT>> pieces;
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return pieces;
    const bool stretchLine = (sw == 1 && (sh == 1 || sh == dh)) || (sh == 1 && (sw == 1 || sw == dw));
    if (flags == 0 || stretchLine) {
        pieces.emplace_back(d, s);
        return pieces;
    }
    const int rowStep = (flags & 1) && sh < dh ? sh : dh;
    const int colStep = (flags & 2) ? std::min(sw, dw) : dw;
    for (int x = d.left; x < d.right; x += colStep) {
        for (int y = d.top; y < d.bottom; y += rowStep) {
            RECT pd{x, y, x + colStep, y + rowStep};
            RECT ps = s;
            if (flags & 1) {
                ps.bottom = s.top + rowStep;
                if (pd.bottom > d.bottom) {
                    ps.bottom -= pd.bottom - d.bottom;
                    pd.bottom = d.bottom;
                }
            }
            if (flags & 2) {
                ps.right = s.left + colStep;
                if (pd.right > d.right) {
                    ps.right -= pd.right - d.right;
                    pd.right = d.right;
                }
            }
            pieces.emplace_back(pd, ps);
        }
    }
    return pieces;
}

}  // namespace skin

using namespace skin;

namespace {

bool g_forceSoftware = false;
bool g_allowEngineBlend = true;

class Lock {
public:
    explicit Lock(CRITICAL_SECTION* cs) : m_cs(cs) { EnterCriticalSection(m_cs); }
    ~Lock() { LeaveCriticalSection(m_cs); }

private:
    CRITICAL_SECTION* m_cs;
};

struct Msimg32 {
    using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    using GetLayoutFn = DWORD(WINAPI*)(HDC);
    using SetLayoutFn = DWORD(WINAPI*)(HDC, DWORD);
    AlphaBlendFn alphaBlend = nullptr;
    TransparentBltFn transparentBlt = nullptr;
    GradientFillFn gradientFill = nullptr;
    GetLayoutFn getLayout = nullptr;
    SetLayoutFn setLayout = nullptr;
    Msimg32() {
        if (HMODULE m = LoadLibraryA("msimg32.dll")) {
            alphaBlend = reinterpret_cast<AlphaBlendFn>(GetProcAddress(m, "AlphaBlend"));
            transparentBlt = reinterpret_cast<TransparentBltFn>(GetProcAddress(m, "TransparentBlt"));
            gradientFill = reinterpret_cast<GradientFillFn>(GetProcAddress(m, "GradientFill"));
        }
        if (HMODULE g = GetModuleHandleA("GDI32.DLL")) {
            getLayout = reinterpret_cast<GetLayoutFn>(GetProcAddress(g, "GetLayout"));
            setLayout = reinterpret_cast<SetLayoutFn>(GetProcAddress(g, "SetLayout"));
        }
    }
};

const Msimg32& Gdi() {
    static const Msimg32 fns;
    return fns;
}

// Whether the system's blend into a 32-bit section gives exactly BlendOver's pixels: every alpha
// against a spread of destination values, for premultiplied pixels and for straight ones apart.
struct SystemBlendCheck {
    bool premultiplied = false;
    bool straight = false;
    SystemBlendCheck() {
        if (!Gdi().alphaBlend) return;
        constexpr int W = 256, H = 32;
        void* srcBits = nullptr;
        void* dstBits = nullptr;
        Bitmap src(CreateDib32(W, H, &srcBits)), dst(CreateDib32(W, H, &dstBits));
        MemoryDC from(nullptr), to(nullptr);
        if (!src || !dst || !from || !to) return;
        from.Select(src.Get());
        to.Select(dst.Get());
        auto* s = static_cast<uint32_t*>(srcBits);
        auto* d = static_cast<uint32_t*>(dstBits);
        std::vector<uint32_t> before(static_cast<size_t>(W) * H);
        // Rows below H / 2 hold premultiplied pixels, the rest straight ones.
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const uint32_t a = static_cast<uint32_t>(x), k = static_cast<uint32_t>(y);
                uint32_t c[3] = {(k * 37 + a * 3) & 0xFF, (k * 91 + 255 - a) & 0xFF, (k * 13 + a * 7) & 0xFF};
                if (y < H / 2)
                    for (uint32_t& v : c) v = v * a / 255;
                s[y * W + x] = c[0] | (c[1] << 8) | (c[2] << 16) | (a << 24);
                before[y * W + x] = d[y * W + x] = ((k * 8 + a) & 0xFF) | (((k * 29 + a * 5) & 0xFF) << 8) |
                                                   (((255 - k * 8 + a * 11) & 0xFF) << 16) |
                                                   (((k * 53 + a) & 0xFF) << 24);
            }
        GdiFlush();
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (!Gdi().alphaBlend(to.Get(), 0, 0, W, H, from.Get(), 0, 0, W, H, bf)) return;
        GdiFlush();
        bool pm = true, st = true;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (BlendOver(before[y * W + x], s[y * W + x]) != d[y * W + x]) (y < H / 2 ? pm : st) = false;
        premultiplied = pm;
        straight = pm && st;
    }
};

const SystemBlendCheck& BlendCheck() {
    static const SystemBlendCheck check;
    return check;
}

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

}  // namespace

void CSkinImage::ForceSoftwareBlending(bool force) { g_forceSoftware = force; }
void CSkinImage::AllowEngineBlending(bool allow) { g_allowEngineBlend = allow; }
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
    if (!data || size < sizeof(BITMAPINFOHEADER)) return FALSE;
    BITMAPINFOHEADER hdr;
    std::memcpy(&hdr, data, sizeof(hdr));
    if (hdr.biSize < sizeof(BITMAPINFOHEADER) || hdr.biSize > size || hdr.biWidth <= 0 || hdr.biHeight == 0 ||
        hdr.biWidth > kMaxImageSide || hdr.biHeight > kMaxImageSide || hdr.biHeight < -kMaxImageSide)
        return FALSE;
    const int bpp = hdr.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return FALSE;
    if (hdr.biCompression != BI_RGB && hdr.biCompression != BI_BITFIELDS) return FALSE;
    const int64_t height = hdr.biHeight < 0 ? -static_cast<int64_t>(hdr.biHeight) : hdr.biHeight;
    const int64_t stride = ((static_cast<int64_t>(bpp) * hdr.biWidth + 31) / 32) * 4;
    size_t colors = 0;
    if (bpp < 24) colors = hdr.biClrUsed ? hdr.biClrUsed : (bpp <= 8 ? (1u << bpp) : 0);
    if (hdr.biCompression == BI_BITFIELDS) colors = 3;
    if (colors > 256) return FALSE;
    const int64_t offset = hdr.biSize + static_cast<int64_t>(colors) * 4;
    if (static_cast<int64_t>(size) < 40 + stride * height || static_cast<int64_t>(size) < offset + stride * height)
        return FALSE;
    const auto* info = static_cast<const BITMAPINFO*>(data);
    const uint8_t* pixels = static_cast<const uint8_t*>(data) + offset;
    // Every depth becomes a top-down 32-bit section; 32-bit sources keep their alpha byte.
    void* bits = nullptr;
    Bitmap bmp(CreateDib32(hdr.biWidth, static_cast<int>(height), &bits));
    if (!bmp) return FALSE;
    HDC screen = GetDC(nullptr);
    int lines = 0;
    if (bpp == 32 && hdr.biCompression == BI_RGB) {
        for (int64_t y = 0; y < height; ++y) {
            int64_t srcRow = hdr.biHeight > 0 ? height - 1 - y : y;
            std::memcpy(static_cast<uint8_t*>(bits) + y * hdr.biWidth * 4, pixels + srcRow * stride,
                        static_cast<size_t>(hdr.biWidth) * 4);
        }
        lines = static_cast<int>(height);
    } else {
        lines = SetDIBits(screen, bmp.Get(), 0, static_cast<UINT>(height), pixels, info, DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
    if (lines <= 0) return FALSE;
    DecodedImage img;
    img.width = hdr.biWidth;
    img.height = static_cast<int>(height);
    img.hasAlpha = bpp == 32;
    const uint32_t* src = static_cast<const uint32_t*>(bits);
    img.pixels.assign(src, src + static_cast<size_t>(img.width) * img.height);
    if (!img.hasAlpha)
        for (uint32_t& p : img.pixels) p &= 0x00FFFFFFu;
    return AdoptDecoded(img, premultiply);
}

BOOL CSkinImage::LoadFromResource(HMODULE module, LPCSTR resourceName, BOOL premultiply) {
    if (HRSRC res = FindResourceA(module, resourceName, "PNG")) {
        DWORD size = SizeofResource(module, res);
        HGLOBAL mem = LoadResource(module, res);
        const void* data = mem ? LockResource(mem) : nullptr;
        if (data && size >= 10 && std::memcmp(data, "\x89PNG", 4) == 0)
            return LoadFromPngMemory(data, size, premultiply);
    }
    if (HRSRC res = FindResourceA(module, resourceName, MAKEINTRESOURCEA(2) /* RT_BITMAP */)) {
        DWORD size = SizeofResource(module, res);
        HGLOBAL mem = LoadResource(module, res);
        const void* data = mem ? LockResource(mem) : nullptr;
        if (data) return LoadFromPackedDib(data, size, premultiply);
    }
    return FALSE;
}

BOOL CSkinImage::AdoptBitmap(HBITMAP bitmap, BOOL alpha) {
    BITMAP bm = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
        if (bitmap) DeleteObject(bitmap);
        return FALSE;
    }
    skin::Bitmap owned;
    owned.Reset(bitmap);
    SetPicture(std::move(owned), nullptr, alpha, bm.bmWidth, bm.bmHeight);
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
    m_solidRectsReady = FALSE;
    m_solidRects.clear();
}

BOOL CSkinImage::LoadFromFile(LPCSTR path, BOOL premultiply) {
    if (!path || !*path) return FALSE;
    DWORD attrs = GetFileAttributesA(path);
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    std::vector<uint8_t> data;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (64 << 20);
    if (ok) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = data.empty() || (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) &&
                              got == data.size());
    }
    CloseHandle(file);
    if (!ok) return FALSE;
    if (data.size() >= 4 && std::memcmp(data.data(), "\x89PNG", 4) == 0)
        return LoadFromPngMemory(data.data(), data.size(), premultiply);

    UINT flags = LR_LOADFROMFILE | LR_DEFAULTSIZE;
    BOOL alpha = FALSE;
    if (data.size() >= sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) && data[0] == 'B' && data[1] == 'M') {
        BITMAPINFOHEADER hdr;
        std::memcpy(&hdr, data.data() + sizeof(BITMAPFILEHEADER), sizeof(hdr));
        if (hdr.biBitCount == 32) {
            flags |= LR_CREATEDIBSECTION;
            alpha = TRUE;
        }
    }
    if (HANDLE bmp = LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, flags)) {
        if (alpha) {
            // A 32-bit file becomes a decoded image so that its alpha is prepared like a PNG's.
            DIBSECTION ds = {};
            if (GetObjectA(bmp, sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBits && ds.dsBm.bmBitsPixel == 32) {
                DecodedImage img;
                img.width = ds.dsBm.bmWidth;
                img.height = ds.dsBm.bmHeight;
                img.hasAlpha = true;
                img.pixels.resize(static_cast<size_t>(img.width) * img.height);
                const bool bottomUp = ds.dsBmih.biHeight > 0;
                for (int y = 0; y < img.height; ++y) {
                    const uint8_t* row = static_cast<const uint8_t*>(ds.dsBm.bmBits) +
                                         static_cast<size_t>(bottomUp ? img.height - 1 - y : y) * ds.dsBm.bmWidthBytes;
                    std::memcpy(&img.pixels[static_cast<size_t>(y) * img.width], row, static_cast<size_t>(img.width) * 4);
                }
                DeleteObject(bmp);
                return AdoptDecoded(img, premultiply);
            }
        }
        return AdoptBitmap(static_cast<HBITMAP>(bmp), FALSE);
    }

    // Any other picture format the system can read, drawn over the button face colour.
    int wlen = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (wlen <= 0) return FALSE;
    std::wstring wpath(static_cast<size_t>(wlen), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wpath[0], wlen);
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicturePath(const_cast<LPOLESTR>(wpath.c_str()), nullptr, 0, 0, IID_IPicture,
                                  reinterpret_cast<void**>(&picture))) || !picture)
        return FALSE;
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    picture->get_Width(&hw);
    picture->get_Height(&hh);
    HDC screen = GetDC(nullptr);
    int w = MulDiv(hw, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    int h = MulDiv(hh, GetDeviceCaps(screen, LOGPIXELSY), 2540);
    HBITMAP result = nullptr;
    if (w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide) {
        result = CreateCompatibleBitmap(screen, w, h);
        if (result) {
            MemoryDC mem(screen);
            mem.Select(result);
            RECT all{0, 0, w, h};
            FillSolid(mem.Get(), all, GetSysColor(COLOR_BTNFACE));
            picture->Render(mem.Get(), 0, 0, w, h, 0, hh, hw, -hh, nullptr);
        }
    }
    ReleaseDC(nullptr, screen);
    picture->Release();
    return result ? AdoptBitmap(result, FALSE) : FALSE;
}

void CSkinImage::PrepareSolidRects(int count, BOOL horizontal, const RECT& M) {
    if (m_solidRectsReady || !m_bitmap) return;
    if (count < 1) count = 1;
    if (count != 1 && horizontal) return;
    m_solidRectsReady = TRUE;
    m_solidRects.clear();

    std::vector<uint32_t> copy;
    const uint32_t* px = m_bits;
    if (!px) {
        void* bits = nullptr;
        Bitmap tmp(CreateDib32(m_width, m_height, &bits));
        if (!tmp) return;
        Lock lock(&m_lock);
        if (!EnsureDCs()) return;
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

namespace {
constexpr size_t kMaxComposed = 8;          // per image: the sizes one part is drawn at
constexpr int kMaxComposedArea = 512 * 512;  // larger draws are composed each time and not kept

}  // namespace

CSkinImage::CSkinImage() { InitializeCriticalSection(&m_lock); }

CSkinImage::~CSkinImage() {
    ResetCaches();
    DeleteCriticalSection(&m_lock);
}

void CSkinImage::ResetCaches() {
    // Each context lets go of its bitmap before the bitmap is deleted (members in that order).
    m_imageDC.reset();
    m_composed.clear();
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

bool CSkinImage::Matches(const Composed& c, const RECT& src, int w, int h, const RECT& m, int sizingType,
                         BOOL borderOnly, COLORREF key) const {
    return EqualRect(&c.src, &src) && c.width == w && c.height == h && EqualRect(&c.margins, &m) &&
           c.sizingType == sizingType && c.borderOnly == borderOnly && c.key == key && c.mirrored == m_mirrored;
}

bool CSkinImage::ComposeInto(Composed& c) {
    void* bits = nullptr;
    c.bitmap.Reset(CreateDib32(c.width, c.height, &bits));  // all zero: clear for alpha images
    c.bits = static_cast<uint32_t*>(bits);
    if (!c.bitmap) return false;
    c.dc = std::make_unique<MemoryDC>(nullptr);
    if (!*c.dc) return false;
    c.dc->Select(c.bitmap.Get());
    const RECT local{0, 0, c.width, c.height};
    if (c.key != CLR_INVALID) FillSolid(c.dc->Get(), local, c.key);
    m_composing = true;
    NineGrid(c.dc->Get(), local, c.src, c.margins, c.sizingType, c.borderOnly);
    m_composing = false;
    GdiFlush();
    if (m_hasAlpha) {
        // The longest run of fully opaque rows: most parts are opaque but for their rounded corners.
        auto opaqueRow = [&](int y) {
            const uint32_t* row = c.bits + static_cast<size_t>(y) * c.width;
            for (int x = 0; x < c.width; ++x)
                if ((row[x] >> 24) != 255) return false;
            return true;
        };
        int bestTop = 0, bestBottom = 0;
        for (int y = 0; y < c.height;) {
            if (!opaqueRow(y)) {
                ++y;
                continue;
            }
            int end = y;
            while (end < c.height && opaqueRow(end)) ++end;
            if (end - y > bestBottom - bestTop) {
                bestTop = y;
                bestBottom = end;
            }
            y = end;
        }
        c.opaqueTop = bestTop;
        c.opaqueBottom = bestBottom;
        c.runs = FindBlendRuns(c.bits, c.width, c.height);
    }
    return true;
}

void CSkinImage::Draw(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, COLORREF key,
                      int sizingType, BOOL borderOnly) {
    if (src.bottom - src.top < margins.top + margins.bottom) return;
    if (const SolidRect* s = FindSolid(src)) {
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
    if (!m_bitmap || w <= 0 || h <= 0) return;
    Lock lock(&m_lock);
    if (!EnsureDCs()) return;
    SetStretchBltMode(dc, COLORONCOLOR);  // as a direct nine-grid would leave the destination

    const bool destMirrored = Gdi().getLayout && [&] {
        DWORD layout = Gdi().getLayout(dc);
        return layout != 0 && layout != GDI_ERROR;
    }();
    if (m_mirrorAllowed && m_hasAlpha && (m_mirrored != FALSE) != destMirrored) FlipPixels();
    // Without alpha the composed picture is copied by an unmirrored context, so the system mirrors it.
    const COLORREF usedKey = m_hasAlpha ? CLR_INVALID : key;

    Composed* c = nullptr;
    Composed oneOff{};
    for (size_t i = 0; i < m_composed.size(); ++i) {
        if (Matches(*m_composed[i], src, w, h, margins, sizingType, borderOnly, usedKey)) {
            if (i) std::rotate(m_composed.begin(), m_composed.begin() + static_cast<long>(i),
                               m_composed.begin() + static_cast<long>(i) + 1);
            c = m_composed[0].get();
            break;
        }
    }
    if (!c) {
        auto fresh = std::make_unique<Composed>();
        fresh->src = src;
        fresh->width = w;
        fresh->height = h;
        fresh->margins = margins;
        fresh->sizingType = sizingType;
        fresh->borderOnly = borderOnly;
        fresh->key = usedKey;
        fresh->mirrored = m_mirrored;
        if (static_cast<int64_t>(w) * h <= kMaxComposedArea) {
            if (!ComposeInto(*fresh)) return;
            if (m_composed.size() >= kMaxComposed) m_composed.pop_back();
            m_composed.insert(m_composed.begin(), std::move(fresh));
            c = m_composed[0].get();
        } else {
            oneOff = std::move(*fresh);
            if (!ComposeInto(oneOff)) return;
            c = &oneOff;
        }
    }
    HDC from = c->dc->Get();
    if (m_hasAlpha) {
        if (Gdi().alphaBlend && !g_forceSoftware) {
            if (!destMirrored && DrawBlended(dc, dest, *c)) return;
            BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            const int top = c->opaqueTop, bottom = c->opaqueBottom;
            if (bottom - top >= 2) {
                // Blending costs far more than copying: only the rows with see-through pixels blend.
                if (top > 0) Gdi().alphaBlend(dc, dest.left, dest.top, w, top, from, 0, 0, w, top, bf);
                BitBlt(dc, dest.left, dest.top + top, w, bottom - top, from, 0, top, SRCCOPY);
                if (bottom < h)
                    Gdi().alphaBlend(dc, dest.left, dest.top + bottom, w, h - bottom, from, 0, bottom, w, h - bottom, bf);
            } else {
                Gdi().alphaBlend(dc, dest.left, dest.top, w, h, from, 0, 0, w, h, bf);
            }
        } else {
            SoftwareAlphaBlend(dc, dest, c->bits, w, h, RECT{0, 0, w, h});
        }
    } else if (usedKey != CLR_INVALID) {
        if (Gdi().transparentBlt && !g_forceSoftware) {
            Gdi().transparentBlt(dc, dest.left, dest.top, w, h, from, 0, 0, w, h, usedKey);
        } else {
            const uint32_t* pixels = c->bits;
            const uint32_t keyBgr = ((usedKey & 0xFF) << 16) | (usedKey & 0xFF00) | ((usedKey >> 16) & 0xFF);
            EditDestination(dc, dest, [&](uint32_t* to, int dw, int dh) {
                for (size_t i = 0; i < static_cast<size_t>(dw) * dh; ++i)
                    if ((pixels[i] & 0x00FFFFFFu) != keyBgr) to[i] = pixels[i];
            });
        }
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
    if (!g_allowEngineBlend || !c.bits) return false;
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
    if (region == SIMPLEREGION && got == static_cast<int>(sizeof(ds)) && BlendIntoSection(dc, dest, c, bitmap, ds)) {
        ++m_engineBlends;
        ++m_sectionBlends;
        return true;
    }
    const int w = c.width, h = c.height;
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

// Called with the destination wholly visible in the section selected (MM_TEXT, no mirroring, simple clip).
bool CSkinImage::BlendIntoSection(HDC dc, const RECT& dest, const Composed& c, HGDIOBJ bitmap, const DIBSECTION& ds) {
    if (!ds.dsBm.bmBits || ds.dsBm.bmBitsPixel != 32 || ds.dsBmih.biCompression != BI_RGB) return false;
    POINT viewport, window;
    if (!GetViewportOrgEx(dc, &viewport) || !GetWindowOrgEx(dc, &window)) return false;
    const int x0 = dest.left - window.x + viewport.x, y0 = dest.top - window.y + viewport.y;
    const LONG bw = ds.dsBm.bmWidth, bh = ds.dsBm.bmHeight;
    if (x0 < 0 || y0 < 0 || x0 + c.width > bw || y0 + c.height > bh) return false;
    GdiFlush();  // earlier drawing into the section lands before its pixels are read
    auto* base = static_cast<uint8_t*>(ds.dsBm.bmBits);
    const intptr_t stride = ds.dsBm.bmWidthBytes;
    auto pixel = [&](LONG x, LONG y, bool bottomUp) {
        return reinterpret_cast<const uint32_t*>(base + stride * (bottomUp ? bh - 1 - y : y))[x];
    };
    auto known = std::find_if(m_sections.begin(), m_sections.end(), [&](const KnownSection& k) {
        return k.bitmap == bitmap && k.bits == ds.dsBm.bmBits && k.width == bw && k.height == bh;
    });
    if (known == m_sections.end()) {
        // Find a pixel of the part's rows whose colour differs between the two readings of the rows
        // and ask the context which one it shows. Rows alike both ways up are read back instead.
        bool found = false, bottomUp = false;
        for (LONG y = y0; y < y0 + c.height && !found; ++y)
            for (LONG x = x0; x < x0 + c.width; ++x) {
                const uint32_t down = pixel(x, y, false), up = pixel(x, y, true);
                if (((down ^ up) & 0x00FFFFFFu) == 0) continue;
                const COLORREF seen = GetPixel(dc, x + window.x - viewport.x, y + window.y - viewport.y);
                auto rgb = [](uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); };
                if (seen == CLR_INVALID || (seen != rgb(down) && seen != rgb(up))) return false;
                bottomUp = seen == rgb(up);
                found = true;
                break;
            }
        if (!found) return false;
        known = m_sections.end() - 1;  // the oldest gives way
        *known = KnownSection{bitmap, ds.dsBm.bmBits, bw, bh, bottomUp};
    }
    std::rotate(m_sections.begin(), known, known + 1);
    const bool bottomUp = m_sections.front().bottomUp;
    uint8_t* first = base + stride * (bottomUp ? bh - 1 - y0 : y0) + static_cast<intptr_t>(x0) * 4;
    BlendPicture(first, bottomUp ? -stride : stride, c.bits, c.width, 0, c.height, c.runs);
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

void CSkinImage::NineGrid(HDC dc, const RECT& dest, const RECT& src, const RECT& margins, int sizingType,
                          BOOL borderOnly) {
    if (!m_bitmap || !m_imageDC) return;
    NineGridPlan plan = PlanNineGrid(dest, src, margins, sizingType, borderOnly != FALSE);
    if (plan.cells.empty()) return;
    SetStretchBltMode(dc, COLORONCOLOR);
    HDC mem = m_imageDC->Get();
    for (const NineGridCell& cell : plan.cells) {
        if (cell.tiled)
            TiledCopy(dc, mem, cell.dest, cell.src, plan.tileFlags);
        else
            CellCopy(dc, mem, cell.dest, cell.src);
    }
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
        if (Gdi().alphaBlend && !g_forceSoftware) {
            BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            Gdi().alphaBlend(dc, d.left, d.top, dw, dh, mem, s.left, s.top, sw, sh, bf);
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

CSkinImage* CSkinImageCache::Get(CSkinPackage* package, const std::string& imagePath, BOOL premultiply) {
    for (auto& entry : m_images)
        if (entry.first == imagePath) return entry.second.get();
    if (!package || imagePath.empty()) return nullptr;
    std::unique_ptr<CSkinImage> image = package->OpenImage(imagePath.c_str(), premultiply);
    if (!image) return nullptr;
    m_images.emplace_back(imagePath, std::move(image));
    return m_images.back().second.get();
}
