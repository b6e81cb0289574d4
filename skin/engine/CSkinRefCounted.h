#pragma once
// Shared ownership for the package and the schema, which the engine and each other hold.
#include <windows.h>

class CSkinRefCounted {
public:
    LONG AddRef() { return InterlockedIncrement(&m_refs); }
    LONG Release() {
        LONG left = InterlockedDecrement(&m_refs);
        if (left == 0) delete this;
        return left;
    }

protected:
    CSkinRefCounted() = default;
    virtual ~CSkinRefCounted() = default;
    CSkinRefCounted(const CSkinRefCounted&) = delete;
    CSkinRefCounted& operator=(const CSkinRefCounted&) = delete;

private:
    LONG m_refs = 1;
};

// Holds one reference; adopting a fresh object takes over its initial reference.
template <typename T>
class CSkinRef {
public:
    CSkinRef() = default;
    static CSkinRef Adopt(T* p) { CSkinRef r; r.m_p = p; return r; }
    static CSkinRef Share(T* p) { if (p) p->AddRef(); return Adopt(p); }
    ~CSkinRef() { Reset(); }
    CSkinRef(const CSkinRef& o) : m_p(o.m_p) { if (m_p) m_p->AddRef(); }
    CSkinRef& operator=(const CSkinRef& o) {
        if (o.m_p) o.m_p->AddRef();
        Reset();
        m_p = o.m_p;
        return *this;
    }
    void Reset() {
        if (m_p) { T* p = m_p; m_p = nullptr; p->Release(); }
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};
