#pragma once
// The registry's persistent environment blocks, chosen by a scope keyword:
// "SYSTEM" (machine-wide) or "CURRENTUSER", compared without regard to case.
#include "CString.h"

class RegistryEnvironment {
public:
    explicit RegistryEnvironment(const char* scope);
    virtual ~RegistryEnvironment();
    RegistryEnvironment(const RegistryEnvironment&) = delete;
    RegistryEnvironment& operator=(const RegistryEnvironment&) = delete;

    // Fills value with the stored text up to its first zero byte, whatever its
    // length or type; on failure the text is left as it was.
    LONG Read(const char* name, CString& value);
    // Stores text as REG_EXPAND_SZ, then broadcasts the change whatever the outcome.
    LONG Write(const char* name, const char* text);

    bool IsOpen() const { return m_hKey != nullptr; }

private:
    HKEY m_hKey = nullptr;
};

LONG ReadEnvironmentValue(const char* scope, const char* name, CString& value);
LONG WriteEnvironmentValue(const char* scope, const char* name, const char* text);

// A variable of this process's environment, whole; empty when unset.
CString GetProcessVariable(const char* name);
