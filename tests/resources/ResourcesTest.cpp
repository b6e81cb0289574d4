// The program's resources as the built executable carries them.
#include "AppUnderTest.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_module = LoadLibraryExA(harness::TamrivelExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static std::vector<BYTE> Resource(LPCSTR type, LPCSTR name, WORD lang)
    {
        HRSRC res = FindResourceExA(s_module, type, name, lang);
        if (!res)
            return {};
        auto* data = static_cast<const BYTE*>(LockResource(LoadResource(s_module, res)));
        return std::vector<BYTE>(data, data + SizeofResource(s_module, res));
    }
    static HMODULE s_module;
};
HMODULE ResourcesTest::s_module = nullptr;

// Reads a dialog template (extended form).
struct Reader {
    const BYTE* p;
    WORD Word() { WORD v; memcpy(&v, p, 2); p += 2; return v; }
    DWORD Dword() { DWORD v; memcpy(&v, p, 4); p += 4; return v; }
    short Short() { return static_cast<short>(Word()); }
    std::wstring SzOrOrd()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        std::wstring s;
        for (WORD c = first; c; c = Word())
            s += static_cast<wchar_t>(c);
        return s;
    }
    void Align(const BYTE* base) { while ((p - base) % 4) ++p; }
};

struct Item {
    DWORD exStyle, style;
    short x, y, cx, cy;
    int id;
    std::wstring cls, text;
};

TEST_F(ResourcesTest, MainDialogTemplateIsExactlyAsDesigned)
{
    ASSERT_TRUE(s_module);
    const auto data = Resource(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(102), kChinese);
    ASSERT_FALSE(data.empty());
    Reader r{data.data()};
    EXPECT_EQ(1, r.Word());
    EXPECT_EQ(0xFFFF, r.Word());
    r.Dword();
    EXPECT_EQ(0x00040000u, r.Dword());
    EXPECT_EQ(0x90CA00C0u, r.Dword());
    const WORD count = r.Word();
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(408, r.Short());
    EXPECT_EQ(194, r.Short());
    EXPECT_EQ(L"", r.SzOrOrd());
    EXPECT_EQ(L"", r.SzOrOrd());
    EXPECT_EQ(L"Tamrivel", r.SzOrOrd());
    EXPECT_EQ(9, r.Word());
    EXPECT_EQ(0, r.Word());
    r.p += 1;  // italic
    EXPECT_EQ(1, *r.p++);
    EXPECT_EQ(L"\x5B8B\x4F53", r.SzOrOrd());  // 宋体

    const std::vector<Item> expected = {
        {0, 0x50010001, 258, 151, 50, 14, 1, L"#128", L"\x786E\x5B9A(&O)"},
        {0, 0x50010000, 329, 151, 50, 14, 2, L"#128", L"\x53D6\x6D88(&C)"},
        {0, 0x5000100E, 8, 14, 137, 140, 1000, L"#130", L"#129"},
        {0, 0x5000000E, 8, 156, 123, 14, 1001, L"#130", L"#130"},
        {0, 0x50020000, 367, 174, 34, 8, 1002, L"#130", L"\x8054\x7CFB\x4F5C\x8005"},
        {0, 0x50000010, 8, 179, 353, 1, -1, L"#130", L""},
        {0, 0x50020000, 156, 34, 42, 8, -1, L"#130", L"JAVA_HOME"},
        {0, 0x50000007, 150, 11, 251, 113, -1, L"#128", L"Java Environment"},
        {0, 0x50810080, 205, 31, 158, 14, 1003, L"#129", L""},
        {0, 0x50010000, 373, 30, 19, 14, 1004, L"#128", L""},
        {0, 0x50020000, 156, 55, 42, 8, -1, L"#130", L"CLASSPATH"},
        {0, 0x50810080, 205, 52, 158, 14, 1005, L"#129", L""},
        {0, 0x50010003, 367, 54, 29, 10, 1006, L"#128", L"\x81EA\x52A8"},
        {0, 0x50020000, 156, 76, 42, 8, -1, L"#130", L"PATH"},
        {0, 0x50810080, 205, 73, 187, 14, 1007, L"#129", L""},
        {0, 0x5001000C, 331, 99, 64, 14, 1008, L"#128", L"\x81EA\x52A8\x68C0\x6D4B(&A)"},
    };
    ASSERT_EQ(expected.size(), count);
    for (const Item& e : expected) {
        r.Align(data.data());
        r.Dword();
        Item got;
        got.exStyle = r.Dword();
        got.style = r.Dword();
        got.x = r.Short(); got.y = r.Short(); got.cx = r.Short(); got.cy = r.Short();
        got.id = static_cast<int>(r.Dword());
        got.cls = r.SzOrOrd();
        got.text = r.SzOrOrd();
        r.p += r.Word();
        SCOPED_TRACE(e.id);
        EXPECT_EQ(e.exStyle, got.exStyle);
        EXPECT_EQ(e.style, got.style);
        EXPECT_EQ(e.x, got.x); EXPECT_EQ(e.y, got.y); EXPECT_EQ(e.cx, got.cx); EXPECT_EQ(e.cy, got.cy);
        EXPECT_EQ(e.id, got.id);
        // Classes may be stored by name or by their predefined ordinal.
        const std::wstring byName = e.cls == L"#128" ? L"BUTTON" : e.cls == L"#129" ? L"EDIT" : L"STATIC";
        EXPECT_TRUE(got.cls == e.cls || _wcsicmp(got.cls.c_str(), byName.c_str()) == 0);
        EXPECT_TRUE(got.text == e.text);
    }
}

