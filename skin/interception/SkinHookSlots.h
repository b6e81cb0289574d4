#pragma once
#include <windows.h>

// The slots of the interception table; each intercepted function keeps its number.
namespace skin {

enum HookSlot : int {
    SlotLoadLibraryA = 0,
    SlotLoadLibraryW = 1,
    SlotLoadLibraryExA = 2,
    SlotLoadLibraryExW = 3,
    SlotGetProcAddress = 4,
    SlotGetModuleHandleA = 5,
    SlotRegisterClassA = 6,
    SlotRegisterClassW = 7,
    SlotGetSysColor = 8,
    SlotGetSysColorBrush = 9,
    SlotDrawEdge = 10,
    SlotDrawFrameControl = 11,
    SlotSetScrollInfo = 12,
    SlotSetScrollPos = 13,
    SlotGetScrollInfo = 14,
    SlotEnableScrollBar = 15,
    SlotOpenThemeData = 16,
    SlotDrawThemeBackground = 17,
    SlotCloseThemeData = 18,
    SlotGetThemeColor = 19,
    SlotGetThemeInt = 20,
    SlotIsAppThemed = 21,
    SlotIsThemeActive = 22,
    SlotGetCurrentThemeName = 23,
    SlotGetThemeSysBool = 24,
    SlotGetThemeSysColor = 25,
    SlotGetThemePartSize = 26,
    SlotSystemParametersInfoA = 27,
    SlotDefWindowProcA = 28,
    SlotDefWindowProcW = 29,
    SlotDefMDIChildProcA = 30,
    SlotDefMDIChildProcW = 31,
    SlotDefFrameProcA = 32,
    SlotDefFrameProcW = 33,
    SlotDefDlgProcA = 34,
    SlotDefDlgProcW = 35,
    SlotCallWindowProcA = 36,
    SlotCallWindowProcW = 37,
    SlotCreateThread = 38,
    SlotFillRect = 39,
    SlotDeleteObject = 40,
    SlotAdjustWindowRectEx = 41,
    SlotAdjustWindowRect = 42,
    SlotGetSystemMetrics = 43,
    SlotTrackPopupMenu = 44,
    SlotTrackPopupMenuEx = 45,
    SlotDrawMenuBar = 46,
    SlotApiSetLoadLibraryExW = 47,
    HookSlotCount = 48
};

// The handle GetModuleHandleA answers for "UxTheme.dll" while the skin serves the visual styles.
inline HMODULE UxThemePseudoHandle() { return reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x021FFFF1)); }

}  // namespace skin
