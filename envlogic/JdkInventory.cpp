#include "JdkInventory.h"
#include "CodePageText.h"
#include <algorithm>
#include <cwctype>
#include <unordered_set>
#include <vector>

namespace {

// Where a folder was found: the vendor it stands for when its release file names none,
// and the name its version is read from when the release file gives none.
struct Candidate {
    std::wstring folder;
    const wchar_t* sourceVendor;
    std::wstring versionName;
    bool fromRegistry = false;
};

struct RegistrySource {
    const wchar_t* path;  // '*' segments stand for every subkey
    const wchar_t* value;
    const wchar_t* vendor;
};

const RegistrySource kRegistrySources[] = {
    {L"SOFTWARE\\JavaSoft\\JDK\\*", L"JavaHome", L"Oracle Corporation"},
    {L"SOFTWARE\\JavaSoft\\Java Development Kit\\*", L"JavaHome", L"Oracle Corporation"},
    {L"SOFTWARE\\Eclipse Adoptium\\JDK\\*\\*\\MSI", L"Path", L"Eclipse Adoptium"},
    {L"SOFTWARE\\Eclipse Foundation\\JDK\\*\\*\\MSI", L"Path", L"Eclipse Foundation"},
    {L"SOFTWARE\\AdoptOpenJDK\\JDK\\*\\*\\MSI", L"Path", L"AdoptOpenJDK"},
    {L"SOFTWARE\\Microsoft\\JDK\\*\\*\\MSI", L"Path", L"Microsoft"},
    {L"SOFTWARE\\Semeru\\JDK\\*\\*\\MSI", L"Path", L"IBM Corporation"},
    {L"SOFTWARE\\Azul Systems\\Zulu\\*", L"InstallationPath", L"Azul Systems, Inc."},
    {L"SOFTWARE\\BellSoft\\Liberica\\*", L"InstallationPath", L"BellSoft"},
};

// Vendor folders under Program Files: the pattern below them that names the JDKs.
struct VendorFolder {
    const wchar_t* name;
    const wchar_t* pattern;
    const wchar_t* vendor;
};

const VendorFolder kVendorFolders[] = {
    {L"Java", L"*", L"Oracle Corporation"},
    {L"Eclipse Adoptium", L"*", L"Eclipse Adoptium"},
    {L"Eclipse Foundation", L"*", L"Eclipse Foundation"},
    {L"AdoptOpenJDK", L"*", L"AdoptOpenJDK"},
    {L"Microsoft", L"jdk*", L"Microsoft"},
    {L"Zulu", L"*", L"Azul Systems, Inc."},
    {L"Amazon Corretto", L"*", L"Amazon.com Inc."},
    {L"BellSoft", L"*", L"BellSoft"},
    {L"Semeru", L"*", L"IBM Corporation"},
    {L"RedHat", L"*", L"Red Hat, Inc."},
    {L"SapMachine", L"JDK\\*", L"SAP SE"},
    {L"OpenJDK", L"*", L"OpenJDK"},
};

// Names that tell the vendor of a JDK found in a per-user folder without a release file.
const struct {
    const wchar_t* word;
    const wchar_t* vendor;
} kNameVendors[] = {
    {L"temurin", L"Eclipse Adoptium"}, {L"adoptium", L"Eclipse Adoptium"}, {L"corretto", L"Amazon.com Inc."},
    {L"zulu", L"Azul Systems, Inc."},  {L"azul", L"Azul Systems, Inc."},   {L"liberica", L"BellSoft"},
    {L"bellsoft", L"BellSoft"},        {L"semeru", L"IBM Corporation"},    {L"sapmachine", L"SAP SE"},
    {L"microsoft", L"Microsoft"},      {L"redhat", L"Red Hat, Inc."},      {L"oracle", L"Oracle Corporation"},
};

// A folder plus "\bin\javac.exe" must fit the platform's path functions.
const size_t kLongestBinFile = 14;  // "\bin\javac.exe"
const DWORD kLongestRelease = 64 * 1024;

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring Upper(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring LastName(const std::wstring& folder)
{
    const size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? folder : folder.substr(slash + 1);
}

std::wstring Expand(const std::wstring& text)
{
    if (text.find(L'%') == std::wstring::npos)
        return text;
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0 || size > 32768)
        return std::wstring();
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD got = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), size);
    return got == 0 || got > size ? std::wstring() : std::wstring(buffer.data());
}

