#include "CSkinPackage.h"

#include <cstring>

#include "CSkinImage.h"

namespace skin {

Utf16LineReader::Utf16LineReader(const void* data, size_t byteCount) {
    const size_t count = byteCount / 2;
    m_units.resize(count);
    if (count) std::memcpy(m_units.data(), data, count * 2);
    if (!m_units.empty() && m_units[0] == 0xFEFF) m_pos = 1;
}

bool Utf16LineReader::Next(std::wstring& line) {
    const size_t n = m_units.size();
    size_t end = m_pos;
    while (end < n && m_units[end] != L'\r' && m_units[end] != 0) ++end;
    if (end >= n || m_units[end] == 0) {
        m_pos = n;  // unterminated last line or end of text
        return false;
    }
    line.assign(m_units.data() + m_pos, end - m_pos);
    m_pos = end + 1;
    if (m_pos < n && m_units[m_pos] == L'\n') ++m_pos;
    return true;
}

std::string DeriveResourceName(const std::string& path) {
    std::string name = path;
    for (char& c : name)
        if (c == '.' || c == '\\') c = '_';
    return name;
}

std::wstring FindDefaultThemeSection(const wchar_t* text, size_t count) {
    static const wchar_t kTag[] = L"[File.";
    const size_t tagLen = 6;
    for (size_t i = 0; i + tagLen <= count; ++i) {
        if (std::wmemcmp(text + i, kTag, tagLen) != 0) continue;
        for (size_t j = i + tagLen; j < count; ++j)
            if (text[j] == L']') return std::wstring(text + i + tagLen, j - i - tagLen);
        return std::wstring();
    }
    return std::wstring();
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return std::string();
    int len = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (len <= 0) return std::string();
    std::string out(static_cast<size_t>(len), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], len, nullptr, nullptr);
    return out;
}

HMODULE RunningProgramNamed(const std::string& path) {
    if (path.empty()) return nullptr;
    char own[MAX_PATH] = "";
    const DWORD len = GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return nullptr;
    const size_t ownSlash = std::string(own).find_last_of("\\/");
    const char* programName = own + (ownSlash == std::string::npos ? 0 : ownSlash + 1);
    const size_t slash = path.find_last_of("\\/:");
    // Without an extension the loader would add one; the program answers to its name with ".exe".
    const bool hasExtension = path.find('.', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
    const std::string candidate = hasExtension ? path : path + ".exe";
    bool same = false;
    if (slash == std::string::npos) {
        same = lstrcmpiA(candidate.c_str(), programName) == 0;
    } else {
        char full[MAX_PATH] = "";
        const DWORD n = GetFullPathNameA(candidate.c_str(), MAX_PATH, full, nullptr);
        same = n > 0 && n < MAX_PATH && lstrcmpiA(full, own) == 0;
    }
    return same ? GetModuleHandleA(nullptr) : nullptr;
}

}  // namespace skin

using namespace skin;

CSkinPackage::~CSkinPackage() { Close(); }

void CSkinPackage::Close() {
    if (m_module && m_ownsModule) FreeLibrary(m_module);
    m_module = nullptr;
    m_ownsModule = false;
    m_folderMode = false;
    m_folderCarrier = false;
    m_moduleText = Utf16LineReader();
    m_fileLines.clear();
    m_fileLine = 0;
}

BOOL CSkinPackage::OpenFolderFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    std::string data;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (16 << 20);
    if (ok && size.QuadPart > 0) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(file, &data[0], static_cast<DWORD>(data.size()), &got, nullptr) && got == data.size();
    }
    CloseHandle(file);
    if (!ok) return FALSE;
    // 8-bit text in the system code page; a file saved as UTF-16 (as the module carries it) reads too.
    if (data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0xFF && static_cast<unsigned char>(data[1]) == 0xFE) {
        std::wstring wide((data.size() - 2) / 2, L'\0');
        if (!wide.empty()) std::memcpy(&wide[0], data.data() + 2, wide.size() * 2);
        size_t zero = wide.find(L'\0');
        if (zero != std::wstring::npos) wide.erase(zero);
        data = ToAnsi(wide);
    } else if (data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        data.erase(0, 3);
    }
    // Text-mode reading: lines end at LF, a CR before it is dropped, an unterminated last line counts.
    size_t start = 0;
    while (start < data.size()) {
        size_t nl = data.find('\n', start);
        size_t end = nl == std::string::npos ? data.size() : nl;
        std::string line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        m_fileLines.push_back(std::move(line));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    m_fileLine = 0;
    m_folderMode = true;
    m_folderCarrier = true;
    return TRUE;
}

