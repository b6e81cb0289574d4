// The skin manager: options, loading and its refusals, the notices sent when the skin changes,
// the theme queries the visual-styles answers use, the shared colours and the menu sounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinTables.h"
#include "SkinTestSupport.h"
#include "Wait.h"

using namespace skintest;

namespace {

int g_sysColorChanges = 0;
int g_reorderTimers = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOLORCHANGE) ++g_sysColorChanges;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SkinEngineTestWindow";
        return RegisterClassA(&wc);
    }();
    (void)atom;
    return CreateWindowExA(0, "SkinEngineTestWindow", "t", style, 10, 10, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Everything already posted to this thread's windows (the notices are posted at once).
void Drain() { harness::PumpMessages(0); }

// A manager of the test's own: "before any load" holds whatever ran before in this program.
class FreshEngine : public CSkinEngine {
public:
    FreshEngine() = default;
};

// Out-of-context window events reach the engine's hook through this thread's messages; a hook of
// the test's own, installed after the engine's, tells when an event has been handed out.
class ReorderWatch {
public:
    ReorderWatch() {
        s_seen = 0;
        m_hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, nullptr, Proc, GetCurrentProcessId(), 0,
                                 WINEVENT_OUTOFCONTEXT);
    }
    ~ReorderWatch() {
        if (m_hook) UnhookWinEvent(m_hook);
    }
    // Raises the event for hwnd and returns once every hook of this thread has had it.
    bool Deliver(HWND hwnd) {
        const int before = s_seen;
        NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd, OBJID_WINDOW, CHILDID_SELF);
        const bool seen = harness::WaitUntil([&] { return s_seen > before; }, 10000, 5);
        Drain();
        return seen;
    }
    bool Installed() const { return m_hook != nullptr; }

private:
    static void CALLBACK Proc(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++s_seen; }
    static int s_seen;
    HWINEVENTHOOK m_hook;
};
int ReorderWatch::s_seen = 0;

// Lives on the test's stack: the references the engine takes and drops are only counted.
struct FakeSink : CSkinWindowSink {
    std::vector<std::pair<BOOL, BOOL>> changes;
    bool detached = false;
    LONG refs = 1;
    HWND window = nullptr;
    CSkinSchema* own = nullptr;
    LONG AddRef() override { return ++refs; }
    LONG Release() override { return --refs; }
    void OnSkinChanged(BOOL was, BOOL is) override { changes.emplace_back(was, is); }
    void DetachHook(BOOL) override { detached = true; }
    // The frame's answer to its re-synchronisation timer: once, then stopped.
    void OnSkinTimer(UINT_PTR id) override {
        if (id != 2765) return;
        ++g_reorderTimers;
        if (window) KillTimer(window, id);
    }
    CSkinSchema* GetOwnSchema() const override { return own; }
};

struct FakeInterception : CSkinInterception {
    std::vector<std::string>* log;
    explicit FakeInterception(std::vector<std::string>* l) : log(l) {}
    void Install(unsigned options) override { log->push_back("install " + std::to_string(options)); }
    void RemoveAll() override { log->push_back("remove"); }
};

std::string ProgramPath() {
    char path[MAX_PATH] = "";
    if (GetEnvironmentVariableA("TAMRIVEL_EXE", path, MAX_PATH) &&
        GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return path;
    return std::string();
}

}  // namespace

TEST(SkinEngine, RegisteredMessages) {
    EXPECT_NE(0u, WM_SKINFRAMEWORK_QUERYSTATE);
    EXPECT_EQ(RegisterWindowMessageA("WM_SKINFRAMEWORK_QUERYSTATE"), WM_SKINFRAMEWORK_QUERYSTATE);
    EXPECT_EQ(RegisterWindowMessageA("WM_SKINFRAMEWORK_UPDATESTATE"), WM_SKINFRAMEWORK_UPDATESTATE);
    EXPECT_NE(WM_SKINFRAMEWORK_QUERYSTATE, WM_SKINFRAMEWORK_UPDATESTATE);
}

