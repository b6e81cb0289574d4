#include "CSkinEngine.h"

#include <mmsystem.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "CWinApp.h"
#include "SkinTables.h"

const UINT WM_SKINFRAMEWORK_QUERYSTATE = RegisterWindowMessageA("WM_SKINFRAMEWORK_QUERYSTATE");
const UINT WM_SKINFRAMEWORK_UPDATESTATE = RegisterWindowMessageA("WM_SKINFRAMEWORK_UPDATESTATE");

namespace {

constexpr UINT_PTR kReorderTimerId = 2765;
constexpr DWORD kEventObjectReorder = 0x8004;

DWORD ReadComctlVersion() {
    static const DWORD version = [] {
        DWORD v = 0;
        HMODULE m = GetModuleHandleA("comctl32.dll");
        if (!m) m = LoadLibraryA("comctl32.dll");
        if (m) {
            using Fn = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
            if (auto fn = reinterpret_cast<Fn>(GetProcAddress(m, "DllGetVersion"))) {
                DLLVERSIONINFO info = {};
                info.cbSize = sizeof(info);
                if (SUCCEEDED(fn(&info))) v = MAKELONG(info.dwMinorVersion, info.dwMajorVersion);
            }
        }
        return v;
    }();
    return version;
}

BOOL ReadIsWin9x() {
    static const BOOL win9x = [] {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
        return ok && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? TRUE : FALSE;
    }();
    return win9x;
}

std::unique_ptr<CSkinMenuSound>& MenuSoundSlot() {
    static std::unique_ptr<CSkinMenuSound> slot;
    return slot;
}

COLORREF Blend(COLORREF a, COLORREF b, int percentOfB) {
    auto mix = [&](int ca, int cb) { return static_cast<BYTE>((ca * (100 - percentOfB) + cb * percentOfB) / 100); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

BOOL CALLBACK PostSysColorChange(HWND hwnd, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId()) PostMessageA(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

std::wstring Upper(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return s;
}

}  // namespace

namespace skin {

bool IsSkinRefused(int bitsPerPixel, bool hasModuleEnumeration) {
    return (bitsPerPixel >= 1 && bitsPerPixel <= 8) || !hasModuleEnumeration;
}

bool HasModuleEnumeration() {
    // What the system offers does not change while the process runs: asked once.
    static const bool available = [] {
        if (HMODULE psapi = LoadLibraryA("PSAPI.DLL")) {
            FreeLibrary(psapi);
            return true;
        }
        HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
        return kernel && GetProcAddress(kernel, "CreateToolhelp32Snapshot");
    }();
    return available;
}

int DesktopBitsPerPixel() {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    if (!dc) return 0;
    int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(desktop, dc);
    return bits;
}

std::string ThemeColorName(const std::string& iniName) {
    std::string s = iniName;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (s.find("METALLIC", 1) != std::string::npos) s = "metallic";
    if (s.find("BLUE", 1) != std::string::npos) s = "normalcolor";
    if (s.find("HOMESTEAD", 1) != std::string::npos) s = "homestead";
    return s;
}

VisualStyle ClassifyVisualStyle(const std::wstring& themeFile, const std::wstring& colorName, int bitsPerPixel) {
    if (bitsPerPixel >= 1 && bitsPerPixel <= 8) return VisualStyle::None;
    if (themeFile.empty() && colorName.empty()) return VisualStyle::None;
    const std::wstring file = Upper(themeFile), color = Upper(colorName);
    if (file.find(L"ROYALE") != std::wstring::npos) return VisualStyle::Royale;
    if (file.find(L"AERO") != std::wstring::npos) return VisualStyle::Aero;
    if (color == L"NORMALCOLOR") return VisualStyle::NormalColor;
    if (color == L"HOMESTEAD") return VisualStyle::Homestead;
    if (color == L"METALLIC") return VisualStyle::Metallic;
    return VisualStyle::Other;
}

}  // namespace skin

// ---------------------------------------------------------------------------------------------
// CSkinMenuSound

CSkinMenuSound* CSkinMenuSound::Instance() {
    auto& slot = MenuSoundSlot();
    if (!slot) slot = std::make_unique<CSkinMenuSound>();
    return slot.get();
}

CSkinMenuSound* CSkinMenuSound::Existing() { return MenuSoundSlot().get(); }

namespace {
void PlaySystemMenuSound(int kind) {
    if (kind == CSkinMenuSound::Command)
        PlaySoundA("MenuCommand", nullptr, SND_ALIAS | SND_NOWAIT | SND_NODEFAULT);
    else if (kind == CSkinMenuSound::Popup)
        PlaySoundA("MenuPopup", nullptr, SND_ALIAS | SND_NOWAIT | SND_NODEFAULT);
}
}  // namespace

// Owned jointly by the object and its thread, so either may go first.
struct CSkinMenuSound::Shared {
    std::atomic<LONG> request{0};
    std::atomic<bool> stop{false};
    HANDLE wake = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<CSkinMenuSound::Player> player{nullptr};
    ~Shared() {
        if (wake) CloseHandle(wake);
    }
};

CSkinMenuSound::CSkinMenuSound() = default;

CSkinMenuSound::~CSkinMenuSound() { Stop(); }

void CSkinMenuSound::SetPlayer(Player player) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_player = player;
    if (m_shared) m_shared->player = player ? player : PlaySystemMenuSound;
}

BOOL CSkinMenuSound::IsRunning() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_thread != nullptr;
}

void CSkinMenuSound::Play(int kind) {
    if (!allowed || !allowed2) return;
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_thread) {
        auto shared = std::make_shared<Shared>();
        if (!shared->wake) return;
        shared->player = m_player ? m_player : PlaySystemMenuSound;
        auto* threadRef = new std::shared_ptr<Shared>(shared);
        HANDLE thread = CreateThread(nullptr, 0, ThreadProc, threadRef, CREATE_SUSPENDED, nullptr);
        if (!thread) {
            delete threadRef;
            return;
        }
        SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
        ResumeThread(thread);
        m_thread = thread;
        m_shared = std::move(shared);
    }
    m_shared->request.store(kind);
    SetEvent(m_shared->wake);
}

