#pragma once
// Real pointer input for scroll-bar tests, and a parent window that answers scroll notifications as an
// application does, writing down each one with its time and the tracked position at that moment.
#include <windows.h>

#include <functional>
#include <vector>

#include "Input.h"
#include "Wait.h"

namespace sbtest {

inline void MoveTo(POINT screen) { harness::SendPointerMove(screen); }
inline void Button(bool down) { harness::SendLeftButton(down); }
inline void Shift(bool down) { harness::SendKey(VK_SHIFT, down); }
using harness::PlayWhilePumping;

inline double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * c.QuadPart / f.QuadPart;
}

inline void Pump(DWORD ms) { harness::PumpMessages(ms); }

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
