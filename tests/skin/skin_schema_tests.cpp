// Theme text into the property table: storage, lookup fallbacks, typed reads, the class
// handle cache, and the metrics with and without a [SysMetrics] section.
#include <gtest/gtest.h>

#include <functional>

#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skintest;
using namespace skin;

namespace {
const CSkinProperty* Find(CSkinSchema* s, int c, int p, int st, const char* name) {
    return s->FindProperty(c, p, st, FindPropertyInfo(name)->id);
}
}  // namespace

TEST(SkinSchemaParse, SectionsKeysAndValues) {
    auto schema = SchemaFromText(
        "TextColor = 1 2 3\n"                      // before any header: skipped
        "[Window.Caption(Active)]\n"
        "TextShadowType = Single\n"
        "  ImageFile = Silver\\Caption.png ; the caption\n"
        "ContentMargins = 28, 35, 9, 17\n"
        "Offset = -25, 5\n"
        "Transparent = yes\n"
        "GlyphTransparent = true\n"
        "ImageCount = 3\n"
        "ImageCount = 4\n"                          // the later line wins
        "NotAProperty = 7\n"
        "CaptionFont = Tahoma, 10, Bold\n"
        "[Window.Caption(Active)] \n"               // blank after "]": refused, its lines skipped
        "TextColor = 9 9 9\n"
        "[ScrollBar.ThumbBtnHorz(Hot)]\n"
        "TextColor = 8 8 8\n"
        "[ScrollBar.ThumbBtnHorz]\n"
        "TextColor = 7 7 7\n"
        "BgType = Gradient\n");
    EXPECT_EQ(2, schema->GetAcceptedSectionCount());
    EXPECT_EQ(2, schema->GetRefusedSectionCount());

    const CSkinProperty* p = schema->FindProperty(6, 1, 1, 4010);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(kTypeEnum, p->type);
    EXPECT_EQ(1, p->value[0]);
    p = Find(schema.Get(), 6, 1, 1, "IMAGEFILE");
    ASSERT_NE(nullptr, p);
    EXPECT_EQ("SILVER\\CAPTION.PNG", p->text);
    p = Find(schema.Get(), 6, 1, 1, "CONTENTMARGINS");
    RECT r = p->AsRect();
    EXPECT_EQ(28, r.left);
    EXPECT_EQ(35, r.right);
    EXPECT_EQ(9, r.top);
    EXPECT_EQ(17, r.bottom);
    POINT pt = Find(schema.Get(), 6, 1, 1, "OFFSET")->AsPoint();
    EXPECT_EQ(-25, pt.x);
    EXPECT_EQ(5, pt.y);
    EXPECT_EQ(FALSE, Find(schema.Get(), 6, 1, 1, "TRANSPARENT")->value[0]);
    EXPECT_EQ(TRUE, Find(schema.Get(), 6, 1, 1, "GLYPHTRANSPARENT")->value[0]);
    EXPECT_EQ(4, Find(schema.Get(), 6, 1, 1, "IMAGECOUNT")->value[0]);
    LOGFONTA lf;
    ASSERT_EQ(S_OK, schema->GetSchemaFont(6, 1, 1, TMT_CAPTIONFONT, &lf));
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_STREQ("TAHOMA", lf.lfFaceName);

    // The refused header and the text before the first header left nothing behind.
    EXPECT_EQ(nullptr, Find(schema.Get(), 6, 1, 1, "TEXTCOLOR"));
    EXPECT_EQ(RGB(7, 7, 7), static_cast<COLORREF>(Find(schema.Get(), 21, 2, 0, "TEXTCOLOR")->value[0]));
    EXPECT_EQ(-1, Find(schema.Get(), 21, 2, 0, "BGTYPE")->value[0]);
}