TEST_F(ResourcesTest, PicturesHaveTheirSizesAndDepth)
{
    const struct { int id, cx, cy; } pictures[] = {{129, 204, 208}, {130, 185, 21}, {131, 21, 22}, {132, 23, 22}, {133, 23, 22}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.id);
        const auto data = Resource(MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(p.id), kChinese);
        ASSERT_GE(data.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER h;
        memcpy(&h, data.data(), sizeof h);
        EXPECT_EQ(p.cx, h.biWidth);
        EXPECT_EQ(p.cy, std::abs(h.biHeight));
        EXPECT_EQ(24, h.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
    }
}

TEST_F(ResourcesTest, IconGroupHoldsNineImages)
{
    const auto data = Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(128), kChinese);
    ASSERT_GE(data.size(), 6u);
    WORD count;
    memcpy(&count, data.data() + 4, 2);
    ASSERT_EQ(9, count);
    std::vector<std::pair<int, int>> seen;
    for (int i = 0; i < count; ++i) {
        const BYTE* e = data.data() + 6 + 14 * i;
        WORD bpp;
        memcpy(&bpp, e + 6, 2);
        seen.emplace_back(e[0], bpp);
    }
    for (int size : {48, 32, 16})
        for (int bpp : {4, 8, 32})
            EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), std::make_pair(size, bpp))) << size << "px " << bpp << "bpp";
}

TEST_F(ResourcesTest, ManifestAsksForAdministratorAndCommonControls6)
{
    const auto data = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), kChinese);
    const std::string text(data.begin(), data.end());
    EXPECT_NE(std::string::npos, text.find("level=\"requireAdministrator\""));
    EXPECT_NE(std::string::npos, text.find("uiAccess=\"false\""));
    EXPECT_NE(std::string::npos, text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, text.find("name=\"UIStyle.manifest\""));
    EXPECT_NE(std::string::npos, text.find("processorArchitecture=\"amd64\"")) << "this build's architecture";
}

TEST_F(ResourcesTest, VersionBlockNamesTheProgram)
{
    const std::string exe = harness::TamrivelExe();
    DWORD ignored = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    auto value = [&](const char* key) {
        char* text = nullptr;
        UINT length = 0;
        std::string path = std::string("\\StringFileInfo\\080404B0\\") + key;
        return VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) && text ? std::string(text) : std::string("<missing>");
    };
    EXPECT_EQ("Tamrivel", value("InternalName"));
    EXPECT_EQ("Tamrivel.EXE", value("OriginalFilename"));
    EXPECT_EQ("1, 0, 0, 1", value("FileVersion"));
    EXPECT_EQ("1, 0, 0, 1", value("ProductVersion"));
    EXPECT_EQ("Tamrivel 应用程序", value("ProductName"));
    EXPECT_EQ("Tamrivel Microsoft 基础类应用程序", value("FileDescription"));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0x3Fu, fixed->dwFileFlagsMask);
}

TEST_F(ResourcesTest, FolderPromptIsInTheEnglishStringTable)
{
    const auto block = Resource(MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(9342 / 16 + 1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_FALSE(block.empty());
    const WORD* p = reinterpret_cast<const WORD*>(block.data());
    for (int i = 0; i < 9342 % 16; ++i)
        p += 1 + *p;
    EXPECT_EQ(std::wstring(L"Select Directory:"), std::wstring(reinterpret_cast<const wchar_t*>(p + 1), *p));
}

}  // namespace
