#pragma once
// Theme-file line grammar and value syntaxes as pure functions over 8-bit text.
#include <windows.h>
#include <string>

#include "CSkinProperty.h"
#include "SkinTables.h"

namespace skin {

// Steps 1-3 of the grammar: leading white space removed, comments cut, upper-cased.
// Returns false when the line is to be skipped (empty or a comment).
bool PrepareThemeLine(const std::string& raw, std::string& upperLine);

struct SectionHeader {
    bool accepted = false;
    int classCode = 0;
    int part = 0;
    int state = 0;
};
// upperLine starts with '['.
SectionHeader ParseSectionHeader(const std::string& upperLine);

// name = value; false when there is no '=' after the first character.
bool SplitAssignment(const std::string& upperLine, std::string& name, std::string& value);

// Screen facts that font values depend on.
struct FontContext {
    int dpiY = 96;
    BYTE charSet = DEFAULT_CHARSET;
};
FontContext ScreenFontContext();

// Converts value text for the property; false when nothing is to be stored (INTLIST).
bool ParsePropertyValue(const PropertyInfo& info, const std::string& upperValue, const FontContext& fonts,
                        CSkinProperty& out);

// The C library conversions the syntaxes are written in, bounded and overflow-safe.
// base 0 accepts decimal, 0x-hexadecimal and leading-zero octal (%i); base 10 is %ld.
bool ScanInteger(const char*& p, int base, int32_t& out);
int32_t LeadingInteger(const char* text);  // atoi
COLORREF ParseColorText(const char* text);                 // "%i %i %i"
RECT ParseMarginsText(const char* text);                   // "%ld,%ld,%ld,%ld" as left, right, top, bottom
POINT ParsePositionText(const char* text);                 // "%i,%i"
LOGFONTA ParseFontText(const char* text, const FontContext& fonts);  // "%[^,], %ld, %s"

}  // namespace skin
