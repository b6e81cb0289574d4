// Loading, lookup, thread creation and class registration: the replacements that keep the
// interception complete as modules, threads and window classes arrive.
#include <cstring>

#include "SkinHookSupport.h"
#include "SkinImportTable.h"
#include "SkinReplacements.h"
#include "SkinRoutes.h"

namespace skin {
namespace hooks {

namespace {

HMODULE AfterLoad(HMODULE module, DWORD flags) {
    if (module) {
        LastErrorKeeper keep;
        Manager()->OnModuleLoaded(module, flags);
    }
    return module;
}

bool IsUxThemeName(const char* name) { return EqualsAsciiNoCase(name, "UxTheme.dll"); }

}  // namespace

HMODULE WINAPI SkinLoadLibraryA(LPCSTR name) {
    return AfterLoad(SystemEntry<decltype(&::LoadLibraryA)>(SlotLoadLibraryA)(name), 0);
}

HMODULE WINAPI SkinLoadLibraryW(LPCWSTR name) {
    return AfterLoad(SystemEntry<decltype(&::LoadLibraryW)>(SlotLoadLibraryW)(name), 0);
}

HMODULE WINAPI SkinLoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags) {
    return AfterLoad(SystemEntry<decltype(&::LoadLibraryExA)>(SlotLoadLibraryExA)(name, file, flags), flags);
}

HMODULE WINAPI SkinLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
    return AfterLoad(SystemEntry<decltype(&::LoadLibraryExW)>(SlotLoadLibraryExW)(name, file, flags), flags);
}

HMODULE WINAPI SkinApiSetLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
    return AfterLoad(SystemEntry<decltype(&::LoadLibraryExW)>(SlotApiSetLoadLibraryExW)(name, file, flags), flags);
}

HMODULE WINAPI SkinGetModuleHandleA(LPCSTR name) {
    if (name && IsUxThemeName(name) && SkinOn(SkinApplyColors))
        return UxThemePseudoHandle();
    return SystemEntry<decltype(&::GetModuleHandleA)>(SlotGetModuleHandleA)(name);
}

FARPROC WINAPI SkinGetProcAddress(HMODULE module, LPCSTR name) {
    auto system = SystemEntry<decltype(&::GetProcAddress)>(SlotGetProcAddress);
    if (reinterpret_cast<ULONG_PTR>(name) <= 0xFFFE) return system(module, name);
    const bool pseudo = module == UxThemePseudoHandle();
    if (!pseudo) {
        LastErrorKeeper keep;
        char path[MAX_PATH] = "";
        if (!GetModuleFileNameA(module, path, MAX_PATH)) return system(module, name);
        const char* slash = std::strrchr(path, '\\');
        if (!IsUxThemeName(slash ? slash + 1 : path)) return system(module, name);
    }
    if (void* replacement = Manager()->FindUxThemeReplacement(name)) return reinterpret_cast<FARPROC>(replacement);
    // The pseudo handle is no module: what the skin does not serve comes from the real library
    // when it is loaded, rather than failing for a function that exists.
    if (pseudo) {
        HMODULE real = Manager()->SystemGetModuleHandleA("uxtheme.dll");
        if (!real) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return nullptr;
        }
        return system(real, name);
    }
    return system(module, name);
}

HANDLE WINAPI SkinCreateThread(LPSECURITY_ATTRIBUTES sa, SIZE_T stack, LPTHREAD_START_ROUTINE start, LPVOID param,
                               DWORD flags, LPDWORD id) {
    void* entry = Manager()->GetSystemEntry(SlotCreateThread);
    return CreateThreadThroughHook(entry, sa, stack, start, param, flags, id);
}

namespace {

// A class whose procedure is one of our default-procedure replacements gets the system's own
// procedure instead: the window must not keep a procedure that lives only while skinned.
template <typename WNDCLASST, typename Register>
ATOM RegisterWithSystemProcedure(const WNDCLASST* wc, Register system, const void* const (&replacements)[4],
                                 const int (&slots)[4]) {
    if (wc) {
        for (int i = 0; i < 4; ++i) {
            if (reinterpret_cast<const void*>(wc->lpfnWndProc) != replacements[i]) continue;
            if (void* entry = Manager()->GetSystemEntry(slots[i])) {
                WNDCLASST copy = *wc;
                copy.lpfnWndProc = reinterpret_cast<WNDPROC>(entry);
                return system(&copy);
            }
        }
    }
    return system(wc);
}

}  // namespace

ATOM WINAPI SkinRegisterClassA(const WNDCLASSA* wc) {
    static const void* const replacements[4] = {reinterpret_cast<const void*>(SkinDefWindowProcA),
                                                reinterpret_cast<const void*>(SkinDefFrameProcA),
                                                reinterpret_cast<const void*>(SkinDefMDIChildProcA),
                                                reinterpret_cast<const void*>(SkinDefDlgProcA)};
    static const int slots[4] = {SlotDefWindowProcA, SlotDefFrameProcA, SlotDefMDIChildProcA, SlotDefDlgProcA};
    return RegisterWithSystemProcedure(wc, SystemEntry<decltype(&::RegisterClassA)>(SlotRegisterClassA), replacements,
                                       slots);
}

ATOM WINAPI SkinRegisterClassW(const WNDCLASSW* wc) {
    static const void* const replacements[4] = {reinterpret_cast<const void*>(SkinDefWindowProcW),
                                                reinterpret_cast<const void*>(SkinDefFrameProcW),
                                                reinterpret_cast<const void*>(SkinDefMDIChildProcW),
                                                reinterpret_cast<const void*>(SkinDefDlgProcW)};
    static const int slots[4] = {SlotDefWindowProcW, SlotDefFrameProcW, SlotDefMDIChildProcW, SlotDefDlgProcW};
    return RegisterWithSystemProcedure(wc, SystemEntry<decltype(&::RegisterClassW)>(SlotRegisterClassW), replacements,
                                       slots);
}

}  // namespace hooks
}  // namespace skin
