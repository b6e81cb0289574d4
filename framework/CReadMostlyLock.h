#pragma once
// A reader-writer lock for data read on every message and changed rarely. Readers
// take it with one atomic add and never wait for each other; writers take turns and
// wait for the readers inside to leave, while readers arriving meanwhile step back.
// Sections under it must be short and call nothing that could take it again.
#include <windows.h>
#include <atomic>

class CReadMostlyLock {
public:
    CReadMostlyLock() = default;
    CReadMostlyLock(const CReadMostlyLock&) = delete;
    CReadMostlyLock& operator=(const CReadMostlyLock&) = delete;

    void LockShared()
    {
        while (m_state.fetch_add(1, std::memory_order_acquire) & kWriter) {
            m_state.fetch_sub(1, std::memory_order_relaxed);
            while (m_state.load(std::memory_order_relaxed) & kWriter)
                ::SwitchToThread();
        }
    }
    void UnlockShared() { m_state.fetch_sub(1, std::memory_order_release); }

    void Lock()
    {
        ::AcquireSRWLockExclusive(&m_writers);
        m_state.fetch_add(kWriter, std::memory_order_acquire);
        while (m_state.load(std::memory_order_acquire) != kWriter)
            ::SwitchToThread();
    }
    void Unlock()
    {
        m_state.fetch_sub(kWriter, std::memory_order_release);
        ::ReleaseSRWLockExclusive(&m_writers);
    }

    class Shared {
    public:
        explicit Shared(CReadMostlyLock& lock) : m_lock(lock) { m_lock.LockShared(); }
        ~Shared() { m_lock.UnlockShared(); }
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;
    private:
        CReadMostlyLock& m_lock;
    };

    class Exclusive {
    public:
        explicit Exclusive(CReadMostlyLock& lock) : m_lock(lock) { m_lock.Lock(); }
        ~Exclusive() { m_lock.Unlock(); }
        Exclusive(const Exclusive&) = delete;
        Exclusive& operator=(const Exclusive&) = delete;
    private:
        CReadMostlyLock& m_lock;
    };

private:
    static constexpr LONG kWriter = 1L << 24;  // above any count of readers
    std::atomic<LONG> m_state{0};
    SRWLOCK m_writers = SRWLOCK_INIT;
};
