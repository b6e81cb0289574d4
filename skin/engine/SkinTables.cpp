#include "SkinTables.h"

#include <cstring>
#include <unordered_map>
#include <vector>

namespace skin {
namespace {

const char* const kClassNames[] = {
    nullptr,       "GLOBALS",   "DOCUMENTATION", "SYSMETRICS", "LISTBOX",   "DIALOG",
    "WINDOW",      "BUTTON",    "REBAR",         "TOOLBAR",    "STATUS",    "MENU",
    "LISTVIEW",    "HEADER",    "PROGRESS",      "TAB",        "TRACKBAR",  "TOOLTIP",
    "TREEVIEW",    "SPIN",      "PAGE",          "SCROLLBAR",  "EDIT",      "COMBOBOX",
    "CLOCK",       "TRAYNOTIFY", "TASKBAR",      "TASKBAND",   "STARTPANEL", "EXPLORERBAR",
    "MENUBAND"};

struct PartList {
    int classCode;
    std::vector<const char*> parts;
};

const std::vector<const char*> kSpinParts = {"UP", "DOWN", "UPHORZ", "DOWNHORZ"};

const PartList kPartLists[] = {
    {6, {"CAPTION", "SMALLCAPTION", "MINCAPTION", "SMALLMINCAPTION", "MAXCAPTION", "SMALLMAXCAPTION",
         "FRAMELEFT", "FRAMERIGHT", "FRAMEBOTTOM", "SMALLFRAMELEFT", "SMALLFRAMERIGHT",
         "SMALLFRAMEBOTTOM", "SYSBUTTON", "MDISYSBUTTON", "MINBUTTON", "MDIMINBUTTON", "MAXBUTTON",
         "CLOSEBUTTON", "SMALLCLOSEBUTTON", "MDICLOSEBUTTON", "RESTOREBUTTON", "MDIRESTOREBUTTON",
         "HELPBUTTON", "MDIHELPBUTTON", "HORZSCROLL", "HORZTHUMB", "VERTSCROLL", "VERTTHUMB", "DIALOG",
         "CAPTIONSIZINGTEMPLATE", "SMALLCAPTIONSIZINGTEMPLATE", "FRAMELEFTSIZINGTEMPLATE",
         "SMALLFRAMELEFTSIZINGTEMPLATE", "FRAMERIGHTSIZINGTEMPLATE", "SMALLFRAMERIGHTSIZINGTEMPLATE",
         "FRAMEBOTTOMSIZINGTEMPLATE", "SMALLFRAMEBOTTOMSIZINGTEMPLATE"}},
    {7, {"PUSHBUTTON", "RADIOBUTTON", "CHECKBOX", "GROUPBOX", "USERBUTTON"}},
    {8, {"GRIPPER", "GRIPPERVERT", "BAND", "CHEVRON", "CHEVRONVERT"}},
    {9, {"BUTTON", "DROPDOWNBUTTON", "SPLITBUTTON", "SPLITBUTTONDROPDOWN", "SEPARATOR", "SEPARATORVERT"}},
    {10, {"PANE", "GRIPPERPANE", "GRIPPER"}},
    {11, {"MENUITEM", "MENUDROPDOWN", "MENUBARITEM", "MENUBARDROPDOWN", "CHEVRON", "SEPARATOR",
          "BARBACKGROUND", "BARITEM", "POPUPBACKGROUND", "POPUPBORDERS", "POPUPCHECK",
          "POPUPCHECKBACKGROUND", "POPUPGUTTER", "POPUPITEM", "POPUPSEPARATOR", "POPUPSUBMENU",
          "SYSTEMCLOSE", "SYSTEMMAXIMIZE", "SYSTEMMINIMIZE", "SYSTEMRESTORE"}},
    {12, {"LISTITEM", "LISTGROUP", "LISTDETAIL", "LISTSORTEDDETAIL", "EMPTYTEXT"}},
    {13, {"HEADERITEM", "HEADERITEMLEFT", "HEADERITEMRIGHT", "HEADERSORTARROW"}},
    {14, {"BAR", "BARVERT", "CHUNK", "CHUNKVERT"}},
    {15, {"TABITEM", "TABITEMLEFTEDGE", "TABITEMRIGHTEDGE", "TABITEMBOTHEDGE", "TOPTABITEM",
          "TOPTABITEMLEFTEDGE", "TOPTABITEMRIGHTEDGE", "TOPTABITEMBOTHEDGE", "PANE", "BODY"}},
    {16, {"TRACK", "TRACKVERT", "THUMB", "THUMBBOTTOM", "THUMBTOP", "THUMBVERT", "THUMBLEFT",
          "THUMBRIGHT", "TICS", "TICSVERT"}},
    {17, {"STANDARD", "STANDARDTITLE", "BALLOON", "BALLOONTITLE", "CLOSE"}},
    {18, {"TREEITEM", "GLYPH", "BRANCH"}},
    {19, kSpinParts},
    {20, kSpinParts},
    {21, {"ARROWBTN", "THUMBBTNHORZ", "THUMBBTNVERT", "LOWERTRACKHORZ", "UPPERTRACKHORZ",
          "LOWERTRACKVERT", "UPPERTRACKVERT", "GRIPPERHORZ", "GRIPPERVERT", "SIZEBOX"}},
    {22, {"EDITTEXT", "CARET"}},
    {23, {"DROPDOWNBUTTON"}},
    {24, {"TIME"}},
    {25, {"BACKGROUND", "ANIMBACKGROUND"}},
    {26, {"BACKGROUNDBOTTOM", "BACKGROUNDRIGHT", "BACKGROUNDTOP", "BACKGROUNDLEFT", "SIZINGBARBOTTOM",
          "SIZINGBARRIGHT", "SIZINGBARTOP", "SIZINGBARLEFT"}},
    {27, {"GROUPCOUNT", "FLASHBUTTON", "FLASHBUTTONGROUPMENU"}},
    {28, {"USERPANE", "MOREPROGRAMS", "MOREPROGRAMSARROW", "PROGLIST", "PROGLISTSEPARATOR", "PLACESLIST",
          "PLACESLISTSEPARATOR", "LOGOFF", "LOGOFFBUTTONS", "USERPICTURE", "PREVIEW"}},
    {29, {"HEADERBACKGROUND", "HEADERCLOSE", "HEADERPIN", "IEBARMENU", "NORMALGROUPBACKGROUND",
          "NORMALGROUPCOLLAPSE", "NORMALGROUPEXPAND", "NORMALGROUPHEAD", "SPECIALGROUPBACKGROUND",
          "SPECIALGROUPCOLLAPSE", "SPECIALGROUPEXPAND", "SPECIALGROUPHEAD"}},
    {30, {"NEWAPPBUTTON", "SEPERATOR"}},
};

struct StateList {
    std::vector<const char*> owners;
    std::vector<const char*> states;
};

const StateList kStateLists[] = {
    {{"FRAME", "BARBACKGROUND"}, {"ACTIVE", "INACTIVE"}},
    {{"CAPTION", "MAXCAPTION", "MINCAPTION"}, {"ACTIVE", "INACTIVE", "DISABLED"}},
    {{"HORZSCROLL", "HORZTHUMB", "VERTSCROLL", "VERTTHUMB", "SYSBUTTON", "MINBUTTON", "MAXBUTTON",
      "RESTOREBUTTON", "HELPBUTTON", "CLOSEBUTTON"},
     {"NORMAL", "HOT", "PUSHED", "DISABLED"}},
    {{"PUSHBUTTON"}, {"NORMAL", "HOT", "PRESSED", "DISABLED", "DEFAULTED"}},
    {{"RADIOBUTTON"},
     {"UNCHECKEDNORMAL", "UNCHECKEDHOT", "UNCHECKEDPRESSED", "UNCHECKEDDISABLED", "CHECKEDNORMAL",
      "CHECKEDHOT", "CHECKEDPRESSED", "CHECKEDDISABLED"}},
    {{"CHECKBOX"},
     {"UNCHECKEDNORMAL", "UNCHECKEDHOT", "UNCHECKEDPRESSED", "UNCHECKEDDISABLED", "CHECKEDNORMAL",
      "CHECKEDHOT", "CHECKEDPRESSED", "CHECKEDDISABLED", "MIXEDNORMAL", "MIXEDHOT", "MIXEDPRESSED",
      "MIXEDDISABLED"}},
    {{"GROUPBOX", "POPUPSUBMENU"}, {"NORMAL", "DISABLED"}},
    {{"CHEVRON", "HEADERITEM", "HEADERITEMLEFT", "HEADERITEMRIGHT", "CLOSE", "MOREPROGRAMSARROW",
      "LOGOFFBUTTONS", "HEADERCLOSE", "IEBARMENU", "NORMALGROUPCOLLAPSE", "NORMALGROUPEXPAND",
      "SPECIALGROUPCOLLAPSE", "SPECIALGROUPEXPAND"},
     {"NORMAL", "HOT", "PRESSED"}},
    {{"TOOLBAR", "MENUBAND"}, {"NORMAL", "HOT", "PRESSED", "DISABLED", "CHECKED", "HOTCHECKED"}},
    {{"MENU"}, {"NORMAL", "SELECTED", "DEMOTED"}},
    {{"POPUPCHECK"}, {"CHECKMARKNORMAL", "CHECKMARKDISABLED", "BULLETNORMAL", "BULLETDISABLED"}},
    {{"POPUPCHECKBACKGROUND"}, {"DISABLED", "NORMAL", "BITMAP"}},
    {{"POPUPITEM"}, {"NORMAL", "HOT", "DISABLED", "DISABLEDHOT"}},
    {{"LISTITEM", "TREEITEM"}, {"NORMAL", "HOT", "SELECTED", "DISABLED", "SELECTEDNOTFOCUS"}},
    {{"HEADERSORTARROW"}, {"SORTEDUP", "SORTEDDOWN"}},
    // The both-edge lists carry an "S" that the part names lack: such sections cannot take a state.
    {{"TABITEM", "TABITEMLEFTEDGE", "TABITEMRIGHTEDGE", "TABITEMBOTHEDGES", "TOPTABITEM",
      "TOPTABITEMLEFTEDGE", "TOPTABITEMRIGHTEDGE", "TOPTABITEMBOTHEDGES"},
     {"NORMAL", "HOT", "SELECTED", "DISABLED", "FOCUSED"}},
    {{"THUMB", "THUMBBOTTOM", "THUMBTOP", "THUMBVERT", "THUMBLEFT", "THUMBRIGHT"},
     {"NORMAL", "HOT", "PRESSED", "FOCUSED", "DISABLED"}},
    {{"STANDARD", "BALLOON"}, {"NORMAL", "LINK"}},
    {{"GLYPH"}, {"CLOSED", "OPENED"}},
    {{"UP", "DOWN", "UPHORZ", "DOWNHORZ", "COMBOBOX"}, {"NORMAL", "HOT", "PRESSED", "DISABLED"}},
    {{"ARROWBTN"},
     {"UPNORMAL", "UPHOT", "UPPRESSED", "UPDISABLED", "DOWNNORMAL", "DOWNHOT", "DOWNPRESSED",
      "DOWNDISABLED", "LEFTNORMAL", "LEFTHOT", "LEFTPRESSED", "LEFTDISABLED", "RIGHTNORMAL", "RIGHTHOT",
      "RIGHTPRESSED", "RIGHTDISABLED"}},
    {{"SCROLLBAR"}, {"NORMAL", "HOT", "PRESSED", "DISABLED", "ACTIVE"}},
    {{"SIZEBOX"}, {"RIGHTALIGN", "LEFTALIGN"}},
    {{"EDITTEXT"}, {"NORMAL", "HOT", "SELECTED", "DISABLED", "FOCUSED", "READONLY", "ASSIST"}},
    {{"HEADERPIN"}, {"NORMAL", "HOT", "PRESSED", "SELECTEDNORMAL", "SELECTEDHOT", "SELECTEDPRESSED"}},
    {{"TRACKBAR", "TRACK", "TRACKVERT", "TICS", "TICSVERT", "CLOCK"}, {"NORMAL"}},
};

using S = ValueSyntax;
const PropertyInfo kProperties[] = {
    {"STRING", 201, S::String}, {"INT", 202, S::Int}, {"BOOL", 203, S::Bool}, {"COLOR", 204, S::Color},
    {"MARGINS", 205, S::Rect}, {"FILENAME", 206, S::String}, {"SIZE", 207, S::Int},
    {"POSITION", 208, S::Position}, {"RECT", 209, S::Rect}, {"FONT", 210, S::Font},
    {"INTLIST", 211, S::IntList},
    {"COLORSCHEMES", 401, S::String}, {"SIZES", 402, S::String}, {"CHARSET", 403, S::Int},
    {"DISPLAYNAME", 601, S::String}, {"TOOLTIP", 602, S::String}, {"COMPANY", 603, S::String},
    {"AUTHOR", 604, S::String}, {"COPYRIGHT", 605, S::String}, {"URL", 606, S::String},
    {"VERSION", 607, S::String}, {"DESCRIPTION", 608, S::String},
    {"CAPTIONFONT", 801, S::Font}, {"SMALLCAPTIONFONT", 802, S::Font}, {"MENUFONT", 803, S::Font},
    {"STATUSFONT", 804, S::Font}, {"MSGBOXFONT", 805, S::Font}, {"ICONTITLEFONT", 806, S::Font},
    {"FLATMENUS", 1001, S::Bool},
    {"SIZINGBORDERWIDTH", 1201, S::Int}, {"SCROLLBARWIDTH", 1202, S::Int}, {"SCROLLBARHEIGHT", 1203, S::Int},
    {"CAPTIONBARWIDTH", 1204, S::Int}, {"CAPTIONBARHEIGHT", 1205, S::Int}, {"SMCAPTIONBARWIDTH", 1206, S::Int},
    {"SMCAPTIONBARHEIGHT", 1207, S::Int}, {"MENUBARWIDTH", 1208, S::Int}, {"MENUBARHEIGHT", 1209, S::Int},
    {"MINCOLORDEPTH", 1301, S::Int},
    {"CSSNAME", 1401, S::String}, {"XMLNAME", 1402, S::String},
    {"SCROLLBAR", 1601, S::Color}, {"BACKGROUND", 1602, S::Color}, {"ACTIVECAPTION", 1603, S::Color},
    {"INACTIVECAPTION", 1604, S::Color}, {"MENU", 1605, S::Color}, {"WINDOW", 1606, S::Color},
    {"WINDOWFRAME", 1607, S::Color}, {"MENUTEXT", 1608, S::Color}, {"WINDOWTEXT", 1609, S::Color},
    {"CAPTIONTEXT", 1610, S::Color}, {"ACTIVEBORDER", 1611, S::Color}, {"INACTIVEBORDER", 1612, S::Color},
    {"APPWORKSPACE", 1613, S::Color}, {"HIGHLIGHT", 1614, S::Color}, {"HIGHLIGHTTEXT", 1615, S::Color},
    {"BTNFACE", 1616, S::Color}, {"BTNSHADOW", 1617, S::Color}, {"GRAYTEXT", 1618, S::Color},
    {"BTNTEXT", 1619, S::Color}, {"INACTIVECAPTIONTEXT", 1620, S::Color}, {"BTNHIGHLIGHT", 1621, S::Color},
    {"DKSHADOW3D", 1622, S::Color}, {"LIGHT3D", 1623, S::Color}, {"INFOTEXT", 1624, S::Color},
    {"INFOBK", 1625, S::Color}, {"BUTTONALTERNATEFACE", 1626, S::Color}, {"HOTTRACKING", 1627, S::Color},
    {"GRADIENTACTIVECAPTION", 1628, S::Color}, {"GRADIENTINACTIVECAPTION", 1629, S::Color},
    {"MENUHILIGHT", 1630, S::Color}, {"MENUBAR", 1631, S::Color},
    {"FROMHUE1", 1801, S::Int}, {"FROMHUE2", 1802, S::Int}, {"FROMHUE3", 1803, S::Int},
    {"FROMHUE4", 1804, S::Int}, {"FROMHUE5", 1805, S::Int}, {"TOHUE1", 1806, S::Int},
    {"TOHUE2", 1807, S::Int}, {"TOHUE3", 1808, S::Int}, {"TOHUE4", 1809, S::Int}, {"TOHUE5", 1810, S::Int},
    {"FROMCOLOR1", 2001, S::Color}, {"FROMCOLOR2", 2002, S::Color}, {"FROMCOLOR3", 2003, S::Color},
    {"FROMCOLOR4", 2004, S::Color}, {"FROMCOLOR5", 2005, S::Color}, {"TOCOLOR1", 2006, S::Color},
    {"TOCOLOR2", 2007, S::Color}, {"TOCOLOR3", 2008, S::Color}, {"TOCOLOR4", 2009, S::Color},
    {"TOCOLOR5", 2010, S::Color},
    {"TRANSPARENT", 2201, S::Bool}, {"AUTOSIZE", 2202, S::Bool}, {"BORDERONLY", 2203, S::Bool},
    {"COMPOSITED", 2204, S::Bool}, {"BGFILL", 2205, S::Bool}, {"GLYPHTRANSPARENT", 2206, S::Bool},
    {"GLYPHONLY", 2207, S::Bool}, {"ALWAYSSHOWSIZINGBAR", 2208, S::Bool}, {"MIRRORIMAGE", 2209, S::Bool},
    {"UNIFORMSIZING", 2210, S::Bool}, {"INTEGRALSIZING", 2211, S::Bool}, {"SOURCEGROW", 2212, S::Bool},
    {"SOURCESHRINK", 2213, S::Bool},
    {"IMAGECOUNT", 2401, S::Int}, {"ALPHALEVEL", 2402, S::Int}, {"BORDERSIZE", 2403, S::Int},
    {"ROUNDCORNERWIDTH", 2404, S::Int}, {"ROUNDCORNERHEIGHT", 2405, S::Int},
    {"GRADIENTRATIO1", 2406, S::Int}, {"GRADIENTRATIO2", 2407, S::Int}, {"GRADIENTRATIO3", 2408, S::Int},
    {"GRADIENTRATIO4", 2409, S::Int}, {"GRADIENTRATIO5", 2410, S::Int},
    {"PROGRESSCHUNKSIZE", 2411, S::Int}, {"PROGRESSSPACESIZE", 2412, S::Int}, {"SATURATION", 2413, S::Int},
    {"TEXTBORDERSIZE", 2414, S::Int}, {"ALPHATHRESHOLD", 2415, S::Int}, {"WIDTH", 2416, S::Int},
    {"HEIGHT", 2417, S::Int}, {"GLYPHINDEX", 2418, S::Int}, {"TRUESIZESTRETCHMARK", 2419, S::Int},
    {"MINDPI1", 2420, S::Int}, {"MINDPI2", 2421, S::Int}, {"MINDPI3", 2422, S::Int},
    {"MINDPI4", 2423, S::Int}, {"MINDPI5", 2424, S::Int},
    {"GLYPHFONT", 2601, S::Font},
    {"IMAGEFILE", 3001, S::String}, {"IMAGEFILE1", 3002, S::String}, {"IMAGEFILE2", 3003, S::String},
    {"IMAGEFILE3", 3004, S::String}, {"IMAGEFILE4", 3005, S::String}, {"IMAGEFILE5", 3006, S::String},
    {"STOCKIMAGEFILE", 3007, S::String}, {"GLYPHIMAGEFILE", 3008, S::String},
    {"TEXT", 3201, S::String},
    {"OFFSET", 3401, S::Position}, {"TEXTSHADOWOFFSET", 3402, S::Position}, {"MINSIZE", 3403, S::Position},
    {"MINSIZE1", 3404, S::Position}, {"MINSIZE2", 3405, S::Position}, {"MINSIZE3", 3406, S::Position},
    {"MINSIZE4", 3407, S::Position}, {"MINSIZE5", 3408, S::Position}, {"NORMALSIZE", 3409, S::Position},
    {"SIZINGMARGINS", 3601, S::Rect}, {"CONTENTMARGINS", 3602, S::Rect}, {"CAPTIONMARGINS", 3603, S::Rect},
    {"BORDERCOLOR", 3801, S::Color}, {"FILLCOLOR", 3802, S::Color}, {"TEXTCOLOR", 3803, S::Color},
    {"EDGELIGHTCOLOR", 3804, S::Color}, {"EDGEHIGHLIGHTCOLOR", 3805, S::Color},
    {"EDGESHADOWCOLOR", 3806, S::Color}, {"EDGEDKSHADOWCOLOR", 3807, S::Color},
    {"EDGEFILLCOLOR", 3808, S::Color}, {"TRANSPARENTCOLOR", 3809, S::Color},
    {"GRADIENTCOLOR1", 3810, S::Color}, {"GRADIENTCOLOR2", 3811, S::Color},
    {"GRADIENTCOLOR3", 3812, S::Color}, {"GRADIENTCOLOR4", 3813, S::Color},
    {"GRADIENTCOLOR5", 3814, S::Color}, {"SHADOWCOLOR", 3815, S::Color}, {"GLOWCOLOR", 3816, S::Color},
    {"TEXTBORDERCOLOR", 3817, S::Color}, {"TEXTSHADOWCOLOR", 3818, S::Color},
    {"GLYPHTEXTCOLOR", 3819, S::Color}, {"GLYPHTRANSPARENTCOLOR", 3820, S::Color},
    {"FILLCOLORHINT", 3821, S::Color}, {"BORDERCOLORHINT", 3822, S::Color},
    {"ACCENTCOLORHINT", 3823, S::Color},
    {"BGTYPE", 4001, S::Enum}, {"BORDERTYPE", 4002, S::Enum}, {"FILLTYPE", 4003, S::Enum},
    {"SIZINGTYPE", 4004, S::Enum}, {"HALIGN", 4005, S::Enum}, {"CONTENTALIGNMENT", 4006, S::Enum},
    {"VALIGN", 4007, S::Enum}, {"OFFSETTYPE", 4008, S::Enum}, {"ICONEFFECT", 4009, S::Enum},
    {"TEXTSHADOWTYPE", 4010, S::Enum}, {"IMAGELAYOUT", 4011, S::Enum}, {"GLYPHTYPE", 4012, S::Enum},
    {"IMAGESELECTTYPE", 4013, S::Enum}, {"GLYPHFONTSIZINGTYPE", 4014, S::Enum},
    {"TRUESIZESCALINGTYPE", 4015, S::Enum},
    {"USERPICTURE", 5001, S::Bool}, {"DEFAULTPANESIZE", 5002, S::Rect}, {"BLENDCOLOR", 5003, S::Color},
};

struct EnumList {
    int propertyId;
    std::vector<std::pair<const char*, int>> values;
};

const std::vector<std::pair<const char*, int>> kAlign = {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}};
const std::vector<std::pair<const char*, int>> kSelect = {{"NONE", 0}, {"SIZE", 1}, {"DPI", 2}};

const EnumList kEnums[] = {
    {4001, {{"IMAGEFILE", 0}, {"BORDERFILL", 1}, {"NONE", 2}}},
    {4011, {{"VERTICAL", 0}, {"HORIZONTAL", 1}}},
    {4002, {{"RECT", 0}, {"ROUNDRECT", 1}, {"ELLIPSE", 2}}},
    {4003, {{"SOLID", 0}, {"VERTGRADIENT", 1}, {"HORZGRADIENT", 2}, {"RADIALGRADIENT", 3}, {"TILEIMAGE", 4}}},
    {4004, {{"TRUESIZE", 0}, {"STRETCH", 1}, {"TILE", 2}}},
    {4005, kAlign},
    {4006, kAlign},
    {4007, {{"TOP", 0}, {"CENTER", 1}, {"BOTTOM", 2}}},
    {4008, {{"TOPLEFT", 0}, {"TOPRIGHT", 1}, {"TOPMIDDLE", 2}, {"BOTTOMLEFT", 3}, {"BOTTOMRIGHT", 4},
            {"BOTTOMMIDDLE", 5}, {"MIDDLELEFT", 6}, {"MIDDLERIGHT", 7}, {"LEFTOFCAPTION", 8},
            {"RIGHTOFCAPTION", 9}, {"LEFTOFLASTBUTTON", 10}, {"RIGHTOFLASTBUTTON", 11},
            {"ABOVELASTBUTTON", 12}, {"BELOWLASTBUTTON", 13}}},
    {4009, {{"NONE", 0}, {"GLOW", 1}, {"SHADOW", 2}, {"PULSE", 3}, {"ALPHA", 4}}},
    {4010, {{"NONE", 0}, {"SINGLE", 1}, {"CONTINUOUS", 2}}},
    {4012, {{"NONE", 0}, {"IMAGEGLYPH", 1}, {"FONTGLYPH", 2}}},
    {4013, kSelect},
    {4015, kSelect},
    {4014, kSelect},
};

// Lookup maps built once on first use.
struct Index {
    std::unordered_map<std::string, int> classes;
    std::unordered_map<std::string, const StateList*> states;
    std::unordered_map<std::string, const PropertyInfo*> propsByName;
    std::unordered_map<int, const PropertyInfo*> propsById;
    std::unordered_map<int, const EnumList*> enums;

