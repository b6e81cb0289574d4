#pragma once
// The hot part of a skinned control: what lies under the pointer is drawn hot, and the system is asked
// for WM_MOUSELEAVE while something is, or the hot look would stay after the pointer left the window.
#include <windows.h>

namespace skin {

// Makes `value` the hot one; false when it already was, so the caller repaints only on a change.
template <typename T>
bool ChangeHot(HWND hwnd, T& hot, T value, T none) {
    if (value == hot) return false;
    hot = value;
    if (value != none) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        ::TrackMouseEvent(&track);
    }
    return true;
}

}  // namespace skin
