#include "CSkinObjectPainted.h"

#include "SkinControlPaint.h"

IMPLEMENT_DYNAMIC(CSkinObjectPainted, CSkinObjectFrame)

BEGIN_MESSAGE_MAP(CSkinObjectPainted, CSkinObjectFrame)
    ON_MESSAGE(WM_PAINT, OnPaintMessage)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
END_MESSAGE_MAP()

CSkinObjectPainted::CSkinObjectPainted(LRESULT printedResult) : m_printedResult(printedResult) {}

LRESULT CSkinObjectPainted::OnPaintMessage(WPARAM wParam, LPARAM) {
    if (LeavesPaintToControl()) return Default();
    // wParam, when given, is a caller's context, as WM_PRINTCLIENT gives one.
    skin::PaintWindow(m_hWnd, wParam, [this](HDC dc) { Paint(dc); });
    return 0;
}

LRESULT CSkinObjectPainted::OnPrintClient(WPARAM wParam, LPARAM lParam) {
    if (LeavesPaintToControl() || PassesPrintToControl() || !wParam || !(lParam & PRF_CLIENT)) return Default();
    Paint(reinterpret_cast<HDC>(wParam));
    return m_printedResult;
}

LRESULT CSkinObjectPainted::OnEraseBackground(WPARAM, LPARAM) {
    if (LeavesPaintToControl()) return Default();
    return TRUE;
}
