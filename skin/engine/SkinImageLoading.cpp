#include "SkinImageLoading.h"

#include <olectl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace skin {

bool DecodePackedDib(const void* data, size_t size, DecodedImage& out) {
    if (!data || size < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER hdr;
    std::memcpy(&hdr, data, sizeof(hdr));
    if (hdr.biSize < sizeof(BITMAPINFOHEADER) || hdr.biSize > size || hdr.biWidth <= 0 || hdr.biHeight == 0 ||
        hdr.biWidth > kMaxImageSide || hdr.biHeight > kMaxImageSide || hdr.biHeight < -kMaxImageSide)
        return false;
    const int bpp = hdr.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    if (hdr.biCompression != BI_RGB && hdr.biCompression != BI_BITFIELDS) return false;
    const int64_t height = hdr.biHeight < 0 ? -static_cast<int64_t>(hdr.biHeight) : hdr.biHeight;
    const int64_t stride = ((static_cast<int64_t>(bpp) * hdr.biWidth + 31) / 32) * 4;
    size_t colors = 0;
    if (bpp < 24) colors = hdr.biClrUsed ? hdr.biClrUsed : (bpp <= 8 ? (1u << bpp) : 0);
    if (hdr.biCompression == BI_BITFIELDS) colors = 3;
    if (colors > 256) return false;
    const int64_t offset = hdr.biSize + static_cast<int64_t>(colors) * 4;
    if (static_cast<int64_t>(size) < 40 + stride * height || static_cast<int64_t>(size) < offset + stride * height)
        return false;
    const auto* info = static_cast<const BITMAPINFO*>(data);
    const uint8_t* pixels = static_cast<const uint8_t*>(data) + offset;
    // Every depth becomes a top-down 32-bit section; 32-bit sources keep their alpha byte.
    void* bits = nullptr;
    Bitmap bmp(CreateDib32(hdr.biWidth, static_cast<int>(height), &bits));
    if (!bmp) return false;
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
    if (lines <= 0) return false;
    out.width = hdr.biWidth;
    out.height = static_cast<int>(height);
    out.hasAlpha = bpp == 32;
    const uint32_t* src = static_cast<const uint32_t*>(bits);
    out.pixels.assign(src, src + static_cast<size_t>(out.width) * out.height);
    if (!out.hasAlpha)
        for (uint32_t& p : out.pixels) p &= 0x00FFFFFFu;
    return true;
}

bool LoadResourcePicture(HMODULE module, LPCSTR resourceName, DecodedImage& out) {
    if (HRSRC res = FindResourceA(module, resourceName, "PNG")) {
        DWORD size = SizeofResource(module, res);
        HGLOBAL mem = LoadResource(module, res);
        const void* data = mem ? LockResource(mem) : nullptr;
        if (data && size >= 10 && std::memcmp(data, "\x89PNG", 4) == 0)
            return DecodePng(data, size, out);
    }
    if (HRSRC res = FindResourceA(module, resourceName, MAKEINTRESOURCEA(2) /* RT_BITMAP */)) {
        DWORD size = SizeofResource(module, res);
        HGLOBAL mem = LoadResource(module, res);
        const void* data = mem ? LockResource(mem) : nullptr;
        if (data) return DecodePackedDib(data, size, out);
    }
    return false;
}

bool LoadPictureFile(LPCSTR path, LoadedPicture& out) {
    if (!path || !*path) return false;
    DWORD attrs = GetFileAttributesA(path);
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
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
    if (!ok) return false;
    if (data.size() >= 4 && std::memcmp(data.data(), "\x89PNG", 4) == 0) {
        out.isDecoded = true;
        return data.size() >= 10 && DecodePng(data.data(), data.size(), out.decoded);
    }

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
                DecodedImage& img = out.decoded;
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
                out.isDecoded = true;
                return true;
            }
        }
        out.bitmap.Reset(static_cast<HBITMAP>(bmp));
        return true;
    }

    // Any other picture format the system can read, drawn over the button face colour.
    int wlen = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (wlen <= 0) return false;
    std::wstring wpath(static_cast<size_t>(wlen), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wpath[0], wlen);
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicturePath(const_cast<LPOLESTR>(wpath.c_str()), nullptr, 0, 0, IID_IPicture,
                                  reinterpret_cast<void**>(&picture))) || !picture)
        return false;
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
    out.bitmap.Reset(result);
    return result != nullptr;
}

}  // namespace skin
