// The system-call interception on the real import tables of this test process: the theme answers
// while skinned, modules loaded later are patched before LoadLibrary returns, and every slot of
// every module is back as it was once the hooks are removed.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "InterceptionTestSupport.h"

using namespace skintest;
using namespace interceptiontest;

namespace {

// Every import address slot of every module, read straight from the headers of the images.
using SlotKey = std::pair<std::string, ULONG_PTR>;  // module path, slot offset in the image
using SlotSnapshot = std::map<SlotKey, ULONG_PTR>;  // what each slot holds

std::vector<HMODULE> LoadedModules() {
    std::vector<HMODULE> modules(1024);
    DWORD needed = 0;
    EnumProcessModules(GetCurrentProcess(), modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                       &needed);
    modules.resize(needed / sizeof(HMODULE));
    return modules;
}

SlotSnapshot SnapshotImportSlots() {
    SlotSnapshot snapshot;
    for (HMODULE module : LoadedModules()) {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, MAX_PATH);
        auto* base = reinterpret_cast<BYTE*>(module);
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        if (dos->e_magic != IMAGE_DOS_SIGNATURE) continue;
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (!dir.VirtualAddress || !dir.Size) continue;
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d)
            for (auto* cell = reinterpret_cast<ULONG_PTR*>(base + d->FirstThunk); *cell; ++cell)
                snapshot[{path, reinterpret_cast<BYTE*>(cell) - base}] = *cell;
    }
    return snapshot;
}

// The slot of this program's own import of a function, or null.
void** OwnImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<ULONG_PTR*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto** cells = reinterpret_cast<void**>(base + d->FirstThunk);
        for (int i = 0; names[i]; ++i) {
            if (IMAGE_SNAP_BY_ORDINAL(names[i])) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i]);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) == 0) return &cells[i];
        }
    }
    return nullptr;
}

void* SystemExport(const char* dll, const char* function) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), function));
}

std::string ProbePath() {
    std::string path = ExePath();
    return path.substr(0, path.find_last_of('\\') + 1) + "interception_probe.dll";
}

// Each call reads this program's import slot afresh: the compiler may otherwise keep the slot's
// value in a register across the loop that changes it.
__attribute__((noinline)) int CaptionHeight() { return GetSystemMetrics(SM_CYCAPTION); }

using ProbeSysColorFn = DWORD (*)(int);
using ProbeFillRectFn = int (*)(HDC, const RECT*, HBRUSH);

}  // namespace

TEST(Interception, EveryImportSlotIsRestoredAfterRepeatedLoads) {
    const SlotSnapshot before = SnapshotImportSlots();
    void** ownSysColor = OwnImportSlot("USER32.dll", "GetSysColor");
    ASSERT_NE(nullptr, ownSysColor);
    const void* systemSysColor = *ownSysColor;
    for (int cycle = 0; cycle < 20; ++cycle) {
        Skinned skin;
        ASSERT_TRUE(skin.ok);
        // The hooks really are in while skinned, so the comparison below means something.
        ASSERT_NE(systemSysColor, *ownSysColor) << "cycle " << cycle;
    }
    const SlotSnapshot after = SnapshotImportSlots();
    size_t compared = 0;
    for (const auto& slot : before) {
        auto it = after.find(slot.first);
        if (it == after.end()) continue;
        ++compared;
        EXPECT_EQ(slot.second, it->second) << slot.first.first << " +" << std::hex << slot.first.second;
    }
    EXPECT_GT(compared, 100u);
    EXPECT_EQ(systemSysColor, *ownSysColor);
}

