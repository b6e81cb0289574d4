#pragma once
// Vocabulary of theme files: class, part and state names with their numbers, the
// property names with ids and storage types, the enumerations, and the 32-bit key.
// Every lookup takes upper-case names (theme lines are upper-cased before parsing).
#include <cstdint>
#include <string>

namespace skin {

// Class codes that the engine itself needs.
enum : int {
    kClassGlobals = 1,
    kClassDocumentation = 2,
    kClassSysMetrics = 3,
    kClassListBox = 4,
    kClassDialog = 5,
    kClassWindow = 6,
    kClassButton = 7,
    kClassCount = 31  // codes run 1..30
};

// How a property value is written in the theme file.
enum class ValueSyntax { String, Int, Bool, Color, Rect, Font, Enum, Position, IntList };

// Stored types of a CSkinProperty (7 is never stored).
enum PropertyType : int {
    kTypeString = 1,
    kTypeInt = 2,
    kTypeBool = 3,
    kTypeColor = 4,
    kTypeRect = 5,
    kTypeFont = 6,
    kTypeEnum = 8,
    kTypePosition = 9
};

struct PropertyInfo {
    const char* name;
    int id;
    ValueSyntax syntax;
};

// Property ids read by the engine.
enum PropertyId : int {
    TMT_ALPHALEVEL = 2402,
    TMT_BORDERSIZE = 2403,
    TMT_IMAGECOUNT = 2401,
    TMT_TRUESIZESTRETCHMARK = 2419,
    TMT_CAPTIONFONT = 801,
    TMT_SMALLCAPTIONFONT = 802,
    TMT_MENUFONT = 803,
    TMT_FLATMENUS = 1001,
    TMT_SCROLLBARWIDTH = 1202,
    TMT_SCROLLBARHEIGHT = 1203,
    TMT_CAPTIONBARHEIGHT = 1205,
    TMT_SMCAPTIONBARHEIGHT = 1207,
    TMT_FIRSTCOLOR = 1601,  // TMT_SCROLLBAR
    TMT_LASTCOLOR = 1631,   // TMT_MENUBAR
    TMT_TRANSPARENT = 2201,
    TMT_BORDERONLY = 2203,
    TMT_GLYPHTRANSPARENT = 2206,
    TMT_MIRRORIMAGE = 2209,
    TMT_IMAGEFILE = 3001,
    TMT_IMAGEFILE1 = 3002,
    TMT_IMAGEFILE5 = 3006,
    TMT_GLYPHIMAGEFILE = 3008,
    TMT_TEXTSHADOWOFFSET = 3402,
    TMT_SIZINGMARGINS = 3601,
    TMT_CONTENTMARGINS = 3602,
    TMT_CAPTIONMARGINS = 3603,
    TMT_BORDERCOLOR = 3801,
    TMT_FILLCOLOR = 3802,
    TMT_TEXTCOLOR = 3803,
    TMT_EDGESHADOWCOLOR = 3806,
    TMT_TRANSPARENTCOLOR = 3809,
    TMT_TEXTSHADOWCOLOR = 3818,
    TMT_BGTYPE = 4001,
    TMT_SIZINGTYPE = 4004,
    TMT_HALIGN = 4005,
    TMT_CONTENTALIGNMENT = 4006,
    TMT_VALIGN = 4007,
    TMT_TEXTSHADOWTYPE = 4010,
    TMT_IMAGELAYOUT = 4011,
    TMT_GLYPHTYPE = 4012,
    TMT_IMAGESELECTTYPE = 4013
};

// Enumeration values the drawing code compares against.
enum : int {
    BT_IMAGEFILE = 0, BT_BORDERFILL = 1, BT_NONE = 2,
    IL_VERTICAL = 0, IL_HORIZONTAL = 1,
    ST_TRUESIZE = 0, ST_STRETCH = 1, ST_TILE = 2,
    VA_TOP = 0, VA_CENTER = 1, VA_BOTTOM = 2,
    CA_LEFT = 0, CA_CENTER = 1, CA_RIGHT = 2,
    TST_NONE = 0, TST_SINGLE = 1,
    GT_NONE = 0, GT_IMAGEGLYPH = 1, GT_FONTGLYPH = 2,
    IST_NONE = 0, IST_SIZE = 1, IST_DPI = 2
};

// 0 when the name is not a class.
int ClassCodeOf(const std::string& upperName);
// Name as written in the class table; null for codes outside 1..30.
const char* ClassNameOf(int classCode);
// Position (from 1) of the part in its class's list; 0 when not there.
int PartNumberOf(int classCode, const std::string& upperPartName);
// Number of parts of a class (0 for classes without parts).
int PartCountOf(int classCode);
// Upper-case part name, or null.
const char* PartNameOf(int classCode, int part);
// Position (from 1) of the state in the list named listName (a part or class name); 0 when not there.
int StateNumberOf(const std::string& upperListName, const std::string& upperStateName);
// Number of states in the list named listName (0 when there is no such list).
int StateCountOf(const std::string& upperListName);
const char* StateNameOf(const std::string& upperListName, int state);

// Null when the name is not a property.
const PropertyInfo* FindPropertyInfo(const std::string& upperName);
const PropertyInfo* FindPropertyInfoById(int id);
// All properties, in id order; count() is 192.
const PropertyInfo* PropertyTable(int* count);
// Stored type for a syntax (0 for IntList, which is never stored).
int StoredTypeOf(ValueSyntax syntax);

// Number of the value name in the enumeration of property id; -1 when not listed.
int EnumValueOf(int propertyId, const std::string& upperValueName);

// ((state * 64 + part) * 64 + classCode) * 16384 + propertyId
inline uint32_t MakePropertyKey(int classCode, int part, int state, int propertyId) {
    return ((static_cast<uint32_t>(state) * 64u + static_cast<uint32_t>(part)) * 64u +
            static_cast<uint32_t>(classCode)) * 16384u + static_cast<uint32_t>(propertyId);
}
// Key inside one class handle's cache: (state * 64 + part) * 16384 + propertyId.
inline uint32_t MakeClassSubKey(int part, int state, int propertyId) {
    return (static_cast<uint32_t>(state) * 64u + static_cast<uint32_t>(part)) * 16384u +
           static_cast<uint32_t>(propertyId);
}

}  // namespace skin
