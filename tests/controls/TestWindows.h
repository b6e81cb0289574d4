// Small helpers for tests that drive real windows: a plain top-level window, bitmaps with known
// pixels, reading back what a window shows, and pumping messages for a while.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "Input.h"
#include "Wait.h"

inline LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The class of every test window: plain default processing, arrow cursor, button-face background.
inline const char* TestWindowClass() {
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
    return "TamrivelTestWindow";
}

// One top-level window for the whole program, never destroyed: under an X server without a window
// manager, hiding or destroying a top-level window stalls for seconds, so test windows are its children.
// It stays on top, away from the top-left corner where other tests' windows appear, so that real
// pointer input lands on it even while other test programs run.
inline HWND HostWindow() {
    static HWND host = [] {
        const int w = 760, h = 560;
        const int x = GetSystemMetrics(SM_CXSCREEN) - w - 20, y = GetSystemMetrics(SM_CYSCREEN) - h - 24;
        HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, TestWindowClass(), "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                    x > 0 ? x : 0, y > 0 ? y : 0, w, h, nullptr, nullptr, GetModuleHandleA(nullptr),
                                    nullptr);
        SetForegroundWindow(hwnd);
        UpdateWindow(hwnd);
        return hwnd;
    }();
    return host;
}

struct TestWindow {
    HWND hwnd = nullptr;

    TestWindow(int w, int h, int x = 40, int y = 40) {
        hwnd = CreateWindowExA(0, TestWindowClass(), "test", WS_CHILD | WS_VISIBLE, x, y, w, h, HostWindow(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        UpdateWindow(hwnd);
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
};

inline void PumpFor(DWORD ms) { harness::PumpMessages(ms); }

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    return harness::WaitUntil(done, timeoutMs, 5);
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

// ---- real input ---------------------------------------------------------------------------------

// Moves the pointer through the system's input queue, as a user's mouse would.
inline void MouseMoveTo(int x, int y) { harness::SendPointerMove({x, y}); }

// Keyboard focus on a test window, with the host in the foreground so that real key presses reach it
// (another test program may have taken the foreground meanwhile).
inline bool FocusOn(HWND hwnd) {
    return PumpUntil([&] {
        if (GetForegroundWindow() != HostWindow()) SetForegroundWindow(HostWindow());
        if (GetFocus() != hwnd) SetFocus(hwnd);
        return GetForegroundWindow() == HostWindow() && GetFocus() == hwnd;
    }, 3000);
}

// Where the pointer waits between steps: the screen's bottom-right corner, over nobody's window.
inline void ParkPointer() { MouseMoveTo(GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3); }

inline void MouseButton(bool down) { harness::SendLeftButton(down); }
inline void Key(WORD vk, bool down) { harness::SendKey(vk, down); }

inline POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Redirects one imported function of this test program (by DLL and function name) and returns the
// original; the program's own code, the controls included, then calls the replacement.
inline void* PatchImport(const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
            return previous;
        }
    }
    return nullptr;
}
