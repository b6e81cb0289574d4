#include "CSkinObjectMDIClient.h"

#include "SkinControlGeometry.h"

IMPLEMENT_DYNCREATE(CSkinObjectMDIClient, CSkinObjectFrame)

namespace {
// Sent by the system's MDI code to the client when its scroll bars may have changed.
const UINT kMdiCalcScroll = 0x3F;
}  // namespace

BEGIN_MESSAGE_MAP(CSkinObjectMDIClient, CSkinObjectFrame)
    ON_MESSAGE(WM_HSCROLL, OnScrollOrActivate)
    ON_MESSAGE(WM_VSCROLL, OnScrollOrActivate)
    ON_MESSAGE(WM_NCACTIVATE, OnScrollOrActivate)
    ON_MESSAGE(kMdiCalcScroll, OnScrollOrActivate)
    ON_MESSAGE(WM_SIZE, OnSizeMessage)
    ON_MESSAGE(WM_MDITILE, OnArrange)
    ON_MESSAGE(WM_MDICASCADE, OnArrange)
    ON_MESSAGE(WM_MDIICONARRANGE, OnArrange)
END_MESSAGE_MAP()

CSkinObjectMDIClient::CSkinObjectMDIClient() {
    m_themeClassName = "WINDOW";
    m_ctlColorMessage = WM_CTLCOLORDLG;
    m_alwaysSubclass = TRUE;
}

BOOL CSkinObjectMDIClient::PrefersDefaultRoute(UINT message) { return message == WM_SKINFRAMEWORK_QUERYSTATE; }

CSkinObjectFrame* CSkinObjectMDIClient::SkinnedFrameOf(HWND child) const {
    if (!m_engine) return nullptr;
    CSkinWindowSink* sink = m_engine->FindSkinObject(child);
    auto* frame = dynamic_cast<CSkinObjectFrame*>(sink ? sink->GetSkinObject() : nullptr);
    return frame && frame->IsFrameSkinned() ? frame : nullptr;
}

CSkinObjectFrame* CSkinObjectMDIClient::ParentFrame() const {
    const HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    CSkinWindowSink* sink = parent && m_engine ? m_engine->FindSkinObject(parent) : nullptr;
    return dynamic_cast<CSkinObjectFrame*>(sink ? sink->GetSkinObject() : nullptr);
}

void CSkinObjectMDIClient::OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) {
    CSkinObjectFrame::OnAttached(createStruct, autoAttached);
    if (CSkinObjectFrame* frame = ParentFrame()) frame->SetMdiClientObject(this);
}

void CSkinObjectMDIClient::OnDetached(BOOL windowDestroyed) {
    // Only our own entry: a second client may have taken the frame's place since.
    if (CSkinObjectFrame* frame = ParentFrame())
        if (frame->GetMdiClientObject() == this) frame->SetMdiClientObject(nullptr);
    CSkinObjectFrame::OnDetached(windowDestroyed);
}

std::vector<HWND> CSkinObjectMDIClient::Children() const {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

LRESULT CSkinObjectMDIClient::OnScrollOrActivate(WPARAM, LPARAM) {
    const LRESULT result = Default();
    RepaintOwnScrollBar(SB_HORZ);
    RepaintOwnScrollBar(SB_VERT);
    return result;
}

LRESULT CSkinObjectMDIClient::OnSizeMessage(WPARAM, LPARAM size) {
    const unsigned both = SkinApplyMetrics | SkinApplyFrame;
    if (!m_engine || (m_engine->GetApplyOptions() & both) != both) return Default();
    BOOL maximized = FALSE;
    const HWND active = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    CSkinObjectFrame* frame = active && maximized ? SkinnedFrameOf(active) : nullptr;
    if (!frame) return Default();
    const skin::FrameBorders& b = frame->GetBorders();
    const RECT r = skin::MaximizedChildRect(LOWORD(size), HIWORD(size), b.left, b.top, b.right, b.bottom);
    ::MoveWindow(active, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    return 0;
}

LRESULT CSkinObjectMDIClient::OnArrange(WPARAM, LPARAM) {
    if (m_arranging) return Default();
    m_arranging = TRUE;
    const std::vector<HWND> children = Children();
    for (HWND child : children) {
        CSkinObjectFrame* frame = SkinnedFrameOf(child);
        if (!frame) continue;
        // The system arranges by its own idea of the borders; the skin's come back a second later.
        frame->ResyncFrame();
        ::SetTimer(child, kResyncTimer, 1000, &CSkinEngine::SkinTimerProc);
    }
    const LRESULT result = Default();
    for (HWND child : children)
        if (::IsWindow(child))
            if (CSkinObjectFrame* frame = SkinnedFrameOf(child)) frame->RedrawFrame();
    m_arranging = FALSE;
    return result;
}
