// The program's own theme: loads from the executable's resources and from its folder, every
// section is accepted, every image resolves, every part and state draws. Also writes the
// gallery (every part and state in one labelled picture) when TAMRIVEL_SKIN_GALLERY names a file.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "SkinParser.h"
#include "SkinTables.h"
#include "SkinTestSupport.h"

using namespace skintest;
using namespace skin;

namespace {

struct Section {
    std::string name;
    SectionHeader header;
    std::vector<std::pair<std::string, std::string>> props;
};

// The theme text as the module carries it (UTF-16), split into sections by this test's own reading.
std::vector<Section> ReadThemeSections() {
    std::string bytes = ReadBytes(ThemeFolder() + "\\NormalSilver.ini");
    std::vector<Section> sections;
    if (bytes.size() < 2) return sections;
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    memcpy(&text[0], bytes.data() + 2, text.size() * 2);
    std::string ansi = ToAnsi(text);
    size_t start = 0;
    while (start < ansi.size()) {
        size_t end = ansi.find("\r\n", start);
        if (end == std::string::npos) end = ansi.size();
        std::string line = ansi.substr(start, end - start);
        start = end + 2;
        std::string upper;
        if (!PrepareThemeLine(line, upper)) continue;
        if (upper[0] == '[') {
            sections.push_back(Section{line.substr(1, line.size() - 2), ParseSectionHeader(upper), {}});
        } else if (!sections.empty()) {
            std::string name, value;
            if (SplitAssignment(upper, name, value)) sections.back().props.emplace_back(name, value);
        }
    }
    return sections;
}

std::string Prop(const Section& s, const char* name) {
    for (const auto& p : s.props)
        if (p.first == name) return p.second;
    return std::string();
}

// Frames that are deliberately empty: flat toolbar buttons and idle menu items draw nothing.
bool ExpectedEmpty(const std::string& section, int state) {
    static const std::set<std::string> flat = {"Toolbar.Button", "Toolbar.DropDownButton", "Toolbar.SplitButton"};
    if (flat.count(section)) return state == 1 || state == 4;
    if (section == "Menu.PopupItem") return state == 1 || state == 3;
    if (section == "Menu.PopupItem(Disabled)") return true;
    if (section == "Scrollbar.GripperHorz" || section == "Scrollbar.GripperVert") return state == 4;
    return false;
}

// Small buttons are drawn at their image's size, as the frame and spin objects draw them.
bool DrawnAtNaturalSize(const std::string& section) {
    return (section.compare(0, 7, "Window.") == 0 && section.find("Button") != std::string::npos) ||
           section.compare(0, 5, "Spin.") == 0 || section == "ComboBox.DropDownButton" ||
           section.compare(0, 17, "Toolbar.Separator") == 0 || section == "Toolbar.SplitButtonDropDown";
}

class OwnTheme : public ::testing::Test {
protected:
    void SetUp() override {
        engine = CSkinEngine::Instance();
        engine->SetApplyOptions(SkinApplyAll);
        ASSERT_TRUE(engine->LoadSkin(ExePath().c_str(), nullptr));
    }
    CSkinEngine* engine = nullptr;
};

}  // namespace

TEST_F(OwnTheme, LoadsFromTheExecutableWithEverySectionAccepted) {
    CSkinSchema* schema = engine->GetSchema();
    ASSERT_NE(nullptr, schema);
    EXPECT_FALSE(engine->GetPackage()->IsFolderMode());
    EXPECT_STREQ("NormalSilver_ini", engine->GetPackage()->GetIniFileName());
    EXPECT_EQ(126, schema->GetAcceptedSectionCount());
    EXPECT_EQ(0, schema->GetRefusedSectionCount());
    EXPECT_TRUE(schema->GetPremultiplyAlpha());

    CSkinMetrics* m = engine->GetMetrics();
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(26, m->captionHeight);
    EXPECT_EQ(18, m->smallCaptionHeight);
    EXPECT_EQ(17, m->cxVScroll);
    EXPECT_EQ(17, m->cyHScroll);
    EXPECT_EQ(RGB(238, 238, 244), m->colors[COLOR_BTNFACE]);
    EXPECT_EQ(RGB(59, 59, 59), m->colors[COLOR_CAPTIONTEXT]);
    EXPECT_EQ(RGB(178, 183, 194), m->edgeShadow);
    EXPECT_EQ(RGB(0, 0, 0), m->colors[COLOR_MENUTEXT]);  // not in the theme: the default table
    LOGFONTA lf = {};
    ASSERT_EQ(sizeof(lf), static_cast<size_t>(GetObjectA(m->captionFont.Get(), sizeof(lf), &lf)));
    EXPECT_STREQ("TAHOMA", lf.lfFaceName);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(-MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72), lf.lfHeight);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(engine->GetThemeSysBool(TMT_FLATMENUS));

    CSkinClassTheme* button = engine->GetThemeClass(nullptr, "button");
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(RGB(0, 0, 0), button->GetThemeColor(1, 3, TMT_TEXTCOLOR, CLR_INVALID));
    EXPECT_EQ(RGB(161, 161, 146), button->GetThemeColor(1, 4, TMT_TEXTCOLOR, CLR_INVALID));
    CSkinClassTheme* tab = engine->GetThemeClass(nullptr, "Tab");
    EXPECT_EQ(RGB(172, 168, 153), tab->GetThemeColor(3, 1, TMT_EDGESHADOWCOLOR, CLR_INVALID));
    CSkinClassTheme* window = engine->GetThemeClass(nullptr, "WINDOW");
    EXPECT_EQ(TST_SINGLE, window->GetThemeEnumValue(1, 1, TMT_TEXTSHADOWTYPE, -1));
    EXPECT_EQ(TST_NONE, window->GetThemeEnumValue(1, 2, TMT_TEXTSHADOWTYPE, TST_NONE));
}

