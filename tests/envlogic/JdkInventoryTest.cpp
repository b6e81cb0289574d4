// Runs in a prefix of its own with D: and E: mapped to empty folders. Each JDK is laid
// out as its vendor lays it out: registry keys in the view its installer writes, a
// release file, bin\java.exe and bin\javac.exe as empty files.
#include "JdkInventory.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::wstring Widen(const std::string& text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::string Variable(const char* name)
{
    char buffer[MAX_PATH] = {};
    GetEnvironmentVariableA(name, buffer, MAX_PATH);
    return buffer;
}

void RemoveTreeW(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeW(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

// Files made through "\\?\" so that paths beyond MAX_PATH can be laid out too; every
// folder made is removed at the end, deepest first.
class Layout {
public:
    ~Layout()
    {
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
            RemoveTreeW(L"\\\\?\\" + *it);
        for (const auto& key : m_keys) {
            HKEY software = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | key.second, &software) == 0) {
                RegDeleteTreeW(software, key.first.c_str());
                RegCloseKey(software);
            }
        }
    }
    void File(const std::wstring& path, const std::string& content = std::string())
    {
        Parents(path);
        HANDLE h = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << std::string(path.begin(), path.end());
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
    }
    void Jdk(const std::wstring& folder, const std::string& release, bool javac = true)
    {
        File(folder + L"\\bin\\java.exe");
        if (javac)
            File(folder + L"\\bin\\javac.exe");
        if (!release.empty())
            File(folder + L"\\release", release);
    }
    // key below HKLM\SOFTWARE; owner is the key removed afterwards.
    void Value(REGSAM view, const std::wstring& key, const std::wstring& owner, const wchar_t* name, DWORD type,
               const std::wstring& text)
    {
        HKEY h = nullptr;
        ASSERT_EQ(0, RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\" + key).c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS | view, nullptr, &h, nullptr));
        RegSetValueExW(h, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
        m_keys.emplace_back(owner, view);
    }

private:
    void Parents(const std::wstring& path)
    {
        for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1)) {
            const std::wstring parent = path.substr(0, pos);
            if (GetFileAttributesW((L"\\\\?\\" + parent).c_str()) == INVALID_FILE_ATTRIBUTES) {
                CreateDirectoryW((L"\\\\?\\" + parent).c_str(), nullptr);
                m_made.push_back(parent);
            }
        }
    }
    std::vector<std::wstring> m_made;
    std::vector<std::pair<std::wstring, REGSAM>> m_keys;
};

std::string Release(const char* version, const char* implementor)
{
    std::string text;
    if (implementor)
        text += std::string("IMPLEMENTOR=\"") + implementor + "\"\r\n";
    text += std::string("JAVA_VERSION=\"") + version + "\"\r\nOS_NAME=\"Windows\"\r\n";
    return text;
}

struct Expected {
    std::string folder;
    std::string version;
    std::string vendor;
};

class JdkInventoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* root : {"D:\\", "E:\\"})
            ASSERT_NE(GetDriveTypeA(root), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << root << " is not mapped";
        ASSERT_TRUE(FindInstalledJdks().empty()) << "the prefix must start without any JDK";
    }
};