TEST(Interception, ModuleLoadedWhileSkinnedAnswersFromTheThemeAtOnce) {
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    CSkinMetrics* metrics = Engine()->GetMetrics();
    ASSERT_NE(nullptr, metrics);
    auto system = reinterpret_cast<DWORD(WINAPI*)(int)>(SystemExport("user32.dll", "GetSysColor"));
    int index = -1;
    for (int i = 0; i <= 30 && index < 0; ++i)
        if (system(i) != metrics->colors[i]) index = i;
    ASSERT_GE(index, 0) << "the theme must differ from the system somewhere";

    // Every loader entry patches the module before it returns.
    const std::string path = ProbePath();
    const std::wstring wide(path.begin(), path.end());
    const struct {
        const char* loader;
        HMODULE (*load)(const std::string&, const std::wstring&);
    } loaders[] = {
        {"LoadLibraryA", [](const std::string& p, const std::wstring&) { return LoadLibraryA(p.c_str()); }},
        {"LoadLibraryW", [](const std::string&, const std::wstring& w) { return LoadLibraryW(w.c_str()); }},
        {"LoadLibraryExA", [](const std::string& p, const std::wstring&) { return LoadLibraryExA(p.c_str(), nullptr, 0); }},
        {"LoadLibraryExW", [](const std::string&, const std::wstring& w) { return LoadLibraryExW(w.c_str(), nullptr, 0); }},
    };
    for (const auto& loader : loaders) {
        HMODULE probe = loader.load(path, wide);
        ASSERT_NE(nullptr, probe) << loader.loader;
        auto probeSysColor = reinterpret_cast<ProbeSysColorFn>(GetProcAddress(probe, "ProbeSysColor"));
        ASSERT_NE(nullptr, probeSysColor);
        EXPECT_EQ(metrics->colors[index], probeSysColor(index)) << loader.loader;
        FreeLibrary(probe);
        ASSERT_EQ(nullptr, GetModuleHandleA("interception_probe.dll")) << "the probe must load afresh each time";
    }

    // Unskinned, the same module's calls reach the system again.
    HMODULE probe = LoadLibraryA(path.c_str());
    ASSERT_NE(nullptr, probe);
    auto probeSysColor = reinterpret_cast<ProbeSysColorFn>(GetProcAddress(probe, "ProbeSysColor"));
    Engine()->LoadSkin("", nullptr);
    EXPECT_EQ(system(index), probeSysColor(index));
    FreeLibrary(probe);
}

TEST(Interception, ClassesRegisteredWithTheReplacementGetTheSystemProcedure) {
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    // Taken while skinned, this program's DefWindowProcA is the skin's replacement.
    const WNDPROC taken = DefWindowProcA;
    const auto system = reinterpret_cast<WNDPROC>(SystemExport("user32.dll", "DefWindowProcA"));
    ASSERT_NE(system, taken);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = taken;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "InterceptionPlainDefaults";
    ASSERT_NE(0, RegisterClassA(&wc));
    WNDCLASSA got = {};
    ASSERT_TRUE(GetClassInfoA(wc.hInstance, wc.lpszClassName, &got));
    EXPECT_EQ(system, got.lpfnWndProc);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST(Interception, ModuleLoadedAsDataFileIsNotTouched) {
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    TempDir dir;
    const std::string copy = dir.File("probe_copy.dll");
    ASSERT_TRUE(CopyFileA(ProbePath().c_str(), copy.c_str(), FALSE));
    const std::string bytes = ReadBytes(copy);
    HMODULE data = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, data);
    // A data mapping starts one to three bytes past its base; the file's bytes must be there unchanged.
    const BYTE* mapped = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(data) & ~ULONG_PTR(3));
    MEMORY_BASIC_INFORMATION mbi = {};
    ASSERT_TRUE(VirtualQuery(mapped, &mbi, sizeof(mbi)));
    const size_t visible = std::min(bytes.size(), static_cast<size_t>(mbi.RegionSize));
    EXPECT_EQ(0, memcmp(bytes.data(), mapped, visible));
    EXPECT_EQ(nullptr, GetProcAddress(data, "ProbeSysColor"));
    FreeLibrary(data);
}

