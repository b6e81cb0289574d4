#pragma once
// Real pointer input for scroll-bar tests, and a parent window that answers scroll notifications as an
// application does, writing down each one with its time and the tracked position at that moment.
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace sbtest {

inline void MoveTo(POINT screen) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

inline void Button(bool down) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

inline void Shift(bool down) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

inline double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * c.QuadPart / f.QuadPart;
}

inline void Pump(DWORD ms) {
    const double end = NowMs() + ms;
    MSG msg;
    while (NowMs() < end) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

// Runs a script of input on a thread of its own while this thread pumps messages (and so runs the
// modal loop a press starts) until the script is done.
inline void PlayWhilePumping(const std::function<void()>& script) {
    std::atomic<bool> done{false};
    std::thread player([&] {
        script();
        done = true;
    });
    MSG msg;
    while (!done) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(2);
    }
    player.join();
    Pump(100);
}

struct Notice {
    int command;
    int position;      // high word of wParam
    int trackPosition; // what the bar reports for SIF_TRACKPOS at that moment
    double atMs;
};

// A popup parent whose WM_VSCROLL / WM_HSCROLL handler moves the position as an application does:
// a line by 1, a page by the page, the thumb to where it is dragged.
class ScrollParent {
public:
    ScrollParent(RECT screenRect);
    ~ScrollParent();
    HWND hwnd() const { return m_hwnd; }

    std::function<void(int position)> setPosition;
    std::function<int()> trackPosition;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 0, 0};
    std::vector<Notice> notices;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd;
};

}  // namespace sbtest
