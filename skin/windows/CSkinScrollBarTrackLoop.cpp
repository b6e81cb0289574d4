#include "CSkinScrollBarTrackLoop.h"

#include <utility>

namespace {

// The key state of the button that sends WM_LBUTTONDOWN, which is the right one when they are swapped.
BOOL LeftButtonDown() { return GetKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0; }

class TrackingScope {
public:
    TrackingScope(CSkinScrollBarTracking*& slot, CSkinScrollBarTracking* value) : m_slot(slot) { m_slot = value; }
    ~TrackingScope() { m_slot = nullptr; }
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;

private:
    CSkinScrollBarTracking*& m_slot;
};

}  // namespace

CSkinScrollBarTrackLoop::CSkinScrollBarTrackLoop(const Target& target, CSkinScrollBarInfo& bar,
                                                 std::function<void()> layout, std::function<void()> paint)
    : m_target(target), m_bar(bar), m_layout(std::move(layout)), m_paint(std::move(paint)),
      m_tracking(bar, *this, GetDoubleClickTime()) {
    m_tracking.notifyTarget = target.notify;
    m_tracking.notifyLParam = target.notifyLParam;
    m_tracking.windowCoordinates = target.windowCoordinates;
}

void CSkinScrollBarTrackLoop::Run(POINT pt, BOOL shiftDown, CSkinScrollBarTracking*& tracking) {
    const HWND window = m_target.window;
    TrackingScope scope(tracking, &m_tracking);
    if (!m_tracking.Begin(pt, shiftDown, GetSystemMetrics(m_bar.vertical ? SM_CYVTHUMB : SM_CXHTHUMB))) return;

    SetCapture(window);
    BOOL going = m_tracking.OnMouse(WM_LBUTTONDOWN, pt, TRUE);
    MSG msg;
    while (going && GetCapture() == window && m_target.notify && IsWindow(m_target.notify)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == CSkinScrollBarTracking::kRepeatTimerId) {
            m_tracking.OnRepeatTimer(CursorInBar());
        } else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            const POINT client{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            going = m_tracking.OnMouse(msg.message, ToBar(client), LeftButtonDown());
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (GetCapture() == window) ReleaseCapture();
    m_tracking.End();
}

void CSkinScrollBarTrackLoop::Notify(int command, int position) {
    if (!m_target.notify) return;
    SendMessageA(m_target.notify, m_bar.vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(command, position),
                 m_target.notifyLParam);
    // The application has moved the bar; page presses measure against where the thumb is now.
    if (!m_tracking.dragging && IsWindow(m_target.window)) m_layout();
}

void CSkinScrollBarTrackLoop::SetRepeatTimer(UINT delay) {
    SetTimer(m_target.window, CSkinScrollBarTracking::kRepeatTimerId, delay, nullptr);
}

void CSkinScrollBarTrackLoop::KillRepeatTimer() { KillTimer(m_target.window, CSkinScrollBarTracking::kRepeatTimerId); }

POINT CSkinScrollBarTrackLoop::ToBar(POINT clientPoint) const {
    if (!m_target.windowCoordinates) return clientPoint;
    POINT pt = clientPoint;
    ClientToScreen(m_target.window, &pt);
    RECT window{};
    GetWindowRect(m_target.window, &window);
    // As the frame counts in a mirrored window: from the right.
    if (GetWindowLongA(m_target.window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
        return POINT{window.right - 1 - pt.x, pt.y - window.top};
    return POINT{pt.x - window.left, pt.y - window.top};
}

POINT CSkinScrollBarTrackLoop::CursorInBar() const {
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(m_target.window, &pt);
    return ToBar(pt);
}
