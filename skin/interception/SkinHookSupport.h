#pragma once
// What the replacements share: the system entry of a slot, and the engine and theme metrics
// while the skin applies with the options a replacement depends on.
#include <windows.h>

#include "CSkinApiHookManager.h"
#include "CSkinEngine.h"
#include "CSkinSchema.h"
#include "SkinHookSlots.h"

namespace skin {
namespace hooks {

inline CSkinApiHookManager* Manager() { return CSkinApiHookManager::Instance(); }

template <typename F>
F SystemEntry(int slot) {
    return reinterpret_cast<F>(Manager()->GetSystemEntry(slot));
}

// The engine while the hooks are in, a theme is loaded and every bit of options is set; else null.
inline CSkinEngine* SkinOn(unsigned options) {
    CSkinEngine* engine = Manager()->ActiveEngine();
    if (!engine || !engine->IsEnabled() || (engine->GetApplyOptions() & options) != options) return nullptr;
    return engine->GetSchema() ? engine : nullptr;
}

inline CSkinMetrics* SkinMetrics(unsigned options) {
    CSkinEngine* engine = SkinOn(options);
    return engine ? engine->GetMetrics() : nullptr;
}

// Work done around a system call must not change what the caller reads from GetLastError.
class LastErrorKeeper {
public:
    LastErrorKeeper() : m_error(GetLastError()) {}
    ~LastErrorKeeper() { SetLastError(m_error); }
    LastErrorKeeper(const LastErrorKeeper&) = delete;
    LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

private:
    DWORD m_error;
};

}  // namespace hooks
}  // namespace skin
