#pragma once
// What the system-call interception asks of the window layer: the default-procedure road into
// a window's skin object, the thread-start wrapper, and whether a procedure belongs to the system.
#include <windows.h>

#include "CSkinRefCounted.h"

class CSkinObjectBase;

namespace skin {

// How a message reached a skin object; also what its CWnd::Default passes the message on to.
enum SkinRoute {
    RouteSubclass = 0,
    RouteCallWindowProc = 1,
    RouteDefWindowProc = 2,
    RouteDefMDIChildProc = 3,
    RouteDefFrameProc = 4,
    RouteDefDlgProc = 5
};

// Called by each intercepted default procedure. apiEntry is the system's own entry point of the
// intercepted function; previousOrExtra is the procedure given to CallWindowProc or the MDI client
// given to DefFrameProc. TRUE: the skin object handled the message and result holds the answer;
// FALSE: the caller runs apiEntry itself.
BOOL DefaultProcRoute(HWND hWnd, void* apiEntry, int route, void* previousOrExtra, UINT message,
                      WPARAM& wParam, LPARAM& lParam, LRESULT& result);

// The intercepted CreateThread: while skinning is on and new threads are attached, the new thread
// installs its window-creation hook before it runs start(param).
HANDLE CreateThreadThroughHook(void* apiEntry, LPSECURITY_ATTRIBUTES sa, SIZE_T stack,
                               LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags, LPDWORD id);

// TRUE for procedures of the system's window classes (user32, common controls, ntdll, thunks).
BOOL IsSystemWindowProc(WNDPROC procedure);

// The window's skin object with a reference held, or empty.
CSkinRef<CSkinObjectBase> FindSkinObjectRef(HWND hWnd);

}  // namespace skin

namespace skin {
// A procedure value that is a handle of the platform's ANSI/Unicode translation, not code.
bool IsThunkHandle(WNDPROC procedure);
// The procedure the skin puts into windows it subclasses.
LRESULT CALLBACK SkinWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
}  // namespace skin
