#include "RegistryEnvironment.h"
#include <cstring>
#include <vector>

namespace {
const char kMachineKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kUserKey[] = "Environment";
}

RegistryEnvironment::RegistryEnvironment(const char* scope)
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
    if (root && RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &m_hKey) != ERROR_SUCCESS)
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
    // Ask for the size, then read; the value may grow between the two calls.
    DWORD size = 0;
    LONG status = RegQueryValueExA(m_hKey, name, nullptr, nullptr, nullptr, &size);
    std::vector<char> buffer;
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        buffer.assign(static_cast<size_t>(size) + 1, '\0');
        DWORD got = size;
        status = RegQueryValueExA(m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (status == ERROR_SUCCESS) {
            const size_t length = strnlen(buffer.data(), got);
            value = CString(buffer.data(), static_cast<int>(length));
            return ERROR_SUCCESS;
        }
        if (status == ERROR_MORE_DATA)
            size = got > size ? got : size * 2 + 1;
    }
    return status;
}

LONG RegistryEnvironment::Write(const char* name, const char* text)
{
    const char* data = text ? text : "";
    const LONG status = RegSetValueExA(m_hKey, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(data),
                                       static_cast<DWORD>(lstrlenA(data) + 1));
    SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"));
    return status;
}

LONG ReadEnvironmentValue(const char* scope, const char* name, CString& value)
{
    RegistryEnvironment env(scope);
    return env.Read(name, value);
}

LONG WriteEnvironmentValue(const char* scope, const char* name, const char* text)
{
    RegistryEnvironment env(scope);
    return env.Write(name, text);
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