TEST_F(OwnTheme, LoadsFromItsFolderAlike) {
    const size_t fromModule = engine->GetSchema()->GetPropertyCount();
    ASSERT_TRUE(engine->LoadSkin(ThemeFolder().c_str(), "NormalSilver.ini"));
    EXPECT_TRUE(engine->GetPackage()->IsFolderMode());
    EXPECT_EQ(126, engine->GetSchema()->GetAcceptedSectionCount());
    EXPECT_EQ(fromModule, engine->GetSchema()->GetPropertyCount());
    EXPECT_EQ(26, engine->GetMetrics()->captionHeight);

    // The same text saved as 8-bit in the system code page reads alike too.
    std::vector<Section> sections = ReadThemeSections();
    std::string ansi;
    for (const Section& s : sections) {
        ansi += "[" + s.name + "]\r\n";
        for (const auto& p : s.props) ansi += p.first + " = " + p.second + "\r\n";
    }
    TempDir dir;
    dir.Write("Plain.ini", ansi);
    ASSERT_TRUE(engine->LoadSkin(dir.Path().c_str(), "Plain.ini"));
    EXPECT_TRUE(engine->GetPackage()->GetPackagePath() == dir.Path().c_str());
    EXPECT_EQ(fromModule, engine->GetSchema()->GetPropertyCount());
}

TEST_F(OwnTheme, EveryImageReferenceResolvesInBothCarriers) {
    std::set<std::string> paths;
    for (const Section& s : ReadThemeSections())
        for (const auto& p : s.props)
            if (p.first.compare(0, 9, "IMAGEFILE") == 0 || p.first == "GLYPHIMAGEFILE") paths.insert(p.second);
    EXPECT_EQ(88u, paths.size());
    for (const std::string& path : paths) {
        auto fromModule = engine->GetPackage()->OpenImage(path.c_str());
        ASSERT_NE(nullptr, fromModule) << path;
        EXPECT_GT(fromModule->GetWidth(), 0);
    }
    ASSERT_TRUE(engine->LoadSkin(ThemeFolder().c_str(), "NormalSilver.ini"));
    for (const std::string& path : paths) {
        auto fromFolder = engine->GetPackage()->OpenImage(path.c_str());
        ASSERT_NE(nullptr, fromFolder) << path;
    }
}