TEST(SkinSchemaLookup, FallbackOrder) {
    auto schema = SchemaFromText(
        "[Globals]\nTextColor = 1 1 1\nEdgeShadowColor = 172 168 153\n"
        "[Button]\nTextColor = 2 2 2\nBorderSize = 4\n"
        "[Button(Hot)]\nTextColor = 3 3 3\n"                 // a class-level state: there is no list for BUTTON
        "[Button.PushButton]\nTextColor = 4 4 4\n"
        "[Button.PushButton(Pressed)]\nTextColor = 5 5 5\n"
        "[Edit.EditText(Disabled)]\nTextColor = 6 6 6\n");
    CSkinClassTheme* button = schema->GetClassTheme("Button");
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(RGB(5, 5, 5), button->GetThemeColor(1, 3, TMT_TEXTCOLOR, 0));  // part and state
    EXPECT_EQ(RGB(4, 4, 4), button->GetThemeColor(1, 2, TMT_TEXTCOLOR, 0));  // part
    EXPECT_EQ(RGB(4, 4, 4), button->GetThemeColor(1, 0, TMT_TEXTCOLOR, 0));
    EXPECT_EQ(RGB(2, 2, 2), button->GetThemeColor(3, 7, TMT_TEXTCOLOR, 0));  // class
    EXPECT_EQ(4, button->GetThemeInt(4, 2, TMT_BORDERSIZE, 0));             // every part and state
    EXPECT_EQ(RGB(172, 168, 153), button->GetThemeColor(2, 5, TMT_EDGESHADOWCOLOR, 0));  // globals
    CSkinClassTheme* edit = schema->GetClassTheme("EDIT");
    EXPECT_EQ(RGB(6, 6, 6), edit->GetThemeColor(1, 4, TMT_TEXTCOLOR, 0));   // class with state
    EXPECT_EQ(RGB(1, 1, 1), edit->GetThemeColor(1, 1, TMT_TEXTCOLOR, 0));   // globals
    CSkinClassTheme* tab = schema->GetClassTheme("TAB");
    EXPECT_EQ(RGB(9, 9, 9), tab->GetThemeColor(1, 1, TMT_FILLCOLOR, RGB(9, 9, 9)));  // default

    EXPECT_EQ(button, schema->GetClassTheme("BUTTON"));
    EXPECT_EQ(nullptr, schema->GetClassTheme("NOSUCHCLASS"));
    EXPECT_EQ(nullptr, schema->GetClassTheme(nullptr));
    EXPECT_EQ(button, schema->FindClassTheme(button));
    int local = 0;
    EXPECT_EQ(nullptr, schema->FindClassTheme(&local));
}

TEST(SkinSchemaLookup, TypedReadsAndTheCacheThatIsNotPoisoned) {
    auto schema = SchemaFromText("[Button.PushButton]\nImageCount = 5\nTextColor = 10 20 30\n");
    COLORREF c = 123;
    EXPECT_EQ(E_INVALIDARG, schema->GetSchemaColor(7, 1, 0, TMT_IMAGECOUNT, &c));
    EXPECT_EQ(123u, c);
    EXPECT_EQ(E_FAIL, schema->GetSchemaColor(7, 1, 0, TMT_FILLCOLOR, &c));
    int n = 0;
    EXPECT_EQ(S_OK, schema->GetSchemaInt(7, 1, 2, TMT_IMAGECOUNT, &n));
    EXPECT_EQ(5, n);
    BOOL b = TRUE;
    EXPECT_EQ(E_FAIL, schema->GetSchemaBool(7, 1, 2, TMT_TRANSPARENT, &b));

    CSkinClassTheme* button = schema->GetClassTheme("BUTTON");
    EXPECT_EQ(0u, button->GetCacheSize());
    EXPECT_EQ(RGB(1, 1, 1), button->GetThemeColor(1, 2, TMT_IMAGECOUNT, RGB(1, 1, 1)));
    EXPECT_EQ(0u, button->GetCacheSize());  // a read of the wrong type stores nothing
    EXPECT_EQ(5, button->GetThemeInt(1, 2, TMT_IMAGECOUNT, 1));
    EXPECT_EQ(1u, button->GetCacheSize());
    EXPECT_EQ(7, button->GetThemeInt(1, 2, TMT_BORDERSIZE, 7));
    EXPECT_EQ(2u, button->GetCacheSize());  // a miss is remembered
    EXPECT_EQ(8, button->GetThemeInt(1, 2, TMT_BORDERSIZE, 8));
    EXPECT_EQ(2u, button->GetCacheSize());
    RECT r = button->GetThemeRect(1, 2, TMT_SIZINGMARGINS, 1, 2, 3, 4);
    EXPECT_EQ(1, r.left);
    EXPECT_EQ(4, r.bottom);
    POINT p = button->GetThemePosition(1, 2, TMT_TEXTSHADOWOFFSET, 5, 6);
    EXPECT_EQ(5, p.x);
    EXPECT_EQ(6, p.y);
    EXPECT_STREQ("dflt", button->GetThemeString(1, 2, TMT_IMAGEFILE, "dflt"));
}