// Full, without trailing backslashes (drive roots keep theirs); empty when unusable.
std::wstring NormaliseFolder(const std::wstring& text)
{
    // A relative value would be taken against whatever folder we run in.
    const bool drive = text.size() >= 3 && std::iswalpha(text[0]) && text[1] == L':' && text[2] == L'\\';
    const bool unc = text.size() >= 5 && text[0] == L'\\' && text[1] == L'\\' && text[2] != L'\\';
    if ((!drive && !unc) || text.size() >= MAX_PATH)
        return std::wstring();
    wchar_t full[MAX_PATH] = {};
    const DWORD got = GetFullPathNameW(text.c_str(), MAX_PATH, full, nullptr);
    if (got == 0 || got >= MAX_PATH)
        return std::wstring();
    std::wstring folder(full, got);
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    if (folder.size() + kLongestBinFile >= MAX_PATH)
        return std::wstring();
    return folder;
}

// The folder as the file system spells it: a registry value may be written in any case.
std::wstring SpelledAsListed(const std::wstring& folder)
{
    size_t start;
    if (folder.size() >= 3 && folder[1] == L':')
        start = 3;
    else if (folder.compare(0, 2, L"\\\\") == 0)
        start = folder.find(L'\\', folder.find(L'\\', 2) + 1) + 1;  // after \\server\share
    else
        return folder;
    if (start == 0 || start >= folder.size())
        return folder;
    std::wstring spelled = folder.substr(0, start);
    if (spelled[1] == L':')
        spelled[0] = static_cast<wchar_t>(std::towupper(spelled[0]));
    while (start < folder.size()) {
        size_t end = folder.find(L'\\', start);
        if (end == std::wstring::npos)
            end = folder.size();
        const std::wstring name = folder.substr(start, end - start);
        WIN32_FIND_DATAW data = {};
        HANDLE find = name.find_first_of(L"*?") == std::wstring::npos
                          ? FindFirstFileW((spelled + name).c_str(), &data)
                          : INVALID_HANDLE_VALUE;
        if (find == INVALID_HANDLE_VALUE)
            return folder;
        FindClose(find);
        spelled += data.cFileName;
        if (end < folder.size())
            spelled += L'\\';
        start = end + 1;
    }
    return spelled;
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HoldsJdk(const std::wstring& folder)
{
    const std::wstring bin = folder.back() == L'\\' ? folder + L"bin\\" : folder + L"\\bin\\";
    return IsFile(bin + L"javac.exe") && IsFile(bin + L"java.exe");
}

// Every subfolder of folder matching pattern, in the order the file system lists them.
std::vector<std::wstring> Subfolders(const std::wstring& folder, const wchar_t* pattern = L"*")
{
    std::vector<std::wstring> found;
    const std::wstring search = folder + L"\\" + pattern;
    if (search.size() >= MAX_PATH)
        return found;
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileExW(search.c_str(), FindExInfoStandard, &data, FindExSearchLimitToDirectories,
                                   nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    const std::wstring base = search.substr(0, search.find_last_of(L'\\') + 1);
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || wcscmp(data.cFileName, L".") == 0 ||
            wcscmp(data.cFileName, L"..") == 0)
            continue;
        found.push_back(base + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

class RegistryWalker {
public:
    explicit RegistryWalker(std::vector<Candidate>& out) : m_out(out) {}

    void Walk(HKEY root, REGSAM view, const RegistrySource& source)
    {
        std::vector<std::wstring> segments;
        std::wstring path = source.path;
        for (size_t start = 0;;) {
            const size_t end = path.find(L'\\', start);
            segments.push_back(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
            if (end == std::wstring::npos)
                break;
            start = end + 1;
        }
        m_view = view;
        m_source = &source;
        Descend(root, segments, 0, std::wstring());
    }

private:
    void Descend(HKEY parent, const std::vector<std::wstring>& segments, size_t index, std::wstring fixed)
    {
        // Fixed segments are opened in one step; each '*' enumerates.
        while (index < segments.size() && segments[index] != L"*") {
            fixed += fixed.empty() ? segments[index] : L"\\" + segments[index];
            ++index;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExW(parent, fixed.empty() ? nullptr : fixed.c_str(), 0, KEY_READ | m_view, &key) !=
            ERROR_SUCCESS)
            return;
        if (index == segments.size()) {
            ReadFolder(key);
        } else {
            wchar_t name[256];
            for (DWORD i = 0;; ++i) {
                DWORD length = static_cast<DWORD>(sizeof(name) / sizeof(name[0]));
                const LONG status = RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
                if (status == ERROR_MORE_DATA)
                    continue;  // no key name of ours is that long
                if (status != ERROR_SUCCESS)
                    break;
                Descend(key, segments, index + 1, name);
            }
        }
        RegCloseKey(key);
    }

    void ReadFolder(HKEY key)
    {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key, m_source->value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > 32768)
            return;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, m_source->value, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS)
            return;
        const std::wstring folder = Expand(buffer.data());
        m_out.push_back({folder, m_source->vendor, LastName(NormaliseFolder(folder)), true});
    }

    std::vector<Candidate>& m_out;
    REGSAM m_view = 0;
    const RegistrySource* m_source = nullptr;
};

void FromRegistry(std::vector<Candidate>& out)
{
    RegistryWalker walker(out);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
            for (const RegistrySource& source : kRegistrySources)
                walker.Walk(root, view, source);
}

void FromDrives(std::vector<Candidate>& out)
{
    const DWORD drives = GetLogicalDrives();
    for (wchar_t drive = L'C'; drive <= L'Z'; ++drive) {
        if (!(drives & (1u << (drive - L'A'))))
            continue;
        const std::wstring root = std::wstring(1, drive) + L":";
        for (const std::wstring& folder : Subfolders(root + L"\\Java"))
            out.push_back({folder, L"Oracle Corporation", LastName(folder)});
        for (const wchar_t* programFiles : {L"\\Program Files", L"\\Program Files (x86)"}) {
            // One listing of Program Files, then only the vendor folders it holds.
            for (const std::wstring& vendorFolder : Subfolders(root + programFiles)) {
                const std::wstring name = LastName(vendorFolder);
                for (const VendorFolder& vendor : kVendorFolders) {
                    if (lstrcmpiW(name.c_str(), vendor.name) != 0)
                        continue;
                    std::wstring parent = vendorFolder;
                    std::wstring pattern = vendor.pattern;
                    const size_t slash = pattern.find_last_of(L'\\');
                    if (slash != std::wstring::npos) {
                        parent += L"\\" + pattern.substr(0, slash);
                        pattern = pattern.substr(slash + 1);
                    }
                    for (const std::wstring& folder : Subfolders(parent, pattern.c_str()))
                        out.push_back({folder, vendor.vendor, LastName(folder)});
                }
            }
        }
    }
}

std::wstring ProcessVariable(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0 || size > 32768)
        return std::wstring();
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD got = GetEnvironmentVariableW(name, buffer.data(), size);
    return got == 0 || got >= size ? std::wstring() : std::wstring(buffer.data(), got);
}

void FromUserFolders(std::vector<Candidate>& out)
{
    const std::wstring profile = ProcessVariable(L"USERPROFILE");
    if (!profile.empty()) {
        for (const std::wstring& folder : Subfolders(profile + L"\\.jdks"))
            out.push_back({folder, L".jdks", LastName(folder)});
        // Gradle keeps the JDK itself either in its download folder or one level below.
        for (const std::wstring& folder : Subfolders(profile + L"\\.gradle\\jdks")) {
            out.push_back({folder, L"Gradle", LastName(folder)});
            for (const std::wstring& inner : Subfolders(folder))
                out.push_back({inner, L"Gradle", LastName(inner)});
        }
    }
    std::vector<std::wstring> scoopRoots;
    const std::wstring scoop = ProcessVariable(L"SCOOP");
    if (!scoop.empty())
        scoopRoots.push_back(scoop);
    if (!profile.empty())
        scoopRoots.push_back(profile + L"\\scoop");
    for (const std::wstring& scoopRoot : scoopRoots) {
        // "current" tells no version; the application's name often does.
        for (const std::wstring& app : Subfolders(scoopRoot + L"\\apps"))
            out.push_back({app + L"\\current", L"Scoop", LastName(app)});
    }
}

std::string ReadRelease(const std::wstring& folder)
{
    const std::wstring path = folder + L"\\release";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text(kLongestRelease, '\0');
    DWORD got = 0;
    if (!ReadFile(file, &text[0], kLongestRelease, &got, nullptr))
        got = 0;
    CloseHandle(file);
    text.resize(got);
    return text;
}

std::wstring VendorFromName(const std::wstring& name)
{
    const std::wstring lower = Lower(name);
    for (const auto& entry : kNameVendors)
        if (lower.find(entry.word) != std::wstring::npos)
            return entry.vendor;
    return std::wstring();
}

CString ToCodePage(const std::wstring& text)
{
    CString narrow;
    NarrowToCodePage(text, narrow);
    return narrow;
}

// Where ties between equal versions go: the drive letter, UNC paths after every drive.
int DriveOrder(const CString& folder)
{
    if (folder.GetLength() >= 2 && folder[1] == ':') {
        const char letter = folder[0];
        return letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter;
    }
    return 0x100;
}

struct VersionParts {
    std::vector<unsigned long> numbers;
    bool preRelease = false;
};

VersionParts SplitVersion(const CString& version)
{
    VersionParts parts;
    const std::string& text = version.str();
    size_t i = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        unsigned long value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value = value < 100000000ul ? value * 10 + static_cast<unsigned long>(text[i] - '0') : value;
            ++i;
        }
        parts.numbers.push_back(value);
        if (i + 1 < text.size() && (text[i] == '.' || text[i] == '_') && text[i + 1] >= '0' && text[i + 1] <= '9')
            ++i;
        else
            break;
    }
    parts.preRelease = i < text.size() && text[i] == '-';
    // "1.8.0_392" is feature release 8.
    if (parts.numbers.size() > 1 && parts.numbers[0] == 1)
        parts.numbers.erase(parts.numbers.begin());
    return parts;
}