// Draws every section's part at every state of its image into a canvas and checks pixels changed;
// with TAMRIVEL_SKIN_GALLERY set, the same drawings are laid out in one labelled picture.
TEST_F(OwnTheme, EveryPartAndStateDraws) {
    const COLORREF background = RGB(238, 238, 244);
    std::vector<Section> sections = ReadThemeSections();
    ASSERT_EQ(126u, sections.size());

    const int cellW = 64, cellH = 30, labelW = 210, cols = 20;
    int rows = 0;
    for (const Section& s : sections)
        if (s.header.part != 0 || !Prop(s, "BGTYPE").empty()) ++rows;
    Canvas gallery(labelW + cols * (cellW + 6), rows * (cellH + 6) + 6, RGB(250, 250, 252));
    SetBkMode(gallery.dc(), TRANSPARENT);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldFont = SelectObject(gallery.dc(), font);

    int row = 0, drawn = 0;
    for (const Section& s : sections) {
        const bool drawable = s.header.part != 0 || !Prop(s, "BGTYPE").empty();
        if (!drawable) continue;
        ASSERT_TRUE(s.header.accepted) << s.name;
        CSkinClassTheme* theme = engine->GetThemeClass(nullptr, ClassNameOf(s.header.classCode));
        ASSERT_NE(nullptr, theme) << s.name;
        const int part = s.header.part;
        const int bg = theme->GetThemeEnumValue(part, s.header.state, TMT_BGTYPE, BT_IMAGEFILE);
        int states = 1;
        if (bg == BT_IMAGEFILE) states = std::max(1, theme->GetThemeInt(part, s.header.state, TMT_IMAGECOUNT, 1));
        if (s.header.state != 0) states = 1;
        const int y = 6 + row * (cellH + 6);
        RECT label{6, y, labelW - 4, y + cellH};
        SetTextColor(gallery.dc(), RGB(40, 40, 48));
        DrawTextA(gallery.dc(), s.name.c_str(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        for (int i = 0; i < states && i < cols; ++i) {
            const int state = s.header.state != 0 ? s.header.state : (bg == BT_IMAGEFILE ? i + 1 : 0);
            // A fresh canvas per draw: the pixels it changed are this part's alone.
            Canvas cell(cellW, cellH, background);
            RECT r{4, 3, cellW - 4, cellH - 3};
            if (DrawnAtNaturalSize(s.name) && bg == BT_IMAGEFILE) {
                CString path = theme->GetThemeString(part, state, TMT_IMAGEFILE, "");
                CSkinImage* img = theme->GetImageCache()->Get(engine->GetPackage(), path.str());
                ASSERT_NE(nullptr, img) << s.name;
                const int fw = img->GetWidth(), fh = img->GetHeight() / states;
                r = RECT{(cellW - fw) / 2, (cellH - fh) / 2, (cellW - fw) / 2 + fw, (cellH - fh) / 2 + fh};
            }
            EXPECT_TRUE(theme->DrawThemeBackground(cell.dc(), part, state, r)) << s.name << " state " << state;
            if (!ExpectedEmpty(s.name, state)) {
                EXPECT_GT(cell.CountNot(background), 0) << s.name << " state " << state << " drew nothing";
            }
            ++drawn;
            const int x = labelW + i * (cellW + 6);
            BitBlt(gallery.dc(), x, y, cellW, cellH, cell.dc(), 0, 0, SRCCOPY);
        }
        ++row;
    }
    EXPECT_GT(drawn, 300);
    SelectObject(gallery.dc(), oldFont);

    char out[MAX_PATH] = "";
    if (GetEnvironmentVariableA("TAMRIVEL_SKIN_GALLERY", out, MAX_PATH)) {
        std::vector<uint32_t> argb(static_cast<size_t>(gallery.width()) * gallery.height());
        for (int yy = 0; yy < gallery.height(); ++yy)
            for (int xx = 0; xx < gallery.width(); ++xx) {
                COLORREF c = gallery.At(xx, yy);
                argb[static_cast<size_t>(yy) * gallery.width() + xx] =
                    0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        WriteBytes(out, EncodePng(gallery.width(), gallery.height(), argb, false));
    }
}

TEST_F(OwnTheme, PushButtonStatesAreDistinctAndFramesFollowTheState) {
    CSkinClassTheme* button = engine->GetThemeClass(nullptr, "BUTTON");
    std::map<int, std::vector<COLORREF>> looks;
    for (int state = 0; state <= 6; ++state) {
        Canvas c(75, 23, RGB(1, 2, 3));
        RECT r{0, 0, 75, 23};
        ASSERT_TRUE(button->DrawThemeBackground(c.dc(), 1, state, r));
        for (int y = 0; y < 23; ++y) looks[state].push_back(c.At(37, y));
        EXPECT_EQ(RGB(1, 2, 3), c.At(0, 0)) << "rounded corner stays see-through";
        EXPECT_NE(RGB(1, 2, 3), c.At(37, 11));
    }
    EXPECT_EQ(looks[0], looks[1]);  // state 0 draws frame 0
    EXPECT_EQ(looks[6], looks[1]);  // beyond the count: frame 0
    for (int a = 1; a <= 5; ++a)
        for (int b = a + 1; b <= 5; ++b) EXPECT_NE(looks[a], looks[b]) << a << " vs " << b;
}

TEST_F(OwnTheme, TextDrawsInTheThemeColourWithShadow) {
    CSkinClassTheme* window = engine->GetThemeClass(nullptr, "WINDOW");
    Canvas c(200, 30, RGB(128, 128, 128));
    SelectObject(c.dc(), engine->GetMetrics()->captionFont.Get());
    SetTextColor(c.dc(), RGB(255, 0, 0));
    RECT r{0, 0, 200, 30};
    ASSERT_TRUE(window->DrawThemeText(c.dc(), 1, 1, "Tamrivel", DT_SINGLELINE | DT_VCENTER, r));
    int text = 0, shadow = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x) {
            text += c.At(x, y) == RGB(59, 59, 59);
            shadow += c.At(x, y) == RGB(255, 255, 255);
        }
    EXPECT_GT(text, 20);
    EXPECT_GT(shadow, 5);
    EXPECT_EQ(RGB(59, 59, 59), GetTextColor(c.dc()));  // the theme colour stays selected
}