// What one typed read cached is never handed to a read of another type: each reader, after a read of
// the property's own type has filled the cache, still answers its default.
TEST(SkinSchemaLookup, CachedValuesKeepTheirType) {
    auto schema = SchemaFromText(
        "[Button.PushButton]\nImageCount = 5\nTextColor = 10 20 30\nTransparent = True\n"
        "SizingMargins = 1, 2, 3, 4\nImageFile = X.PNG\nBgType = BorderFill\nTextShadowOffset = 7, 8\n");
    CSkinClassTheme* t = schema->GetClassTheme("BUTTON");
    struct Typed {
        int id;
        const char* name;
        std::function<bool(int)> readsOwnValue;   // the property's own reader finds it
        std::function<bool(int)> answersDefault;  // this reader, asked for another type's property
    };
    const Typed props[] = {
        {TMT_IMAGECOUNT, "int", [&](int id) { return t->GetThemeInt(1, 1, id, -1) == 5; },
         [&](int id) { return t->GetThemeInt(1, 1, id, -7) == -7; }},
        {TMT_TEXTCOLOR, "colour", [&](int id) { return t->GetThemeColor(1, 1, id, 0) == RGB(10, 20, 30); },
         [&](int id) { return t->GetThemeColor(1, 1, id, RGB(9, 9, 9)) == RGB(9, 9, 9); }},
        {TMT_TRANSPARENT, "bool", [&](int id) { return t->GetThemeBool(1, 1, id, FALSE) == TRUE; },
         [&](int id) { return t->GetThemeBool(1, 1, id, 77) == 77; }},
        {TMT_SIZINGMARGINS, "rect", [&](int id) { return t->GetThemeRect(1, 1, id, 0, 0, 0, 0).bottom == 4; },
         [&](int id) { return t->GetThemeRect(1, 1, id, -3, 0, 0, 0).left == -3; }},
        {TMT_IMAGEFILE, "string", [&](int id) { return t->GetThemeString(1, 1, id, "") == CString("X.PNG"); },
         [&](int id) { return t->GetThemeString(1, 1, id, "d") == CString("d"); }},
        {TMT_BGTYPE, "enum", [&](int id) { return t->GetThemeEnumValue(1, 1, id, -1) == 1; },
         [&](int id) { return t->GetThemeEnumValue(1, 1, id, -9) == -9; }},
        {TMT_TEXTSHADOWOFFSET, "position", [&](int id) { return t->GetThemePosition(1, 1, id, 0, 0).y == 8; },
         [&](int id) { return t->GetThemePosition(1, 1, id, -4, 0).x == -4; }},
    };
    for (const Typed& p : props) {
        ASSERT_TRUE(p.readsOwnValue(p.id)) << p.name;
        for (const Typed& reader : props) {
            if (reader.id == p.id) continue;
            EXPECT_TRUE(reader.answersDefault(p.id)) << reader.name << " reader of " << p.name;
        }
        EXPECT_TRUE(p.readsOwnValue(p.id)) << p.name << " after the others";
    }
}

TEST(SkinSchemaMetrics, WithoutSysMetricsTheDefaultsAndTheSystemsSizes) {
    auto schema = SchemaFromText("[Button]\nTextColor = 1 2 3\n");
    schema->RefreshMetrics();
    CSkinMetrics* m = schema->GetMetrics();
    for (int i = 0; i < 31; ++i) {
        EXPECT_EQ(SkinDefaultSysColor(i), m->colors[i]) << i;
        EXPECT_NE(nullptr, m->GetSysColorBrush(i));
    }
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION) + 1, m->captionHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMCAPTION) + 1, m->smallCaptionHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), m->systemCaptionHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), m->cxVScroll);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), m->cyHScroll);
    EXPECT_EQ(RGB(192, 192, 192), m->colors[COLOR_BTNFACE]);
    EXPECT_EQ(m->colors[16], m->edgeShadow);
    EXPECT_EQ(m->colors[22], m->edgeLight);
    EXPECT_FALSE(m->refreshing);
    EXPECT_NE(nullptr, m->captionFont.Get());
    EXPECT_EQ(nullptr, m->brushSpare.Get());
}

