// Bad input: thousands of mutated theme texts and corrupted PNG files must load and draw
// without a crash, a hang or a GDI object left behind; a bad image only leaves its part undrawn.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <random>

#include "SkinParser.h"
#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skintest;
using namespace skin;

namespace {

std::vector<std::string> ThemeLines() {
    std::string bytes = ReadBytes(ThemeFolder() + "\\NormalSilver.ini");
    std::wstring text(bytes.size() > 2 ? (bytes.size() - 2) / 2 : 0, L'\0');
    if (!text.empty()) memcpy(&text[0], bytes.data() + 2, text.size() * 2);
    std::string ansi = ToAnsi(text);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < ansi.size()) {
        size_t end = ansi.find("\r\n", start);
        if (end == std::string::npos) end = ansi.size();
        lines.push_back(ansi.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class Mutator {
public:
    explicit Mutator(uint32_t seed) : m_rng(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    template <typename T>
    const T& Pick(const std::vector<T>& v) { return v[static_cast<size_t>(Int(0, static_cast<int>(v.size()) - 1))]; }

    std::string Token() {
        static const std::vector<std::string> numbers = {"0", "-1", "1", "3", "255", "256", "2147483647",
                                                         "-2147483648", "99999999999", "0x7fffffff", "077",
                                                         "0x", "-", "+5", "1e9", "65535", "4096"};
        static const std::vector<std::string> punct = {"[", "]", "(", ")", ".", ",", ", ", "=", ";", ":", " ",
                                                       "\t", "\\", "\xB0", "\xB0\x61", "\xFF", "\x81"};
        switch (Int(0, 6)) {
        case 0: return Pick(numbers);
        case 1: return Pick(punct);
        case 2: {
            int count = 0;
            const PropertyInfo* props = PropertyTable(&count);
            return props[Int(0, count - 1)].name;
        }
        case 3: return ClassNameOf(Int(1, 30));
        case 4: {
            int cls = Int(6, 30);
            const char* part = PartNameOf(cls, Int(1, std::max(1, PartCountOf(cls))));
            return part ? part : "PART";
        }
        case 5: {
            static const std::vector<std::string> words = {"IMAGEFILE", "BORDERFILL", "NONE", "TRUESIZE", "TILE",
                                                           "STRETCH", "TRUE", "FALSE", "BOLD", "VERTICAL",
                                                           "HORIZONTAL", "SIZE", "DPI", "IMAGEGLYPH", "SINGLE",
                                                           "HOT", "PRESSED", "DISABLED", "NORMAL", "ACTIVE",
                                                           "SILVER\\BUTTON.PNG", "SILVER\\NOPE.PNG", "TAHOMA"};
            return Pick(words);
        }
        default: {
            std::string junk;
            for (int i = Int(1, 12); i > 0; --i) junk += static_cast<char>(Int(1, 255));
            return junk;
        }
        }
    }

    std::string Value() {
        switch (Int(0, 5)) {
        case 0: return Token();
        case 1: return Token() + " " + Token() + " " + Token();
        case 2: return Token() + "," + Token() + ", " + Token() + "," + Token();
        case 3: return std::string(static_cast<size_t>(Int(0, 300)), static_cast<char>(Int(32, 126))) + ", " + Token();
        case 4: return "SILVER\\" + Token() + ".PNG";
        default: return std::to_string(Int(-100, 100)) + ", " + std::to_string(Int(-100, 100)) + ", " +
                        std::to_string(Int(-100, 100)) + ", " + std::to_string(Int(-100, 100));
        }
    }

    std::string Text(const std::vector<std::string>& seed) {
        size_t start = static_cast<size_t>(Int(0, static_cast<int>(seed.size()) - 1));
        size_t count = static_cast<size_t>(Int(10, 160));
        std::vector<std::string> lines(seed.begin() + start, seed.begin() + std::min(seed.size(), start + count));
        for (int k = Int(1, 10); k > 0; --k) {
            size_t at = lines.empty() ? 0 : static_cast<size_t>(Int(0, static_cast<int>(lines.size()) - 1));
            switch (Int(0, 8)) {
            case 0:
                if (!lines.empty() && !lines[at].empty())
                    lines[at][static_cast<size_t>(Int(0, static_cast<int>(lines[at].size()) - 1))] =
                        static_cast<char>(Int(1, 255));
                break;
            case 1:
                if (!lines.empty()) lines[at].insert(static_cast<size_t>(Int(0, static_cast<int>(lines[at].size()))), Token());
                break;
            case 2:
                if (!lines.empty() && !lines[at].empty()) lines[at].erase(static_cast<size_t>(Int(0, static_cast<int>(lines[at].size()) - 1)));
                break;
            case 3:
                if (!lines.empty()) lines.insert(lines.begin() + static_cast<long>(at), lines[at]);
                break;
            case 4:
                lines.insert(lines.begin() + static_cast<long>(at),
                             "[" + Token() + (Int(0, 1) ? "." + Token() : "") + (Int(0, 1) ? "(" + Token() + ")" : "") +
                                 (Int(0, 3) ? "]" : "] "));
                break;
            case 5: {
                int count = 0;
                const PropertyInfo* props = PropertyTable(&count);
                lines.insert(lines.begin() + static_cast<long>(at),
                             std::string(props[Int(0, count - 1)].name) + " = " + Value());
                break;
            }
            case 6: {
                std::string junk;
                for (int i = Int(0, 8); i > 0; --i) junk += Token();
                lines.insert(lines.begin() + static_cast<long>(at), junk);
                break;
            }
            case 7:
                if (!lines.empty()) lines.erase(lines.begin() + static_cast<long>(at));
                break;
            default:
                lines.insert(lines.begin() + static_cast<long>(at), std::string(static_cast<size_t>(Int(0, 5000)), 'X'));
                break;
            }
        }
        std::string text;
        for (const std::string& l : lines) text += l + "\n";
        return text;
    }

    std::mt19937& Rng() { return m_rng; }

private:
    std::mt19937 m_rng;
};

void WriteToString(png_structp png, png_bytep data, png_size_t len) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), len);
}

// A PNG of any colour type and depth, optionally interlaced, with palette, transparency,
// background and gamma chunks: the seeds the mutations start from.
std::string MakePng(int w, int h, int colorType, int depth, bool interlace, bool trns, bool bkgd, bool gamma) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::string();
    }
    png_set_write_fn(png, &out, WriteToString, nullptr);
    png_set_IHDR(png, info, w, h, depth, colorType, interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_color pal[16];
        for (int i = 0; i < 16; ++i) pal[i] = png_color{static_cast<png_byte>(i * 16), static_cast<png_byte>(255 - i * 8), 90};
        const int entries = std::min(16, 1 << depth);
        png_set_PLTE(png, info, pal, entries);
        if (trns) {
            png_byte alpha[4] = {0, 128, 255, 64};
            png_set_tRNS(png, info, alpha, std::min(4, entries), nullptr);
        }
    } else if (trns && !(colorType & PNG_COLOR_MASK_ALPHA)) {
        png_color_16 key = {};
        key.gray = 1;
        key.red = 1;
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    if (bkgd) {
        png_color_16 bg = {};
        bg.index = 1;
        bg.red = bg.green = bg.blue = bg.gray = 1;
        png_set_bKGD(png, info, &bg);
    }
    if (gamma) png_set_gAMA(png, info, 0.45455);
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const size_t rowBytes = (static_cast<size_t>(w) * channels * depth + 7) / 8;
    std::vector<png_byte> row(rowBytes);
    const int passes = interlace ? png_set_interlace_handling(png) : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < h; ++y) {
            for (size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<png_byte>((i * 37 + y * 11) & 0xFF);
            if (colorType == PNG_COLOR_TYPE_PALETTE && depth == 8)
                for (size_t i = 0; i < rowBytes; ++i) row[i] &= 0x0F;
            png_write_row(png, row.data());
        }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

void FixCrc(std::string& data, size_t chunkStart) {
    if (chunkStart + 8 > data.size()) return;
    uint32_t len = (static_cast<uint8_t>(data[chunkStart]) << 24) | (static_cast<uint8_t>(data[chunkStart + 1]) << 16) |
                   (static_cast<uint8_t>(data[chunkStart + 2]) << 8) | static_cast<uint8_t>(data[chunkStart + 3]);
    if (chunkStart + 8 + len + 4 > data.size()) return;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(data.data() + chunkStart + 4), len + 4);
    for (int i = 0; i < 4; ++i) data[chunkStart + 8 + len + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
}

void PutBe32(std::string& d, size_t at, uint32_t v) {
    for (int i = 0; i < 4 && at + i < d.size(); ++i) d[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

std::string Chunk(const std::string& type, const std::string& body, uint32_t declaredLength) {
    std::string c(4, '\0');
    PutBe32(c, 0, declaredLength);
    c += type + body;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(c.data() + 4), static_cast<uInt>(type.size() + body.size()));
    std::string tail(4, '\0');
    PutBe32(tail, 0, static_cast<uint32_t>(crc));
    return c + tail;
}

std::string CorruptPng(Mutator& m, std::string d) {
    if (d.size() < 40) {  // already cut short: only flip or cut further
        if (!d.empty()) d[static_cast<size_t>(m.Int(0, static_cast<int>(d.size()) - 1))] ^= 0x5A;
        return d;
    }
    switch (m.Int(0, 9)) {
    case 0:  // truncated
        d.resize(static_cast<size_t>(m.Int(0, static_cast<int>(d.size()) - 1)));
        break;
    case 1:  // bytes flipped: wrong CRCs and worse
        for (int i = m.Int(1, 6); i > 0; --i) d[static_cast<size_t>(m.Int(0, static_cast<int>(d.size()) - 1))] ^= static_cast<char>(m.Int(1, 255));
        break;
    case 2: {  // huge or odd sizes with a correct CRC
        static const uint32_t sizes[] = {0, 1, 4097, 65535, 1000000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
        const bool side = m.Int(0, 1) == 0;
        PutBe32(d, 16, side ? sizes[m.Int(0, 7)] : static_cast<uint32_t>(m.Int(1, m.Int(0, 50) ? 300 : 4096)));
        PutBe32(d, 20, !side ? sizes[m.Int(0, 7)] : static_cast<uint32_t>(m.Int(1, m.Int(0, 50) ? 300 : 4096)));
        FixCrc(d, 8);
        break;
    }
    case 3:  // bit depth, colour type, interlace out of range
        d[24] = static_cast<char>(m.Int(0, 33));
        d[25] = static_cast<char>(m.Int(0, 7));
        if (m.Int(0, 1)) d[28] = static_cast<char>(m.Int(0, 3));
        FixCrc(d, 8);
        break;
    case 4: {  // a random chunk after the header, sometimes claiming more bytes than it has
        static const std::vector<std::string> types = {"PLTE", "tRNS", "bKGD", "gAMA", "IDAT", "IHDR", "iCCP",
                                                       "sBIT", "cHRM", "zTXt", "iTXt", "aBcD", "IEND", "sPLT"};
        std::string body;
        for (int i = m.Int(0, 40); i > 0; --i) body += static_cast<char>(m.Int(0, 255));
        uint32_t declared = m.Int(0, 4) ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(m.Int(0, 0x7FFFFFFF));
        d.insert(33, Chunk(m.Pick(types), body, declared));
        break;
    }
    case 5: {  // image data replaced by noise with a valid CRC
        size_t idat = d.find("IDAT");
        if (idat != std::string::npos && idat >= 4) {
            size_t start = idat - 4;
            uint32_t len = (static_cast<uint8_t>(d[start]) << 24) | (static_cast<uint8_t>(d[start + 1]) << 16) |
                           (static_cast<uint8_t>(d[start + 2]) << 8) | static_cast<uint8_t>(d[start + 3]);
            for (uint32_t i = 0; i < len && start + 8 + i < d.size(); i += static_cast<uint32_t>(m.Int(1, 7)))
                d[start + 8 + i] = static_cast<char>(m.Int(0, 255));
            FixCrc(d, start);
        }
        break;
    }
    case 6: {  // the end chunk gone, or data after it
        size_t iend = d.rfind("IEND");
        if (iend != std::string::npos && iend >= 4) d.erase(iend - 4);
        if (m.Int(0, 1)) d += std::string(static_cast<size_t>(m.Int(1, 100)), '\x7F');
        break;
    }
    case 7:  // signature only, or a few bytes more
        d.resize(std::min(d.size(), static_cast<size_t>(m.Int(8, 40))));
        break;
    case 8: {  // a second image's chunks spliced in
        size_t cut = static_cast<size_t>(m.Int(8, static_cast<int>(d.size()) - 1));
        d = d.substr(0, cut) + d.substr(static_cast<size_t>(m.Int(8, static_cast<int>(cut))));
        break;
    }
    default:  // a zlib stream that inflates to far more than the rows need, still with valid CRCs
    {
        std::string zeros(static_cast<size_t>(m.Int(1000, 200000)), '\0');
        uLongf cap = compressBound(static_cast<uLong>(zeros.size()));
        std::string z(cap, '\0');
        compress(reinterpret_cast<Bytef*>(&z[0]), &cap, reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uLong>(zeros.size()));
        z.resize(cap);
        size_t idat = d.find("IDAT");
        if (idat != std::string::npos && idat >= 4) d.insert(idat - 4, Chunk("IDAT", z, static_cast<uint32_t>(z.size())));
        break;
    }
    }
    return d;
}

}  // namespace

TEST(SkinFuzz, MutatedThemeTextsLoadAndDraw) {
    const std::vector<std::string> seed = ThemeLines();
    ASSERT_GT(seed.size(), 800u);
    const std::string images = ThemeFolder();
    Mutator m(20261207);
    DWORD before = 0;
    const DWORD start = GetTickCount();
    int drawn = 0;
    for (int i = 0; i < 10000; ++i) {
        // The first round creates the system's own lasting objects (fonts, caches); counting starts after it.
        if (i == 1) before = GdiObjectCount();
        const std::string text = m.Text(seed);
        auto schema = SchemaFromText(text, images);
        if (i % 10 == 0) {
            schema->RefreshMetrics();
            Canvas c(40, 24);
            for (int k = 0; k < 4; ++k) {
                CSkinClassTheme* t = schema->GetClassTheme(ClassNameOf(m.Int(1, 30)));
                if (!t) continue;
                const int part = m.Int(0, 12), state = m.Int(-1, 20);
                RECT r{m.Int(-10, 20), m.Int(-10, 12), m.Int(-5, 60), m.Int(-5, 40)};
                drawn += t->DrawThemeBackground(c.dc(), part, state, r);
                t->DrawThemeText(c.dc(), part, state, "Tamrivel", DT_SINGLELINE | DT_CENTER, r);
            }
        }
    }
    EXPECT_GT(drawn, 100);
    EXPECT_EQ(before, GdiObjectCount());
    std::printf("10000 mutated theme texts in %lu ms\n", GetTickCount() - start);
}

TEST(SkinFuzz, CorruptedPngsDecodeOrFailCleanly) {
    std::vector<std::string> seeds;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((ThemeFolder() + "\\Silver\\*.png").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    do seeds.push_back(ReadBytes(ThemeFolder() + "\\Silver\\" + fd.cFileName));
    while (FindNextFileA(h, &fd));
    FindClose(h);
    ASSERT_EQ(88u, seeds.size());
    const struct { int type, depth; } kinds[] = {{PNG_COLOR_TYPE_GRAY, 1},  {PNG_COLOR_TYPE_GRAY, 2},
                                                 {PNG_COLOR_TYPE_GRAY, 4},  {PNG_COLOR_TYPE_GRAY, 8},
                                                 {PNG_COLOR_TYPE_GRAY, 16}, {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
                                                 {PNG_COLOR_TYPE_GRAY_ALPHA, 16}, {PNG_COLOR_TYPE_RGB, 8},
                                                 {PNG_COLOR_TYPE_RGB, 16},  {PNG_COLOR_TYPE_RGB_ALPHA, 8},
                                                 {PNG_COLOR_TYPE_RGB_ALPHA, 16}, {PNG_COLOR_TYPE_PALETTE, 1},
                                                 {PNG_COLOR_TYPE_PALETTE, 2}, {PNG_COLOR_TYPE_PALETTE, 4},
                                                 {PNG_COLOR_TYPE_PALETTE, 8}};
    int variant = 0;
    for (const auto& k : kinds)
        for (int flags = 0; flags < 4; ++flags, ++variant) {
            std::string png = MakePng(7 + variant % 5, 5 + variant % 3, k.type, k.depth, flags & 1, flags & 2,
                                      variant % 3 == 0, variant % 2 == 0);
            ASSERT_FALSE(png.empty());
            seeds.push_back(png);
        }
    // Every seed decodes before it is broken.
    for (const std::string& s : seeds) {
        CSkinImage img;
        ASSERT_TRUE(img.LoadFromPngMemory(s.data(), s.size()));
    }
    // Background chunks composite the alpha away; gamma chunks go through the gamma step.
    CSkinImage img;
    std::string withBackground = MakePng(4, 4, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false, true, true);
    ASSERT_TRUE(img.LoadFromPngMemory(withBackground.data(), withBackground.size()));
    EXPECT_FALSE(img.HasAlpha());

    Mutator m(777);
    Canvas c(24, 24);
    {
        CSkinImage warm;
        std::string png = MakePng(4, 4, PNG_COLOR_TYPE_RGB, 8, false, false, false, false);
        ASSERT_TRUE(warm.LoadFromPngMemory(png.data(), png.size()));
        warm.Draw(c.dc(), RECT{0, 0, 8, 8}, RECT{0, 0, 4, 4}, RECT{0, 0, 0, 0}, RGB(255, 0, 255), 1, FALSE);
    }
    const DWORD before = GdiObjectCount();
    const DWORD start = GetTickCount();
    int decoded = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string bad = CorruptPng(m, m.Pick(seeds));
        if (m.Int(0, 3) == 0) bad = CorruptPng(m, bad);
        CSkinImage image;
        if (!image.LoadFromPngMemory(bad.data(), bad.size())) continue;
        ++decoded;
        ASSERT_LE(image.GetWidth(), kMaxImageSide);
        ASSERT_LE(image.GetHeight(), kMaxImageSide);
        const int n = m.Int(1, 5);
        RECT margins{m.Int(0, 4), m.Int(0, 4), m.Int(0, 4), m.Int(0, 4)};
        image.PrepareSolidRects(n, FALSE, margins);
        image.Draw(c.dc(), RECT{0, 0, m.Int(1, 24), m.Int(1, 24)},
                   RECT{0, 0, image.GetWidth(), image.GetHeight() / n}, margins,
                   m.Int(0, 1) ? CLR_INVALID : RGB(255, 0, 255), m.Int(0, 2), m.Int(0, 1));
    }
    EXPECT_GT(decoded, 500);  // many corruptions leave a readable image, and those draw
    EXPECT_EQ(before, GdiObjectCount());
    std::printf("10000 corrupted PNGs (%d still decodable) in %lu ms\n", decoded, GetTickCount() - start);
}

TEST(SkinFuzz, ABadImageOnlyLeavesItsPartUndrawn) {
    TempDir dir;
    std::string good = ReadBytes(ThemeFolder() + "\\Silver\\Button.png");
    std::string bad = good;
    PutBe32(bad, 16, 0x7FFFFFFF);
    FixCrc(bad, 8);
    dir.Write("GOOD.PNG", good);
    dir.Write("BAD.PNG", bad);
    dir.Write("HALF.PNG", good.substr(0, good.size() / 2));
    dir.Write("t.ini",
              "[Button.PushButton]\r\nImageFile = GOOD.PNG\r\nImageCount = 5\r\nImageLayout = Vertical\r\n"
              "SizingMargins = 3, 3, 3, 3\r\n[Button.CheckBox]\r\nImageFile = BAD.PNG\r\n"
              "[Button.RadioButton]\r\nImageFile = HALF.PNG\r\n");
    CSkinEngine* engine = CSkinEngine::Instance();
    ASSERT_TRUE(engine->LoadSkin(dir.Path().c_str(), "t.ini"));
    CSkinClassTheme* button = engine->GetThemeClass(nullptr, "BUTTON");
    Canvas c(75, 23, RGB(9, 9, 9));
    RECT r{0, 0, 75, 23};
    EXPECT_FALSE(button->DrawThemeBackground(c.dc(), 3, 1, r));
    EXPECT_FALSE(button->DrawThemeBackground(c.dc(), 2, 1, r));
    EXPECT_EQ(0, c.CountNot(RGB(9, 9, 9)));
    EXPECT_TRUE(button->DrawThemeBackground(c.dc(), 1, 1, r));
    EXPECT_GT(c.CountNot(RGB(9, 9, 9)), 1000);
    engine->LoadSkin("", nullptr);
}
