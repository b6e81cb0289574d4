#pragma once
// A slim reader-writer lock: many painting threads read a cache at once, the rare filler writes.
#include <windows.h>

class CSkinReadWriteLock {
public:
    CSkinReadWriteLock() { InitializeSRWLock(&m_lock); }
    CSkinReadWriteLock(const CSkinReadWriteLock&) = delete;
    CSkinReadWriteLock& operator=(const CSkinReadWriteLock&) = delete;

    class Shared {
    public:
        explicit Shared(CSkinReadWriteLock& l) : m_l(l) { AcquireSRWLockShared(&m_l.m_lock); }
        ~Shared() { ReleaseSRWLockShared(&m_l.m_lock); }
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;

    private:
        CSkinReadWriteLock& m_l;
    };
    class Exclusive {
    public:
        explicit Exclusive(CSkinReadWriteLock& l) : m_l(l) { AcquireSRWLockExclusive(&m_l.m_lock); }
        ~Exclusive() { ReleaseSRWLockExclusive(&m_l.m_lock); }
        Exclusive(const Exclusive&) = delete;
        Exclusive& operator=(const Exclusive&) = delete;

    private:
        CSkinReadWriteLock& m_l;
    };

private:
    SRWLOCK m_lock;
};
