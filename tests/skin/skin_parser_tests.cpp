// Theme-file vocabulary, line grammar, value syntaxes and the UTF-16 line reader.
#include <gtest/gtest.h>

#include <set>

#include "SkinParser.h"
#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skin;

TEST(SkinTables, VocabularySizesAndNumbers) {
    int count = 0;
    const PropertyInfo* props = PropertyTable(&count);
    EXPECT_EQ(192, count);
    std::set<int> ids;
    std::set<std::string> names;
    for (int i = 0; i < count; ++i) {
        ids.insert(props[i].id);
        names.insert(props[i].name);
        EXPECT_EQ(&props[i], FindPropertyInfo(props[i].name));
    }
    EXPECT_EQ(192u, ids.size());
    EXPECT_EQ(192u, names.size());

    int parts = 0;
    for (int c = 1; c <= 30; ++c) parts += PartCountOf(c);
    EXPECT_EQ(177, parts);

    EXPECT_EQ(1, ClassCodeOf("GLOBALS"));
    EXPECT_EQ(6, ClassCodeOf("WINDOW"));
    EXPECT_EQ(30, ClassCodeOf("MENUBAND"));
    EXPECT_EQ(0, ClassCodeOf("BUTTONS"));
    EXPECT_EQ(37, PartNumberOf(6, "SMALLFRAMEBOTTOMSIZINGTEMPLATE"));
    EXPECT_EQ(29, PartNumberOf(6, "DIALOG"));
    EXPECT_EQ(1, PartNumberOf(19, "UP"));
    EXPECT_EQ(4, PartNumberOf(20, "DOWNHORZ"));
    EXPECT_EQ(0, PartNumberOf(1, "CAPTION"));
    EXPECT_EQ(5, StateNumberOf("PUSHBUTTON", "DEFAULTED"));
    EXPECT_EQ(12, StateNumberOf("CHECKBOX", "MIXEDDISABLED"));
    EXPECT_EQ(16, StateNumberOf("ARROWBTN", "RIGHTDISABLED"));
    EXPECT_EQ(0, StateNumberOf("THUMBBTNHORZ", "HOT"));
    EXPECT_EQ(0, StateNumberOf("TABITEMBOTHEDGE", "NORMAL"));
    EXPECT_EQ(1, StateNumberOf("TABITEMBOTHEDGES", "NORMAL"));

    const PropertyInfo* shadow = FindPropertyInfo("TEXTSHADOWTYPE");
    ASSERT_NE(nullptr, shadow);
    EXPECT_EQ(4010, shadow->id);
    EXPECT_EQ(ValueSyntax::Enum, shadow->syntax);
    EXPECT_EQ(3823, FindPropertyInfo("ACCENTCOLORHINT")->id);
    EXPECT_EQ(2424, FindPropertyInfo("MINDPI5")->id);
    EXPECT_EQ(3409, FindPropertyInfo("NORMALSIZE")->id);
    EXPECT_EQ(ValueSyntax::Rect, FindPropertyInfo("DEFAULTPANESIZE")->syntax);
    EXPECT_EQ(ValueSyntax::IntList, FindPropertyInfo("INTLIST")->syntax);
}

TEST(SkinTables, EnumerationsAndKeys) {
    EXPECT_EQ(1, EnumValueOf(4001, "BORDERFILL"));
    EXPECT_EQ(2, EnumValueOf(4001, "NONE"));
    EXPECT_EQ(-1, EnumValueOf(4001, "SOLID"));
    EXPECT_EQ(13, EnumValueOf(4008, "BELOWLASTBUTTON"));
    EXPECT_EQ(2, EnumValueOf(4015, "DPI"));
    EXPECT_EQ(1, EnumValueOf(4014, "SIZE"));
    EXPECT_EQ(1, EnumValueOf(4006, "CENTER"));
    EXPECT_EQ(-1, EnumValueOf(202, "NONE"));

    EXPECT_EQ(68259754u, MakePropertyKey(6, 1, 1, 4010));
    EXPECT_EQ(MakePropertyKey(6, 1, 1, 0) + 4010, MakePropertyKey(6, 1, 1, 4010));
    // The largest class, part and state still fit in 32 bits without wrapping into each other.
    EXPECT_EQ(0xFFFFFFFFu, MakePropertyKey(63, 63, 63, 16383));
    EXPECT_EQ((2u * 64 + 3) * 16384 + 3803, MakeClassSubKey(3, 2, 3803));
}

TEST(SkinGrammar, LinePreparation) {
    std::string out;
    EXPECT_FALSE(PrepareThemeLine("   ; a comment", out));
    EXPECT_FALSE(PrepareThemeLine("\t  ", out));
    EXPECT_FALSE(PrepareThemeLine("", out));
    ASSERT_TRUE(PrepareThemeLine("  TextColor = 1 2 3 ; trailing", out));
    EXPECT_EQ("TEXTCOLOR = 1 2 3 ", out);
    std::string name, value;
    ASSERT_TRUE(SplitAssignment(out, name, value));
    EXPECT_EQ("TEXTCOLOR", name);
    EXPECT_EQ("1 2 3", value);
    EXPECT_FALSE(SplitAssignment("=5", name, value));
    EXPECT_FALSE(SplitAssignment("NOEQUALS", name, value));
    ASSERT_TRUE(SplitAssignment("A\t =", name, value));
    EXPECT_EQ("A", name);
    EXPECT_EQ("", value);
}

