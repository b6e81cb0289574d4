#pragma once
// Each thread's window-creation hook, released when the thread ends.
#include <windows.h>

class CSkinThreadHook {
public:
    // This thread's record, created on first use.
    static CSkinThreadHook& Current();

    HHOOK Handle() const { return m_hook; }
    // Installs the procedure as this thread's CBT hook unless one is installed.
    void Install(HOOKPROC procedure);

    ~CSkinThreadHook();
    CSkinThreadHook(const CSkinThreadHook&) = delete;
    CSkinThreadHook& operator=(const CSkinThreadHook&) = delete;

private:
    CSkinThreadHook() = default;
    HHOOK m_hook = nullptr;
};
