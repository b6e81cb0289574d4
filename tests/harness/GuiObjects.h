#pragma once
// Live GUI objects of this process, for leak checks that must be able to fail.
#include <windows.h>

namespace harness {

// GDI objects: the system's own count where it keeps one, otherwise every handle index asked
// for its type (Wine answers GetGuiResources with 0 but takes a handle without its generation
// word as naming whichever object lives in that slot).
DWORD LiveGdiObjects();
// Live GDI objects of one type (OBJ_BITMAP, OBJ_MEMDC, ...), by the handle-index probe alone: 0
// where the system does not take bare indices.
DWORD LiveGdiObjectsOfType(DWORD type);

// Windows of this process on any thread: top-level, message-only, and all their descendants;
// not the input-method window the system keeps for each thread.
DWORD LiveWindows();

}  // namespace harness