bool IsVersionText(const std::string& value)
{
    if (value.empty() || value[0] < '0' || value[0] > '9' || value.size() > 64)
        return false;
    return std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '_' ||
               c == '+' || c == '-';
    });
}

// The value of a release line: quoted values must close their quote.
bool ReleaseValue(std::string value, std::string& out)
{
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.pop_back();
    size_t first = 0;
    while (first < value.size() && (value[first] == ' ' || value[first] == '\t'))
        ++first;
    value = value.substr(first);
    if (!value.empty() && value[0] == '"') {
        if (value.size() < 2 || value.back() != '"')
            return false;
        value = value.substr(1, value.size() - 2);
        if (value.find('"') != std::string::npos)
            return false;
    }
    if (std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return false;
    out = value;
    return true;
}

}  // namespace

JdkReleaseFacts ParseJdkRelease(const std::string& text)
{
    JdkReleaseFacts facts;
    bool haveVersion = false;
    bool haveVendor = false;
    // A file saved by an editor may begin with a byte order mark.
    const size_t bom = text.compare(0, 3, "\xef\xbb\xbf") == 0 ? 3 : 0;
    for (size_t start = bom; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        std::string value;
        if (key == "JAVA_VERSION" && !haveVersion) {
            haveVersion = true;
            if (ReleaseValue(line.substr(equals + 1), value) && IsVersionText(value))
                facts.version = CString(value);
        } else if (key == "IMPLEMENTOR" && !haveVendor) {
            haveVendor = true;
            if (ReleaseValue(line.substr(equals + 1), value) && !value.empty()) {
                // Release files are UTF-8; a vendor the code page cannot show is left out.
                const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, value.data(),
                                                  static_cast<int>(value.size()), nullptr, 0);
                if (n > 0) {
                    std::wstring wide(static_cast<size_t>(n), L'\0');
                    MultiByteToWideChar(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), &wide[0], n);
                    NarrowToCodePage(wide, facts.vendor);
                }
            }
        }
    }
    return facts;
}