TEST(SkinEngine, OptionsBeforeAnyLoadAreOnlyStored) {
    EXPECT_EQ(CSkinEngine::Instance(), CSkinEngine::Instance());
    FreshEngine fresh;
    CSkinEngine* engine = &fresh;
    ASSERT_FALSE(engine->IsEnabled());
    EXPECT_EQ(nullptr, engine->GetSchema());
    EXPECT_EQ(nullptr, engine->GetMetrics());
    EXPECT_EQ(15u, engine->GetApplyOptions());
    std::vector<std::string> log;
    engine->SetInterception(std::make_unique<FakeInterception>(&log));
    log.clear();
    HWND w = MakeWindow();
    Drain();
    g_sysColorChanges = 0;
    engine->SetApplyOptions(engine->GetApplyOptions() | SkinApplyMetrics);
    EXPECT_EQ(15u, engine->GetApplyOptions());
    engine->SetApplyOptions(3);
    EXPECT_EQ(3u, engine->GetApplyOptions());
    Drain();
    EXPECT_EQ(0, g_sysColorChanges);
    EXPECT_TRUE(log.empty());
    engine->SetApplyOptions(SkinApplyAll);
    engine->SetInterception(nullptr);
    DestroyWindow(w);
}

TEST(SkinEngine, LoadSkinRefusals) {
    EXPECT_TRUE(skin::IsSkinRefused(8, true));
    EXPECT_TRUE(skin::IsSkinRefused(1, true));
    EXPECT_TRUE(skin::IsSkinRefused(24, false));
    EXPECT_FALSE(skin::IsSkinRefused(16, true));
    EXPECT_FALSE(skin::IsSkinRefused(32, true));
    EXPECT_TRUE(skin::HasModuleEnumeration());
    EXPECT_GT(skin::DesktopBitsPerPixel(), 8);

    CSkinEngine* engine = CSkinEngine::Instance();
    TempDir dir;
    dir.Write("notamodule.exe", "plain text");
    EXPECT_FALSE(engine->LoadSkin("", nullptr));
    EXPECT_FALSE(engine->LoadSkin(nullptr, nullptr));
    EXPECT_FALSE(engine->LoadSkin(dir.Path().c_str(), "missing.ini"));
    EXPECT_FALSE(engine->LoadSkin(dir.File("notamodule.exe").c_str(), nullptr));
    EXPECT_FALSE(engine->LoadSkin("kernel32.dll", nullptr));  // a module without a theme
    EXPECT_FALSE(engine->LoadSkin(ExePath().c_str(), "NoSuch.ini"));
    EXPECT_FALSE(engine->IsEnabled());
    EXPECT_EQ(nullptr, engine->GetSchema());

    // An index without a "[File." section gives no default theme.
    CSkinPackage* package = engine->GetPackage();
    EXPECT_FALSE(package->Open("kernel32.dll", nullptr));
    EXPECT_STREQ("", package->GetIniFileName());
}

TEST(SkinEngine, LoadsTheProgramsOwnTheme) {
    CSkinEngine* engine = CSkinEngine::Instance();
    const std::string program = ProgramPath();
    if (program.empty()) GTEST_SKIP() << "TAMRIVEL_EXE not set";
    ASSERT_TRUE(engine->LoadSkin(program.c_str(), nullptr));
    EXPECT_STREQ("NormalSilver_ini", engine->GetPackage()->GetIniFileName());
    EXPECT_EQ(126, engine->GetSchema()->GetAcceptedSectionCount());
    EXPECT_TRUE(engine->GetPackage()->OpenImage("SILVER\\BUTTON.PNG") != nullptr);
}

TEST(SkinEngine, LoadsByNameAndWithAnExplicitThemeName) {
    CSkinEngine* engine = CSkinEngine::Instance();
    // Started by name without ".exe", the program passes that name as its path.
    std::string exe = ExePath();
    size_t slash = exe.find_last_of('\\');
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, cwd);
    SetCurrentDirectoryA(exe.substr(0, slash).c_str());
    std::string name = exe.substr(slash + 1);
    name.erase(name.size() - 4);
    EXPECT_TRUE(engine->LoadSkin(name.c_str(), nullptr));
    SetCurrentDirectoryA(cwd);
    // A theme name with no file beside the module names the module's resource.
    EXPECT_TRUE(engine->LoadSkin(exe.c_str(), "NormalSilver.ini"));
    EXPECT_FALSE(engine->GetPackage()->IsFolderMode());
    EXPECT_EQ(126, engine->GetSchema()->GetAcceptedSectionCount());
}

