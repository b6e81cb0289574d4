#pragma once
// Theme pictures in PNG form, decoded into plain 32-bit pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin {

// Decoded picture: top-down rows of blue, green, red, alpha (alpha 0 when it has no alpha channel).
struct DecodedImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<uint32_t> pixels;
};
// Largest side accepted; larger images are refused before any pixel memory is taken.
constexpr int kMaxImageSide = 4096;
bool DecodePng(const void* data, size_t size, DecodedImage& out);

}  // namespace skin