    Index() {
        for (int i = 1; i < kClassCount; ++i) classes[kClassNames[i]] = i;
        for (const StateList& list : kStateLists)
            for (const char* owner : list.owners) states[owner] = &list;
        for (const PropertyInfo& p : kProperties) {
            propsByName[p.name] = &p;
            propsById[p.id] = &p;
        }
        for (const EnumList& e : kEnums) enums[e.propertyId] = &e;
    }
};

const Index& GetIndex() {
    static const Index index;
    return index;
}

const PartList* PartsOf(int classCode) {
    for (const PartList& list : kPartLists)
        if (list.classCode == classCode) return &list;
    return nullptr;
}

}  // namespace

int ClassCodeOf(const std::string& upperName) {
    const auto& m = GetIndex().classes;
    auto it = m.find(upperName);
    return it == m.end() ? 0 : it->second;
}

const char* ClassNameOf(int classCode) {
    return classCode >= 1 && classCode < kClassCount ? kClassNames[classCode] : nullptr;
}

int PartNumberOf(int classCode, const std::string& upperPartName) {
    const PartList* list = PartsOf(classCode);
    if (!list) return 0;
    for (size_t i = 0; i < list->parts.size(); ++i)
        if (upperPartName == list->parts[i]) return static_cast<int>(i) + 1;
    return 0;
}

