#include "CSkinSchema.h"

#include <algorithm>

#include "CSkinImageCache.h"
#include "CSkinPackage.h"
#include "SkinParser.h"
#include "SkinTables.h"

using namespace skin;

namespace {

const COLORREF kDefaultSysColors[31] = {
    RGB(192, 192, 192), RGB(58, 110, 165),  RGB(0, 0, 128),     RGB(128, 128, 128), RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(180, 180, 180), RGB(0, 0, 255),     RGB(16, 132, 208),  RGB(181, 181, 181), RGB(0, 0, 128),
    RGB(192, 192, 192)};

bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

void FillIfAny(HDC dc, const RECT& r, COLORREF color) {
    if (!IsEmptyRect(r)) FillSolid(dc, r, color);
}

}  // namespace

COLORREF SkinDefaultSysColor(int index) { return index >= 0 && index < 31 ? kDefaultSysColors[index] : 0; }

// ---------------------------------------------------------------------------------------------
// CSkinMetrics

void CSkinMetrics::Refresh(unsigned applyOptions) {
    if (!schema) {
        for (int i = 0; i < 31; ++i) {
            colors[i] = GetSysColor(i);
            brushes[i].Reset();
        }
        return;
    }
    refreshing = TRUE;
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = 340;  // without the padded-border field, accepted by every system
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0)) {
        captionFont.Reset(CreateFontIndirectA(&ncm.lfCaptionFont));
        smallCaptionFont.Reset(CreateFontIndirectA(&ncm.lfSmCaptionFont));
        menuFont.Reset(CreateFontIndirectA(&ncm.lfMenuFont));
    }
    borderMultiplier = 1;
    SystemParametersInfoA(SPI_GETBORDER, 0, &borderMultiplier, 0);
    cxBorder = GetSystemMetrics(SM_CXBORDER);
    cyBorder = GetSystemMetrics(SM_CYBORDER);
    cxEdge = GetSystemMetrics(SM_CXEDGE);
    cyEdge = GetSystemMetrics(SM_CYEDGE);
    cxHScroll = GetSystemMetrics(SM_CXHSCROLL);
    cyHScroll = GetSystemMetrics(SM_CYHSCROLL);
    cxVScroll = systemCxVScroll = GetSystemMetrics(SM_CXVSCROLL);
    cyVScroll = GetSystemMetrics(SM_CYVSCROLL);
    captionHeight = systemCaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    smallCaptionHeight = systemSmallCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);

    if (applyOptions & SkinApplyMetrics) {
        int v = 0;
        if (schema->GetSchemaInt(kClassSysMetrics, 0, 0, TMT_CAPTIONBARHEIGHT, &v) == S_OK) captionHeight = v;
        captionHeight += 1;
        if (schema->GetSchemaInt(kClassSysMetrics, 0, 0, TMT_SMCAPTIONBARHEIGHT, &v) == S_OK) smallCaptionHeight = v;
        smallCaptionHeight += 1;
        if (schema->GetSchemaInt(kClassSysMetrics, 0, 0, TMT_SCROLLBARWIDTH, &v) == S_OK && v > 0)
            cxVScroll = cxHScroll = v;
        if (schema->GetSchemaInt(kClassSysMetrics, 0, 0, TMT_SCROLLBARHEIGHT, &v) == S_OK && v > 0)
            cyVScroll = cyHScroll = v;
        LOGFONTA lf;
        if (schema->GetSchemaFont(kClassSysMetrics, 0, 0, TMT_CAPTIONFONT, &lf) == S_OK)
            captionFont.Reset(CreateFontIndirectA(&lf));
        if (schema->GetSchemaFont(kClassSysMetrics, 0, 0, TMT_SMALLCAPTIONFONT, &lf) == S_OK)
            smallCaptionFont.Reset(CreateFontIndirectA(&lf));
        if (schema->GetSchemaFont(kClassSysMetrics, 0, 0, TMT_MENUFONT, &lf) == S_OK)
            menuFont.Reset(CreateFontIndirectA(&lf));
    }
    for (int i = 0; i < 31; ++i) {
        const COLORREF old = colors[i];
        colors[i] = 0xFFFFFFFFu;
        COLORREF c = kDefaultSysColors[i];
        COLORREF themed = 0;
        if (schema->GetSchemaColor(kClassSysMetrics, 0, 0, TMT_FIRSTCOLOR + i, &themed) == S_OK) c = themed;
        colors[i] = c;
        if (!brushes[i] || old != c) brushes[i].Reset(CreateSolidBrush(c));
    }
    edgeLight = colors[22];
    edgeHighlight = colors[20];
    edgeShadow = colors[16];
    edgeDkShadow = colors[21];
    brushBtnFace.Reset(CreateSolidBrush(colors[15]));
    brushSpare.Reset();
    brushWindow.Reset(CreateSolidBrush(colors[5]));
    refreshing = FALSE;
}

