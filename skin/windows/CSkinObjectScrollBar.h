#pragma once
// The skin object of the standalone scroll-bar control: drawn, hit-tested and tracked by the skin,
// while the system keeps the range, position and keyboard handling.
#include "CSkinObjectFrame.h"
#include "CSkinScrollBarInfo.h"
#include "CSkinScrollBarTracking.h"

class CSkinObjectScrollBar : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectScrollBar)
public:
    CSkinObjectScrollBar();

    BOOL GetTrackPos(int bar, int* pos) override;
    const CSkinScrollBarInfo& GetScrollBarInfo() const { return m_scrollBar; }
    // The press in progress, or null.
    const CSkinScrollBarTracking* GetTracking() const { return m_tracking; }

protected:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM dc, LPARAM);
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM keys, LPARAM point);
    LRESULT OnRedrawingChange(WPARAM, LPARAM);
    LRESULT OnSetScrollInfo(WPARAM redraw, LPARAM);
    LRESULT OnSetPos(WPARAM, LPARAM redraw);
    LRESULT OnGetScrollInfo(WPARAM, LPARAM info);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsSizeBox() const;
    void Layout();
    void Paint(HDC dc);
    void PaintNow();
    void SetHotPart(int hit);

    CSkinScrollBarInfo m_scrollBar;
    CSkinScrollBarTracking* m_tracking = nullptr;
};
