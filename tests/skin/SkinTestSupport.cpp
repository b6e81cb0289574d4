#include "SkinTestSupport.h"
#include "FileTree.h"
#include "GuiObjects.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

namespace skintest {

std::string ExePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

static bool IsDir(const std::string& p) {
    DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SourceDir() {
    char env[MAX_PATH] = "";
    if (GetEnvironmentVariableA("TAMRIVEL_SOURCE_DIR", env, MAX_PATH) && IsDir(env)) return env;
    std::string dir = ExePath();
    for (int i = 0; i < 8; ++i) {
        size_t slash = dir.find_last_of('\\');
        if (slash == std::string::npos) break;
        dir.erase(slash);
        if (IsDir(dir + "\\resources\\theme\\Silver")) return dir;
    }
    return std::string();
}

std::string ThemeFolder() { return SourceDir() + "\\resources\\theme"; }

TempDir::TempDir() {
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        m_path = std::string(base) + "skintest_" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++counter);
        if (CreateDirectoryA(m_path.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() { harness::RemoveTree(m_path); }

void TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::string full = File(name);
    size_t slash = full.find_last_of('\\');
    if (slash != std::string::npos && slash > m_path.size()) CreateDirectoryA(full.substr(0, slash).c_str(), nullptr);
    WriteBytes(full, bytes);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD done = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(f);
}

std::string ReadBytes(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string data(GetFileSize(f, nullptr), '\0');
    DWORD done = 0;
    if (!data.empty()) ReadFile(f, &data[0], static_cast<DWORD>(data.size()), &done, nullptr);
    CloseHandle(f);
    return data;
}

static void PngWriteToString(png_structp png, png_bytep data, png_size_t len) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), len);
}

std::string EncodePng(int width, int height, const std::vector<uint32_t>& argb, bool alpha) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png encode failed");
    }
    png_set_write_fn(png, &out, PngWriteToString, nullptr);
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        size_t k = 0;
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb[static_cast<size_t>(y) * width + x];
            row[k++] = (p >> 16) & 0xFF;
            row[k++] = (p >> 8) & 0xFF;
            row[k++] = p & 0xFF;
            if (alpha) row[k++] = p >> 24;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Canvas::Canvas(int width, int height, COLORREF fill) : m_w(width), m_h(height) {
    void* bits = nullptr;
    m_bitmap = skin::CreateDib32(width, height, &bits);
    m_bits = static_cast<uint32_t*>(bits);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    uint32_t p = m_bits[static_cast<size_t>(y) * m_w + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::Fill(COLORREF color) {
    RECT r{0, 0, m_w, m_h};
    skin::FillSolid(m_dc, r, color);
    GdiFlush();
}

int Canvas::CountNot(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) n += At(x, y) != color;
    return n;
}

TextPackage::TextPackage(const std::string& text, const std::string& imageFolder) : m_folder(imageFolder) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            if (start < text.size()) m_lines.push_back(text.substr(start));
            break;
        }
        std::string line = text.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        m_lines.push_back(line);
        start = nl + 1;
    }
}

BOOL TextPackage::ReadLine(CString& line) {
    if (m_next >= m_lines.size()) return FALSE;
    line = m_lines[m_next++].c_str();
    return TRUE;
}

std::unique_ptr<CSkinImage> TextPackage::OpenImage(LPCSTR relativePath, BOOL premultiply) {
    if (m_folder.empty() || !relativePath) return nullptr;
    auto image = std::make_unique<CSkinImage>();
    if (!image->LoadFromFile((m_folder + "\\" + relativePath).c_str(), premultiply)) return nullptr;
    return image;
}

CSkinRef<CSkinSchema> SchemaFromText(const std::string& text, const std::string& imageFolder) {
    auto package = CSkinRef<CSkinPackage>::Adopt(new TextPackage(text, imageFolder));
    auto schema = CSkinRef<CSkinSchema>::Adopt(new CSkinSchema(package.Get()));
    schema->ReadProperties();
    return schema;
}

DWORD GdiObjectCount() { return harness::LiveGdiObjects(); }

}  // namespace skintest