// ---------------------------------------------------------------------------------------------
// CSkinClassTheme

CSkinClassTheme::CSkinClassTheme(CSkinSchema* schema, const std::string& upperClassName, int classCode)
    : m_schema(schema), m_className(upperClassName), m_classCode(classCode),
      m_imageCache(std::make_unique<CSkinImageCache>()) {}

CSkinClassTheme::~CSkinClassTheme() = default;

const CSkinProperty* CSkinClassTheme::Read(int part, int state, int propertyId, int type) const {
    const uint32_t key = MakeClassSubKey(part, state, propertyId);
    const CSkinProperty* p = nullptr;
    // What one typed read remembered is checked again: another type's read of the key finds nothing.
    if (m_cache.Find(key, &p)) return p && p->type == type ? p : nullptr;
    p = m_schema->FindProperty(m_classCode, part, state, propertyId);
    if (!p) {
        m_cache.Store(key, nullptr);
        return nullptr;
    }
    if (p->type != type) return nullptr;  // a reader of the wrong type must not poison the cache
    m_cache.Store(key, p);
    return p;
}

CString CSkinClassTheme::GetThemeString(int part, int state, int id, LPCSTR def) const {
    const CSkinProperty* p = Read(part, state, id, kTypeString);
    return p ? CString(p->text) : CString(def);
}

const std::string& CSkinClassTheme::GetThemeStringRef(int part, int state, int id) const {
    static const std::string empty;
    const CSkinProperty* p = Read(part, state, id, kTypeString);
    return p ? p->text : empty;
}

int CSkinClassTheme::GetThemeInt(int part, int state, int id, int def) const {
    const CSkinProperty* p = Read(part, state, id, kTypeInt);
    return p ? p->value[0] : def;
}

BOOL CSkinClassTheme::GetThemeBool(int part, int state, int id, BOOL def) const {
    const CSkinProperty* p = Read(part, state, id, kTypeBool);
    return p ? p->value[0] : def;
}

COLORREF CSkinClassTheme::GetThemeColor(int part, int state, int id, COLORREF def) const {
    const CSkinProperty* p = Read(part, state, id, kTypeColor);
    return p ? static_cast<COLORREF>(p->value[0]) : def;
}

RECT CSkinClassTheme::GetThemeRect(int part, int state, int id, int l, int t, int r, int b) const {
    const CSkinProperty* p = Read(part, state, id, kTypeRect);
    return p ? p->AsRect() : RECT{l, t, r, b};
}

int CSkinClassTheme::GetThemeEnumValue(int part, int state, int id, int def) const {
    const CSkinProperty* p = Read(part, state, id, kTypeEnum);
    return p ? p->value[0] : def;
}

POINT CSkinClassTheme::GetThemePosition(int part, int state, int id, int x, int y) const {
    const CSkinProperty* p = Read(part, state, id, kTypePosition);
    return p ? p->AsPoint() : POINT{x, y};
}

BOOL CSkinClassTheme::DrawThemeBackground(HDC dc, int part, int state, const RECT& rect) {
    return m_schema->DrawThemeBackground(dc, this, part, state, rect);
}