TEST(SkinEngine, SkinChangeNoticesReachWindowsAndSkinObjects) {
    CSkinEngine* engine = CSkinEngine::Instance();
    engine->LoadSkin("", nullptr);
    std::vector<std::string> log;
    engine->SetInterception(std::make_unique<FakeInterception>(&log));
    HWND live = MakeWindow();
    HWND dead = MakeWindow();
    FakeSink liveSink, deadSink;
    engine->AddSkinObject(live, &liveSink);
    engine->AddSkinObject(dead, &deadSink);
    DestroyWindow(dead);
    Drain();
    g_sysColorChanges = 0;
    log.clear();

    ASSERT_TRUE(engine->LoadSkin(ExePath().c_str(), nullptr));
    Drain();
    EXPECT_GE(g_sysColorChanges, 1);
    ASSERT_EQ(1u, liveSink.changes.size());
    EXPECT_EQ(FALSE, liveSink.changes[0].first);
    EXPECT_EQ(TRUE, liveSink.changes[0].second);
    EXPECT_TRUE(deadSink.detached);
    EXPECT_TRUE(deadSink.changes.empty());
    // The walk's own references are gone again; the stale entry's is dropped with it.
    EXPECT_EQ(1, liveSink.refs);
    EXPECT_EQ(0, deadSink.refs);
    EXPECT_EQ(nullptr, engine->FindSkinObject(dead));
    EXPECT_EQ(&liveSink, engine->FindSkinObject(live));
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("remove", log[0]);
    EXPECT_EQ("install 15", log[1]);

    // Options while loaded: interception again, metrics refreshed, objects told with TRUE twice.
    log.clear();
    engine->SetApplyOptions(SkinApplyAll & ~SkinApplyMetrics);
    ASSERT_EQ(2u, liveSink.changes.size());
    EXPECT_EQ(TRUE, liveSink.changes[1].first);
    EXPECT_EQ(TRUE, liveSink.changes[1].second);
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("install 14", log[1]);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), engine->GetMetrics()->captionHeight);
    engine->SetApplyOptions(SkinApplyAll);
    EXPECT_EQ(26, engine->GetMetrics()->captionHeight);

    // Turning the skin off tells every object, and they go back to the system's look.
    g_sysColorChanges = 0;
    EXPECT_FALSE(engine->LoadSkin("", nullptr));
    Drain();
    EXPECT_GE(g_sysColorChanges, 1);
    EXPECT_EQ(TRUE, liveSink.changes.back().first);
    EXPECT_EQ(FALSE, liveSink.changes.back().second);
    EXPECT_EQ("remove", log.back());

    engine->DetachWindow(live);
    EXPECT_TRUE(liveSink.detached);
    EXPECT_EQ(0u, engine->GetSkinObjectCount());
    engine->SetInterception(nullptr);
    DestroyWindow(live);
}

TEST(SkinEngine, ThemeQueries) {
    CSkinEngine* engine = CSkinEngine::Instance();
    engine->LoadSkin("", nullptr);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), engine->GetThemeSysColor(1601 + COLOR_WINDOW));
    EXPECT_EQ(nullptr, engine->GetThemeClass(nullptr, "BUTTON"));
    EXPECT_FALSE(engine->GetThemeSysBool(skin::TMT_FLATMENUS));

    ASSERT_TRUE(engine->LoadSkin(ExePath().c_str(), nullptr));
    EXPECT_EQ(RGB(238, 238, 244), engine->GetThemeSysColor(1616));
    EXPECT_EQ(RGB(180, 201, 233), engine->GetThemeSysColor(1630));
    EXPECT_EQ(CLR_INVALID, engine->GetThemeSysColor(1600));
    EXPECT_EQ(CLR_INVALID, engine->GetThemeSysColor(1632));
    EXPECT_TRUE(engine->GetThemeSysBool(skin::TMT_FLATMENUS));
    EXPECT_FALSE(engine->GetThemeSysBool(skin::TMT_CAPTIONBARHEIGHT));  // an int, not a BOOL
    EXPECT_FALSE(engine->GetThemeSysBool(2201));

    CSkinClassTheme* button = engine->GetThemeClass(nullptr, "button");
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(button, engine->GetThemeClass(nullptr, "BUTTON"));
    EXPECT_EQ(nullptr, engine->GetThemeClass(nullptr, "NOSUCHCLASS"));
    EXPECT_EQ(button, engine->FindThemeClass(button));
    int local = 0;
    EXPECT_EQ(nullptr, engine->FindThemeClass(&local));
    EXPECT_EQ(nullptr, engine->FindThemeClass(nullptr));

    // A skin object with a schema of its own reads from it.
    auto own = SchemaFromText("[Button]\nTextColor = 1 2 3\n");
    FakeSink sink;
    sink.own = own.Get();
    CSkinClassTheme* ownButton = engine->GetThemeClass(&sink, "BUTTON");
    ASSERT_NE(nullptr, ownButton);
    EXPECT_EQ(own.Get(), ownButton->GetSchema());
    EXPECT_EQ(nullptr, engine->FindThemeClass(ownButton));
    FakeSink plain;
    EXPECT_EQ(button, engine->GetThemeClass(&plain, "BUTTON"));
}