DWORD WINAPI CSkinMenuSound::ThreadProc(LPVOID param) {
    const std::unique_ptr<std::shared_ptr<Shared>> owned(static_cast<std::shared_ptr<Shared>*>(param));
    Shared& shared = **owned;
    while (!shared.stop.load()) {
        // Taken and cleared at once so that a request made while a sound plays is not lost.
        const LONG kind = shared.request.exchange(0);
        if (kind != None) shared.player.load()(kind);
        if (shared.request.load() != 0) continue;
        WaitForSingleObject(shared.wake, INFINITE);
        if (shared.stop.load()) break;
        ResetEvent(shared.wake);
    }
    PlaySoundA(nullptr, nullptr, SND_PURGE);
    return 0;
}

void CSkinMenuSound::Stop(DWORD timeoutMs) {
    HANDLE thread;
    std::shared_ptr<Shared> shared;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        thread = std::exchange(m_thread, nullptr);
        shared = std::move(m_shared);
    }
    if (!thread) return;
    shared->stop.store(true);
    SetEvent(shared->wake);
    // A thread still inside the player after the wait ends by itself; it holds its own share.
    WaitForSingleObject(thread, timeoutMs);
    CloseHandle(thread);
}

// ---------------------------------------------------------------------------------------------
// CSkinEngine

CSkinEngine* CSkinEngine::Instance() {
    // Made once even when threads ask first at the same time; destroyed from the exit list.
    static const std::unique_ptr<CSkinEngine> engine(new CSkinEngine());
    return engine.get();
}