TEST_F(JdkInventoryTest, EverySourceFoundOnceNewestFirst)
{
    SetEnvironmentVariableW(L"TAMRIVEL_VENDORS", L"D:\\Vendors");
    const std::wstring profile = Widen(Variable("USERPROFILE"));
    ASSERT_FALSE(profile.empty());
    const std::string home = Variable("USERPROFILE");
    const REGSAM k64 = KEY_WOW64_64KEY;
    const REGSAM k32 = KEY_WOW64_32KEY;

    Layout l;
    // Registry sources; some also lie in a vendor folder, which must not list them twice.
    l.Jdk(L"D:\\Program Files\\Java\\jdk-21", Release("21.0.5", "Oracle Corporation"));
    l.Value(k64, L"JavaSoft\\JDK\\21.0.5", L"JavaSoft", L"JavaHome", REG_SZ, L"D:\\Program Files\\Java\\jdk-21");
    l.Jdk(L"C:\\Program Files (x86)\\Java\\jdk1.8.0_392", Release("1.8.0_392", nullptr));
    l.Value(k32, L"JavaSoft\\Java Development Kit\\1.8", L"JavaSoft", L"JavaHome", REG_SZ,
            L"c:\\program files (x86)\\java\\JDK1.8.0_392\\");
    l.Jdk(L"E:\\Adopt\\jdk-21.0.5.11-hotspot", Release("21.0.5", "Eclipse Adoptium"));
    l.Value(k64, L"Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI", L"Eclipse Adoptium", L"Path", REG_SZ,
            L"E:\\Adopt\\jdk-21.0.5.11-hotspot\\");
    l.Jdk(L"D:\\Vendors\\Microsoft\\jdk-17.0.13.11-hotspot", Release("17.0.13", nullptr));
    l.Value(k64, L"Microsoft\\JDK\\17.0.13.11\\hotspot\\MSI", L"Microsoft\\JDK", L"Path", REG_EXPAND_SZ,
            L"%TAMRIVEL_VENDORS%\\Microsoft\\jdk-17.0.13.11-hotspot");
    l.Jdk(L"E:\\Semeru\\jdk-17.0.9.9-openj9", Release("17.0.9", "IBM Corporation"));
    l.Value(k32, L"Semeru\\JDK\\17.0.9.9\\openj9\\MSI", L"Semeru", L"Path", REG_SZ, L"E:\\Semeru\\jdk-17.0.9.9-openj9");
    l.Jdk(L"D:\\Program Files\\Zulu\\zulu-21", Release("21.0.4", "Azul Systems, Inc."));
    l.Value(k64, L"Azul Systems\\Zulu\\zulu-21", L"Azul Systems", L"InstallationPath", REG_SZ,
            L"D:\\Program Files\\Zulu\\zulu-21\\");
    l.Jdk(L"C:\\Program Files (x86)\\BellSoft\\LibericaJDK-11", Release("11.0.25", "BellSoft"));
    l.Value(k32, L"BellSoft\\Liberica\\LibericaJDK-11", L"BellSoft", L"InstallationPath", REG_SZ,
            L"C:\\Program Files (x86)\\BellSoft\\LibericaJDK-11");
    l.Jdk(L"D:\\EF\\jdk-11.0.12.7-hotspot", Release("11.0.12", "Eclipse Foundation"));
    l.Value(k32, L"Eclipse Foundation\\JDK\\11.0.12.7\\hotspot\\MSI", L"Eclipse Foundation", L"Path", REG_SZ,
            L"D:\\EF\\jdk-11.0.12.7-hotspot");
    l.Jdk(L"E:\\AdoptOpenJDK\\jdk-8.0.292.10-hotspot", Release("1.8.0_292", "AdoptOpenJDK"));
    l.Value(k64, L"AdoptOpenJDK\\JDK\\8.0.292.10\\hotspot\\MSI", L"AdoptOpenJDK", L"Path", REG_SZ,
            L"E:\\AdoptOpenJDK\\jdk-8.0.292.10-hotspot");
    // Vendor folders only.
    l.Jdk(L"E:\\Program Files\\Amazon Corretto\\jdk21.0.5_11", Release("21.0.5", "Amazon.com Inc."));
    l.Jdk(L"D:\\Program Files\\RedHat\\java-17-openjdk-17.0.9.0.9-1", Release("17.0.9", "Red Hat, Inc."));
    l.Jdk(L"C:\\Program Files\\SapMachine\\JDK\\17", Release("17.0.13", "SAP SE"));
    l.Jdk(L"D:\\Program Files\\Microsoft\\jdk-11.0.25.9-hotspot", Release("11.0.25", "Microsoft"));
    l.Jdk(L"E:\\Program Files\\Eclipse Adoptium\\jdk-17.0.13.11-hotspot", "");
    l.Jdk(L"D:\\Java\\jdk-22", Release("22", "Oracle Corporation"));
    l.Jdk(L"C:\\Program Files\\Semeru\\jdk-21.0.5.11-openj9", Release("21.0.5", "IBM Corporation"));
    // Broken release file: unterminated quote, binary noise, an empty vendor.
    static const char broken[] = "IMPLEMENTOR=\r\nJAVA_VERSION=\"17.0.1\r\n\x01\x02\xff\0garbage";
    l.Jdk(L"D:\\Program Files\\BellSoft\\LibericaJDK-17", std::string(broken, sizeof(broken) - 1));
    // Per-user downloads.
    l.Jdk(profile + L"\\.jdks\\corretto-17.0.13", Release("17.0.13", "Amazon.com Inc."));
    l.Jdk(profile + L"\\.jdks\\openjdk-23.0.1", "");
    l.Jdk(profile + L"\\.gradle\\jdks\\eclipse_adoptium-17-amd64-windows\\jdk-17.0.9+9",
          Release("17.0.9", "Eclipse Adoptium"));
    l.Jdk(profile + L"\\scoop\\apps\\temurin21-jdk\\current", "");
    // Passed over: a JRE, a JDK-named folder without javac.exe, values pointing nowhere,
    // a folder whose bin is beyond MAX_PATH.
    l.Jdk(L"D:\\Program Files\\Java\\jre-1.8", Release("1.8.0_392", "Oracle Corporation"), false);
    l.Jdk(L"E:\\Program Files\\Zulu\\zulu-17", Release("17.0.13", "Azul Systems, Inc."), false);
    l.Value(k64, L"JavaSoft\\JDK\\19", L"JavaSoft", L"JavaHome", REG_SZ, L"D:\\gone\\jdk-19");
    l.Value(k32, L"Microsoft\\JDK\\11\\hotspot\\MSI", L"Microsoft\\JDK", L"Path", REG_SZ,
            L"%TAMRIVEL_UNSET%\\jdk-11");
    l.Jdk(L"D:\\Java\\jdk-" + std::wstring(240, L'9'), Release("99", "Nobody"));

    const std::vector<Expected> expected = {
        {home + "\\.jdks\\openjdk-23.0.1", "23.0.1", ".jdks"},
        {"D:\\Java\\jdk-22", "22", "Oracle Corporation"},
        {"C:\\Program Files\\Semeru\\jdk-21.0.5.11-openj9", "21.0.5", "IBM Corporation"},
        {"D:\\Program Files\\Java\\jdk-21", "21.0.5", "Oracle Corporation"},
        {"E:\\Adopt\\jdk-21.0.5.11-hotspot", "21.0.5", "Eclipse Adoptium"},
        {"E:\\Program Files\\Amazon Corretto\\jdk21.0.5_11", "21.0.5", "Amazon.com Inc."},
        {"D:\\Program Files\\Zulu\\zulu-21", "21.0.4", "Azul Systems, Inc."},
        {home + "\\scoop\\apps\\temurin21-jdk\\current", "21", "Eclipse Adoptium"},
        {"E:\\Program Files\\Eclipse Adoptium\\jdk-17.0.13.11-hotspot", "17.0.13.11", "Eclipse Adoptium"},
        {"C:\\Program Files\\SapMachine\\JDK\\17", "17.0.13", "SAP SE"},
        {home + "\\.jdks\\corretto-17.0.13", "17.0.13", "Amazon.com Inc."},
        {"D:\\Vendors\\Microsoft\\jdk-17.0.13.11-hotspot", "17.0.13", "Microsoft"},
        {home + "\\.gradle\\jdks\\eclipse_adoptium-17-amd64-windows\\jdk-17.0.9+9", "17.0.9", "Eclipse Adoptium"},
        {"D:\\Program Files\\RedHat\\java-17-openjdk-17.0.9.0.9-1", "17.0.9", "Red Hat, Inc."},
        {"E:\\Semeru\\jdk-17.0.9.9-openj9", "17.0.9", "IBM Corporation"},
        {"D:\\Program Files\\BellSoft\\LibericaJDK-17", "17", "BellSoft"},
        {"C:\\Program Files (x86)\\BellSoft\\LibericaJDK-11", "11.0.25", "BellSoft"},
        {"D:\\Program Files\\Microsoft\\jdk-11.0.25.9-hotspot", "11.0.25", "Microsoft"},
        {"D:\\EF\\jdk-11.0.12.7-hotspot", "11.0.12", "Eclipse Foundation"},
        {"C:\\Program Files (x86)\\Java\\jdk1.8.0_392", "1.8.0_392", "Oracle Corporation"},
        {"E:\\AdoptOpenJDK\\jdk-8.0.292.10-hotspot", "1.8.0_292", "AdoptOpenJDK"},
    };
    const std::vector<JdkInstallation> found = FindInstalledJdks();
    std::string listing;
    for (const JdkInstallation& jdk : found)
        listing += jdk.folder.str() + " | " + jdk.version.str() + " | " + jdk.vendor.str() + "\n";
    ASSERT_EQ(expected.size(), found.size()) << listing;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].folder, found[i].folder.str()) << i << "\n" << listing;
        EXPECT_EQ(expected[i].version, found[i].version.str()) << expected[i].folder;
        EXPECT_EQ(expected[i].vendor, found[i].vendor.str()) << expected[i].folder;
    }
}

