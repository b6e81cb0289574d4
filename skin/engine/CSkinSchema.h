#pragma once
// One loaded theme: every property under its 32-bit key, the class handles through
// which skin objects read and draw, and the theme's system metrics.
#include <windows.h>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "CSkinPropertyCache.h"
#include "CSkinProperty.h"
#include "CSkinReadWriteLock.h"
#include "CSkinRefCounted.h"
#include "CString.h"
#include "SkinApplyOptions.h"
#include "SkinGdi.h"

class CSkinPackage;
class CSkinSchema;
class CSkinImageCache;

class CSkinMetrics {
public:
    explicit CSkinMetrics(CSkinSchema* owner) : schema(owner) {
        for (COLORREF& c : colors) c = 0xFFFFFFFFu;
    }
    // applyOptions: the engine's bits; without SkinApplyMetrics sizes and fonts stay the system's.
    void Refresh(unsigned applyOptions);
    HBRUSH GetSysColorBrush(int index) const {
        return index >= 0 && index < 31 ? brushes[index].Get() : nullptr;
    }
    // A brush or font these metrics own (and hand out); such objects must not be deleted by others.
    BOOL OwnsGdiObject(HGDIOBJ object) const;

    skin::Font captionFont, menuFont, smallCaptionFont;
    CSkinSchema* schema;
    skin::Brush brushBtnFace, brushSpare, brushWindow;
    COLORREF edgeLight = 0, edgeHighlight = 0, edgeShadow = 0, edgeDkShadow = 0;
    COLORREF colors[31];
    skin::Brush brushes[31];
    int borderMultiplier = 1, cxBorder = 0, cyBorder = 0, cxEdge = 0, cyEdge = 0, cxHScroll = 0, cyHScroll = 0,
        cxVScroll = 0, cyVScroll = 0, captionHeight = 0, smallCaptionHeight = 0, systemCaptionHeight = 0,
        systemSmallCaptionHeight = 0, systemCxVScroll = 0;
    BOOL refreshing = FALSE;
};

// Default colours for [SysMetrics] colours a theme leaves out, by system colour index.
COLORREF SkinDefaultSysColor(int index);

class CSkinClassTheme {
public:
    CSkinClassTheme(CSkinSchema* schema, const std::string& upperClassName, int classCode);
    ~CSkinClassTheme();
    CSkinClassTheme(const CSkinClassTheme&) = delete;
    CSkinClassTheme& operator=(const CSkinClassTheme&) = delete;

    CString GetThemeString(int part, int state, int propertyId, LPCSTR defaultValue) const;
    // The stored text without a copy; empty when absent.
    const std::string& GetThemeStringRef(int part, int state, int propertyId) const;
    int GetThemeInt(int part, int state, int propertyId, int defaultValue) const;
    BOOL GetThemeBool(int part, int state, int propertyId, BOOL defaultValue) const;
    COLORREF GetThemeColor(int part, int state, int propertyId, COLORREF defaultValue) const;
    RECT GetThemeRect(int part, int state, int propertyId, int l, int t, int r, int b) const;
    int GetThemeEnumValue(int part, int state, int propertyId, int defaultValue) const;
    POINT GetThemePosition(int part, int state, int propertyId, int x, int y) const;

    BOOL DrawThemeBackground(HDC dc, int part, int state, const RECT& rect);
    BOOL DrawThemeText(HDC dc, int part, int state, LPCSTR text, UINT flags, const RECT& rect);

    // The cached lookup: the stored property of that type, or null ("not found"). Safe for
    // concurrent painting threads.
    const CSkinProperty* Read(int part, int state, int propertyId, int type) const;

    CSkinSchema* GetSchema() const { return m_schema; }
    const std::string& GetClassName() const { return m_className; }
    int GetClassCode() const { return m_classCode; }
    CSkinImageCache* GetImageCache() const { return m_imageCache.get(); }
    size_t GetCacheSize() const { return m_cache.GetCount(); }

private:
    CSkinSchema* m_schema;
    std::string m_className;
    int m_classCode;
    std::unique_ptr<CSkinImageCache> m_imageCache;
    mutable CSkinPropertyCache m_cache;
};

// Filled once (ReadProperties) before it is shared; afterwards painting threads read it at once:
// the property table does not change, the class handles are added under a reader-writer lock.
class CSkinSchema : public CSkinRefCounted {
public:
    explicit CSkinSchema(CSkinPackage* package);

    // Empties the table and parses the package's theme text; always 0.
    int ReadProperties();
    // Parses one line; section state carries over between calls (used by ReadProperties and tests).
    void ParseLine(const std::string& rawLine);

    const CSkinProperty* FindProperty(int classCode, int part, int state, int propertyId) const;
    HRESULT GetSchemaInt(int classCode, int part, int state, int propertyId, int* out) const;
    HRESULT GetSchemaBool(int classCode, int part, int state, int propertyId, BOOL* out) const;
    HRESULT GetSchemaColor(int classCode, int part, int state, int propertyId, COLORREF* out) const;
    HRESULT GetSchemaFont(int classCode, int part, int state, int propertyId, LOGFONTA* out) const;

    void RefreshMetrics(unsigned applyOptions = SkinApplyAll);

    // Null for names that are not theme classes. The handle lives as long as the schema.
    CSkinClassTheme* GetClassTheme(LPCSTR className);
    // The pointer as a class handle of this schema, or null.
    CSkinClassTheme* FindClassTheme(const void* handle) const;

    virtual BOOL DrawThemeBackground(HDC dc, CSkinClassTheme* theme, int part, int state, const RECT& rect);

    // Records of GDI objects kept for frame drawing; all are deleted by RefreshMetrics.
    struct GdiCache {
        virtual ~GdiCache() = default;
    };
    void AddGdiCache(std::unique_ptr<GdiCache> cache);
    CRITICAL_SECTION* GetLock() { return &m_critical; }

    CSkinMetrics* GetMetrics() const { return m_metrics.get(); }
    CSkinPackage* GetPackage() const { return m_package.Get(); }
    BOOL GetPremultiplyAlpha() const { return m_premultiplyAlpha; }
    size_t GetPropertyCount() const { return m_properties.size(); }
    int GetGlobalsClass() const { return m_globalsClass; }
    int GetWindowClass() const { return m_windowClass; }
    // Sections seen while parsing, accepted or not (for checking a theme file).
    int GetAcceptedSectionCount() const { return m_sectionsAccepted; }
    int GetRefusedSectionCount() const { return m_sectionsRefused; }

protected:
    ~CSkinSchema() override;

private:
    std::unordered_map<uint32_t, std::unique_ptr<CSkinProperty>> m_properties;
    BOOL m_premultiplyAlpha = TRUE;
    CSkinRef<CSkinPackage> m_package;
    std::unique_ptr<CSkinMetrics> m_metrics;
    std::vector<std::unique_ptr<GdiCache>> m_gdiCaches;
    int m_globalsClass = 1;
    int m_windowClass = 6;
    std::map<std::string, std::unique_ptr<CSkinClassTheme>> m_classThemes;
    mutable CSkinReadWriteLock m_classThemesLock;
    CRITICAL_SECTION m_critical;

    // Parser state.
    bool m_inSection = false;
    int m_curClass = 0, m_curPart = 0, m_curState = 0;
    int m_sectionsAccepted = 0, m_sectionsRefused = 0;
    int m_dpiY = 96;
    BYTE m_charSet = DEFAULT_CHARSET;
    bool m_fontContextReady = false;
};