BOOL CSkinClassTheme::DrawThemeText(HDC dc, int part, int state, LPCSTR text, UINT flags, const RECT& rect) {
    if (!dc || !text) return FALSE;
    SetBkMode(dc, TRANSPARENT);
    const RECT cm = GetThemeRect(part, state, TMT_CAPTIONMARGINS, 0, 0, 0, 0);
    RECT r = rect;
    r.left += cm.left;
    r.right -= cm.right;
    const COLORREF color = GetThemeColor(part, state, TMT_TEXTCOLOR, GetTextColor(dc));
    SetTextColor(dc, color);
    if (GetThemeEnumValue(part, state, TMT_CONTENTALIGNMENT, CA_LEFT) == CA_CENTER) flags |= DT_CENTER;
    const int len = lstrlenA(text);
    if (GetThemeEnumValue(part, state, TMT_TEXTSHADOWTYPE, TST_NONE) == TST_SINGLE) {
        const POINT off = GetThemePosition(part, state, TMT_TEXTSHADOWOFFSET, 0, 0);
        const COLORREF shadow = GetThemeColor(part, state, TMT_TEXTSHADOWCOLOR, CLR_INVALID);
        // Without a shadow colour there is nothing sensible to draw the shadow in.
        if ((off.x != 0 || off.y != 0) && shadow != CLR_INVALID) {
            RECT sr = r;
            OffsetRect(&sr, off.x, off.y);
            SetTextColor(dc, shadow);
            DrawTextA(dc, text, len, &sr, flags);
            SetTextColor(dc, color);
        }
    }
    DrawTextA(dc, text, len, &r, flags);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CSkinSchema

CSkinSchema::CSkinSchema(CSkinPackage* package)
    : m_package(CSkinRef<CSkinPackage>::Share(package)),
      m_metrics(std::make_unique<CSkinMetrics>(this)) {
    m_properties.reserve(199);
    InitializeCriticalSection(&m_critical);
}

CSkinSchema::~CSkinSchema() {
    m_classThemes.clear();
    m_properties.clear();
    m_metrics.reset();
    m_gdiCaches.clear();
    DeleteCriticalSection(&m_critical);
}

void CSkinSchema::ParseLine(const std::string& rawLine) {
    std::string line;
    if (!PrepareThemeLine(rawLine, line)) return;
    if (line[0] == '[') {
        SectionHeader h = ParseSectionHeader(line);
        m_inSection = h.accepted;
        m_curClass = h.classCode;
        m_curPart = h.part;
        m_curState = h.state;
        ++(h.accepted ? m_sectionsAccepted : m_sectionsRefused);
        return;
    }
    if (!m_inSection) return;
    std::string name, value;
    if (!SplitAssignment(line, name, value)) return;
    const PropertyInfo* info = FindPropertyInfo(name);
    if (!info) return;
    if (!m_fontContextReady) {
        FontContext fc = ScreenFontContext();
        m_dpiY = fc.dpiY;
        m_charSet = fc.charSet;
        m_fontContextReady = true;
    }
    FontContext fc;
    fc.dpiY = m_dpiY;
    fc.charSet = m_charSet;
    const uint32_t key = MakePropertyKey(m_curClass, m_curPart, m_curState, info->id);
    m_properties.erase(key);  // the later line wins; an INTLIST line leaves no value
    auto prop = std::make_unique<CSkinProperty>();
    if (ParsePropertyValue(*info, value, fc, *prop)) m_properties.emplace(key, std::move(prop));
}

int CSkinSchema::ReadProperties() {
    m_classThemes.clear();  // their caches point into the table that is about to go
    m_properties.clear();
    m_inSection = false;
    m_curClass = m_curPart = m_curState = 0;
    m_sectionsAccepted = m_sectionsRefused = 0;
    m_premultiplyAlpha = TRUE;
    if (m_package) {
        CString line;
        while (m_package->ReadLine(line)) ParseLine(line.str());
    }
    int alphaLevel = 0;
    if (GetSchemaInt(kClassDocumentation, 0, 0, TMT_ALPHALEVEL, &alphaLevel) == S_OK && alphaLevel == 255)
        m_premultiplyAlpha = FALSE;
    return 0;
}

const CSkinProperty* CSkinSchema::FindProperty(int classCode, int part, int state, int id) const {
    auto find = [&](int c, int p, int s) -> const CSkinProperty* {
        auto it = m_properties.find(MakePropertyKey(c, p, s, id));
        return it == m_properties.end() ? nullptr : it->second.get();
    };
    const CSkinProperty* p = nullptr;
    if (state != 0 && (p = find(classCode, part, state))) return p;
    if ((p = find(classCode, part, 0))) return p;
    if (part != 0) {
        if (state != 0 && (p = find(classCode, 0, state))) return p;
        if ((p = find(classCode, 0, 0))) return p;
    }
    return find(m_globalsClass, 0, 0);
}

HRESULT CSkinSchema::GetSchemaInt(int c, int part, int state, int id, int* out) const {
    const CSkinProperty* p = FindProperty(c, part, state, id);
    if (!p) return E_FAIL;
    if (p->type != kTypeInt) return E_INVALIDARG;
    if (out) *out = p->value[0];
    return S_OK;
}

HRESULT CSkinSchema::GetSchemaBool(int c, int part, int state, int id, BOOL* out) const {
    const CSkinProperty* p = FindProperty(c, part, state, id);
    if (!p) return E_FAIL;
    if (p->type != kTypeBool) return E_INVALIDARG;
    if (out) *out = p->value[0];
    return S_OK;
}

HRESULT CSkinSchema::GetSchemaColor(int c, int part, int state, int id, COLORREF* out) const {
    const CSkinProperty* p = FindProperty(c, part, state, id);
    if (!p) return E_FAIL;
    if (p->type != kTypeColor) return E_INVALIDARG;
    if (out) *out = static_cast<COLORREF>(p->value[0]);
    return S_OK;
}

HRESULT CSkinSchema::GetSchemaFont(int c, int part, int state, int id, LOGFONTA* out) const {
    const CSkinProperty* p = FindProperty(c, part, state, id);
    if (!p) return E_FAIL;
    if (p->type != kTypeFont || !p->font) return E_INVALIDARG;
    if (out) *out = *p->font;
    return S_OK;
}

void CSkinSchema::RefreshMetrics(unsigned applyOptions) {
    EnterCriticalSection(&m_critical);
    m_gdiCaches.clear();
    LeaveCriticalSection(&m_critical);
    m_metrics->Refresh(applyOptions);
}

void CSkinSchema::AddGdiCache(std::unique_ptr<GdiCache> cache) {
    EnterCriticalSection(&m_critical);
    m_gdiCaches.push_back(std::move(cache));
    LeaveCriticalSection(&m_critical);
}

CSkinClassTheme* CSkinSchema::GetClassTheme(LPCSTR className) {
    if (!className) return nullptr;
    std::string name = className;
    for (char& ch : name)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    {
        CSkinReadWriteLock::Shared read(m_classThemesLock);
        auto it = m_classThemes.find(name);
        if (it != m_classThemes.end()) return it->second.get();
    }
    const int code = ClassCodeOf(name);
    if (code == 0) return nullptr;
    CSkinReadWriteLock::Exclusive write(m_classThemesLock);
    // The first handle made for a name is the only one: callers compare handles.
    auto it = m_classThemes.find(name);
    if (it == m_classThemes.end()) it = m_classThemes.emplace(name, std::make_unique<CSkinClassTheme>(this, name, code)).first;
    return it->second.get();
}

CSkinClassTheme* CSkinSchema::FindClassTheme(const void* handle) const {
    if (!handle) return nullptr;
    CSkinReadWriteLock::Shared read(m_classThemesLock);
    for (const auto& entry : m_classThemes)
        if (entry.second.get() == handle) return entry.second.get();
    return nullptr;
}

BOOL CSkinSchema::DrawThemeBackground(HDC dc, CSkinClassTheme* t, int part, int state, const RECT& rect) {
    if (!dc || !t) return FALSE;
    const int bgType = t->GetThemeEnumValue(part, state, TMT_BGTYPE, BT_IMAGEFILE);
    if (bgType == BT_BORDERFILL) {
        const int size = t->GetThemeInt(part, state, TMT_BORDERSIZE, 1);
        const COLORREF border = t->GetThemeColor(part, state, TMT_BORDERCOLOR, CLR_INVALID);
        const COLORREF fill = t->GetThemeColor(part, state, TMT_FILLCOLOR, CLR_INVALID);
        const BOOL borderOnly = t->GetThemeBool(part, state, TMT_BORDERONLY, FALSE);
        RECT r = rect;
        if (size > 0 && border != CLR_INVALID) {
            const LONG w = r.right - r.left, h = r.bottom - r.top;
            FillIfAny(dc, RECT{r.left, r.top, r.left + w, r.top + size}, border);
            FillIfAny(dc, RECT{r.left, r.bottom - size, r.left + w, r.bottom}, border);
            FillIfAny(dc, RECT{r.left, r.top + size, r.left + size, r.top + size + (h - 2 * size)}, border);
            FillIfAny(dc, RECT{r.right - size, r.top + size, r.right, r.top + size + (h - 2 * size)}, border);
            InflateRect(&r, -size, -size);
        }
        if (fill != CLR_INVALID && !borderOnly) FillIfAny(dc, r, fill);
        return TRUE;
    }
    if (bgType != BT_IMAGEFILE) return TRUE;

    const int selectType = t->GetThemeEnumValue(part, state, TMT_IMAGESELECTTYPE, IST_NONE);
    const int glyphType = t->GetThemeEnumValue(part, state, TMT_GLYPHTYPE, GT_NONE);
    const int imageProp = (selectType == IST_NONE || glyphType != GT_NONE) ? TMT_IMAGEFILE : TMT_IMAGEFILE1;
    const std::string* path = &t->GetThemeStringRef(part, state, imageProp);
    if (path->empty()) {
        if (imageProp == TMT_IMAGEFILE) return FALSE;
        path = &t->GetThemeStringRef(part, state, TMT_IMAGEFILE);
        if (path->empty()) return FALSE;
    }
    RECT margins = t->GetThemeRect(part, state, TMT_SIZINGMARGINS, 0, 0, 0, 0);
    CSkinImage* image = t->GetImageCache()->Get(m_package.Get(), *path, m_premultiplyAlpha);
    if (!image) return FALSE;

    int count = t->GetThemeInt(part, state, TMT_IMAGECOUNT, 1);
    if (count <= 0) count = 1;
    const int layout = t->GetThemeEnumValue(part, state, TMT_IMAGELAYOUT, IL_HORIZONTAL);
    const bool horizontal = layout == IL_HORIZONTAL;
    const int fw = horizontal ? image->GetWidth() / count : image->GetWidth();
    const int fh = horizontal ? image->GetHeight() : image->GetHeight() / count;
    const int index = (state <= 0 || state - 1 >= count) ? 0 : state - 1;
    const RECT src = horizontal ? RECT{index * fw, 0, (index + 1) * fw, fh}
                                : RECT{0, index * fh, fw, (index + 1) * fh};

    RECT dest = rect;
    const int sizing = t->GetThemeEnumValue(part, state, TMT_SIZINGTYPE, ST_STRETCH);
    if (sizing == ST_TRUESIZE) {
        int dw = fw, dh = fh;
        if (t->GetThemeInt(part, state, TMT_TRUESIZESTRETCHMARK, 0) > 0) {
            dw = std::min<int>(dw, rect.right - rect.left);
            dh = std::min<int>(dh, rect.bottom - rect.top);
        }
        const LONG x = std::max<LONG>((rect.left + rect.right - dw) / 2, rect.left);
        const LONG y = std::max<LONG>((rect.top + rect.bottom - dh) / 2, rect.top);
        if (t->GetThemeEnumValue(part, state, TMT_VALIGN, VA_TOP) == VA_BOTTOM)
            dest = RECT{x, rect.bottom - dh, x + dw, rect.bottom};
        else
            dest = RECT{x, y, x + dw, y + dh};
        margins = RECT{0, 0, 0, 0};
    }
    COLORREF key = CLR_INVALID;
    if (!image->HasAlpha() && t->GetThemeBool(part, state, TMT_TRANSPARENT, FALSE))
        key = t->GetThemeColor(part, state, TMT_TRANSPARENTCOLOR, RGB(255, 0, 255));
    BOOL borderOnly = t->GetThemeBool(part, state, TMT_BORDERONLY, FALSE);
    if (t->GetClassCode() == kClassWindow && part >= 7 && part <= 12) borderOnly = FALSE;
    const BOOL mirrorAllowed = t->GetThemeBool(part, state, TMT_MIRRORIMAGE, TRUE);
    image->PrepareSolidRects(count, horizontal, margins);
    image->Draw(dc, dest, src, margins, key, sizing, borderOnly, mirrorAllowed);

    if (glyphType == GT_IMAGEGLYPH) {
        const RECT cm = t->GetThemeRect(part, state, TMT_CONTENTMARGINS, 0, 0, 0, 0);
        const RECT area{rect.left + cm.left, rect.top + cm.top, rect.right - cm.right, rect.bottom - cm.bottom};
        CSkinImage* glyph = nullptr;
        int gw = 0, gh = 0;
        auto frameOf = [&](CSkinImage* img, int& w, int& h) {
            w = horizontal ? img->GetWidth() / count : img->GetWidth();
            h = horizontal ? img->GetHeight() : img->GetHeight() / count;
        };
        if (selectType == IST_SIZE) {
            for (int n = 5; n >= 1; --n) {
                const std::string& p = t->GetThemeStringRef(part, state, TMT_IMAGEFILE1 + n - 1);
                if (p.empty()) continue;
                CSkinImage* img = t->GetImageCache()->Get(m_package.Get(), p, m_premultiplyAlpha);
                if (!img) continue;
                int w = 0, h = 0;
                frameOf(img, w, h);
                if (w == 0 && h == 0) break;
                if (n == 1 || (w <= area.right - area.left && h <= area.bottom - area.top)) {
                    glyph = img;
                    gw = w;
                    gh = h;
                    break;
                }
            }
        } else {
            const std::string& p = t->GetThemeStringRef(part, state, TMT_GLYPHIMAGEFILE);
            if (!p.empty()) glyph = t->GetImageCache()->Get(m_package.Get(), p, m_premultiplyAlpha);
            if (glyph) frameOf(glyph, gw, gh);
        }
        if (glyph && (gw > 0 || gh > 0)) {
            const LONG x = std::max<LONG>((area.left + area.right - gw) / 2, area.left);
            const LONG y = std::max<LONG>((area.top + area.bottom - gh) / 2, area.top);
            const RECT gsrc = horizontal ? RECT{index * gw, 0, (index + 1) * gw, gh}
                                         : RECT{0, index * gh, gw, (index + 1) * gh};
            COLORREF gkey = CLR_INVALID;
            if (!glyph->HasAlpha() && t->GetThemeBool(part, state, TMT_GLYPHTRANSPARENT, FALSE))
                gkey = t->GetThemeColor(part, state, TMT_TRANSPARENTCOLOR, RGB(255, 0, 255));
            glyph->Draw(dc, RECT{x, y, x + gw, y + gh}, gsrc, RECT{0, 0, 0, 0}, gkey, ST_TRUESIZE, FALSE,
                        t->GetThemeBool(part, state, TMT_MIRRORIMAGE, TRUE));
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Frame borders and the metrics' own GDI objects

BOOL CSkinMetrics::OwnsGdiObject(HGDIOBJ object) const {
    if (!object) return FALSE;
    for (const Brush& b : brushes)
        if (b.Get() == object) return TRUE;
    for (const Brush* b : {&brushBtnFace, &brushSpare, &brushWindow})
        if (b->Get() == object) return TRUE;
    for (const Font* f : {&captionFont, &menuFont, &smallCaptionFont})
        if (f->Get() == object) return TRUE;
    return FALSE;
}