CSkinEngine::CSkinEngine() {
    m_windowMap.reserve(199);
    InitializeCriticalSection(&m_critical);
    m_package = CSkinRef<CSkinPackage>::Adopt(new CSkinPackage());
    m_comctlVersion = ReadComctlVersion();
    m_isWin9x = ReadIsWin9x();
    for (int i = 0; i < 63; ++i) {
        m_shared[i] = 0;
        m_sharedOverride[i] = CLR_INVALID;
    }
    if (HMODULE user = GetModuleHandleA("USER32")) {
        m_pfnSetWinEventHook = reinterpret_cast<SetWinEventHookFn>(GetProcAddress(user, "SetWinEventHook"));
        m_pfnUnhookWinEvent = reinterpret_cast<UnhookWinEventFn>(GetProcAddress(user, "UnhookWinEvent"));
    }
    if (m_pfnSetWinEventHook && m_pfnUnhookWinEvent)
        m_winEventHook = m_pfnSetWinEventHook(kEventObjectReorder, kEventObjectReorder, nullptr, SkinWinEventProc,
                                              GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    // The window-creation hook for this thread comes with the window-integration layer's factory.
    RefreshSharedColors();
}

CSkinEngine::~CSkinEngine() {
    // Skin objects still draw with the schema while they let go of their windows.
    DetachAll();
    Publish(CSkinRef<CSkinPackage>(), CSkinRef<CSkinSchema>());
    if (m_interception) m_interception->RemoveAll();
    if (GetModuleHandleA("USER32") && m_winEventHook && m_pfnUnhookWinEvent) m_pfnUnhookWinEvent(m_winEventHook);
    m_winEventHook = nullptr;
    DeleteCriticalSection(&m_critical);
}

void CALLBACK CSkinEngine::SkinWinEventProc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG, DWORD,
                                            DWORD) {
    if (event != kEventObjectReorder || idObject != OBJID_WINDOW) return;
    CSkinEngine* engine = Instance();
    if (!(engine->m_applyOptions & SkinApplyFrame) || !engine->m_enabled) return;
    if (!engine->FindSkinObjectRef(hwnd) || !IsWindow(hwnd)) return;
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    // Through the timer procedure, never the window's own: its procedure knows nothing of this timer.
    if (style & (WS_BORDER | WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL))
        SetTimer(hwnd, kReorderTimerId, 1000, SkinTimerProc);
}

void CALLBACK CSkinEngine::SkinTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
    if (message != WM_TIMER) return;
    if (CSkinRef<CSkinWindowSink> sink = Instance()->FindSkinObjectRef(hwnd))
        sink->OnSkinTimer(id);
    else
        KillTimer(hwnd, id);
}

CSkinRef<CSkinSchema> CSkinEngine::AcquireSchema() const {
    CSkinReadWriteLock::Shared read(m_themeLock);
    return m_schema;
}

CSkinRef<CSkinPackage> CSkinEngine::AcquirePackage() const {
    CSkinReadWriteLock::Shared read(m_themeLock);
    return m_package;
}

CSkinSchema* CSkinEngine::GetSchema() const {
    CSkinReadWriteLock::Shared read(m_themeLock);
    return m_schema.Get();
}

CSkinMetrics* CSkinEngine::GetMetrics() const {
    CSkinReadWriteLock::Shared read(m_themeLock);
    return m_schema ? m_schema->GetMetrics() : nullptr;
}

CSkinPackage* CSkinEngine::GetPackage() const {
    CSkinReadWriteLock::Shared read(m_themeLock);
    return m_package.Get();
}

void CSkinEngine::Publish(CSkinRef<CSkinPackage> package, CSkinRef<CSkinSchema> schema) {
    {
        CSkinReadWriteLock::Exclusive write(m_themeLock);
        std::swap(m_package, package);
        std::swap(m_schema, schema);
    }
    // package and schema now hold the previous ones: the last reference may free them here.
}

