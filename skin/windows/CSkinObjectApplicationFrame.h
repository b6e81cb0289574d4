#pragma once
// Top-level and unknown windows: the frame plus the window's menu bar, laid out, drawn and
// hovered in the non-client area. Runs of the bar (clicks and keys) belong to the menu tracker,
// which drives the bar-mode menu window this object keeps.
#include <memory>

#include "CSkinMenuWindow.h"
#include "CSkinObjectFrame.h"

class CSkinObjectApplicationFrame : public CSkinObjectFrame {
    DECLARE_DYNCREATE(CSkinObjectApplicationFrame)
public:
    CSkinObjectApplicationFrame();
    ~CSkinObjectApplicationFrame() override;

    // Not a child, and a menu with at least one item.
    BOOL HasMenuBar() const;
    // The bar-mode menu window (its window and owner are the frame, its item rectangles in window
    // coordinates); null while the window shows no bar. Its selection is the bar's hot item.
    CSkinMenuWindow* GetMenuBarWindow() const { return m_menuBar.get(); }
    // Window coordinates; empty when there is no bar.
    const RECT& GetMenuBarRect() const { return m_menuBarRect; }
    // Repaints the bar alone (the whole frame when the client area has no height).
    void RedrawMenuBar();

    BOOL DrawsMenuBar() const override { return TRUE; }
    void DrawFrame(HDC dc) override;
    int NcHitTest(int x, int y) override;
    BOOL HandleNcMouseMove(int x, int y) override;
    BOOL OnDrawMenuBar() override;
    void OnDetached(BOOL windowDestroyed) override;
    // A click on the bar or a menu key runs the bar in the skin's menu tracker.
    BOOL HandleSysCommand(UINT command, LPARAM lParam) override;

protected:
    LRESULT OnNcCalcSizeWithBar(WPARAM calcValidRects, LPARAM params);
    DECLARE_MESSAGE_MAP()

private:
    struct ReleaseMenuWindow {
        void operator()(CSkinMenuWindow* window) const { window->InternalRelease(); }
    };
    void LayoutMenuBar();
    void PaintMenuBar(HDC windowDC);
    int MenuBarItemAt(int x, int y);
    void RunMenuBar(const POINT* press, UINT ch);

    RECT m_menuBarRect = {0, 0, 0, 0};
    std::unique_ptr<CSkinMenuWindow, ReleaseMenuWindow> m_menuBar;
};
