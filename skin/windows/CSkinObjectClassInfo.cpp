#include "CSkinObjectClassInfo.h"

#include "CSkinObjectFrame.h"

CSkinObjectClassInfo::CSkinObjectClassInfo(const CRuntimeClass* runtimeClass) : m_runtimeClass(runtimeClass) {}

CSkinObjectBase* CSkinObjectClassInfo::CreateSkinObject(LPCSTR, LPCREATESTRUCTA) {
    // Only classes of the skin object hierarchy: anything else in a table would be cast blindly.
    if (!m_runtimeClass || !m_runtimeClass->IsDerivedFrom(RUNTIME_CLASS(CSkinObjectFrame))) return nullptr;
    return static_cast<CSkinObjectFrame*>(m_runtimeClass->CreateObject());
}
