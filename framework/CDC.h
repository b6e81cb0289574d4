#pragma once
// Device contexts. A plain CDC only borrows its handle; the derived kinds own theirs.
#include "CRect.h"
#include "CString.h"

class CWnd;

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    virtual ~CDC() { if (m_bOwned && m_hDC) ::DeleteDC(m_hDC); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // A memory DC owned by this object.
    BOOL CreateCompatibleDC(HDC reference)
    {
        if (m_bOwned && m_hDC) ::DeleteDC(m_hDC);
        m_hDC = ::CreateCompatibleDC(reference);
        m_bOwned = m_hDC != nullptr;
        return m_bOwned;
    }
    void Attach(HDC hDC) { m_hDC = hDC; m_bOwned = false; }
    HDC Detach() { HDC h = m_hDC; m_hDC = nullptr; m_bOwned = false; return h; }

    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    BOOL BitBlt(int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop)
    { return ::BitBlt(m_hDC, x, y, cx, cy, src, sx, sy, rop); }
    void FillSolidRect(const RECT& r, COLORREF color)
    {
        const COLORREF old = ::SetBkColor(m_hDC, color);
        ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
        ::SetBkColor(m_hDC, old);
    }
    int FillRect(const RECT& r, HBRUSH brush) { return ::FillRect(m_hDC, &r, brush); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    CSize GetTextExtent(const char* text, int length) const
    {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32A(m_hDC, text, length, &s);
        return CSize(s);
    }
    int IntersectClipRect(const RECT& r) { return ::IntersectClipRect(m_hDC, r.left, r.top, r.right, r.bottom); }

protected:
    bool m_bOwned = false;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};
private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;
private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;
private:
    HWND m_hWnd;
};