TEST(SkinGrammar, SectionHeaders) {
    SectionHeader h = ParseSectionHeader("[WINDOW.CAPTION(ACTIVE)]");
    ASSERT_TRUE(h.accepted);
    EXPECT_EQ(6, h.classCode);
    EXPECT_EQ(1, h.part);
    EXPECT_EQ(1, h.state);

    h = ParseSectionHeader("[ BUTTON . PUSH BUTTON ( DEFAULTED ) ]");
    ASSERT_TRUE(h.accepted);
    EXPECT_EQ(7, h.classCode);
    EXPECT_EQ(1, h.part);
    EXPECT_EQ(5, h.state);

    EXPECT_FALSE(ParseSectionHeader("[WINDOW.CAPTION(ACTIVE)] ").accepted);  // blank after "]"
    EXPECT_FALSE(ParseSectionHeader("[WINDOW] ").accepted);
    EXPECT_FALSE(ParseSectionHeader("[SCROLLBAR.THUMBBTNHORZ(HOT)]").accepted);
    EXPECT_TRUE(ParseSectionHeader("[SCROLLBAR.THUMBBTNHORZ]").accepted);
    EXPECT_FALSE(ParseSectionHeader("[TAB.TABITEMBOTHEDGE(NORMAL)]").accepted);
    EXPECT_TRUE(ParseSectionHeader("[TAB.TABITEMBOTHEDGE]").accepted);
    EXPECT_FALSE(ParseSectionHeader("[EXPLORER::BUTTON]").accepted);
    EXPECT_FALSE(ParseSectionHeader("[BUTTON.]").accepted);
    EXPECT_FALSE(ParseSectionHeader("[NOSUCH]").accepted);
    EXPECT_FALSE(ParseSectionHeader("[").accepted);
    EXPECT_FALSE(ParseSectionHeader("[]").accepted);
    EXPECT_FALSE(ParseSectionHeader("[(]").accepted);

    h = ParseSectionHeader("[COMBOBOX(HOT)]");  // class-level state list
    ASSERT_TRUE(h.accepted);
    EXPECT_EQ(23, h.classCode);
    EXPECT_EQ(0, h.part);
    EXPECT_EQ(2, h.state);
    h = ParseSectionHeader("[GLOBALS]");
    EXPECT_TRUE(h.accepted);
    EXPECT_EQ(1, h.classCode);
}

TEST(SkinValues, NumbersColoursMarginsPositions) {
    EXPECT_EQ(42, LeadingInteger("42abc"));
    EXPECT_EQ(-7, LeadingInteger("  -7"));
    EXPECT_EQ(0, LeadingInteger("abc"));
    EXPECT_EQ(0, LeadingInteger(""));

    EXPECT_EQ(RGB(1, 2, 3), ParseColorText("1 2 3"));
    EXPECT_EQ(RGB(16, 8, 255), ParseColorText("0x10 010 255"));
    EXPECT_EQ(RGB(255, 0, 0), ParseColorText("255"));
    EXPECT_EQ(RGB(4, 255, 0), ParseColorText("260 -1"));  // each component modulo 256
    EXPECT_EQ(RGB(0, 0, 0), ParseColorText("red"));

    RECT r = ParseMarginsText("28, 35, 9, 17");
    EXPECT_EQ(28, r.left);
    EXPECT_EQ(35, r.right);
    EXPECT_EQ(9, r.top);
    EXPECT_EQ(17, r.bottom);
    r = ParseMarginsText("28 , 35, 9, 17");
    EXPECT_EQ(28, r.left);
    EXPECT_EQ(0, r.right);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(0, r.bottom);
    r = ParseMarginsText("1,2");
    EXPECT_EQ(1, r.left);
    EXPECT_EQ(2, r.right);
    EXPECT_EQ(0, r.top);

    POINT p = ParsePositionText("-25, 5");
    EXPECT_EQ(-25, p.x);
    EXPECT_EQ(5, p.y);
    p = ParsePositionText("0x10,010");
    EXPECT_EQ(16, p.x);
    EXPECT_EQ(8, p.y);

    int32_t big = 0;
    const char* text = "99999999999999999999";
    EXPECT_TRUE(ScanInteger(text, 10, big));  // wraps, never overruns
    EXPECT_EQ('\0', *text);
}