BOOL CSkinEngine::LoadSkin(LPCSTR packagePath, LPCSTR iniFileName) {
    std::lock_guard<std::mutex> loading(m_loading);
    CSkinRef<CSkinSchema> previous;
    {
        CSkinReadWriteLock::Exclusive write(m_themeLock);
        std::swap(previous, m_schema);
    }
    previous.Reset();  // outside the lock: freeing a schema deletes its GDI objects and images
    if (m_interception) m_interception->RemoveAll();
    if (CSkinMenuSound* sound = CSkinMenuSound::Existing()) sound->Stop();
    const BOOL wasEnabled = m_enabled;
    m_enabled = FALSE;
    // A package and a schema of their own for each load: threads still drawing with the previous
    // schema keep it, and its package, until they let go.
    auto package = CSkinRef<CSkinPackage>::Adopt(new CSkinPackage());
    CSkinRef<CSkinSchema> schema;
    if (!skin::IsSkinRefused(skin::DesktopBitsPerPixel(), skin::HasModuleEnumeration()) &&
        package->Open(packagePath, iniFileName)) {
        schema = CSkinRef<CSkinSchema>::Adopt(new CSkinSchema(package.Get()));
        schema->ReadProperties();
        // Complete before any other thread can see it.
        schema->RefreshMetrics(m_applyOptions);
    }
    const bool loaded = static_cast<bool>(schema);
    Publish(package, schema);
    if (loaded) {
        m_enabled = TRUE;
        if (m_interception) m_interception->Install(m_applyOptions);
    }
    RefreshSharedColors();
    OnSkinChanged(wasEnabled, m_enabled);
    return m_enabled;
}

void CSkinEngine::SetApplyOptions(unsigned options) {
    std::lock_guard<std::mutex> loading(m_loading);
    m_applyOptions = options;
    if (!m_enabled) return;
    ReapplyInterception();
    if (CSkinRef<CSkinSchema> schema = AcquireSchema()) schema->RefreshMetrics(options);
    RefreshSharedColors();
    OnSkinChanged(m_enabled, m_enabled);
}

void CSkinEngine::ReapplyInterception() {
    if (!m_interception) return;
    m_interception->RemoveAll();
    m_interception->Install(m_applyOptions);
}

void CSkinEngine::SetInterception(std::unique_ptr<CSkinInterception> interception) {
    if (m_interception) m_interception->RemoveAll();
    m_interception = std::move(interception);
    if (m_interception && m_enabled) m_interception->Install(m_applyOptions);
}

void CSkinEngine::OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) {
    if (CWinApp* app = AfxGetApp())
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) ::SendMessageA(app->m_pMainWnd->m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EnumWindows(PostSysColorChange, 0);
    // Other threads enter windows through their creation hooks meanwhile: walk a snapshot taken
    // under the lock, each object held, and call the objects outside it.
    std::vector<std::pair<HWND, CSkinRef<CSkinWindowSink>>> entries;
    AcquireSRWLockShared(&m_mapLock);
    entries.reserve(m_windowMap.size());
    for (const auto& entry : m_windowMap) entries.emplace_back(entry.first, CSkinRef<CSkinWindowSink>::Share(entry.second));
    ReleaseSRWLockShared(&m_mapLock);
    for (const auto& entry : entries) {
        if (IsWindow(entry.first))
            entry.second->OnSkinChanged(wasEnabled, isEnabled);
        else
            DetachWindowIf(entry.first, entry.second.Get(), TRUE);
    }
}

CSkinWindowSink* CSkinEngine::AttachWindow(HWND hWnd, LPCSTR className, LPCREATESTRUCTA createStruct,
                                           BOOL autoAttached) {
    return m_factory ? m_factory->AttachWindow(hWnd, className, createStruct, autoAttached) : nullptr;
}

void CSkinEngine::InstallThreadHook() {
    if (m_factory) m_factory->InstallThreadHook();
}

