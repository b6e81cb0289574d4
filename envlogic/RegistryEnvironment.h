#pragma once
// The registry's persistent environment blocks, chosen by a scope keyword:
// "SYSTEM" (machine-wide) or "CURRENTUSER", compared without regard to case.
#include "CString.h"
#include "CodePageText.h"
#include <string>

class RegistryEnvironment {
public:
    // Opens the block with the rights given: KEY_READ to read, KEY_SET_VALUE to write.
    explicit RegistryEnvironment(const char* scope, REGSAM access = KEY_READ);
    virtual ~RegistryEnvironment();
    RegistryEnvironment(const RegistryEnvironment&) = delete;
    RegistryEnvironment& operator=(const RegistryEnvironment&) = delete;

    // Fills value with the stored text up to its first zero, whatever its length or
    // type; on failure the text is left as it was. A key that could not be opened
    // answers the open's status (ERROR_ACCESS_DENIED, ERROR_INVALID_HANDLE for an
    // unknown scope).
    LONG Read(const char* name, CString& value);
    LONG ReadW(const wchar_t* name, std::wstring& value);
    // Stores text as REG_EXPAND_SZ, then broadcasts the change whatever the outcome.
    LONG Write(const char* name, const char* text);
    LONG WriteW(const wchar_t* name, const std::wstring& text);

    bool IsOpen() const { return m_hKey != nullptr; }
    LONG OpenStatus() const { return m_openStatus; }

private:
    HKEY m_hKey = nullptr;
    LONG m_openStatus = ERROR_INVALID_HANDLE;
};

LONG ReadEnvironmentValue(const char* scope, const char* name, CString& value);
LONG WriteEnvironmentValue(const char* scope, const char* name, const char* text);
LONG ReadEnvironmentValueW(const char* scope, const wchar_t* name, std::wstring& value);
LONG WriteEnvironmentValueW(const char* scope, const wchar_t* name, const std::wstring& text);

// Tells every top-level window that the environment changed; a hung window is given up
// on after a few seconds instead of blocking the caller for good.
void BroadcastEnvironmentChange();

// A variable of this process's environment, whole; empty when unset.
CString GetProcessVariable(const char* name);
