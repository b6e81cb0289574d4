#include "SkinRoutes.h"

#include <memory>

#include "CSkinHookManager.h"
#include "CSkinModuleEnumerator.h"
#include "CSkinObjectBase.h"

namespace skin {

namespace {

CSkinEngine* Engine() { return CSkinEngine::Instance(); }

// Old platforms put the system's procedures above this line.
constexpr ULONG_PTR kWin9xSystemLine = 0x6FFFFFFF;

struct ModuleRange {
    HMODULE handle = nullptr;
    ULONG_PTR base = 0;
    ULONG_PTR size = 0;
    bool Contains(ULONG_PTR value) const { return size && value > base && value < base + size; }
};

ModuleRange Measure(HMODULE handle) {
    ModuleRange range;
    range.handle = handle;
    if (!handle) return range;
    std::unique_ptr<CSkinModuleEnumerator> enumerator = CSkinModuleEnumerator::Create();
    std::vector<SkinModuleInfo> modules;
    if (!enumerator || !enumerator->Enumerate(modules)) return range;
    for (const SkinModuleInfo& m : modules)
        if (m.module == handle) {
            range.base = reinterpret_cast<ULONG_PTR>(m.base);
            range.size = m.size;
        }
    return range;
}

bool IsNt51OrLater() {
    static const bool answer = [] {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
        return info.dwPlatformId == VER_PLATFORM_WIN32_NT &&
               (info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1));
    }();
    return answer;
}

struct SystemModules {
    SRWLOCK lock = SRWLOCK_INIT;
    ModuleRange user32, ntdll, comctl32;
    bool measured = false;
};

SystemModules& Modules() {
    static SystemModules modules;
    return modules;
}

struct ThreadStartRecord {
    LPTHREAD_START_ROUTINE start;
    LPVOID param;
};

DWORD WINAPI ThreadStartThroughHook(LPVOID p) {
    std::unique_ptr<ThreadStartRecord> record(static_cast<ThreadStartRecord*>(p));
    const LPTHREAD_START_ROUTINE start = record->start;
    const LPVOID param = record->param;
    record.reset();
    Engine()->InstallThreadHook();
    return start(param);
}

}  // namespace

bool IsThunkHandle(WNDPROC procedure) {
    // The platform's ANSI/Unicode thunks: 0xFFFF0000 and up in the low 32 bits, with nothing or
    // a sign extension above them on 64-bit targets (image addresses there are far above 4 GB).
    const auto value = static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(procedure));
    const unsigned long long low = value & 0xFFFFFFFFull, high = value >> 32;
    return low >= 0xFFFF0000ull && (high == 0 || high == 0xFFFFFFFFull);
}

BOOL IsSystemWindowProc(WNDPROC procedure) {
    const auto value = reinterpret_cast<ULONG_PTR>(procedure);
    if (IsThunkHandle(procedure)) return TRUE;
    SystemModules& modules = Modules();
    const HMODULE comctl = GetModuleHandleA("COMCTL32.DLL");
    AcquireSRWLockShared(&modules.lock);
    const bool current = modules.measured && modules.comctl32.handle == comctl;
    ReleaseSRWLockShared(&modules.lock);
    if (!current) {
        // Another version of the common controls may have been loaded since the last look.
        // Measured outside the lock: enumerating takes the loader's lock, and a thread holding
        // that one may be creating a window and asking us.
        const ModuleRange comctlRange = Measure(comctl);
        ModuleRange userRange, ntdllRange;
        AcquireSRWLockShared(&modules.lock);
        const bool measured = modules.measured;
        ReleaseSRWLockShared(&modules.lock);
        if (!measured) {
            userRange = Measure(GetModuleHandleA("USER32.DLL"));
            if (IsNt51OrLater()) ntdllRange = Measure(GetModuleHandleA("NTDLL.DLL"));
        }
        AcquireSRWLockExclusive(&modules.lock);
        if (!modules.measured) {
            modules.user32 = userRange;
            modules.ntdll = ntdllRange;
            modules.measured = true;
        }
        modules.comctl32 = comctlRange;
        ReleaseSRWLockExclusive(&modules.lock);
    }
    AcquireSRWLockShared(&modules.lock);
    const bool inside = modules.user32.Contains(value) || modules.comctl32.Contains(value) || modules.ntdll.Contains(value);
    ReleaseSRWLockShared(&modules.lock);
    return inside ? TRUE : FALSE;
}

CSkinRef<CSkinObjectBase> FindSkinObjectRef(HWND hWnd) {
    CSkinRef<CSkinWindowSink> sink = Engine()->FindSkinObjectRef(hWnd);
    CSkinObjectBase* object = sink ? sink->GetSkinObject() : nullptr;
    return CSkinRef<CSkinObjectBase>::Share(object);
}