int PartCountOf(int classCode) {
    const PartList* list = PartsOf(classCode);
    return list ? static_cast<int>(list->parts.size()) : 0;
}

const char* PartNameOf(int classCode, int part) {
    const PartList* list = PartsOf(classCode);
    if (!list || part < 1 || part > static_cast<int>(list->parts.size())) return nullptr;
    return list->parts[static_cast<size_t>(part) - 1];
}

int StateNumberOf(const std::string& upperListName, const std::string& upperStateName) {
    const auto& m = GetIndex().states;
    auto it = m.find(upperListName);
    if (it == m.end()) return 0;
    const auto& states = it->second->states;
    for (size_t i = 0; i < states.size(); ++i)
        if (upperStateName == states[i]) return static_cast<int>(i) + 1;
    return 0;
}

int StateCountOf(const std::string& upperListName) {
    const auto& m = GetIndex().states;
    auto it = m.find(upperListName);
    return it == m.end() ? 0 : static_cast<int>(it->second->states.size());
}

const char* StateNameOf(const std::string& upperListName, int state) {
    const auto& m = GetIndex().states;
    auto it = m.find(upperListName);
    if (it == m.end() || state < 1 || state > static_cast<int>(it->second->states.size())) return nullptr;
    return it->second->states[static_cast<size_t>(state) - 1];
}

