#pragma once
// Where a theme comes from: a module's resources or a folder with the INI file and images.
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

#include "CString.h"
#include "CSkinImageSource.h"
#include "CSkinRefCounted.h"

class CSkinImage;

namespace skin {

// Splits UTF-16 theme text into lines: a line ends at U+000D (one U+000A after it is skipped),
// U+0000 ends the text, and a last line without U+000D is not read.
class Utf16LineReader {
public:
    Utf16LineReader() = default;
    // byteCount is rounded down to whole code units; a leading U+FEFF is skipped.
    Utf16LineReader(const void* data, size_t byteCount);
    bool Next(std::wstring& line);

private:
    std::vector<wchar_t> m_units;
    size_t m_pos = 0;
};

// Resource name of a theme path: every "." and "\" becomes "_".
std::string DeriveResourceName(const std::string& path);
// Name of the first "[File." section of the index text, "" when there is none.
std::wstring FindDefaultThemeSection(const wchar_t* text, size_t count);
// Wide text to the process's 8-bit code page.
std::string ToAnsi(const std::wstring& text);
// The module of the running program when path names it: its file name alone (".exe" may be left
// out) or its full path. Null for any other path.
HMODULE RunningProgramNamed(const std::string& path);

}  // namespace skin

// Opened once per load and not changed while a schema reads images from it.
class CSkinPackage : public CSkinRefCounted, public CSkinImageSource {
public:
    CSkinPackage() = default;

    // A path naming the running program opens that module by its handle, so that a bare program
    // name never makes the loader search the current folder and PATH for a library of that name.
    virtual BOOL Open(LPCSTR packagePath, LPCSTR iniFileName);
    virtual BOOL ReadLine(CString& line);
    virtual void Close();
    // Caller owns the image; null when it is missing or cannot be decoded.
    std::unique_ptr<CSkinImage> OpenImage(LPCSTR relativePath, BOOL premultiply = TRUE) override;

    // A module loaded by someone else; Close leaves it loaded.
    BOOL OpenModule(HMODULE module, LPCSTR iniFileName);

    const CString& GetPackagePath() const { return m_packagePath; }
    const CString& GetIniFileName() const { return m_iniFileName; }
    BOOL IsOpen() const { return m_module != nullptr || m_folderMode; }
    // The carrier of the theme opened last (stays set after its text has been read).
    BOOL IsFolderMode() const { return m_folderCarrier; }
    HMODULE GetModule() const { return m_module; }

protected:
    ~CSkinPackage() override;

private:
    BOOL OpenThemeResource();
    BOOL OpenFolderFile(const std::string& path);

    CString m_packagePath;
    CString m_iniFileName;
    HMODULE m_module = nullptr;
    bool m_ownsModule = false;
    bool m_folderMode = false;     // the theme file is open for reading
    bool m_folderCarrier = false;
    skin::Utf16LineReader m_moduleText;
    std::vector<std::string> m_fileLines;  // folder carrier, read at Open
    size_t m_fileLine = 0;
};
