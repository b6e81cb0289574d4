// The visual-styles functions, answered from the skin's class themes. Callers reach them only
// through GetProcAddress; one kept from an earlier lookup falls back to the real library (when
// it is loaded) once the skin is off.
#include <string>

#include "CSkinObjectBase.h"
#include "SkinHookSupport.h"
#include "SkinReplacements.h"
#include "SkinRoutes.h"
#include "SkinTables.h"

namespace skin {
namespace hooks {

namespace {

constexpr int kMinSize = 3403;     // TMT_MINSIZE
constexpr int kNormalSize = 3409;  // TMT_NORMALSIZE

CSkinEngine* ThemeEngine() { return SkinOn(SkinApplyColors); }

template <typename F>
F RealUxTheme(int slot) {
    return SystemEntry<F>(slot);
}

CSkinClassTheme* ThemeOf(CSkinEngine* engine, HTHEME theme) {
    return theme ? engine->FindThemeClass(theme) : nullptr;
}

std::string ToAnsi(const wchar_t* text) {
    if (!text) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

}  // namespace

HTHEME WINAPI SkinOpenThemeData(HWND window, LPCWSTR classList) {
    CSkinEngine* engine = ThemeEngine();
    if (!engine || !classList) return nullptr;
    CSkinRef<CSkinObjectBase> object = window ? FindSkinObjectRef(window) : CSkinRef<CSkinObjectBase>();
    // A list names alternatives ("Explorer::ListView;ListView"): the first the theme knows wins.
    const std::string list = ToAnsi(classList);
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        std::string name = list.substr(start, end - start);
        const size_t scope = name.rfind("::");
        if (scope != std::string::npos) name = name.substr(scope + 2);
        if (!name.empty())
            if (CSkinClassTheme* theme = engine->GetThemeClass(object.Get(), name.c_str()))
                return reinterpret_cast<HTHEME>(theme);
        start = end + 1;
    }
    return nullptr;
}

HRESULT WINAPI SkinCloseThemeData(HTHEME) {
    // Class themes belong to their schema.
    return S_OK;
}

HRESULT WINAPI SkinDrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip) {
    CSkinEngine* engine = ThemeEngine();
    if (!engine) {
        auto real = RealUxTheme<decltype(&SkinDrawThemeBackground)>(SlotDrawThemeBackground);
        return real ? real(theme, dc, part, state, rect, clip) : E_FAIL;
    }
    CSkinClassTheme* classTheme = ThemeOf(engine, theme);
    if (!classTheme) return E_FAIL;
    if (!dc || !rect) return E_INVALIDARG;
    const bool clipped = clip && !EqualRect(clip, rect);
    HRGN saved = nullptr;
    int hadClip = 0;
    if (clipped) {
        saved = CreateRectRgn(0, 0, 0, 0);
        hadClip = saved ? GetClipRgn(dc, saved) : 0;
        IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
    }
    const BOOL drawn = classTheme->DrawThemeBackground(dc, part, state, *rect);
    if (clipped) {
        ExtSelectClipRgn(dc, hadClip == 1 ? saved : nullptr, RGN_COPY);
        if (saved) ::DeleteObject(saved);
    }
    return drawn ? S_OK : E_FAIL;
}

HRESULT WINAPI SkinGetThemeColor(HTHEME theme, int part, int state, int propertyId, COLORREF* color) {
    CSkinEngine* engine = ThemeEngine();
    if (!engine) {
        auto real = RealUxTheme<decltype(&SkinGetThemeColor)>(SlotGetThemeColor);
        return real ? real(theme, part, state, propertyId, color) : E_FAIL;
    }
    CSkinClassTheme* classTheme = ThemeOf(engine, theme);
    if (!classTheme) return E_FAIL;
    const CSkinProperty* p = classTheme->Read(part, state, propertyId, kTypeColor);
    if (!p) return E_FAIL;
    if (!color) return E_INVALIDARG;
    *color = static_cast<COLORREF>(p->value[0]);
    return S_OK;
}

HRESULT WINAPI SkinGetThemeInt(HTHEME theme, int part, int state, int propertyId, int* value) {
    CSkinEngine* engine = ThemeEngine();
    if (!engine) {
        auto real = RealUxTheme<decltype(&SkinGetThemeInt)>(SlotGetThemeInt);
        return real ? real(theme, part, state, propertyId, value) : E_FAIL;
    }
    CSkinClassTheme* classTheme = ThemeOf(engine, theme);
    if (!classTheme) return E_FAIL;
    const CSkinProperty* p = classTheme->Read(part, state, propertyId, kTypeInt);
    if (!p) return E_FAIL;
    if (!value) return E_INVALIDARG;
    *value = p->value[0];
    return S_OK;
}

HRESULT WINAPI SkinGetThemePartSize(HTHEME theme, HDC dc, int part, int state, LPCRECT rect, THEMESIZE kind,
                                    SIZE* size) {
    CSkinEngine* engine = ThemeEngine();
    if (!engine) {
        auto real = RealUxTheme<decltype(&SkinGetThemePartSize)>(SlotGetThemePartSize);
        return real ? real(theme, dc, part, state, rect, kind, size) : E_FAIL;
    }
    CSkinClassTheme* classTheme = ThemeOf(engine, theme);
    if (!classTheme) return E_FAIL;
    const CSkinProperty* p = nullptr;
    if (kind != TS_MIN) p = classTheme->Read(part, state, kNormalSize, kTypePosition);
    if (!p) p = classTheme->Read(part, state, kMinSize, kTypePosition);
    if (!p) return E_FAIL;
    if (!size) return E_INVALIDARG;
    size->cx = p->value[0];
    size->cy = p->value[1];
    return S_OK;
}

BOOL WINAPI SkinIsAppThemed() {
    if (ThemeEngine()) return TRUE;
    auto real = RealUxTheme<decltype(&SkinIsAppThemed)>(SlotIsAppThemed);
    return real ? real() : FALSE;
}

HRESULT WINAPI SkinGetCurrentThemeName(LPWSTR file, int fileLength, LPWSTR color, int colorLength, LPWSTR size,
                                       int sizeLength) {
    if (CSkinEngine* engine = ThemeEngine())
        return engine->GetCurrentThemeName(file, fileLength, color, colorLength, size, sizeLength);
    auto real = RealUxTheme<decltype(&SkinGetCurrentThemeName)>(SlotGetCurrentThemeName);
    return real ? real(file, fileLength, color, colorLength, size, sizeLength) : E_FAIL;
}

BOOL WINAPI SkinGetThemeSysBool(HTHEME theme, int propertyId) {
    if (CSkinEngine* engine = ThemeEngine()) return engine->GetThemeSysBool(propertyId);
    auto real = RealUxTheme<decltype(&SkinGetThemeSysBool)>(SlotGetThemeSysBool);
    return real ? real(theme, propertyId) : FALSE;
}

COLORREF WINAPI SkinGetThemeSysColor(HTHEME theme, int colorId) {
    if (CSkinEngine* engine = ThemeEngine()) return engine->GetThemeSysColor(colorId);
    auto real = RealUxTheme<decltype(&SkinGetThemeSysColor)>(SlotGetThemeSysColor);
    if (real) return real(theme, colorId);
    return colorId >= TMT_FIRSTCOLOR && colorId <= TMT_FIRSTCOLOR + 30 ? ::GetSysColor(colorId - TMT_FIRSTCOLOR)
                                                                       : CLR_INVALID;
}

}  // namespace hooks
}  // namespace skin