CSkinClassTheme* CSkinEngine::GetThemeClass(CSkinWindowSink* owner, LPCSTR className) {
    if (CSkinSchema* own = owner ? owner->GetOwnSchema() : nullptr) return own->GetClassTheme(className);
    CSkinRef<CSkinSchema> schema = AcquireSchema();
    return schema ? schema->GetClassTheme(className) : nullptr;
}

COLORREF CSkinEngine::GetThemeSysColor(int index) const {
    const int i = index - skin::TMT_FIRSTCOLOR;
    CSkinRef<CSkinSchema> schema = AcquireSchema();
    if (!schema) return GetSysColor(i);
    if (i < 0 || i > 30) return CLR_INVALID;
    return schema->GetMetrics()->colors[i];
}

BOOL CSkinEngine::GetThemeSysBool(int propertyId) const {
    BOOL value = FALSE;
    CSkinRef<CSkinSchema> schema = AcquireSchema();
    if (!schema || schema->GetSchemaBool(skin::kClassSysMetrics, 0, 0, propertyId, &value) != S_OK) return FALSE;
    return value;
}

CSkinClassTheme* CSkinEngine::FindThemeClass(const void* handle) const {
    CSkinRef<CSkinSchema> schema = AcquireSchema();
    return schema ? schema->FindClassTheme(handle) : nullptr;
}

HRESULT CSkinEngine::GetCurrentThemeName(LPWSTR themeFile, int cchThemeFile, LPWSTR colorName, int cchColorName,
                                         LPWSTR, int) const {
    CSkinRef<CSkinPackage> package = AcquirePackage();
    if (!package || package->GetPackagePath().IsEmpty()) return E_FAIL;
    // As the system answers: as much as fits, always terminated, so a short buffer never holds garbage.
    auto copy = [](const std::string& text, LPWSTR out, int cch) {
        if (!out || cch <= 0) return;
        const int need = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        std::wstring wide(need > 0 ? static_cast<size_t>(need) : 1, L'\0');
        if (need > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], need);
        const size_t n = std::min(wcslen(wide.c_str()), static_cast<size_t>(cch) - 1);
        wmemcpy(out, wide.c_str(), n);
        out[n] = L'\0';
    };
    copy(package->GetPackagePath().str(), themeFile, cchThemeFile);
    copy(skin::ThemeColorName(package->GetIniFileName().str()), colorName, cchColorName);
    return S_OK;
}

void CSkinEngine::RefreshSharedColors() {
    m_shared[0] = 0;
    for (int i = 1; i <= 29; ++i) m_shared[i] = GetSysColor(i);
    const int bits = skin::DesktopBitsPerPixel();
    std::wstring file, color;
    if (m_enabled) {
        wchar_t f[MAX_PATH] = L"", c[MAX_PATH] = L"";
        if (GetCurrentThemeName(f, MAX_PATH, c, MAX_PATH, nullptr, 0) == S_OK) {
            file = f;
            color = c;
        }
    } else if (HMODULE ux = GetModuleHandleA("uxtheme.dll")) {
        using Fn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
        if (auto fn = reinterpret_cast<Fn>(GetProcAddress(ux, "GetCurrentThemeName"))) {
            wchar_t f[MAX_PATH] = L"", c[MAX_PATH] = L"";
            if (SUCCEEDED(fn(f, MAX_PATH, c, MAX_PATH, nullptr, 0))) {
                file = f;
                color = c;
            }
        }
    }
    m_visualStyle = skin::ClassifyVisualStyle(file, color, bits);
    COLORREF accent = GetSysColor(COLOR_HIGHLIGHT);
    switch (m_visualStyle) {
    case skin::VisualStyle::NormalColor: accent = RGB(49, 106, 197); break;
    case skin::VisualStyle::Homestead: accent = RGB(147, 160, 112); break;
    case skin::VisualStyle::Metallic: accent = RGB(165, 164, 189); break;
    case skin::VisualStyle::Royale: accent = RGB(51, 94, 168); break;
    case skin::VisualStyle::Aero: accent = RGB(51, 153, 255); break;
    case skin::VisualStyle::Other:
    case skin::VisualStyle::None: break;
    }
    // 30..40: accent toward the window colour; 41..51: face toward shadow; 52..62: highlight toward face.
    for (int j = 0; j <= 10; ++j) {
        m_shared[30 + j] = Blend(accent, GetSysColor(COLOR_WINDOW), j * 10);
        m_shared[41 + j] = Blend(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW), j * 10);
        m_shared[52 + j] = Blend(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_BTNFACE), j * 10);
    }
}

