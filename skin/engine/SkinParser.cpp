#include "SkinParser.h"

#include <cstring>
#include <vector>

namespace skin {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipSpace(const char*& p) {
    while (*p && IsSpace(*p)) ++p;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

void UpperCase(std::string& text) {
    if (text.empty()) return;
    // The system's upper-casing steps over double-byte characters whose trail bytes look like letters.
    std::vector<char> buf(text.begin(), text.end());
    CharUpperBuffA(buf.data(), static_cast<DWORD>(buf.size()));
    text.assign(buf.begin(), buf.end());
}

}  // namespace

bool ScanInteger(const char*& p, int base, int32_t& out) {
    const char* q = p;
    SkipSpace(q);
    bool negative = false;
    if (*q == '+' || *q == '-') {
        negative = *q == '-';
        ++q;
    }
    int radix = base;
    if (base == 0) {
        radix = 10;
        if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X') && DigitValue(q[2]) < 16) {
            radix = 16;
            q += 2;
        } else if (q[0] == '0') {
            radix = 8;
        }
    }
    if (DigitValue(*q) >= radix) return false;
    uint32_t acc = 0;
    while (DigitValue(*q) < radix) {
        acc = acc * static_cast<uint32_t>(radix) + static_cast<uint32_t>(DigitValue(*q));
        ++q;
    }
    out = static_cast<int32_t>(negative ? 0u - acc : acc);
    p = q;
    return true;
}

int32_t LeadingInteger(const char* text) {
    int32_t v = 0;
    const char* p = text ? text : "";
    return ScanInteger(p, 10, v) ? v : 0;
}

COLORREF ParseColorText(const char* text) {
    int32_t c[3] = {0, 0, 0};
    const char* p = text ? text : "";
    for (int i = 0; i < 3; ++i)
        if (!ScanInteger(p, 0, c[i])) break;
    return RGB(static_cast<BYTE>(c[0]), static_cast<BYTE>(c[1]), static_cast<BYTE>(c[2]));
}

RECT ParseMarginsText(const char* text) {
    int32_t v[4] = {0, 0, 0, 0};
    const char* p = text ? text : "";
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (*p != ',') break;  // a blank before the comma ends the match
            ++p;
        }
        if (!ScanInteger(p, 10, v[i])) break;
    }
    // Written left, right, top, bottom.
    return RECT{v[0], v[2], v[1], v[3]};
}

POINT ParsePositionText(const char* text) {
    int32_t v[2] = {0, 0};
    const char* p = text ? text : "";
    if (ScanInteger(p, 0, v[0]) && *p == ',') {
        ++p;
        ScanInteger(p, 0, v[1]);
    }
    return POINT{v[0], v[1]};
}

LOGFONTA ParseFontText(const char* text, const FontContext& fonts) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof(lf));
    const char* p = text ? text : "";
    const char* comma = std::strchr(p, ',');
    size_t faceLen = comma ? static_cast<size_t>(comma - p) : std::strlen(p);
    int32_t points = 0;
    std::string style;
    if (faceLen > 0) {
        // The face field holds at most LF_FACESIZE - 1 characters; longer names are cut, not overrun.
        std::memcpy(lf.lfFaceName, p, faceLen < LF_FACESIZE - 1 ? faceLen : LF_FACESIZE - 1);
        if (comma) {
            const char* q = comma + 1;
            if (ScanInteger(q, 10, points) && *q == ',') {
                ++q;
                SkipSpace(q);
                while (*q && !IsSpace(*q)) style += *q++;
            }
        }
    }
    lf.lfHeight = -MulDiv(points, fonts.dpiY, 72);
    lf.lfWeight = lstrcmpiA(style.c_str(), "BOLD") == 0 ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = fonts.charSet;
    return lf;
}

FontContext ScreenFontContext() {
    FontContext ctx;
    HDC dc = GetDC(nullptr);
    if (dc) {
        ctx.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
        ctx.charSet = static_cast<BYTE>(GetTextCharsetInfo(dc, nullptr, 0));
        ReleaseDC(nullptr, dc);
    }
    return ctx;
}