TEST(SkinSchemaMetrics, SysMetricsAndTheMetricsOptionBit) {
    const char* text =
        "[SysMetrics]\nCaptionBarHeight = 30\nSmCaptionBarHeight = 20\nScrollbarWidth = 21\n"
        "ScrollbarHeight = 0\nBtnFace = 1 2 3\nMenuFont = Tahoma, 12\n";
    auto schema = SchemaFromText(text);
    schema->RefreshMetrics(SkinApplyAll);
    CSkinMetrics* m = schema->GetMetrics();
    EXPECT_EQ(31, m->captionHeight);
    EXPECT_EQ(21, m->smallCaptionHeight);
    EXPECT_EQ(21, m->cxVScroll);
    EXPECT_EQ(21, m->cxHScroll);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), m->cyHScroll);  // 0 is not a size
    EXPECT_EQ(RGB(1, 2, 3), m->colors[COLOR_BTNFACE]);
    LOGBRUSH lb;
    GetObjectA(m->brushBtnFace.Get(), sizeof(lb), &lb);
    EXPECT_EQ(RGB(1, 2, 3), lb.lbColor);
    GetObjectA(m->GetSysColorBrush(COLOR_BTNFACE), sizeof(lb), &lb);
    EXPECT_EQ(RGB(1, 2, 3), lb.lbColor);
    LOGFONTA lf;
    GetObjectA(m->menuFont.Get(), sizeof(lf), &lf);
    EXPECT_STREQ("TAHOMA", lf.lfFaceName);

    // Without the metrics bit the sizes and fonts stay the system's; colours still come from the theme.
    schema->RefreshMetrics(SkinApplyAll & ~SkinApplyMetrics);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), m->captionHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), m->cxVScroll);
    EXPECT_EQ(RGB(1, 2, 3), m->colors[COLOR_BTNFACE]);
}

TEST(SkinSchemaMetrics, RefreshDropsTheCachedGdiRecords) {
    struct Probe : CSkinSchema::GdiCache {
        bool* gone;
        explicit Probe(bool* g) : gone(g) {}
        ~Probe() override { *gone = true; }
    };
    auto schema = SchemaFromText("[Globals]\nTextColor = 0 0 0\n");
    bool gone = false;
    schema->AddGdiCache(std::make_unique<Probe>(&gone));
    schema->RefreshMetrics();
    EXPECT_TRUE(gone);
}

TEST(SkinSchemaParse, AlphaLevelDecidesPremultiplying) {
    EXPECT_TRUE(SchemaFromText("[Documentation]\nAlphaLevel = 254\n")->GetPremultiplyAlpha());
    EXPECT_FALSE(SchemaFromText("[Documentation]\nAlphaLevel = 255\n")->GetPremultiplyAlpha());
    EXPECT_FALSE(SchemaFromText("[Globals]\nAlphaLevel = 255\n")->GetPremultiplyAlpha());
    EXPECT_TRUE(SchemaFromText("[Documentation]\nAlphaLevel = 255\n[Documentation]\nAlphaLevel = 1\n")
                    ->GetPremultiplyAlpha());
}

TEST(SkinSchemaParse, DoubleByteTextKeepsItsTrailBytes) {
    // "\xB0\x61" is one character of code page 936 whose trail byte looks like "a".
    auto schema = SchemaFromText("[Documentation]\nDisplayName = \xB0\x61x\n");
    const CSkinProperty* p = Find(schema.Get(), 2, 0, 0, "DISPLAYNAME");
    ASSERT_NE(nullptr, p);
    if (GetACP() == 936)
        EXPECT_EQ("\xB0\x61X", p->text);
    else
        EXPECT_EQ('X', p->text.back());
}
