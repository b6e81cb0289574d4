#pragma once
// Helpers shared by the skin engine tests: files and folders, PNG encoding, 32-bit
// canvases read back pixel by pixel, and schemas built from theme text.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "CSkinEngine.h"
#include "CSkinImage.h"
#include "CSkinImageCache.h"
#include "CSkinPackage.h"
#include "CSkinSchema.h"

namespace skintest {

std::string ExePath();
// Source tree (for the theme folder), from TAMRIVEL_SOURCE_DIR or found above the program.
std::string SourceDir();
std::string ThemeFolder();

class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// Pixels as 0xAARRGGBB; alpha ignored when alpha is false.
std::string EncodePng(int width, int height, const std::vector<uint32_t>& argb, bool alpha);

// A top-down 32-bit section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_w; }
    int height() const { return m_h; }
    // Red in the low byte, like COLORREF.
    COLORREF At(int x, int y) const;
    void Fill(COLORREF color);
    uint32_t* bits() const { return m_bits; }
    // Number of pixels that differ from color.
    int CountNot(COLORREF color) const;

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    uint32_t* m_bits;
};

// A package whose theme text comes from memory (8-bit lines); images from a folder when given.
class TextPackage : public CSkinPackage {
public:
    TextPackage(const std::string& text, const std::string& imageFolder = std::string());
    BOOL ReadLine(CString& line) override;
    std::unique_ptr<CSkinImage> OpenImage(LPCSTR relativePath, BOOL premultiply) override;

private:
    std::vector<std::string> m_lines;
    size_t m_next = 0;
    std::string m_folder;
};

// Parses text into a new schema (the caller's reference).
CSkinRef<CSkinSchema> SchemaFromText(const std::string& text, const std::string& imageFolder = std::string());

// Live GDI objects of this process, counted where the system does not count them itself.
DWORD GdiObjectCount();

}  // namespace skintest
