// FindInstalledJdks with nothing installed and with 20 JDKs spread over its sources:
// registry keys (both views), vendor folders under C:\Program Files and
// C:\Program Files (x86), and the per-user folders of a temporary profile. Prints the
// time per inventory and its ratio to the existing one-pattern search (FindJdkHome)
// measured in the same run; the goal is under 50 ms for both cases. Run it in a prefix
// without any JDK; it removes everything it made.
#include "JdkInventory.h"
#include "JdkLocator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Figures {
    double first;
    double median;
    double min;
    double max;
};

Figures Measure(int rounds, const std::function<void()>& call)
{
    std::vector<double> ms;
    for (int i = 0; i <= rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        call();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const double first = ms.front();
    ms.erase(ms.begin());
    std::sort(ms.begin(), ms.end());
    return {first, ms[ms.size() / 2], ms.front(), ms.back()};
}

// Everything the bench makes, removed in reverse order at the end.
class Made {
public:
    ~Made()
    {
        for (auto it = m_files.rbegin(); it != m_files.rend(); ++it) {
            DeleteFileW(it->c_str());
            RemoveDirectoryW(it->c_str());
        }
        for (const auto& key : m_keys) {
            HKEY software = nullptr;
            if (RegOpenKeyExW(key.root, L"SOFTWARE", 0, KEY_ALL_ACCESS | key.view, &software) == ERROR_SUCCESS) {
                RegDeleteTreeW(software, key.owner.c_str());
                RegCloseKey(software);
            }
        }
    }
    bool Jdk(const std::wstring& folder, const char* version, const char* vendor)
    {
        if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
            return false;  // not ours to fill or remove
        const std::string release = std::string("IMPLEMENTOR=\"") + vendor + "\"\nJAVA_VERSION=\"" + version + "\"\n";
        return File(folder + L"\\bin\\java.exe", "") && File(folder + L"\\bin\\javac.exe", "") &&
               File(folder + L"\\release", release);
    }
    bool Key(HKEY root, REGSAM view, const std::wstring& path, const std::wstring& owner, const wchar_t* name,
             const std::wstring& folder)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, (L"SOFTWARE\\" + path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        m_keys.push_back({root, view, owner});
        const LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                                           static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

private:
    bool File(const std::wstring& path, const std::string& content)
    {
        for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1)) {
            const std::wstring parent = path.substr(0, pos);
            if (CreateDirectoryW(parent.c_str(), nullptr))
                m_files.push_back(parent);
        }
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        m_files.push_back(path);
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
        return true;
    }
    struct Key_ {
        HKEY root;
        REGSAM view;
        std::wstring owner;
    };
    std::vector<std::wstring> m_files;
    std::vector<Key_> m_keys;
};

