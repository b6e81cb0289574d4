#include "CCanvasWindow.h"

bool CCanvasWindow::Register(HINSTANCE instance, const char* className)
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, className, &existing))
        return existing.lpfnWndProc == WndProc;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

void CCanvasWindow::Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    // A band of the highlight colour along the top tells the canvas from the plain background.
    RECT band = rc;
    band.bottom = band.top + (rc.bottom - rc.top) / 4;
    FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));

    char text[128] = "";
    if (GetWindowTextA(hwnd, text, sizeof text) == 0)
        GetClassNameA(hwnd, text, sizeof text);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT textRect = rc;
    textRect.top = band.bottom;
    DrawTextA(dc, text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK CCanvasWindow::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_SETFONT:
        // Remembered as a property: the class has no extra bytes, and stand-ins share the procedure.
        SetPropA(hwnd, "GalleryFont", reinterpret_cast<HANDLE>(wParam));
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetPropA(hwnd, "GalleryFont"));
    case WM_NCDESTROY:
        RemovePropA(hwnd, "GalleryFont");
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
