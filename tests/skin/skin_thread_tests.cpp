// Painting threads and LoadSkin at once: eight threads draw every part and state of the program's
// theme into sections of their own and read typed properties while the main thread loads the theme
// again and again. Nothing may crash, and every pass of every thread gives exactly the pixels and
// values of a pass made before on one thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skintest;
using namespace skin;

namespace {

constexpr int kCellW = 40, kCellH = 24;
constexpr COLORREF kBackground = RGB(238, 238, 244);

struct Item {
    int classCode, part, state;
};

std::vector<Item> EveryPartAndState() {
    std::vector<Item> items;
    for (int c = 1; c <= 30; ++c)
        for (int part = 0; part <= PartCountOf(c); ++part)
            for (int state = 0; state <= 5; ++state) items.push_back({c, part, state});
    return items;
}

// One pass: each item's pixels, then the values its typed reads gave (a wrong-type read included).
struct Pass {
    std::vector<uint32_t> pixels;
    std::vector<int64_t> values;
};

void RunPass(CSkinSchema* schema, Canvas& canvas, const std::vector<Item>& items, Pass& out) {
    out.pixels.clear();
    out.values.clear();
    const size_t cell = static_cast<size_t>(kCellW) * kCellH;
    for (const Item& it : items) {
        CSkinClassTheme* t = schema->GetClassTheme(ClassNameOf(it.classCode));
        canvas.Fill(kBackground);
        if (t) t->DrawThemeBackground(canvas.dc(), it.part, it.state, RECT{2, 2, kCellW - 2, kCellH - 2});
        GdiFlush();
        out.pixels.insert(out.pixels.end(), canvas.bits(), canvas.bits() + cell);
        if (!t) continue;
        const int p = it.part, s = it.state;
        const RECT m = t->GetThemeRect(p, s, TMT_SIZINGMARGINS, -1, -2, -3, -4);
        const POINT o = t->GetThemePosition(p, s, TMT_TEXTSHADOWOFFSET, -5, -6);
        const CString file = t->GetThemeString(p, s, TMT_IMAGEFILE, "-");
        out.values.insert(out.values.end(),
                          {t->GetThemeInt(p, s, TMT_IMAGECOUNT, -7), t->GetThemeColor(p, s, TMT_IMAGECOUNT, 8),
                           t->GetThemeColor(p, s, TMT_TEXTCOLOR, 9), t->GetThemeInt(p, s, TMT_TEXTCOLOR, -10),
                           t->GetThemeEnumValue(p, s, TMT_BGTYPE, -11), t->GetThemeBool(p, s, TMT_TRANSPARENT, 12),
                           t->GetThemeEnumValue(p, s, TMT_SIZINGTYPE, -13), m.left, m.top, m.right, m.bottom, o.x,
                           o.y, static_cast<int64_t>(std::hash<std::string>()(file.str()))});
    }
}

}  // namespace

TEST(SkinThreads, PaintingThreadsWhileTheThemeIsLoadedAgain) {
    CSkinEngine* engine = CSkinEngine::Instance();
    const std::string exe = ExePath();
    ASSERT_TRUE(engine->LoadSkin(exe.c_str(), nullptr));
    const std::vector<Item> items = EveryPartAndState();
    Pass reference;
    {
        Canvas canvas(kCellW, kCellH);
        RunPass(engine->AcquireSchema().Get(), canvas, items, reference);
    }
    // The reference draws something: a broken theme would make every comparison trivial.
    const size_t cell = static_cast<size_t>(kCellW) * kCellH;
    size_t drawnItems = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const uint32_t* px = reference.pixels.data() + i * cell;
        for (size_t k = 0; k < cell; ++k)
            if ((px[k] & 0xFFFFFF) != 0xEEEEF4) {
                ++drawnItems;
                break;
            }
    }
    ASSERT_GT(drawnItems, 300u);

    constexpr int kThreads = 8;
    std::atomic<bool> stop{false};
    std::atomic<int> mismatches{0};
    std::vector<std::atomic<int>> passes(kThreads);
    std::vector<std::thread> threads;
    for (int n = 0; n < kThreads; ++n) {
        threads.emplace_back([&, n] {
            Canvas canvas(kCellW, kCellH);
            Pass pass;
            wchar_t name[MAX_PATH];
            while (!stop.load()) {
                engine->GetCurrentThemeName(name, MAX_PATH, name, MAX_PATH, nullptr, 0);
                engine->GetThemeSysColor(1616);
                CSkinRef<CSkinSchema> schema = engine->AcquireSchema();
                if (!schema) {
                    Sleep(0);  // between two loads
                    continue;
                }
                RunPass(schema.Get(), canvas, items, pass);
                if (pass.pixels != reference.pixels || pass.values != reference.values) ++mismatches;
                ++passes[n];
            }
        });
    }
    // At least 50 loads, and on until every thread has finished passes while loads were going on.
    int loads = 0;
    auto everyThreadPassed = [&] {
        for (const auto& p : passes)
            if (p.load() < 2) return false;
        return true;
    };
    bool loaded = true;
    while ((loads < 50 || !everyThreadPassed()) && loads < 2000) {
        loaded = engine->LoadSkin(exe.c_str(), nullptr) && loaded;
        ++loads;
    }
    stop = true;
    for (std::thread& t : threads) t.join();

    EXPECT_TRUE(loaded);
    EXPECT_TRUE(everyThreadPassed()) << loads << " loads";
    EXPECT_EQ(0, mismatches.load());
    int total = 0;
    for (const auto& p : passes) total += p.load();
    std::printf("%d loads, %d passes of %zu draws by %d threads\n", loads, total, items.size(), kThreads);
    engine->LoadSkin("", nullptr);
}