TEST(Interception, UxThemeLookupsGiveTheSkinsFunctions) {
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    HMODULE ux = GetModuleHandleA("UxTheme.dll");
    EXPECT_EQ(reinterpret_cast<HMODULE>(0x021FFFF1), ux);
    using OpenFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using DrawFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    using CloseFn = HRESULT(WINAPI*)(HTHEME);
    auto open = reinterpret_cast<OpenFn>(GetProcAddress(ux, "OpenThemeData"));
    auto draw = reinterpret_cast<DrawFn>(GetProcAddress(ux, "DrawThemeBackground"));
    auto close = reinterpret_cast<CloseFn>(GetProcAddress(ux, "CloseThemeData"));
    ASSERT_NE(nullptr, open);
    ASSERT_NE(nullptr, draw);
    ASSERT_NE(nullptr, close);
    HMODULE real = LoadLibraryA("uxtheme.dll");
    ASSERT_NE(nullptr, real);
    // The real library's handle gives the skin's function too; its own export is another one.
    EXPECT_EQ(reinterpret_cast<void*>(draw), reinterpret_cast<void*>(GetProcAddress(real, "DrawThemeBackground")));
    EXPECT_NE(reinterpret_cast<void*>(draw),
              reinterpret_cast<void*>(CSkinApiHookManager::Instance()->SystemGetProcAddress(real, "DrawThemeBackground")));

    HTHEME theme = open(nullptr, L"BUTTON");
    ASSERT_NE(nullptr, theme);
    EXPECT_EQ(Engine()->GetThemeClass(nullptr, "BUTTON"), reinterpret_cast<CSkinClassTheme*>(theme));
    Canvas canvas(80, 30, RGB(1, 2, 3));
    const RECT rect = {0, 0, 80, 30};
    EXPECT_EQ(S_OK, draw(theme, canvas.dc(), 1, 1, &rect, nullptr));
    EXPECT_GT(canvas.CountNot(RGB(1, 2, 3)), 0);
    // Only the clip rectangle is painted when one is given.
    Canvas clipped(80, 30, RGB(1, 2, 3));
    const RECT clip = {0, 0, 40, 30};
    EXPECT_EQ(S_OK, draw(theme, clipped.dc(), 1, 1, &rect, &clip));
    EXPECT_EQ(RGB(1, 2, 3), clipped.At(60, 15));
    EXPECT_EQ(canvas.At(20, 15), clipped.At(20, 15));
    int notATheme = 0;
    EXPECT_EQ(E_FAIL, draw(reinterpret_cast<HTHEME>(&notATheme), canvas.dc(), 1, 1, &rect, nullptr));
    EXPECT_EQ(S_OK, close(theme));

    // Without the colour option the real library answers.
    Engine()->SetApplyOptions(SkinApplyAll & ~SkinApplyColors);
    EXPECT_NE(reinterpret_cast<HMODULE>(0x021FFFF1), GetModuleHandleA("UxTheme.dll"));
    FreeLibrary(real);
}

TEST(Interception, FillRectWithSystemColourValueUsesTheThemesColour) {
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    const COLORREF face = Engine()->GetMetrics()->colors[COLOR_BTNFACE];
    auto system = reinterpret_cast<DWORD(WINAPI*)(int)>(SystemExport("user32.dll", "GetSysColor"));
    ASSERT_NE(system(COLOR_BTNFACE), face);
    Canvas canvas(20, 20, RGB(1, 2, 3));
    const RECT rect = {0, 0, 20, 20};
    ASSERT_TRUE(FillRect(canvas.dc(), &rect, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(face, canvas.At(10, 10));
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));

    Engine()->LoadSkin("", nullptr);
    ASSERT_TRUE(FillRect(canvas.dc(), &rect, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(system(COLOR_BTNFACE), canvas.At(10, 10));
}

TEST(Interception, ThemeBrushSurvivesDeleteObject) {
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_EQ(Engine()->GetMetrics()->brushes[COLOR_BTNFACE].Get(), brush);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(brush));
    Canvas canvas(10, 10, RGB(1, 2, 3));
    const RECT rect = {0, 0, 10, 10};
    FillRect(canvas.dc(), &rect, brush);
    EXPECT_EQ(Engine()->GetMetrics()->colors[COLOR_BTNFACE], canvas.At(5, 5));
    // A brush of the caller's own is deleted as always.
    HBRUSH own = CreateSolidBrush(RGB(9, 9, 9));
    EXPECT_TRUE(DeleteObject(own));
}

TEST(Interception, ThemeObjectsTheEngineReplacesAreReallyDeleted) {
    // The engine's own releases of its brushes and fonts pass the DeleteObject replacement.
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    CSkinMetrics* m = Engine()->GetMetrics();
    HBRUSH face = m->brushBtnFace.Get();
    HFONT caption = m->captionFont.Get();
    ASSERT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(face));
    ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(caption));
    Engine()->SetApplyOptions(SkinApplyAll);  // refreshes the metrics while the hooks are in
    ASSERT_NE(face, Engine()->GetMetrics()->brushBtnFace.Get());
    EXPECT_EQ(0u, GetObjectType(face));
    EXPECT_EQ(0u, GetObjectType(caption));
}