COLORREF CSkinEngine::GetSharedColor(int index) const {
    if (index > 62) return static_cast<COLORREF>(index);
    if (index < 0) return 0;
    return m_sharedOverride[index] != CLR_INVALID ? m_sharedOverride[index] : m_shared[index];
}

void CSkinEngine::SetSharedColorOverride(int index, COLORREF color) {
    if (index >= 0 && index <= 62) m_sharedOverride[index] = color;
}

CSkinWindowSink* CSkinEngine::FindSkinObject(HWND hwnd) {
    AcquireSRWLockShared(&m_mapLock);
    auto it = m_windowMap.find(hwnd);
    CSkinWindowSink* sink = it == m_windowMap.end() ? nullptr : it->second;
    ReleaseSRWLockShared(&m_mapLock);
    return sink;
}

CSkinRef<CSkinWindowSink> CSkinEngine::FindSkinObjectRef(HWND hwnd) {
    CSkinRef<CSkinWindowSink> ref;
    AcquireSRWLockShared(&m_mapLock);
    auto it = m_windowMap.find(hwnd);
    if (it != m_windowMap.end()) ref = CSkinRef<CSkinWindowSink>::Share(it->second);
    ReleaseSRWLockShared(&m_mapLock);
    return ref;
}

void CSkinEngine::AddSkinObject(HWND hwnd, CSkinWindowSink* object) {
    if (!object) return;
    CSkinWindowSink* previous = nullptr;
    AcquireSRWLockExclusive(&m_mapLock);
    CSkinWindowSink*& slot = m_windowMap[hwnd];
    previous = slot;
    slot = object;
    ReleaseSRWLockExclusive(&m_mapLock);
    if (previous && previous != object) {
        previous->DetachHook(FALSE);
        previous->Release();
    }
}

void CSkinEngine::DetachWindow(HWND hwnd, BOOL windowDestroyed) { DetachWindowIf(hwnd, nullptr, windowDestroyed); }

void CSkinEngine::DetachWindowIf(HWND hwnd, CSkinWindowSink* expected, BOOL windowDestroyed) {
    CSkinWindowSink* sink = nullptr;
    AcquireSRWLockExclusive(&m_mapLock);
    auto it = m_windowMap.find(hwnd);
    if (it != m_windowMap.end() && (!expected || it->second == expected)) {
        sink = it->second;
        m_windowMap.erase(it);
    }
    ReleaseSRWLockExclusive(&m_mapLock);
    if (sink) {
        sink->DetachHook(windowDestroyed);
        sink->Release();
    }
}

void CSkinEngine::DetachAll(BOOL restoreProcedures) {
    std::vector<CSkinWindowSink*> sinks;  // the map's references, taken over
    AcquireSRWLockExclusive(&m_mapLock);
    sinks.reserve(m_windowMap.size());
    for (const auto& entry : m_windowMap) sinks.push_back(entry.second);
    m_windowMap.clear();
    ReleaseSRWLockExclusive(&m_mapLock);
    for (CSkinWindowSink* sink : sinks) {
        if (restoreProcedures) sink->DetachHook(FALSE);
        sink->Release();
    }
}

size_t CSkinEngine::GetSkinObjectCount() {
    AcquireSRWLockShared(&m_mapLock);
    size_t n = m_windowMap.size();
    ReleaseSRWLockShared(&m_mapLock);
    return n;
}
