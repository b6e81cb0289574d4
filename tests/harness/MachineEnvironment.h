#pragma once
// Direct access to the machine-wide environment block, independent of the code under test.
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace harness {

struct RegValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    // The data as text, up to the terminating zero.
    std::string Text() const;
};

class MachineEnvironment {
public:
    static std::optional<RegValue> Get(const char* name);
    static void Set(const char* name, DWORD type, const std::vector<BYTE>& data);
    static void SetText(const char* name, const std::string& text, DWORD type = REG_EXPAND_SZ);
    static void Delete(const char* name);
    // The value's text as stored, in UTF-16, and a text stored so.
    static std::optional<std::wstring> GetWide(const wchar_t* name);
    static void SetWide(const wchar_t* name, const std::wstring& text, DWORD type = REG_EXPAND_SZ);
    static const char* KeyPath();
};

// Saves the named values and puts them back (or deletes them) when it goes out of scope.
class MachineEnvironmentGuard {
public:
    explicit MachineEnvironmentGuard(std::vector<std::string> names = {"PATH", "JAVA_HOME", "CLASSPATH"});
    ~MachineEnvironmentGuard();
    MachineEnvironmentGuard(const MachineEnvironmentGuard&) = delete;
    MachineEnvironmentGuard& operator=(const MachineEnvironmentGuard&) = delete;
private:
    std::vector<std::pair<std::string, std::optional<RegValue>>> m_saved;
};

}  // namespace harness
