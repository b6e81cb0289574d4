#include "ScrollInput.h"
#include "WindowClass.h"

#include <algorithm>

namespace sbtest {

ScrollParent::ScrollParent(RECT r) {
    static const char* const kClass = "SkinScrollBarTestParent";
    harness::RegisterWindowClass(kClass, Proc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST, kClass, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ScrollParent::~ScrollParent() { DestroyWindow(m_hwnd); }

LRESULT CALLBACK ScrollParent::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ScrollParent*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && (message == WM_VSCROLL || message == WM_HSCROLL)) {
        const int command = LOWORD(wParam), position = HIWORD(wParam);
        self->notices.push_back({command, position, self->trackPosition ? self->trackPosition() : 0, NowMs()});
        SCROLLINFO& si = self->info;
        int pos = si.nPos;
        switch (command) {
            case SB_LINEUP: pos -= 1; break;
            case SB_LINEDOWN: pos += 1; break;
            case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
            case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: pos = position; break;
            default: return 0;
        }
        si.nPos = std::max(si.nMin, std::min(pos, si.nMax - static_cast<int>(si.nPage) + 1));
        if (self->setPosition) self->setPosition(si.nPos);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace sbtest
