// The background brush of a skinned control, from what its real parent answers.
#include <gtest/gtest.h>

#include "SkinClientBrush.h"
#include "WindowClass.h"

namespace {

LRESULT g_answer = 0;

LRESULT CALLBACK AnsweringParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return g_answer;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(ClientBrush, FromTheParentsAnswer) {
    harness::RegisterWindowClass("SkinClientBrushParent", AnsweringParent);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND parent = CreateWindowExA(0, "SkinClientBrushParent", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, instance, nullptr);
    HWND orphan = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    HBRUSH own = CreateSolidBrush(RGB(1, 2, 3));
    HDC dc = GetDC(child);
    struct {
        HWND window;
        LRESULT answer;
        UINT message;
        HBRUSH expected;
    } cases[] = {
        {child, COLOR_WINDOW + 1, WM_CTLCOLORSCROLLBAR, GetSysColorBrush(COLOR_WINDOW)},
        {child, 1, WM_CTLCOLORSCROLLBAR, GetSysColorBrush(0)},
        {child, 30, WM_CTLCOLORSCROLLBAR, GetSysColorBrush(29)},
        {child, reinterpret_cast<LRESULT>(own), WM_CTLCOLORSCROLLBAR, own},
        {child, 0, WM_CTLCOLORSCROLLBAR, GetSysColorBrush(COLOR_BTNFACE)},
        {child, 0, WM_CTLCOLOREDIT, GetSysColorBrush(COLOR_WINDOW)},
        {child, 0, WM_CTLCOLORLISTBOX, GetSysColorBrush(COLOR_WINDOW)},
        {orphan, reinterpret_cast<LRESULT>(own), WM_CTLCOLORSCROLLBAR, GetSysColorBrush(COLOR_BTNFACE)},
    };
    for (const auto& c : cases) {
        g_answer = c.answer;
        EXPECT_EQ(c.expected, SkinClientBrush(c.window, dc, c.message, nullptr)) << c.answer << " " << c.message;
    }
    ReleaseDC(child, dc);
    DeleteObject(own);
    DestroyWindow(orphan);
    DestroyWindow(parent);
}

}  // namespace
