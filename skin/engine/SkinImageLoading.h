#pragma once
// Theme pictures other than PNG data: packed bitmaps of a module's resources, bitmap files and
// whatever the system's picture loader reads.
#include <windows.h>

#include "SkinGdi.h"
#include "SkinPng.h"

namespace skin {

// Packed device-independent bitmap: header, colour table, pixels. A 32-bit one carries alpha.
bool DecodePackedDib(const void* data, size_t size, DecodedImage& out);
// A module's "PNG" resource of that name, else its bitmap resource.
bool LoadResourcePicture(HMODULE module, LPCSTR resourceName, DecodedImage& out);

// A picture file: decoded pixels (PNG, 32-bit bitmap) or a bitmap as the system loaded it.
struct LoadedPicture {
    bool isDecoded = false;
    DecodedImage decoded;
    Bitmap bitmap;
};
bool LoadPictureFile(LPCSTR path, LoadedPicture& out);

}  // namespace skin
