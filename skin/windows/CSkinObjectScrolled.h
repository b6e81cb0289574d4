#pragma once
// Base of the skin objects of controls that scroll their own content (edit, list box, list view,
// tree view): older common controls move their positions without the scroll calls the skin
// intercepts, so after every message that may scroll, the own scroll bars are brought in step.
#include "CSkinObjectFrame.h"

class CSkinObjectScrolled : public CSkinObjectFrame {
    DECLARE_DYNAMIC(CSkinObjectScrolled)
public:
    CSkinObjectScrolled();

    // Repaints each visible own bar whose position or range moved since the last look.
    virtual void SyncScrollBars();
    // Whether this process's common controls need the look at all.
    BOOL IsScrollSyncNeeded() const;

protected:
    // A plain WS_BORDER (a list box keeps it as a non-client border) in the theme's border colour where
    // the theme class fills its borders, like the client edge of the same control; the frame alone would
    // draw the system's window-frame colour there.
    void DrawPlainThemeBorder(HDC dc);
    // The frame and then the plain border, only when the frame really drew (not inside its guard).
    void DrawFrameWithPlainBorder(HDC dc);
    void OnBeforeDraw() override { m_frameDrawing = TRUE; }

    DECLARE_MESSAGE_MAP()
    LRESULT OnScrollingMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChangedSync(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackgroundSync(WPARAM wParam, LPARAM lParam);

private:
    SCROLLINFO m_saved[2];  // SB_HORZ, SB_VERT
    BOOL m_frameDrawing = FALSE;
};
