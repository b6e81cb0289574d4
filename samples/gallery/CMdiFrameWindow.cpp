#include "CMdiFrameWindow.h"

#include <string>

#include "GalleryControls.h"

HWND CMdiFrameWindow::s_frame = nullptr;
HWND CMdiFrameWindow::s_client = nullptr;
int CMdiFrameWindow::s_childCount = 0;

bool CMdiFrameWindow::RegisterClasses(HINSTANCE instance)
{
    WNDCLASSEXA probe = {};
    probe.cbSize = sizeof probe;
    if (GetClassInfoExA(instance, gallery::kMdiFrameClass, &probe))
        return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GALLERY));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = gallery::kMdiFrameClass;
    if (!RegisterClassExA(&wc))
        return false;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ChildProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = gallery::kMdiChildClass;
    return RegisterClassExA(&wc) != 0;
}

HWND CMdiFrameWindow::Open(HINSTANCE instance, HWND owner)
{
    if (s_frame) {
        SetForegroundWindow(s_frame);
        return s_frame;
    }
    if (!RegisterClasses(instance))
        return nullptr;
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MDI_MENU));
    HWND frame = CreateWindowExA(0, gallery::kMdiFrameClass, gallery::kMdiTitle,
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 640, 440,
                                 owner, menu, instance, nullptr);
    if (!frame) {
        DestroyMenu(menu);
        return nullptr;
    }
    for (int i = 0; i < gallery::kMdiInitialChildren; ++i)
        NewChild();
    ShowWindow(frame, SW_SHOWNORMAL);
    SendMessageA(s_client, WM_MDICASCADE, 0, 0);
    return frame;
}

bool CMdiFrameWindow::TranslateAccelerators(MSG* msg)
{
    return s_client && TranslateMDISysAccel(s_client, msg);
}

HWND CMdiFrameWindow::NewChild()
{
    if (!s_client)
        return nullptr;
    const std::string title = "Child " + std::to_string(++s_childCount);
    MDICREATESTRUCTA create = {};
    create.szClass = gallery::kMdiChildClass;
    create.szTitle = title.c_str();
    create.hOwner = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(s_frame, GWLP_HINSTANCE));
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = WS_CLIPCHILDREN;
    return reinterpret_cast<HWND>(SendMessageA(s_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

LRESULT CALLBACK CMdiFrameWindow::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        s_frame = hwnd;
        CLIENTCREATESTRUCT ccs = {};
        ccs.hWindowMenu = GetSubMenu(GetMenu(hwnd), 1);
        ccs.idFirstChild = IDM_MDI_FIRSTCHILD;
        s_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                   WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0,
                                   hwnd, nullptr, reinterpret_cast<LPCREATESTRUCTA>(lParam)->hInstance, &ccs);
        return s_client ? 0 : -1;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_MDI_NEW:
            NewChild();
            return 0;
        case IDM_MDI_CASCADE:
            SendMessageA(s_client, WM_MDICASCADE, 0, 0);
            return 0;
        case IDM_MDI_TILE:
            SendMessageA(s_client, WM_MDITILE, MDITILE_VERTICAL, 0);
            return 0;
        case IDM_MDI_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        s_frame = nullptr;
        s_client = nullptr;
        s_childCount = 0;
        break;
    }
    return DefFrameProcA(hwnd, s_client, message, wParam, lParam);
}

LRESULT CALLBACK CMdiFrameWindow::ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        char title[64] = "";
        GetWindowTextA(hwnd, title, sizeof title);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, title, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, oldFont);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefMDIChildProcA(hwnd, message, wParam, lParam);
}
