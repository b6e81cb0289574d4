// Scroll bars, the menu bar, popup menus and the default window procedures of skinned windows.
#include "CSkinMenuTracker.h"
#include "CSkinObjectBase.h"
#include "SkinHookSupport.h"
#include "SkinReplacements.h"
#include "SkinRoutes.h"

namespace skin {

BOOL TrackSkinnedPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude, BOOL* result) {
    int answer = 0;
    if (!CSkinMenuTracker::TryTrackMenu(menu, flags, x, y, owner, exclude, &answer)) return FALSE;
    *result = static_cast<BOOL>(answer);
    return TRUE;
}

namespace hooks {

namespace {

// The skin object of a window while frames and scroll bars are skinned.
CSkinRef<CSkinObjectBase> FrameObject(HWND window) {
    if (!window || !SkinOn(SkinApplyFrame)) return CSkinRef<CSkinObjectBase>();
    return FindSkinObjectRef(window);
}

template <typename Proc>
LRESULT ThroughRoute(int slot, int route, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto system = SystemEntry<Proc>(slot);
    LRESULT result = 0;
    if (DefaultProcRoute(window, reinterpret_cast<void*>(system), route, nullptr, message, wParam, lParam, result))
        return result;
    return system(window, message, wParam, lParam);
}

using DefFrameProcFn = LRESULT(WINAPI*)(HWND, HWND, UINT, WPARAM, LPARAM);
using CallWindowProcFn = LRESULT(WINAPI*)(WNDPROC, HWND, UINT, WPARAM, LPARAM);

LRESULT FrameThroughRoute(int slot, HWND window, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
    auto system = SystemEntry<DefFrameProcFn>(slot);
    LRESULT result = 0;
    if (DefaultProcRoute(window, reinterpret_cast<void*>(system), RouteDefFrameProc, client, message, wParam, lParam,
                         result))
        return result;
    return system(window, client, message, wParam, lParam);
}

LRESULT CallThroughRoute(int slot, WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto system = SystemEntry<CallWindowProcFn>(slot);
    LRESULT result = 0;
    if (DefaultProcRoute(window, reinterpret_cast<void*>(system), RouteCallWindowProc,
                         reinterpret_cast<void*>(previous), message, wParam, lParam, result))
        return result;
    return previous ? system(previous, window, message, wParam, lParam) : 0;
}

}  // namespace

int WINAPI SkinSetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    auto system = SystemEntry<decltype(&::SetScrollPos)>(SlotSetScrollPos);
    CSkinRef<CSkinObjectBase> object = FrameObject(window);
    if (!object) return system(window, bar, position, redraw);
    const int previous = system(window, bar, position, FALSE);
    if (redraw) {
        LastErrorKeeper keep;
        if (bar == SB_CTL)
            InvalidateRect(window, nullptr, TRUE);
        else
            object->RepaintOwnScrollBar(bar);
    }
    return previous;
}

int WINAPI SkinSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    auto system = SystemEntry<decltype(&::SetScrollInfo)>(SlotSetScrollInfo);
    if (bar == SB_CTL || !redraw) return system(window, bar, info, redraw);
    CSkinRef<CSkinObjectBase> object = FrameObject(window);
    if (!object) return system(window, bar, info, redraw);
    const int position = system(window, bar, info, FALSE);
    LastErrorKeeper keep;
    object->RepaintOwnScrollBar(bar);
    return position;
}

BOOL WINAPI SkinEnableScrollBar(HWND window, UINT bars, UINT arrows) {
    const BOOL done = SystemEntry<decltype(&::EnableScrollBar)>(SlotEnableScrollBar)(window, bars, arrows);
    if (CSkinRef<CSkinObjectBase> object = FrameObject(window)) {
        LastErrorKeeper keep;
        if (bars == SB_HORZ || bars == SB_BOTH) object->RepaintOwnScrollBar(SB_HORZ);
        if (bars == SB_VERT || bars == SB_BOTH) object->RepaintOwnScrollBar(SB_VERT);
    }
    return done;
}

BOOL WINAPI SkinGetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    const BOOL done = SystemEntry<decltype(&::GetScrollInfo)>(SlotGetScrollInfo)(window, bar, info);
    if (done && info && (info->fMask & SIF_TRACKPOS))
        if (CSkinRef<CSkinObjectBase> object = FrameObject(window)) {
            int position = 0;
            if (object->GetTrackPos(bar, &position)) info->nTrackPos = position;
        }
    return done;
}

BOOL WINAPI SkinDrawMenuBar(HWND window) {
    if (CSkinRef<CSkinObjectBase> object = FrameObject(window))
        if (object->OnDrawMenuBar()) return TRUE;
    return SystemEntry<decltype(&::DrawMenuBar)>(SlotDrawMenuBar)(window);
}

BOOL WINAPI SkinTrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect) {
    BOOL result = FALSE;
    if (SkinOn(SkinApplyMenus) && TrackSkinnedPopupMenu(menu, flags, x, y, owner, nullptr, &result)) return result;
    return SystemEntry<decltype(&::TrackPopupMenu)>(SlotTrackPopupMenu)(menu, flags, x, y, reserved, owner, rect);
}

BOOL WINAPI SkinTrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    BOOL result = FALSE;
    const RECT* exclude = params && params->cbSize >= sizeof(TPMPARAMS) ? &params->rcExclude : nullptr;
    if (SkinOn(SkinApplyMenus) && TrackSkinnedPopupMenu(menu, flags, x, y, owner, exclude, &result)) return result;
    return SystemEntry<decltype(&::TrackPopupMenuEx)>(SlotTrackPopupMenuEx)(menu, flags, x, y, owner, params);
}

LRESULT WINAPI SkinDefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ThroughRoute<WNDPROC>(SlotDefWindowProcA, RouteDefWindowProc, window, message, wParam, lParam);
}

LRESULT WINAPI SkinDefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ThroughRoute<WNDPROC>(SlotDefWindowProcW, RouteDefWindowProc, window, message, wParam, lParam);
}

LRESULT WINAPI SkinDefMDIChildProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ThroughRoute<WNDPROC>(SlotDefMDIChildProcA, RouteDefMDIChildProc, window, message, wParam, lParam);
}

LRESULT WINAPI SkinDefMDIChildProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ThroughRoute<WNDPROC>(SlotDefMDIChildProcW, RouteDefMDIChildProc, window, message, wParam, lParam);
}

LRESULT WINAPI SkinDefDlgProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ThroughRoute<WNDPROC>(SlotDefDlgProcA, RouteDefDlgProc, window, message, wParam, lParam);
}

LRESULT WINAPI SkinDefDlgProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ThroughRoute<WNDPROC>(SlotDefDlgProcW, RouteDefDlgProc, window, message, wParam, lParam);
}

LRESULT WINAPI SkinDefFrameProcA(HWND window, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
    return FrameThroughRoute(SlotDefFrameProcA, window, client, message, wParam, lParam);
}

LRESULT WINAPI SkinDefFrameProcW(HWND window, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
    return FrameThroughRoute(SlotDefFrameProcW, window, client, message, wParam, lParam);
}

LRESULT WINAPI SkinCallWindowProcA(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallThroughRoute(SlotCallWindowProcA, previous, window, message, wParam, lParam);
}

LRESULT WINAPI SkinCallWindowProcW(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallThroughRoute(SlotCallWindowProcW, previous, window, message, wParam, lParam);
}

}  // namespace hooks
}  // namespace skin
