#pragma once
// Run-time class records: class name, base link and, for dynamically creatable
// classes, a factory. Skin objects are made from a class table through them.
#include <windows.h>

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // Null when the class is not dynamically creatable.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
    static const CRuntimeClass classCObject;
protected:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

#define DECLARE_DYNAMIC(cls) \
public: \
    static const CRuntimeClass class##cls; \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(cls) \
    DECLARE_DYNAMIC(cls) \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS_(cls, base, factory) \
    const CRuntimeClass cls::class##cls = {#cls, static_cast<int>(sizeof(cls)), factory, RUNTIME_CLASS(base)}; \
    const CRuntimeClass* cls::GetRuntimeClass() const { return RUNTIME_CLASS(cls); }

#define IMPLEMENT_DYNAMIC(cls, base) IMPLEMENT_RUNTIMECLASS_(cls, base, nullptr)

#define IMPLEMENT_DYNCREATE(cls, base) \
    CObject* cls::CreateObject() { return new cls; } \
    IMPLEMENT_RUNTIMECLASS_(cls, base, &cls::CreateObject)
