#pragma once
// A real "ScrollBar" control with the skin on: what the pointer-input scenarios run against when the
// skin's own object draws and tracks the bar.
#include <windows.h>

#include "CSkinEngine.h"
#include "CSkinHookManager.h"
#include "CSkinObjectScrollBar.h"
#include "ScrollInput.h"

namespace sbtest {

// Hook manager up, skin loaded from this program's resources.
inline BOOL StartSkin() {
    CSkinHookManager::Instance();
    CSkinEngine* engine = CSkinEngine::Instance();
    if (engine->IsEnabled()) return TRUE;
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return engine->LoadSkin(path, nullptr);
}

inline CSkinObjectScrollBar* ScrollBarObject(HWND hwnd) {
    CSkinWindowSink* sink = CSkinEngine::Instance()->FindSkinObject(hwnd);
    return sink ? dynamic_cast<CSkinObjectScrollBar*>(sink->GetSkinObject()) : nullptr;
}

class SkinnedBar {
public:
    SkinnedBar(ScrollParent& parent, RECT rect, DWORD style = SBS_VERT) {
        StartSkin();
        m_hwnd = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent.hwnd(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetScrollInfo(m_hwnd, SB_CTL, &parent.info, TRUE);
        const HWND h = m_hwnd;
        parent.setPosition = [h](int position) { SetScrollPos(h, SB_CTL, position, TRUE); };
        parent.trackPosition = [h] {
            SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(h, SB_CTL, &si);
            return si.nTrackPos;
        };
    }
    ~SkinnedBar() { DestroyWindow(m_hwnd); }
    HWND hwnd() const { return m_hwnd; }
    const CSkinScrollBarInfo& bar() const { return ScrollBarObject(m_hwnd)->GetScrollBarInfo(); }

private:
    HWND m_hwnd;
};

}  // namespace sbtest