TEST(SkinValues, Fonts) {
    FontContext ctx;
    ctx.dpiY = 96;
    ctx.charSet = GB2312_CHARSET;
    LOGFONTA lf = ParseFontText("TAHOMA, 10", ctx);
    EXPECT_STREQ("TAHOMA", lf.lfFaceName);
    EXPECT_EQ(-13, lf.lfHeight);
    EXPECT_EQ(400, lf.lfWeight);
    EXPECT_EQ(GB2312_CHARSET, lf.lfCharSet);
    lf = ParseFontText("TAHOMA, 10, bold", ctx);
    EXPECT_EQ(700, lf.lfWeight);
    lf = ParseFontText("TAHOMA, 10, ITALIC", ctx);
    EXPECT_EQ(400, lf.lfWeight);
    ctx.dpiY = 120;
    EXPECT_EQ(-MulDiv(8, 120, 72), ParseFontText("TAHOMA, 8", ctx).lfHeight);
    // A face longer than the field is cut, not written past it.
    lf = ParseFontText("ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOP, 9", ctx);
    EXPECT_EQ(31u, strlen(lf.lfFaceName));
    lf = ParseFontText(", 9", ctx);
    EXPECT_STREQ("", lf.lfFaceName);
    EXPECT_EQ(0, lf.lfHeight);
}

TEST(SkinValues, StoredTypesPerSyntax) {
    FontContext ctx;
    CSkinProperty p;
    ASSERT_TRUE(ParsePropertyValue(*FindPropertyInfo("TRANSPARENT"), "YES", ctx, p));
    EXPECT_EQ(kTypeBool, p.type);
    EXPECT_EQ(FALSE, p.value[0]);
    ASSERT_TRUE(ParsePropertyValue(*FindPropertyInfo("TRANSPARENT"), "TRUE", ctx, p));
    EXPECT_EQ(TRUE, p.value[0]);
    ASSERT_TRUE(ParsePropertyValue(*FindPropertyInfo("IMAGEFILE"), "SILVER\\A.PNG", ctx, p));
    EXPECT_EQ(kTypeString, p.type);
    EXPECT_EQ("SILVER\\A.PNG", p.text);
    ASSERT_TRUE(ParsePropertyValue(*FindPropertyInfo("BGTYPE"), "GRADIENT", ctx, p));
    EXPECT_EQ(kTypeEnum, p.type);
    EXPECT_EQ(-1, p.value[0]);
    ASSERT_TRUE(ParsePropertyValue(*FindPropertyInfo("OFFSET"), "-25, 5", ctx, p));
    EXPECT_EQ(kTypePosition, p.type);
    ASSERT_TRUE(ParsePropertyValue(*FindPropertyInfo("SIZINGMARGINS"), "1, 2, 3, 4", ctx, p));
    EXPECT_EQ(kTypeRect, p.type);
    EXPECT_EQ(1, p.value[0]);  // left
    EXPECT_EQ(3, p.value[1]);  // top
    EXPECT_EQ(2, p.value[2]);  // right
    EXPECT_EQ(4, p.value[3]);  // bottom
    ASSERT_TRUE(ParsePropertyValue(*FindPropertyInfo("MENUFONT"), "TAHOMA, 8", ctx, p));
    EXPECT_EQ(kTypeFont, p.type);
    ASSERT_NE(nullptr, p.font);
    EXPECT_FALSE(ParsePropertyValue(*FindPropertyInfo("INTLIST"), "1, 2, 3", ctx, p));
}

TEST(SkinPackageText, Utf16LineReader) {
    const wchar_t text[] = L"\xFEFF[A]\r\nB=1\r\rC\nD\r\nlast";
    Utf16LineReader reader(text, (sizeof(text) - sizeof(wchar_t)) + 1);  // odd byte count rounds down
    std::wstring line;
    std::vector<std::wstring> lines;
    while (reader.Next(line)) lines.push_back(line);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ(L"[A]", lines[0]);
    EXPECT_EQ(L"B=1", lines[1]);
    EXPECT_EQ(L"", lines[2]);
    EXPECT_EQ(L"C\nD", lines[3]);  // a lone line feed does not end a line; "last" has no end and is lost

    const wchar_t zero[] = L"X\r\n\0Y\r\n";
    Utf16LineReader z(zero, sizeof(zero));
    lines.clear();
    while (z.Next(line)) lines.push_back(line);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(L"X", lines[0]);

    Utf16LineReader empty(nullptr, 0);
    EXPECT_FALSE(empty.Next(line));
}

TEST(SkinPackageText, NamesAndIndex) {
    EXPECT_EQ("SILVER_BUTTON_PNG", DeriveResourceName("SILVER\\BUTTON.PNG"));
    EXPECT_EQ("NormalSilver_ini", DeriveResourceName("NormalSilver.ini"));
    const std::wstring index = L"[Documentation]\r\nX=[File\r\n[File.NormalSilver]\r\n[File.Other]\r\n";
    EXPECT_EQ(L"NormalSilver", FindDefaultThemeSection(index.data(), index.size()));
    const std::wstring lower = L"[file.NormalSilver]\r\n";
    EXPECT_EQ(L"", FindDefaultThemeSection(lower.data(), lower.size()));
    const std::wstring open = L"[File.NoEnd";
    EXPECT_EQ(L"", FindDefaultThemeSection(open.data(), open.size()));
}
