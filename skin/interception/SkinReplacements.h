#pragma once
// The functions that stand in for the intercepted system functions. Each answers from the theme
// while the skin applies and otherwise calls the system's own entry.
#include <windows.h>
#include <uxtheme.h>

namespace skin {
namespace hooks {

// Loading and lookup.
HMODULE WINAPI SkinLoadLibraryA(LPCSTR name);
HMODULE WINAPI SkinLoadLibraryW(LPCWSTR name);
HMODULE WINAPI SkinLoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags);
HMODULE WINAPI SkinLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags);
HMODULE WINAPI SkinApiSetLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags);
FARPROC WINAPI SkinGetProcAddress(HMODULE module, LPCSTR name);
HMODULE WINAPI SkinGetModuleHandleA(LPCSTR name);
HANDLE WINAPI SkinCreateThread(LPSECURITY_ATTRIBUTES sa, SIZE_T stack, LPTHREAD_START_ROUTINE start, LPVOID param,
                           DWORD flags, LPDWORD id);
ATOM WINAPI SkinRegisterClassA(const WNDCLASSA* wc);
ATOM WINAPI SkinRegisterClassW(const WNDCLASSW* wc);

// Colours and drawing.
DWORD WINAPI SkinGetSysColor(int index);
HBRUSH WINAPI SkinGetSysColorBrush(int index);
int WINAPI SkinFillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL WINAPI SkinDeleteObject(HGDIOBJ object);
BOOL WINAPI SkinDrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
BOOL WINAPI SkinDrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);

// Metrics.
int WINAPI SkinGetSystemMetrics(int index);
BOOL WINAPI SkinSystemParametersInfoA(UINT action, UINT param, PVOID data, UINT flags);
BOOL WINAPI SkinAdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL WINAPI SkinAdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);

// Scroll bars, menu bar and popup menus of skinned windows.
int WINAPI SkinSetScrollPos(HWND window, int bar, int position, BOOL redraw);
int WINAPI SkinSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
BOOL WINAPI SkinGetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
BOOL WINAPI SkinEnableScrollBar(HWND window, UINT bars, UINT arrows);
BOOL WINAPI SkinDrawMenuBar(HWND window);
BOOL WINAPI SkinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
BOOL WINAPI SkinTrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);

// Default window procedures.
LRESULT WINAPI SkinDefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinDefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinDefMDIChildProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinDefMDIChildProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinDefFrameProcA(HWND window, HWND client, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinDefFrameProcW(HWND window, HWND client, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinDefDlgProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinDefDlgProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinCallWindowProcA(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SkinCallWindowProcW(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The visual-styles functions, served only through GetProcAddress.
HTHEME WINAPI SkinOpenThemeData(HWND window, LPCWSTR classList);
HRESULT WINAPI SkinCloseThemeData(HTHEME theme);
HRESULT WINAPI SkinDrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);
HRESULT WINAPI SkinGetThemeColor(HTHEME theme, int part, int state, int propertyId, COLORREF* color);
HRESULT WINAPI SkinGetThemeInt(HTHEME theme, int part, int state, int propertyId, int* value);
HRESULT WINAPI SkinGetThemePartSize(HTHEME theme, HDC dc, int part, int state, LPCRECT rect, THEMESIZE kind, SIZE* size);
BOOL WINAPI SkinIsAppThemed();
HRESULT WINAPI SkinGetCurrentThemeName(LPWSTR file, int fileLength, LPWSTR color, int colorLength, LPWSTR size,
                                   int sizeLength);
BOOL WINAPI SkinGetThemeSysBool(HTHEME theme, int propertyId);
COLORREF WINAPI SkinGetThemeSysColor(HTHEME theme, int colorId);

}  // namespace hooks

// The skinned popup-menu tracker takes over TrackPopupMenu(Ex) here. TRUE when it tracked the
// menu (result then holds the answer); FALSE leaves the menu to the system.
BOOL TrackSkinnedPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude, BOOL* result);

}  // namespace skin