TEST(Interception, CaptionHeightFollowsTheApplyOptions) {
    auto system = reinterpret_cast<int(WINAPI*)(int)>(SystemExport("user32.dll", "GetSystemMetrics"));
    CSkinApiHookManager::Instance()->Register(Engine());
    for (unsigned options = 0; options < 16; ++options) {
        Engine()->SetApplyOptions(options);
        ASSERT_TRUE(Engine()->LoadSkin(ExePath().c_str(), nullptr)) << options;
        const int theme = Engine()->GetMetrics()->captionHeight;
        const bool themed = (options & 7) == 7;
        if (themed) {
            ASSERT_NE(system(SM_CYCAPTION), theme);
        }
        EXPECT_EQ(themed ? theme : system(SM_CYCAPTION), CaptionHeight()) << "options " << options;
        Engine()->LoadSkin("", nullptr);
        EXPECT_EQ(system(SM_CYCAPTION), CaptionHeight()) << "unskinned after options " << options;
    }
    Engine()->SetApplyOptions(SkinApplyAll);
}

TEST(Interception, DrawEdgePaintsWithTheThemesColours) {
    Skinned skin;
    ASSERT_TRUE(skin.ok);
    const CSkinMetrics& m = *Engine()->GetMetrics();
    struct EdgeCase {
        UINT edge, flags;
        COLORREF outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
    } cases[] = {
        {EDGE_RAISED, BF_RECT, m.colors[COLOR_3DLIGHT], m.colors[COLOR_3DDKSHADOW], m.colors[COLOR_BTNHIGHLIGHT],
         m.colors[COLOR_BTNSHADOW]},
        {EDGE_SUNKEN, BF_RECT, m.colors[COLOR_BTNSHADOW], m.colors[COLOR_BTNHIGHLIGHT], m.colors[COLOR_3DDKSHADOW],
         m.colors[COLOR_3DLIGHT]},
        {EDGE_RAISED, BF_RECT | BF_SOFT, m.colors[COLOR_BTNHIGHLIGHT], m.colors[COLOR_3DDKSHADOW],
         m.colors[COLOR_3DLIGHT], m.colors[COLOR_BTNSHADOW]},
        {EDGE_SUNKEN, BF_RECT | BF_FLAT, m.colors[COLOR_BTNSHADOW], m.colors[COLOR_BTNSHADOW], m.colors[COLOR_BTNFACE],
         m.colors[COLOR_BTNFACE]},
    };
    for (const EdgeCase& c : cases) {
        Canvas canvas(40, 40, RGB(1, 2, 3));
        RECT rect = {0, 0, 40, 40};
        ASSERT_TRUE(DrawEdge(canvas.dc(), &rect, c.edge, c.flags | BF_ADJUST | BF_MIDDLE));
        const int w = m.cxBorder, h = m.cyBorder;
        EXPECT_EQ(c.outerTopLeft, canvas.At(0, 20)) << c.edge << "/" << c.flags;
        EXPECT_EQ(c.outerTopLeft, canvas.At(20, 0));
        EXPECT_EQ(c.outerBottomRight, canvas.At(39, 20));
        EXPECT_EQ(c.outerBottomRight, canvas.At(20, 39));
        EXPECT_EQ(c.innerTopLeft, canvas.At(w, 20));
        EXPECT_EQ(c.innerBottomRight, canvas.At(39 - w, 20));
        EXPECT_EQ(m.colors[COLOR_BTNFACE], canvas.At(20, 20));
        EXPECT_EQ(2 * w, rect.left);
        EXPECT_EQ(40 - 2 * h, rect.bottom);
    }
}

