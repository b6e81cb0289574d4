#include "Input.h"

#include "Wait.h"

#include <atomic>
#include <thread>

namespace harness {

void SendPointerMove(POINT screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    // The extra unit keeps the point on its own pixel when the system scales back by truncating.
    in.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void SendMouseButton(DWORD flag)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
}

void SendLeftButton(bool down)
{
    SendMouseButton(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void SendKey(WORD vk, bool down)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

void SendKeyPress(WORD vk)
{
    // One call, so nothing else's input can come between the press and the release.
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

void SendChord(WORD modifier, WORD vk)
{
    INPUT in[4] = {};
    for (INPUT& i : in)
        i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = modifier;
    in[1].ki.wVk = in[2].ki.wVk = vk;
    in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, in, sizeof(INPUT));
}

void PlayWhilePumping(const std::function<void()>& script)
{
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
    PumpMessages(100);
}

void CopyScreen(HDC target, const RECT& screen)
{
    const HDC source = GetDC(nullptr);
    BitBlt(target, 0, 0, screen.right - screen.left, screen.bottom - screen.top, source, screen.left, screen.top,
           SRCCOPY);
    ReleaseDC(nullptr, source);
}

}  // namespace harness
