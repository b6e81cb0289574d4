#include "CSkinApiHook.h"

#include <cstring>

#include "CSkinApiHookManager.h"
#include "SkinImportTable.h"

namespace {

void CopyName(char (&out)[50], LPCSTR name) {
    std::strncpy(out, name ? name : "", sizeof(out) - 1);
    out[sizeof(out) - 1] = '\0';
}

}  // namespace

CSkinApiHook::CSkinApiHook(CSkinApiHookManager* manager, LPCSTR moduleName, LPCSTR functionName, void* apiEntry,
                           void* replacement)
    : m_manager(manager), m_apiEntry(apiEntry), m_replacement(replacement) {
    CopyName(m_moduleName, moduleName);
    CopyName(m_functionName, functionName);
}

BOOL CSkinApiHook::Matches(LPCSTR moduleName, LPCSTR functionName) const {
    return skin::EqualsAsciiNoCase(m_moduleName, moduleName) && std::strcmp(m_functionName, functionName) == 0;
}

BOOL CSkinApiHook::Patch() {
    if (m_manager->PatchAllModules(m_moduleName, m_apiEntry, m_replacement)) m_patched = TRUE;
    return m_patched;
}

BOOL CSkinApiHook::Unpatch() {
    if (!m_patched) return FALSE;
    const BOOL done = m_manager->PatchAllModules(m_moduleName, m_replacement, m_apiEntry);
    m_patched = FALSE;
    return done;
}
