#pragma once
// Holds a critical section for one scope.
#include <windows.h>

class CSkinCriticalLock {
public:
    explicit CSkinCriticalLock(CRITICAL_SECTION* cs) : m_cs(cs) { EnterCriticalSection(m_cs); }
    ~CSkinCriticalLock() { LeaveCriticalSection(m_cs); }
    CSkinCriticalLock(const CSkinCriticalLock&) = delete;
    CSkinCriticalLock& operator=(const CSkinCriticalLock&) = delete;

private:
    CRITICAL_SECTION* m_cs;
};