#ifdef TAMRIVEL_TEST_HOOKS
namespace {
// "TAMRIVEL_TEST_SKINMAP": wParam 0 asks for the number of attached windows, a window handle
// whether that window is attached.
const UINT WM_TEST_SKINMAP = RegisterWindowMessageA("TAMRIVEL_TEST_SKINMAP");
}  // namespace
#endif

LRESULT CALLBACK SkinWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
#ifdef TAMRIVEL_TEST_HOOKS
    if (message == WM_TEST_SKINMAP) {
        if (!wParam) return static_cast<LRESULT>(Engine()->GetSkinObjectCount());
        return Engine()->FindSkinObjectRef(reinterpret_cast<HWND>(wParam)) ? 1 : 0;
    }
#endif
    // Held for the whole call: a detach on the way (WM_NCDESTROY) must not free it under us.
    CSkinRef<CSkinObjectBase> object = FindSkinObjectRef(hWnd);
    if (!object) return 0;
    if (message == WM_HOOKMANAGER_SINKREMOVED) {
        // A subclasser below us leaves: we link past it.
        if (object->GetPreviousProc() == reinterpret_cast<WNDPROC>(wParam)) {
            object->SetPreviousProc(reinterpret_cast<WNDPROC>(lParam));
            return 1;
        }
        return object->CallPrevious(object->GetPreviousProc(), message, wParam, lParam);
    }
    CSkinEngine* engine = object->GetEngine() ? object->GetEngine() : Engine();
    if (!engine->IsEnabled()) {
        if (message == WM_NCDESTROY) engine->DetachWindow(hWnd, TRUE);
        return object->CallPrevious(object->GetPreviousProc(), message, wParam, lParam);
    }
    CurrentMessageScope scope(hWnd, message, wParam, lParam);
    LRESULT result = 0;
    BOOL handled = FALSE;
    if (message == WM_NCDESTROY) {
        engine->DetachWindow(hWnd, TRUE);
    } else if (!object->IsOptedOut() || message == WM_SKINFRAMEWORK_UPDATESTATE) {
        object->PushMessage(message, RouteSubclass, nullptr, nullptr);
        handled = object->OnSubclassMessage(message, wParam, lParam, result);
        object->PopMessage();
    }
    if (!handled) result = object->CallPrevious(object->GetPreviousProc(), message, wParam, lParam);
    return result;
}

BOOL DefaultProcRoute(HWND hWnd, void* apiEntry, int route, void* previousOrExtra, UINT message,
                      WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    CSkinEngine* engine = Engine();
    if (!engine->IsEnabled()) return FALSE;
    CSkinRef<CSkinObjectBase> object = FindSkinObjectRef(hWnd);
    if (!object) return FALSE;
    // An opted-out window must still be able to opt back in.
    if (object->IsOptedOut() && message != WM_SKINFRAMEWORK_UPDATESTATE) return FALSE;
    if (message == object->CurrentMessage()) return FALSE;
    if (message == WM_NCDESTROY && !object->IsSubclassed()) {
        engine->DetachWindow(hWnd, TRUE);
        return FALSE;
    }
    const auto previous = reinterpret_cast<WNDPROC>(previousOrExtra);
    const bool takeIt = route != RouteCallWindowProc || !object->PrefersDefaultRoute(message) ||
                        IsSystemWindowProc(previous) || !previous ||
                        (engine->IsWin9x() && reinterpret_cast<ULONG_PTR>(previous) > kWin9xSystemLine);
    if (!takeIt) return FALSE;
    CurrentMessageScope scope(hWnd, message, wParam, lParam);
    object->PushMessage(message, route, apiEntry, previousOrExtra);
    const BOOL handled = object->OnDefaultProcMessage(message, wParam, lParam, result);
    object->PopMessage();
    return handled;
}

HANDLE CreateThreadThroughHook(void* apiEntry, LPSECURITY_ATTRIBUTES sa, SIZE_T stack,
                               LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags, LPDWORD id) {
    using CreateThreadFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
    auto create = reinterpret_cast<CreateThreadFn>(apiEntry);
    if (!create) create = reinterpret_cast<CreateThreadFn>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "CreateThread"));
    CSkinEngine* engine = Engine();
    if (!start || !engine->IsEnabled() || !engine->attachNewThreads) return create(sa, stack, start, param, flags, id);
    auto record = std::make_unique<ThreadStartRecord>(ThreadStartRecord{start, param});
    const HANDLE thread = create(sa, stack, ThreadStartThroughHook, record.get(), flags, id);
    if (thread) {
        record.release();  // the new thread frees it
    } else {
        const DWORD error = GetLastError();
        record.reset();
        SetLastError(error);
    }
    return thread;
}

}  // namespace skin