void Print(const char* what, const Figures& f, const Figures& baseline)
{
    std::printf("%-34s first %7.3f ms, median %7.3f ms (min %7.3f, max %7.3f); median / FindJdkHome %.2fx; "
                "median / 50 ms goal %.3f\n",
                what, f.first, f.median, f.min, f.max, f.median / baseline.median, f.median / 50.0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    // As the program itself runs: no prompts for drives without a medium.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    if (!FindInstalledJdks().empty() || !FindJdkHome().IsEmpty()) {
        std::printf("JDKs are installed here: these figures need a machine without one\n");
        return 1;
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base =
        std::wstring(temp) + L"tamrivel-inventory-bench-" + std::to_wstring(GetCurrentProcessId());

    // The per-user folders of a profile of our own, so the real one is left alone.
    const std::wstring profile = base + L"\\profile";
    SetEnvironmentVariableW(L"USERPROFILE", profile.c_str());
    SetEnvironmentVariableW(L"SCOOP", nullptr);

    const Figures locatorEmpty = Measure(rounds, [] { FindJdkHome(); });
    const Figures empty = Measure(rounds, [] {
        if (!FindInstalledJdks().empty())
            std::exit(1);
    });

    size_t expected = 0;
    {
        Made made;
        const REGSAM k64 = KEY_WOW64_64KEY;
        const REGSAM k32 = KEY_WOW64_32KEY;
        const std::wstring reg = base + L"\\registry";
        const struct {
            REGSAM view;
            const wchar_t* key;
            const wchar_t* owner;
            const wchar_t* value;
            const wchar_t* folder;
            const char* version;
            const char* vendor;
        } keys[] = {
            {k64, L"JavaSoft\\JDK\\21.0.5", L"JavaSoft", L"JavaHome", L"\\jdk-21.0.5", "21.0.5", "Oracle Corporation"},
            {k64, L"Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI", L"Eclipse Adoptium", L"Path",
             L"\\jdk-21.0.5.11-hotspot", "21.0.5", "Eclipse Adoptium"},
            {k32, L"Microsoft\\JDK\\17.0.13.11\\hotspot\\MSI", L"Microsoft\\JDK", L"Path", L"\\jdk-17.0.13.11-hotspot",
             "17.0.13", "Microsoft"},
            {k32, L"Semeru\\JDK\\17.0.9.9\\openj9\\MSI", L"Semeru", L"Path", L"\\jdk-17.0.9.9-openj9", "17.0.9",
             "IBM Corporation"},
            {k64, L"Azul Systems\\Zulu\\zulu-11", L"Azul Systems", L"InstallationPath", L"\\zulu-11", "11.0.25",
             "Azul Systems, Inc."},
            {k32, L"BellSoft\\Liberica\\LibericaJDK-8", L"BellSoft", L"InstallationPath", L"\\LibericaJDK-8",
             "1.8.0_432", "BellSoft"},
        };
        struct Found {
            const wchar_t* folder;
            const char* version;
            const char* vendor;
        };
        const Found folders[] = {
            {L"C:\\Program Files\\Java\\jdk-23", "23.0.1", "Oracle Corporation"},
            {L"C:\\Program Files\\Eclipse Adoptium\\jdk-17.0.13.11-hotspot", "17.0.13", "Eclipse Adoptium"},
            {L"C:\\Program Files\\Amazon Corretto\\jdk21.0.5_11", "21.0.5", "Amazon.com Inc."},
            {L"C:\\Program Files\\Zulu\\zulu-17", "17.0.13", "Azul Systems, Inc."},
            {L"C:\\Program Files (x86)\\BellSoft\\LibericaJDK-11", "11.0.25", "BellSoft"},
            {L"C:\\Program Files\\RedHat\\java-17-openjdk-17.0.9.0.9-1", "17.0.9", "Red Hat, Inc."},
            {L"C:\\Program Files\\SapMachine\\JDK\\21", "21.0.5", "SAP SE"},
            {L"C:\\Program Files (x86)\\Java\\jdk1.8.0_431", "1.8.0_431", "Oracle Corporation"},
        };
        const Found user[] = {
            {L"\\.jdks\\corretto-17.0.13", "17.0.13", "Amazon.com Inc."},
            {L"\\.jdks\\openjdk-23.0.1", "23.0.1", "Oracle Corporation"},
            {L"\\.gradle\\jdks\\eclipse_adoptium-17-amd64-windows\\jdk-17.0.9+9", "17.0.9", "Eclipse Adoptium"},
            {L"\\.gradle\\jdks\\azul_systems__inc_-21-amd64-windows", "21.0.4", "Azul Systems, Inc."},
            {L"\\scoop\\apps\\temurin21-jdk\\current", "21.0.5", "Eclipse Adoptium"},
            {L"\\scoop\\apps\\openjdk\\current", "23.0.1", "Oracle Corporation"},
        };
        for (const auto& k : keys) {
            const std::wstring folder = reg + k.folder;
            if (made.Jdk(folder, k.version, k.vendor) &&
                made.Key(HKEY_LOCAL_MACHINE, k.view, k.key, k.owner, k.value, folder))
                ++expected;
        }
        for (const auto& f : folders)
            expected += made.Jdk(f.folder, f.version, f.vendor) ? 1 : 0;
        for (const auto& u : user)
            expected += made.Jdk(profile + u.folder, u.version, u.vendor) ? 1 : 0;
        const size_t found = FindInstalledJdks().size();
        std::printf("JDKs laid out: %zu, found: %zu\n", expected, found);
        if (found != expected || expected != 20) {
            std::printf("the inventory did not find exactly the 20 JDKs laid out\n");
            return 1;
        }
        const Figures locatorFull = Measure(rounds, [] { FindJdkHome(); });
        const Figures full = Measure(rounds, [] { FindInstalledJdks(); });
        std::printf("%d rounds each (after one first call)\n", rounds);
        Print("FindJdkHome, nothing installed", locatorEmpty, locatorEmpty);
        Print("FindInstalledJdks, nothing", empty, locatorEmpty);
        Print("FindJdkHome, 20 JDKs laid out", locatorFull, locatorFull);
        Print("FindInstalledJdks, 20 JDKs", full, locatorFull);
    }
    RemoveDirectoryW((profile + L"\\scoop\\apps").c_str());
    RemoveDirectoryW(profile.c_str());
    RemoveDirectoryW((base + L"\\registry").c_str());
    RemoveDirectoryW(base.c_str());
    return 0;
}
