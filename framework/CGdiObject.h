#pragma once
// Owners of GDI objects: the object is deleted with its owner unless detached.
#include "CObject.h"

class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override { DeleteObject(); }
    CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other) { DeleteObject(); m_hObject = other.Detach(); }
        return *this;
    }

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject)
    {
        if (!hObject) return FALSE;
        DeleteObject();
        m_hObject = hObject;
        return TRUE;
    }
    HGDIOBJ Detach() { HGDIOBJ h = m_hObject; m_hObject = nullptr; return h; }
    BOOL DeleteObject()
    {
        if (!m_hObject) return FALSE;
        const BOOL ok = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return ok;
    }
    int GetObject(int size, void* buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    // From the resource module's bitmap resources.
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(HDC dc, int cx, int cy) { return Attach(::CreateCompatibleBitmap(dc, cx, cy)); }
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return Attach(::CreateFontIndirectA(lf)); }
    int GetLogFont(LOGFONTA* lf) const { return GetObject(sizeof(LOGFONTA), lf); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
};

class CRgn : public CGdiObject {
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
};