BOOL CSkinPackage::Open(LPCSTR packagePath, LPCSTR iniFileName) {
    Close();
    m_packagePath = packagePath ? packagePath : "";
    m_iniFileName = iniFileName ? iniFileName : "";
    if (m_packagePath.IsEmpty()) return FALSE;

    if (!m_iniFileName.IsEmpty()) {
        std::string full = m_packagePath.str() + "\\" + m_iniFileName.str();
        DWORD attrs = GetFileAttributesA(full.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return OpenFolderFile(full);
    }

    if (HMODULE self = RunningProgramNamed(m_packagePath.str())) {
        m_module = self;
        m_ownsModule = false;
        return OpenThemeResource();
    }
    HMODULE module = LoadLibraryA(m_packagePath);
    if (!module) module = LoadLibraryExA(m_packagePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        // A program started by its name without ".exe" passes that name; the loader would add ".dll".
        const std::string& p = m_packagePath.str();
        size_t slash = p.find_last_of("\\/");
        if (p.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos)
            module = LoadLibraryExA((p + ".exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    if (!module) return FALSE;
    m_module = module;
    m_ownsModule = true;
    return OpenThemeResource();
}

BOOL CSkinPackage::OpenModule(HMODULE module, LPCSTR iniFileName) {
    Close();
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, MAX_PATH);
    m_packagePath = path;
    m_iniFileName = iniFileName ? iniFileName : "";
    if (!module) return FALSE;
    m_module = module;
    m_ownsModule = false;
    return OpenThemeResource();
}

BOOL CSkinPackage::OpenThemeResource() {
    if (m_iniFileName.IsEmpty()) {
        if (HRSRC res = FindResourceA(m_module, "THEMES_INI", "TEXTFILE")) {
            DWORD size = SizeofResource(m_module, res);
            HGLOBAL mem = LoadResource(m_module, res);
            const void* data = mem ? LockResource(mem) : nullptr;
            if (data) {
                std::vector<wchar_t> units(size / 2);
                if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
                std::wstring section = FindDefaultThemeSection(units.data(), units.size());
                if (!section.empty()) m_iniFileName = (ToAnsi(section) + "_ini").c_str();
            }
        }
    }
    std::string name = DeriveResourceName(m_iniFileName.str());
    if (name.empty()) return FALSE;
    HRSRC res = FindResourceA(m_module, name.c_str(), "TEXTFILE");
    if (!res) return FALSE;
    DWORD size = SizeofResource(m_module, res);
    HGLOBAL mem = LoadResource(m_module, res);
    const void* data = mem ? LockResource(mem) : nullptr;
    if (!data) return FALSE;
    m_moduleText = Utf16LineReader(data, size);
    return TRUE;
}

BOOL CSkinPackage::ReadLine(CString& line) {
    if (m_folderMode) {
        if (m_fileLine >= m_fileLines.size()) {
            m_fileLines.clear();
            m_fileLine = 0;
            m_folderMode = false;  // the file is closed at its end
            return FALSE;
        }
        line = m_fileLines[m_fileLine++].c_str();
        return TRUE;
    }
    if (!m_module) return FALSE;
    std::wstring wide;
    if (!m_moduleText.Next(wide)) return FALSE;
    line = ToAnsi(wide).c_str();
    return TRUE;
}

std::unique_ptr<CSkinImage> CSkinPackage::OpenImage(LPCSTR relativePath, BOOL premultiply) {
    if (!relativePath || !*relativePath) return nullptr;
    auto image = std::make_unique<CSkinImage>();
    BOOL ok = FALSE;
    if (m_module) {
        ok = image->LoadFromResource(m_module, DeriveResourceName(relativePath).c_str(), premultiply);
    } else if (!m_packagePath.IsEmpty()) {
        std::string full = m_packagePath.str() + "\\" + relativePath;
        ok = image->LoadFromFile(full.c_str(), premultiply);
    }
    return ok ? std::move(image) : nullptr;
}
