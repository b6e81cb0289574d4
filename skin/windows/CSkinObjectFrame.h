#pragma once
// The skin object of framed windows and the base of every control's skin object: draws the
// non-client area (caption, borders, client edges, the window's own scroll bars) from the theme,
// answers hit tests and runs the caption buttons, and gives dialogs their brushes. While the engine
// is off or the frame is not to be skinned, the system keeps the frame and its messages.
#include <vector>

#include "CSkinObjectBase.h"
#include "CSkinOwnScrollBars.h"
#include "SkinFrameGeometry.h"

class CSkinObjectFrame : public CSkinObjectBase {
    DECLARE_DYNCREATE(CSkinObjectFrame)
public:
    // The figures borders are laid out by: the theme's metrics, else the system's.
    static skin::FrameMetrics FrameMetricsFrom(const CSkinMetrics* metrics);

    CSkinObjectFrame();

    int GetDialogTextureMode() const { return m_dialogTextureMode; }
    void SetDialogTextureMode(int mode) { m_dialogTextureMode = mode; }

    virtual HBRUSH GetClientBrush(HDC dc);
    virtual void OnBeforeDraw() {}
    // What the frame asks its parent for its client brush.
    virtual UINT GetCtlColorMessage() { return m_ctlColorMessage; }
    // The whole non-client area into a DC of the window.
    virtual void DrawFrame(HDC dc);
    virtual BOOL HandleSysCommand(UINT command, LPARAM lParam);
    // Screen point, or (-1, -1) to end hover; TRUE while something of the frame is hot.
    virtual BOOL HandleNcMouseMove(int x, int y);
    // The skin's hit code at a screen point, or 0.
    virtual int NcHitTest(int x, int y);

    void OnSkinChanged(BOOL wasEnabled, BOOL isEnabled) override;
    void ReloadMetrics() override;
    void OnAttached(LPCREATESTRUCTA createStruct, BOOL autoAttached) override;
    void OnDetached(BOOL windowDestroyed) override;
    BOOL IsMessageExcluded(UINT message) override;
    void OnSkinTimer(UINT_PTR id) override;
    void RepaintOwnScrollBar(int bar) override;
    BOOL GetTrackPos(int bar, int* pos) override;

    void UpdateButtons();
    // Cuts the theme's see-through frame corners out of the window (full caption, skinned frames).
    void UpdateRegion(int cx, int cy);
    // The region for a window of cx x cy; the caller owns it.
    HRGN CalcFrameRegion(int cx, int cy);
    void RedrawFrame();
    void ResyncFrame();
    // The dialog's background and control brush, colouring dc for the control; a property page's is the
    // theme's tab body, aligned with the page.
    HBRUSH GetDialogBrush(HDC dc, HWND control, UINT ctlColorType);

    // Engine on and frames to be skinned.
    BOOL IsFrameSkinned() const;
    // Whether this object draws a menu bar; a window with one otherwise keeps the system's frame.
    virtual BOOL DrawsMenuBar() const { return FALSE; }
    const skin::FrameBorders& GetBorders() const { return m_borders; }
    const std::vector<skin::CaptionButton>& GetCaptionButtons() const { return m_buttons; }
    BOOL IsCaptionActive() const { return m_active; }
    // The skin object of this frame's MDI client, held by one reference while the client is attached.
    CSkinObjectFrame* GetMdiClientObject() const { return m_mdiClient.Get(); }
    void SetMdiClientObject(CSkinObjectFrame* client) { m_mdiClient = CSkinRef<CSkinObjectFrame>::Share(client); }

    BOOL OnSubclassMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL OnDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    // Gives a captioned top-level window the size that keeps its client area under the skin's frame.
    void ResizeForSkinnedFrame();
    // An Alt press waiting for its release to open the menu bar (one for the process).
    static bool IsMenuKeyPending();

protected:
    LRESULT OnNcPaint(WPARAM, LPARAM);
    LRESULT OnNcCalcSize(WPARAM calcValidRects, LPARAM params);
    LRESULT OnNcHitTest(WPARAM, LPARAM point);
    LRESULT OnNcMouseMove(WPARAM, LPARAM point);
    LRESULT OnNcMouseLeave(WPARAM, LPARAM);
    LRESULT OnNcLButtonDown(WPARAM hitCode, LPARAM point);
    LRESULT OnNcActivate(WPARAM active, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM);
    LRESULT OnSetIcon(WPARAM, LPARAM);
    LRESULT OnStyleChanged(WPARAM which, LPARAM change);
    LRESULT OnPrint(WPARAM dc, LPARAM flags);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM info);
    LRESULT OnSysCommand(WPARAM command, LPARAM);
    LRESULT OnContextMenu(WPARAM window, LPARAM point);
    // The window menu under the icon, opened by Alt+Space or a click on the icon.
    void OpenSystemMenu();
    LRESULT OnWindowPosChanged(WPARAM, LPARAM pos);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM pos);
    LRESULT OnNcRButtonUp(WPARAM hitCode, LPARAM point);
    LRESULT OnSysKeyDown(WPARAM key, LPARAM flags);
    LRESULT OnSysKeyUp(WPARAM key, LPARAM flags);
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    LRESULT OnCtlColor(WPARAM dc, LPARAM control);
    DECLARE_MESSAGE_MAP()

    int m_dialogTextureMode;
    UINT m_ctlColorMessage = WM_CTLCOLORDLG;

private:
    skin::FrameMetrics GetFrameMetrics() const;
    skin::FrameBorders GetFrameBorders() const;
    bool IsMaximizedTopLevel() const;
    bool UsesFlatScrollBars() const;
    // An MDI child whose skinned borders must lie outside the client when maximized.
    bool IsSkinnedMdiChild() const;
    static void NoteMouseButton(UINT message);
    // The corner between the own bars sits in the lower right of a window the user can size.
    bool IsSizeBoxCorner() const;
    void DrawCaption(HDC dc, const RECT& window, const skin::FrameBorders& borders, CSkinClassTheme& theme);
    void DrawClientEdge(HDC dc, const RECT& rect);
    void DrawNonCaptionFrame(HDC dc, RECT rect);
    void DrawOwnScrollBars(HDC dc);
    SIZE GetCaptionButtonSize(int s);
    void TrackCaptionButton(int index);
    void SetHotButton(int index);
    POINT ToWindow(int x, int y) const;
    // narrowLength > 0: the part drawn that long, shorter than its two margins, which share it in proportion.
    skin::RegionPiece ScanPiece(CSkinClassTheme& theme, int part, int state, int width, int height, bool rows,
                                bool fromEnd, int narrowLength = 0);
    void RemoveRegion();
    // Null when the theme has no tab body image.
    HBRUSH GetTabBodyBrush();
    void ErasePropertyPage(HDC dc);

    int m_frameGuard = 0;
    std::vector<skin::CaptionButton> m_buttons;
    skin::FrameBorders m_borders;
    int m_hotButton = -1;
    int m_pressedButton = -1;
    CSkinOwnScrollBars m_ownBars;
    BOOL m_active = TRUE;
    DWORD m_cachedStyle = 0xFFFFFFFFu, m_cachedExStyle = 0xFFFFFFFFu;
    BOOL m_regionApplied = FALSE;
    BOOL m_regionBusy = FALSE;
    SIZE m_regionSize{0, 0};
    CSkinRef<CSkinObjectFrame> m_mdiClient;
    skin::Brush m_tabBodyBrush;
    bool m_tabBodyBuilt = false;
};
