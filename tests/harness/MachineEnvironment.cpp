#include "MachineEnvironment.h"
#include <stdexcept>

namespace harness {

namespace {
const char kKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

HKEY OpenKey(REGSAM access)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, access, &key) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open the machine environment key");
    return key;
}
}  // namespace

std::string RegValue::Text() const
{
    std::string s(data.begin(), data.end());
    const size_t zero = s.find('\0');
    return zero == std::string::npos ? s : s.substr(0, zero);
}

const char* MachineEnvironment::KeyPath() { return kKey; }

std::optional<RegValue> MachineEnvironment::Get(const char* name)
{
    HKEY key = OpenKey(KEY_QUERY_VALUE);
    RegValue value;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        status = RegQueryValueExA(key, name, nullptr, &value.type, value.data.empty() ? nullptr : value.data.data(), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void MachineEnvironment::Set(const char* name, DWORD type, const std::vector<BYTE>& data)
{
    HKEY key = OpenKey(KEY_SET_VALUE);
    RegSetValueExA(key, name, 0, type, data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void MachineEnvironment::SetText(const char* name, const std::string& text, DWORD type)
{
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    Set(name, type, data);
}

void MachineEnvironment::Delete(const char* name)
{
    HKEY key = OpenKey(KEY_SET_VALUE);
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

std::optional<std::wstring> MachineEnvironment::GetWide(const wchar_t* name)
{
    HKEY key = OpenKey(KEY_QUERY_VALUE);
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&text[0]), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), size / sizeof(wchar_t)));
    return text;
}

void MachineEnvironment::SetWide(const wchar_t* name, const std::wstring& text, DWORD type)
{
    HKEY key = OpenKey(KEY_SET_VALUE);
    RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

MachineEnvironmentGuard::MachineEnvironmentGuard(std::vector<std::string> names)
{
    for (auto& n : names)
        m_saved.emplace_back(n, MachineEnvironment::Get(n.c_str()));
}

MachineEnvironmentGuard::~MachineEnvironmentGuard()
{
    for (auto& [name, value] : m_saved) {
        if (value)
            MachineEnvironment::Set(name.c_str(), value->type, value->data);
        else
            MachineEnvironment::Delete(name.c_str());
    }
}

}  // namespace harness