TEST(JdkVersions, OrderFromOldestToNewest)
{
    // Each row is older than the next; rows within braces are as old as each other.
    const std::vector<std::vector<const char*>> ascending = {
        {"", "abc"},
        {"1.6.0_45"},
        {"1.8.0_292", "8.0.292"},
        {"1.8.0_392"},
        {"9"},
        {"11.0.2"},
        {"11.0.12"},
        {"17-ea"},
        {"17", "17.0", "17.0.0"},
        {"17.0.9"},
        {"17.0.13"},
        {"17.0.13.11"},
        {"21.0.5"},
        {"22-ea"},
        {"22"},
        {"100"},
    };
    for (size_t i = 0; i < ascending.size(); ++i) {
        for (const char* a : ascending[i]) {
            for (const char* b : ascending[i])
                EXPECT_EQ(0, CompareJdkVersions(a, b)) << a << " vs " << b;
            for (size_t j = i + 1; j < ascending.size(); ++j) {
                for (const char* b : ascending[j]) {
                    EXPECT_LT(CompareJdkVersions(a, b), 0) << a << " < " << b;
                    EXPECT_GT(CompareJdkVersions(b, a), 0) << b << " > " << a;
                }
            }
        }
    }
}

TEST(JdkRelease, QuotedValuesAndBrokenLines)
{
    struct Row {
        std::string text;
        const char* version;
        const char* vendor;
    };
    const Row rows[] = {
        {"IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"21.0.5\"\n", "21.0.5", "Eclipse Adoptium"},
        {"JAVA_VERSION=\"1.8.0_392\"\r\nOS_ARCH=\"amd64\"\r\n", "1.8.0_392", ""},
        {"JAVA_VERSION=17.0.2\nIMPLEMENTOR=Azul Systems, Inc.\n", "17.0.2", "Azul Systems, Inc."},
        {"JAVA_VERSION=\"17.0.1\nIMPLEMENTOR=\"BellSoft", "", ""},
        {"JAVA_VERSION=\"\"\nIMPLEMENTOR=\"\"\n", "", ""},
        {"JAVA_VERSION=\"bogus\"\n", "", ""},
        {"JAVA_VERSION=\"17\"extra\"\n", "", ""},
        {"JAVA_RUNTIME_VERSION=\"21.0.5+11-LTS\"\nJAVA_VERSION_DATE=\"2024-10-15\"\n", "", ""},
        {"JAVA_VERSION=\"22\"\nJAVA_VERSION=\"8\"\n", "22", ""},
        {"\xef\xbb\xbfJAVA_VERSION=\"9\"", "9", ""},
        {std::string("\0\x01JAVA_VERSION=\"9\"", 18), "", ""},
        {"IMPLEMENTOR=\"\xea\xb0\x80 Corp\"\nJAVA_VERSION=\"11\"", "11", ""},
        {"IMPLEMENTOR=\"\xe8\xbd\xaf\xe4\xbb\xb6\"\n", "", "\xc8\xed\xbc\xfe"},
        {"", "", ""},
    };
    for (const Row& row : rows) {
        const JdkReleaseFacts facts = ParseJdkRelease(row.text);
        EXPECT_EQ(row.version, facts.version.str()) << row.text;
        EXPECT_EQ(row.vendor, facts.vendor.str()) << row.text;
    }
}

TEST(JdkRelease, FolderNameVersions)
{
    const std::pair<const char*, const char*> rows[] = {
        {"jdk-21.0.5.11-hotspot", "21.0.5.11"},
        {"jdk1.8.0_392", "1.8.0_392"},
        {"jdk21.0.5_11", "21.0.5_11"},
        {"zulu-21", "21"},
        {"zulu17.44.53-ca-jdk17.0.8.1-win_x64", "17.0.8.1"},
        {"java-17-openjdk-17.0.9.0.9-1", "17.0.9.0.9"},
        {"LibericaJDK-17", "17"},
        {"temurin21-jdk", "21"},
        {"jdk-17.0.9+9", "17.0.9"},
        {"jdk", ""},
        {"current", ""},
        {"v.", ""},
        {"x8 \x81\x6a" "dk17", "8"},  // the "j" is a trail byte, so no "jdk" stands there
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, VersionFromFolderName(row.first).str()) << row.first;
}

}  // namespace
