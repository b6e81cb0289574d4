#pragma once
// One entry of the window-class table: the skin object class that windows of a class get, or
// none (windows of the class are never skinned). Aliases share their target's entry.
#include <windows.h>

#include "CCmdTarget.h"

class CSkinObjectBase;

class CSkinObjectClassInfo : public CCmdTarget {
public:
    // A null runtime class makes an entry whose windows are never skinned.
    explicit CSkinObjectClassInfo(const CRuntimeClass* runtimeClass);

    // A new object of the entry's class, or null. Entries of other kinds may use the class name
    // and creation data; this one does not.
    virtual CSkinObjectBase* CreateSkinObject(LPCSTR className, LPCREATESTRUCTA createStruct);

    const CRuntimeClass* GetObjectClass() const { return m_runtimeClass; }
    const void* GetOwner() const { return m_owner; }
    void SetOwner(const void* owner) { m_owner = owner; }

private:
    const CRuntimeClass* m_runtimeClass;
    const void* m_owner = nullptr;
};