TEST(SkinEngine, ThemeNameAnswer) {
    EXPECT_EQ("normalcolor", skin::ThemeColorName("NormalBlue.ini"));
    EXPECT_EQ("BLUEGREY_INI", skin::ThemeColorName("BlueGrey_ini"));
    EXPECT_EQ("metallic", skin::ThemeColorName("xMetallic"));
    EXPECT_EQ("homestead", skin::ThemeColorName("a_homestead"));
    EXPECT_EQ("HOMESTEAD", skin::ThemeColorName("Homestead"));
    EXPECT_EQ("normalcolor", skin::ThemeColorName("MetallicBlue"));  // METALLIC at the start does not count
    EXPECT_EQ("NORMALSILVER_INI", skin::ThemeColorName("NormalSilver_ini"));

    CSkinEngine* engine = CSkinEngine::Instance();
    const std::string exe = ExePath();
    ASSERT_TRUE(engine->LoadSkin(exe.c_str(), nullptr));
    wchar_t file[MAX_PATH] = L"", color[64] = L"", size[16] = L"untouched";
    ASSERT_EQ(S_OK, engine->GetCurrentThemeName(file, MAX_PATH, color, 64, size, 16));
    EXPECT_EQ(exe, skin::ToAnsi(file));
    EXPECT_STREQ(L"NORMALSILVER_INI", color);
    EXPECT_STREQ(L"untouched", size);
    // Buffers too small get as much as fits, terminated, as the system answers.
    wchar_t shortFile[4] = L"xyz", shortColor[5] = L"wxyz", one[1] = {L'q'};
    ASSERT_EQ(S_OK, engine->GetCurrentThemeName(shortFile, 4, shortColor, 5, nullptr, 0));
    EXPECT_EQ(std::wstring(file).substr(0, 3), std::wstring(shortFile));
    EXPECT_STREQ(L"NORM", shortColor);
    ASSERT_EQ(S_OK, engine->GetCurrentThemeName(one, 1, nullptr, 0, nullptr, 0));
    EXPECT_EQ(L'\0', one[0]);
    EXPECT_EQ(skin::VisualStyle::Other, engine->GetVisualStyle());

    engine->LoadSkin("", nullptr);
    EXPECT_EQ(E_FAIL, engine->GetCurrentThemeName(file, MAX_PATH, color, 64, nullptr, 0));
    EXPECT_EQ(skin::VisualStyle::NormalColor, skin::ClassifyVisualStyle(L"Plain.style", L"NormalColor", 32));
    EXPECT_EQ(skin::VisualStyle::None, skin::ClassifyVisualStyle(L"Plain.style", L"NormalColor", 8));
    EXPECT_EQ(skin::VisualStyle::Royale, skin::ClassifyVisualStyle(L"C:\\x\\Royale.style", L"x", 32));
    EXPECT_EQ(skin::VisualStyle::None, skin::ClassifyVisualStyle(L"", L"", 32));
}

TEST(SkinEngine, SharedColours) {
    CSkinEngine* engine = CSkinEngine::Instance();
    engine->RefreshSharedColors();
    EXPECT_EQ(0u, engine->GetSharedColor(0));
    EXPECT_EQ(GetSysColor(15), engine->GetSharedColor(15));
    EXPECT_EQ(GetSysColor(29), engine->GetSharedColor(29));
    EXPECT_EQ(static_cast<COLORREF>(0x123456), engine->GetSharedColor(0x123456));
    for (int i = 30; i <= 62; ++i) EXPECT_NE(CLR_INVALID, engine->GetSharedColor(i));
    engine->SetSharedColorOverride(15, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), engine->GetSharedColor(15));
    engine->SetSharedColorOverride(15, CLR_INVALID);
    EXPECT_EQ(GetSysColor(15), engine->GetSharedColor(15));
}

