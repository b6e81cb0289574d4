#include "SkinPng.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

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

}  // namespace skin
