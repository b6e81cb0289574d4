#pragma once
// Skin object of the MDI client window. Always subclassed: the client's procedure is the
// system's, but its children's layout must be seen whatever route the frame takes. A maximized
// skinned child is placed with its skinned borders outside the client; tiling and cascading lay
// children out by the system's borders, so each child's frame is brought back in step a second
// later (timer 2765).
#include <vector>

#include "CSkinObjectFrame.h"

class CSkinObjectMDIClient : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectMDIClient)
public:
    static constexpr UINT_PTR kResyncTimer = 2765;

    CSkinObjectMDIClient();

    BOOL PrefersDefaultRoute(UINT message) override;
    void OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) override;
    void OnDetached(BOOL windowDestroyed) override;

protected:
    DECLARE_MESSAGE_MAP()

    LRESULT OnScrollOrActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnArrange(WPARAM wParam, LPARAM lParam);

private:
    // The child's frame object while its frame is skinned, else null.
    CSkinObjectFrame* SkinnedFrameOf(HWND child) const;
    std::vector<HWND> Children() const;
    // The parent frame's skin object, when it has one.
    CSkinObjectFrame* ParentFrame() const;

    BOOL m_arranging = FALSE;
};