const PropertyInfo* FindPropertyInfo(const std::string& upperName) {
    const auto& m = GetIndex().propsByName;
    auto it = m.find(upperName);
    return it == m.end() ? nullptr : it->second;
}

const PropertyInfo* FindPropertyInfoById(int id) {
    const auto& m = GetIndex().propsById;
    auto it = m.find(id);
    return it == m.end() ? nullptr : it->second;
}

const PropertyInfo* PropertyTable(int* count) {
    if (count) *count = static_cast<int>(sizeof(kProperties) / sizeof(kProperties[0]));
    return kProperties;
}

int StoredTypeOf(ValueSyntax syntax) {
    switch (syntax) {
    case S::String: return kTypeString;
    case S::Int: return kTypeInt;
    case S::Bool: return kTypeBool;
    case S::Color: return kTypeColor;
    case S::Rect: return kTypeRect;
    case S::Font: return kTypeFont;
    case S::Enum: return kTypeEnum;
    case S::Position: return kTypePosition;
    case S::IntList: return 0;
    }
    return 0;
}

int EnumValueOf(int propertyId, const std::string& upperValueName) {
    const auto& m = GetIndex().enums;
    auto it = m.find(propertyId);
    if (it == m.end()) return -1;
    for (const auto& v : it->second->values)
        if (upperValueName == v.first) return v.second;
    return -1;
}

}  // namespace skin
