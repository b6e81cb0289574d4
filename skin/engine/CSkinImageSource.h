#pragma once
// Where an image cache gets the pictures it does not hold yet.
#include <windows.h>
#include <memory>

class CSkinImage;

class CSkinImageSource {
public:
    // Caller owns the image; null when it is missing or cannot be decoded.
    virtual std::unique_ptr<CSkinImage> OpenImage(LPCSTR relativePath, BOOL premultiply) = 0;

protected:
    ~CSkinImageSource() = default;
};
