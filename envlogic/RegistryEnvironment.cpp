#include "RegistryEnvironment.h"
#include <cstring>
#include <cwchar>
#include <vector>

namespace {
const char kMachineKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kUserKey[] = "Environment";
// As long as the system's own environment editor waits for each window.
const UINT kBroadcastTimeoutMs = 5000;

// Ask for the size, then read; the value may grow between the two calls.
LONG QueryWhole(HKEY key, const void* name, bool wide, std::vector<BYTE>& data)
{
    auto query = [&](BYTE* buffer, DWORD* size) {
        return wide ? RegQueryValueExW(key, static_cast<const wchar_t*>(name), nullptr, nullptr, buffer, size)
                    : RegQueryValueExA(key, static_cast<const char*>(name), nullptr, nullptr, buffer, size);
    };
    DWORD size = 0;
    LONG status = query(nullptr, &size);
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        // Room for a terminator the stored data may lack.
        std::vector<BYTE> buffer(static_cast<size_t>(size) + 2, 0);
        DWORD got = size;
        status = query(buffer.data(), &got);
        if (status == ERROR_SUCCESS) {
            buffer.resize(got);
            data.swap(buffer);
            return ERROR_SUCCESS;
        }
        if (status == ERROR_MORE_DATA)
            size = got > size ? got : size * 2 + 2;
    }
    return status;
}

}  // namespace

RegistryEnvironment::RegistryEnvironment(const char* scope, REGSAM access)
{
    const char* text = scope ? scope : "";
    HKEY root = nullptr;
    const char* subkey = nullptr;
    if (lstrcmpiA(text, "SYSTEM") == 0) {
        root = HKEY_LOCAL_MACHINE;
        subkey = kMachineKey;
    } else if (lstrcmpiA(text, "CURRENTUSER") == 0) {
        root = HKEY_CURRENT_USER;
        subkey = kUserKey;
    }
    if (!root)
        return;
    m_openStatus = RegOpenKeyExA(root, subkey, 0, access, &m_hKey);
    if (m_openStatus != ERROR_SUCCESS)
        m_hKey = nullptr;
}

RegistryEnvironment::~RegistryEnvironment()
{
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

LONG RegistryEnvironment::Read(const char* name, CString& value)
{
    if (!m_hKey)
        return m_openStatus;
    std::vector<BYTE> data;
    const LONG status = QueryWhole(m_hKey, name, false, data);
    if (status == ERROR_SUCCESS) {
        const char* text = reinterpret_cast<const char*>(data.data());
        value = CString(text, static_cast<int>(strnlen(text, data.size())));
    }
    return status;
}

LONG RegistryEnvironment::ReadW(const wchar_t* name, std::wstring& value)
{
    if (!m_hKey)
        return m_openStatus;
    std::vector<BYTE> data;
    const LONG status = QueryWhole(m_hKey, name, true, data);
    if (status == ERROR_SUCCESS) {
        // An odd last byte is half a character: dropped.
        std::wstring text(data.size() / sizeof(wchar_t), L'\0');
        if (!text.empty())
            memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
        value = text.substr(0, wcsnlen(text.c_str(), text.size()));
    }
    return status;
}

LONG RegistryEnvironment::Write(const char* name, const char* text)
{
    const char* data = text ? text : "";
    const LONG status = m_hKey ? RegSetValueExA(m_hKey, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(data),
                                                static_cast<DWORD>(lstrlenA(data) + 1))
                               : m_openStatus;
    BroadcastEnvironmentChange();
    return status;
}

LONG RegistryEnvironment::WriteW(const wchar_t* name, const std::wstring& text)
{
    // The stored text ends at its first zero, as the 8-bit one does.
    const size_t length = wcsnlen(text.c_str(), text.size());
    const LONG status =
        m_hKey ? RegSetValueExW(m_hKey, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((length + 1) * sizeof(wchar_t)))
               : m_openStatus;
    BroadcastEnvironmentChange();
    return status;
}

LONG ReadEnvironmentValue(const char* scope, const char* name, CString& value)
{
    RegistryEnvironment env(scope, KEY_READ);
    return env.Read(name, value);
}

LONG WriteEnvironmentValue(const char* scope, const char* name, const char* text)
{
    RegistryEnvironment env(scope, KEY_SET_VALUE);
    return env.Write(name, text);
}

LONG ReadEnvironmentValueW(const char* scope, const wchar_t* name, std::wstring& value)
{
    RegistryEnvironment env(scope, KEY_READ);
    return env.ReadW(name, value);
}

LONG WriteEnvironmentValueW(const char* scope, const wchar_t* name, const std::wstring& text)
{
    RegistryEnvironment env(scope, KEY_SET_VALUE);
    return env.WriteW(name, text);
}

void BroadcastEnvironmentChange()
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                        SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &result);
}

CString GetProcessVariable(const char* name)
{
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    while (size > 0) {
        std::vector<char> buffer(size, '\0');
        const DWORD got = GetEnvironmentVariableA(name, buffer.data(), size);
        if (got < size)
            return CString(buffer.data(), static_cast<int>(got));
        size = got;  // grew meanwhile: got is the size needed now
    }
    return CString();
}
