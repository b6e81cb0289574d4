#include "JavaPathCheck.h"
#include "CodePageText.h"
#include <vector>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring TrimWide(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && (IsBlank(text[first]) || text[first] == L'"'))
        ++first;
    while (last > first && (IsBlank(text[last - 1]) || text[last - 1] == L'"'))
        --last;
    return text.substr(first, last - first);
}

bool IsDriveForm(const std::wstring& text)
{
    return text.size() >= 3 && ((text[0] >= L'A' && text[0] <= L'Z') || (text[0] >= L'a' && text[0] <= L'z')) &&
           text[1] == L':' && text[2] == L'\\';
}

bool IsUncForm(const std::wstring& text)
{
    if (text.size() < 5 || text[0] != L'\\' || text[1] != L'\\')
        return false;
    const size_t serverEnd = text.find(L'\\', 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2)
        return false;
    return serverEnd + 1 < text.size() && text[serverEnd + 1] != L'\\';
}

bool IsAbsoluteForm(const std::wstring& text) { return IsDriveForm(text) || IsUncForm(text); }

std::vector<std::wstring> SplitEntries(const std::wstring& path)
{
    std::vector<std::wstring> entries;
    size_t start = 0;
    for (;;) {
        const size_t end = path.find(L';', start);
        entries.push_back(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos)
            return entries;
        start = end + 1;
    }
}

std::wstring Expand(const std::wstring& text)
{
    if (text.find(L'%') == std::wstring::npos)
        return text;
    DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    while (size > 0) {
        std::vector<wchar_t> buffer(size, L'\0');
        const DWORD got = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), size);
        if (got == 0)
            break;
        if (got <= size)
            return std::wstring(buffer.data());
        size = got;
    }
    return text;
}

// The folder an entry names, as the comparisons see it: unquoted, expanded, without
// trailing backslashes (a drive root keeps its own), upper-cased.
std::wstring FolderKey(const std::wstring& entry)
{
    std::wstring folder = Expand(TrimWide(entry));
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    if (!folder.empty())
        CharUpperBuffW(&folder[0], static_cast<DWORD>(folder.size()));
    return folder;
}

bool HoldsJava(std::wstring folder)
{
    folder = Expand(TrimWide(folder));
    if (!IsAbsoluteForm(folder))
        return false;
    if (folder.back() != L'\\')
        folder += L'\\';
    folder += L"java.exe";
    if (folder.size() >= MAX_PATH)
        return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CString TrimFolderInput(const CString& text)
{
    // Spaces, tabs and quotes are never trail bytes of the code page's double-byte characters.
    const std::string& s = text.str();
    size_t first = 0;
    size_t last = s.size();
    auto trimmed = [](char c) { return c == ' ' || c == '\t' || c == '"'; };
    while (first < last && trimmed(s[first]))
        ++first;
    while (last > first && trimmed(s[last - 1]))
        --last;
    return CString(s.substr(first, last - first));
}

bool IsAbsoluteFolderPath(const CString& text)
{
    const std::wstring folder = WidenCodePageText(TrimFolderInput(text));
    if (!IsAbsoluteForm(folder))
        return false;
    // Anything here would split the PATH entry or could never name a folder.
    for (size_t i = 0; i < folder.size(); ++i) {
        const wchar_t c = folder[i];
        if (c < 0x20 || wcschr(L";\"<>|?*", c) || (c == L':' && i != 1))
            return false;
    }
    return true;
}

std::wstring FindShadowingJavaEntry(const std::wstring& pathValue, const std::wstring& jdkBin)
{
    const std::wstring target = FolderKey(jdkBin);
    for (const std::wstring& entry : SplitEntries(pathValue)) {
        const std::wstring key = FolderKey(entry);
        if (key.empty())
            continue;
        if (!target.empty() && key == target)
            return std::wstring();
        if (HoldsJava(entry))
            return entry;
    }
    return std::wstring();
}

std::wstring PutEntryFirst(const std::wstring& pathValue, const std::wstring& jdkBin)
{
    const std::wstring target = FolderKey(jdkBin);
    if (target.empty())
        return pathValue;
    std::wstring result = jdkBin;
    if (pathValue.empty())
        return result;
    for (const std::wstring& entry : SplitEntries(pathValue)) {
        if (FolderKey(entry) == target)
            continue;
        result += L';';
        result += entry;
    }
    return result;
}

std::wstring ComposePathW(const std::wstring& rememberedPath, const std::wstring& jdkBin)
{
    if (jdkBin.empty())
        return rememberedPath;
    for (const std::wstring& entry : SplitEntries(rememberedPath)) {
        if (entry == jdkBin)
            return rememberedPath;
    }
    std::wstring path = rememberedPath;
    if (path.empty() || path.back() != L';')
        path += L';';
    return path + jdkBin;
}