TEST(SkinEngine, MenuSoundThread) {
    CSkinMenuSound* sound = CSkinMenuSound::Instance();
    EXPECT_EQ(sound, CSkinMenuSound::Existing());
    sound->allowed = FALSE;
    sound->Play(CSkinMenuSound::Popup);
    EXPECT_FALSE(sound->IsRunning());
    sound->allowed = TRUE;
    sound->Play(CSkinMenuSound::Popup);
    EXPECT_TRUE(sound->IsRunning());
    sound->Play(CSkinMenuSound::Command);
    const DWORD start = GetTickCount();
    sound->Stop();
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_FALSE(sound->IsRunning());
    // Loading a skin stops the player.
    sound->Play(CSkinMenuSound::Command);
    EXPECT_TRUE(sound->IsRunning());
    CSkinEngine::Instance()->LoadSkin("", nullptr);
    EXPECT_FALSE(sound->IsRunning());
}

TEST(SkinEngine, ReorderingASkinnedFrameStartsItsResyncTimer) {
    CSkinEngine* engine = CSkinEngine::Instance();
    engine->SetApplyOptions(SkinApplyAll);
    ASSERT_TRUE(engine->LoadSkin(ExePath().c_str(), nullptr));
    HWND framed = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND other = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, framed, nullptr, nullptr, nullptr);
    FakeSink sink, childSink;
    sink.window = framed;
    childSink.window = child;
    engine->AddSkinObject(framed, &sink);
    engine->AddSkinObject(child, &childSink);
    ReorderWatch watch;
    ASSERT_TRUE(watch.Installed());
    // The system reports a z-order change of the window (Wine does not raise this event itself).
    ASSERT_TRUE(watch.Deliver(other));  // not skinned: no timer
    ASSERT_TRUE(watch.Deliver(child));  // skinned, but neither caption nor scroll bars
    ASSERT_TRUE(watch.Deliver(framed));
    EXPECT_TRUE(KillTimer(framed, 2765));
    EXPECT_FALSE(KillTimer(other, 2765));
    EXPECT_FALSE(KillTimer(child, 2765));
    // Without the frame option nothing is started.
    engine->SetApplyOptions(SkinApplyAll & ~SkinApplyFrame);
    ASSERT_TRUE(watch.Deliver(framed));
    EXPECT_FALSE(KillTimer(framed, 2765));
    engine->SetApplyOptions(SkinApplyAll);
    engine->DetachWindow(framed);
    engine->DetachWindow(child);
    DestroyWindow(framed);
    DestroyWindow(other);
    engine->LoadSkin("", nullptr);
}

// Started by its bare name, the program is its own theme package: the loader is never asked for a
// library of that name, which it would look for in the current folder and along PATH and run.
TEST(SkinEngine, ABareProgramNameNeverLoadsALibraryOfThatName) {
    static const char kMarker[] = "TAMRIVEL_PLANTED_LIBRARY_RAN";
    const std::string exe = ExePath();
    const size_t slash = exe.find_last_of('\\');
    const std::string name = exe.substr(slash + 1, exe.size() - slash - 1 - 4);  // without ".exe"
    TempDir dir;
    const std::string planted = dir.File(name + ".dll");
    ASSERT_TRUE(CopyFileA((exe.substr(0, slash + 1) + PLANTED_LIBRARY).c_str(), planted.c_str(), FALSE));
    SetEnvironmentVariableA(kMarker, nullptr);
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, cwd);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    CSkinEngine* engine = CSkinEngine::Instance();
    for (const std::string& path : {name, name + ".exe"}) {
        EXPECT_TRUE(engine->LoadSkin(path.c_str(), nullptr)) << path;
        EXPECT_STREQ("NormalSilver_ini", engine->GetPackage()->GetIniFileName()) << path;
        EXPECT_EQ(0u, GetEnvironmentVariableA(kMarker, nullptr, 0)) << path << ": the planted library ran";
    }
    SetCurrentDirectoryA(cwd);
    // The marker works: the library sets it whenever it is loaded.
    HMODULE library = LoadLibraryA(planted.c_str());
    ASSERT_NE(nullptr, library);
    EXPECT_NE(0u, GetEnvironmentVariableA(kMarker, nullptr, 0));
    FreeLibrary(library);
    SetEnvironmentVariableA(kMarker, nullptr);
    engine->LoadSkin("", nullptr);
}
