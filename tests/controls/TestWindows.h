// Small helpers for tests that drive real windows: a plain top-level window, bitmaps with known
// pixels, reading back what a window shows, and pumping messages for a while.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

inline LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

struct TestWindow {
    HWND hwnd = nullptr;

    TestWindow(int w, int h, int x = 40, int y = 40, DWORD style = WS_POPUP | WS_VISIBLE) {
        static ATOM atom = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = TestWindowProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            wc.lpszClassName = "TamrivelTestWindow";
            return RegisterClassA(&wc);
        }();
        (void)atom;
        hwnd = CreateWindowExA(0, "TamrivelTestWindow", "test", style, x, y, w, h, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        UpdateWindow(hwnd);
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
};

inline void PumpFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (int(end - GetTickCount()) > 0);
}

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD end = GetTickCount() + timeoutMs;
    while (!done()) {
        if (int(end - GetTickCount()) <= 0) return false;
        PumpFor(5);
    }
    return true;
}

// Pixels of a bitmap as 0x00RRGGBB, top row first.
inline std::vector<uint32_t> BitmapPixels(HBITMAP bmp) {
    BITMAP bm = {};
    GetObjectA(bmp, sizeof bm, &bm);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> px(size_t(bm.bmWidth) * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, bm.bmHeight, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (auto& p : px) p &= 0xFFFFFF;
    return px;
}

struct Bitmap {
    HBITMAP handle = nullptr;

    Bitmap(int w, int h, COLORREF fill) {
        std::vector<uint32_t> px(size_t(w) * h, (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill));
        Make(w, h, px);
    }
    Bitmap(int w, int h, const std::vector<uint32_t>& px) { Make(w, h, px); }
    // Detailed, deterministic content: every pixel differs from its neighbours.
    static Bitmap Pattern(int w, int h) {
        std::vector<uint32_t> px(size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                px[size_t(y) * w + x] = uint32_t(((x * 37 + y * 11) & 0xFF) << 16 | ((x * 5 + y * 29) & 0xFF) << 8 |
                                                 ((x * y * 3 + 17) & 0xFF));
        return Bitmap(w, h, px);
    }
    ~Bitmap() {
        if (handle) DeleteObject(handle);
    }
    Bitmap(Bitmap&& o) noexcept : handle(o.handle) { o.handle = nullptr; }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    std::vector<uint32_t> Pixels() const { return BitmapPixels(handle); }

private:
    void Make(int w, int h, const std::vector<uint32_t>& px) {
        HDC dc = GetDC(nullptr);
        handle = CreateCompatibleBitmap(dc, w, h);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        SetDIBits(dc, handle, 0, h, px.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
    }
};

// What the window's client area shows at (x, y, w, h), as 0x00RRGGBB, top row first.
inline std::vector<uint32_t> ReadWindowPixels(HWND hwnd, int w, int h, int x = 0, int y = 0) {
    HDC wdc = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(wdc);
    HBITMAP bmp = CreateCompatibleBitmap(wdc, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, wdc, x, y, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(hwnd, wdc);
    std::vector<uint32_t> px = BitmapPixels(bmp);
    DeleteObject(bmp);
    return px;
}
