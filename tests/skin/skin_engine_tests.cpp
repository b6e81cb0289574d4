// The skin manager: options, loading and its refusals, the notices sent when the skin changes,
// the theme queries the visual-styles answers use, the shared colours and the menu sounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skintest;

namespace {

int g_sysColorChanges = 0;
int g_reorderTimers = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOLORCHANGE) ++g_sysColorChanges;
    // The reorder timer is the skin's own: its procedure, never the window's, sees it.
    if (msg == WM_TIMER && wp == 2765) g_reorderTimers += 1000;
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

void Pump(DWORD ms = 50) {
    const DWORD end = GetTickCount() + ms;
    MSG m;
    do {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(5);
    } while (GetTickCount() < end);
}

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

// Runs first in this program: nothing is loaded yet.
TEST(SkinEngine, OptionsBeforeAnyLoadAreOnlyStored) {
    CSkinEngine* engine = CSkinEngine::Instance();
    EXPECT_EQ(engine, CSkinEngine::Instance());
    ASSERT_FALSE(engine->IsEnabled());
    EXPECT_EQ(nullptr, engine->GetSchema());
    EXPECT_EQ(nullptr, engine->GetMetrics());
    EXPECT_EQ(15u, engine->GetApplyOptions());
    std::vector<std::string> log;
    engine->SetInterception(std::make_unique<FakeInterception>(&log));
    log.clear();
    HWND w = MakeWindow();
    Pump();
    g_sysColorChanges = 0;
    engine->SetApplyOptions(engine->GetApplyOptions() | SkinApplyMetrics);
    EXPECT_EQ(15u, engine->GetApplyOptions());
    engine->SetApplyOptions(3);
    EXPECT_EQ(3u, engine->GetApplyOptions());
    Pump();
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
    Pump();
    g_sysColorChanges = 0;
    log.clear();

    ASSERT_TRUE(engine->LoadSkin(ExePath().c_str(), nullptr));
    Pump();
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
    Pump();
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
    wchar_t tiny[4] = L"abc";
    ASSERT_EQ(S_OK, engine->GetCurrentThemeName(tiny, 4, tiny, 4, nullptr, 0));
    EXPECT_STREQ(L"abc", tiny);  // too small: left alone
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
    ASSERT_TRUE(engine->LoadSkin(ExePath().c_str(), nullptr));
    HWND framed = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND other = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    FakeSink sink;
    sink.window = framed;
    engine->AddSkinObject(framed, &sink);
    Pump(200);
    g_reorderTimers = 0;
    // The system reports a z-order change of the window (Wine does not raise this event itself).
    NotifyWinEvent(EVENT_OBJECT_REORDER, framed, OBJID_WINDOW, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_REORDER, other, OBJID_WINDOW, CHILDID_SELF);  // not skinned: no timer
    Pump(1600);
    EXPECT_EQ(1, g_reorderTimers);
    // Without the frame option nothing is started.
    engine->SetApplyOptions(SkinApplyAll & ~SkinApplyFrame);
    Pump(100);
    g_reorderTimers = 0;
    NotifyWinEvent(EVENT_OBJECT_REORDER, framed, OBJID_WINDOW, CHILDID_SELF);
    Pump(1600);
    EXPECT_EQ(0, g_reorderTimers);
    engine->SetApplyOptions(SkinApplyAll);
    engine->DetachWindow(framed);
    DestroyWindow(framed);
    DestroyWindow(other);
    engine->LoadSkin("", nullptr);
}