bool PrepareThemeLine(const std::string& raw, std::string& upperLine) {
    size_t start = 0;
    while (start < raw.size() && IsSpace(raw[start])) ++start;
    std::string line = raw.substr(start);
    if (!line.empty() && line[0] == ';') return false;
    size_t semi = line.find(';');
    if (semi != std::string::npos) line.erase(semi);
    if (line.empty()) return false;
    UpperCase(line);
    upperLine.swap(line);
    return true;
}

SectionHeader ParseSectionHeader(const std::string& upperLine) {
    SectionHeader h;
    std::string name = upperLine.size() >= 2 ? upperLine.substr(1, upperLine.size() - 2) : std::string();
    std::string packed;
    for (char c : name)
        if (c != ' ') packed += c;
    if (packed.find(':') != std::string::npos) return h;

    std::string base = packed, state;
    bool hasState = false;
    size_t paren = packed.find('(');
    if (paren != std::string::npos) {
        hasState = true;
        base = packed.substr(0, paren);
        // Up to, not including, the last character.
        size_t end = packed.size() - 1;
        state = end > paren + 1 ? packed.substr(paren + 1, end - paren - 1) : std::string();
    }
    std::string cls = base, part;
    bool hasPart = false;
    size_t dot = base.find('.');
    if (dot != std::string::npos) {
        hasPart = true;
        cls = base.substr(0, dot);
        part = base.substr(dot + 1);
    }
    int classCode = ClassCodeOf(cls);
    if (classCode == 0) return h;
    int partNo = 0;
    if (hasPart) {
        partNo = PartNumberOf(classCode, part);
        if (partNo == 0) return h;
    }
    int stateNo = 0;
    if (hasState) {
        stateNo = StateNumberOf(hasPart ? part : cls, state);
        if (stateNo == 0) return h;
    }
    h.accepted = true;
    h.classCode = classCode;
    h.part = partNo;
    h.state = stateNo;
    return h;
}

bool SplitAssignment(const std::string& upperLine, std::string& name, std::string& value) {
    size_t eq = upperLine.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    size_t nameEnd = eq;
    while (nameEnd > 0 && IsBlank(upperLine[nameEnd - 1])) --nameEnd;
    name = upperLine.substr(0, nameEnd);
    size_t vs = eq + 1, ve = upperLine.size();
    while (vs < ve && IsBlank(upperLine[vs])) ++vs;
    while (ve > vs && IsBlank(upperLine[ve - 1])) --ve;
    value = upperLine.substr(vs, ve - vs);
    return true;
}

bool ParsePropertyValue(const PropertyInfo& info, const std::string& upperValue, const FontContext& fonts,
                        CSkinProperty& out) {
    out = CSkinProperty();
    out.propertyId = info.id;
    out.type = StoredTypeOf(info.syntax);
    const char* text = upperValue.c_str();
    switch (info.syntax) {
    case ValueSyntax::String:
        out.text = upperValue;
        return true;
    case ValueSyntax::Int:
        out.value[0] = LeadingInteger(text);
        return true;
    case ValueSyntax::Bool:
        out.value[0] = lstrcmpiA(text, "TRUE") == 0 ? TRUE : FALSE;
        return true;
    case ValueSyntax::Color:
        out.value[0] = static_cast<int32_t>(ParseColorText(text));
        return true;
    case ValueSyntax::Rect: {
        RECT r = ParseMarginsText(text);
        out.value[0] = r.left;
        out.value[1] = r.top;
        out.value[2] = r.right;
        out.value[3] = r.bottom;
        return true;
    }
    case ValueSyntax::Font:
        out.font = std::make_unique<LOGFONTA>(ParseFontText(text, fonts));
        return true;
    case ValueSyntax::Enum:
        out.value[0] = EnumValueOf(info.id, upperValue);
        return true;
    case ValueSyntax::Position: {
        POINT pt = ParsePositionText(text);
        out.value[0] = pt.x;
        out.value[1] = pt.y;
        return true;
    }
    case ValueSyntax::IntList:
        return false;
    }
    return false;
}

}  // namespace skin
