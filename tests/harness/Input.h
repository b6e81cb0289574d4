#pragma once
// Real input for tests: it enters through the system's input queue, so hit testing, capture and hover
// tracking run as they do under a user's hand. None of these wait; callers pump or sleep as their thread needs.
#include <windows.h>

#include <functional>

namespace harness {

// Moves the pointer to a point on the screen.
void SendPointerMove(POINT screen);
// One mouse button event, a MOUSEEVENTF_*DOWN or *UP flag.
void SendMouseButton(DWORD flag);
void SendLeftButton(bool down);
void SendKey(WORD vk, bool down);
// A key pressed and let go.
void SendKeyPress(WORD vk);
// A key pressed and let go while a modifier is held, as one piece of input.
void SendChord(WORD modifier, WORD vk);

// Runs a script of input on a thread of its own while this thread pumps messages (and so runs any modal
// loop a press starts on its windows) until the script is done, then pumps a little longer.
void PlayWhilePumping(const std::function<void()>& script);

// Copies what the screen shows in a rectangle of screen coordinates to (0, 0) of a device context.
void CopyScreen(HDC target, const RECT& screen);

}  // namespace harness
