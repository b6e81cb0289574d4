// A framework window as the parent of controls under test: it reflects WM_DRAWITEM, WM_CTLCOLOR and
// notifications to them like a dialog does, and counts the STN_CLICKED notifications it receives.
#pragma once

#include "Afx.h"
#include "TestWindows.h"

#include <map>

class TestParent : public CWnd {
public:
    explicit TestParent(int w = 360, int h = 200, int x = 100, int y = 100) {
        CreateEx(0, TestWindowClass(), "parent", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h, HostWindow(),
                 nullptr);
        ::UpdateWindow(m_hWnd);
    }
    ~TestParent() override { DestroyWindow(); }

    HWND AddChild(const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        HWND child = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_hWnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                       nullptr);
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return child;
    }

    std::map<UINT, int> clicks;  // STN_CLICKED per control id

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        const BOOL handled = CWnd::OnCommand(wParam, lParam);
        if (!handled && lParam && HIWORD(wParam) == STN_CLICKED) ++clicks[LOWORD(wParam)];
        return handled;
    }
};