CString VersionFromFolderName(const CString& name)
{
    // Only single-byte characters are looked at: a trail byte may look like a letter or digit.
    const std::string& text = name.str();
    std::string ascii(text.size(), ' ');
    for (size_t i = 0; i < text.size();) {
        const size_t width = static_cast<size_t>(CharWidthAt(text.c_str(), text.size(), i));
        if (width == 1 && static_cast<unsigned char>(text[i]) < 0x80)
            ascii[i] = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        i += width;
    }
    auto isDigit = [&](size_t i) { return i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9'; };
    // The number after "jdk" is the Java version where a distribution puts its own first.
    size_t start = std::string::npos;
    for (size_t at = ascii.find("jdk"); at != std::string::npos; at = ascii.find("jdk", at + 1)) {
        size_t i = at + 3;
        if (i < ascii.size() && (ascii[i] == '-' || ascii[i] == '_'))
            ++i;
        if (isDigit(i)) {
            start = i;
            break;
        }
    }
    if (start == std::string::npos) {
        for (size_t i = 0; i < ascii.size() && start == std::string::npos; ++i)
            if (isDigit(i))
                start = i;
    }
    if (start == std::string::npos)
        return CString();
    size_t end = start;
    while (end < ascii.size() && (isDigit(end) || ascii[end] == '.' || ascii[end] == '_'))
        ++end;
    while (end > start && (ascii[end - 1] == '.' || ascii[end - 1] == '_'))
        --end;
    return CString(text.substr(start, end - start));
}

int CompareJdkVersions(const CString& a, const CString& b)
{
    const VersionParts left = SplitVersion(a);
    const VersionParts right = SplitVersion(b);
    if (left.numbers.empty() != right.numbers.empty())
        return left.numbers.empty() ? -1 : 1;
    const size_t count = std::max(left.numbers.size(), right.numbers.size());
    for (size_t i = 0; i < count; ++i) {
        const unsigned long l = i < left.numbers.size() ? left.numbers[i] : 0;
        const unsigned long r = i < right.numbers.size() ? right.numbers[i] : 0;
        if (l != r)
            return l < r ? -1 : 1;
    }
    if (left.preRelease != right.preRelease)
        return left.preRelease ? -1 : 1;
    return 0;
}

std::vector<JdkInstallation> FindInstalledJdks()
{
    std::vector<Candidate> candidates;
    FromRegistry(candidates);
    FromDrives(candidates);
    FromUserFolders(candidates);

    std::vector<JdkInstallation> found;
    std::unordered_set<std::wstring> seen;
    for (const Candidate& candidate : candidates) {
        const std::wstring folder = NormaliseFolder(candidate.folder);
        if (folder.empty() || !seen.insert(Upper(folder)).second || !HoldsJdk(folder))
            continue;
        // Listed folders already carry the file system's spelling.
        const std::wstring spelled = candidate.fromRegistry ? SpelledAsListed(folder) : folder;
        JdkInstallation jdk;
        // A folder the code page cannot hold could not be written as JAVA_HOME.
        if (!NarrowToCodePage(spelled, jdk.folder) || jdk.folder.GetLength() + kLongestBinFile >= MAX_PATH)
            continue;
        const JdkReleaseFacts facts = ParseJdkRelease(ReadRelease(folder));
        jdk.version = facts.version.IsEmpty() ? VersionFromFolderName(ToCodePage(candidate.versionName))
                                              : facts.version;
        jdk.vendor = facts.vendor;
        if (jdk.vendor.IsEmpty())
            jdk.vendor = ToCodePage(VendorFromName(candidate.versionName));
        if (jdk.vendor.IsEmpty())
            jdk.vendor = ToCodePage(candidate.sourceVendor);
        found.push_back(jdk);
    }
    std::stable_sort(found.begin(), found.end(), [](const JdkInstallation& a, const JdkInstallation& b) {
        const int byVersion = CompareJdkVersions(a.version, b.version);
        if (byVersion != 0)
            return byVersion > 0;
        const int driveA = DriveOrder(a.folder);
        const int driveB = DriveOrder(b.folder);
        if (driveA != driveB)
            return driveA < driveB;
        return lstrcmpiA(a.folder, b.folder) < 0;
    });
    return found;
}
