#pragma once
// The window of one menu level, or a frame's menu bar in bar mode (the window is then the frame
// itself and is neither created nor destroyed here). Created, placed and driven by the tracker.
//
// Theme and metrics: the MENU class theme and the metrics come from the skin object of the owner
// window, found through the engine's window map (CSkinEngine::FindSkinObjectRef and
// GetThemeClass, which honour a schema of the object's own), or from the engine's current schema
// when the owner has none. This layer sees skin objects only through CSkinWindowSink, so it
// depends on the engine alone. The schema is held for the length of each layout and paint.
#include <windows.h>
#include <memory>
#include <vector>

#include "CSkinEngine.h"
#include "CSkinMenuItem.h"
#include "CWnd.h"

class CSkinMenuTracker;

class CSkinMenuWindow : public CWnd {
    DECLARE_DYNAMIC(CSkinMenuWindow)
public:
    CSkinMenuWindow();
    ~CSkinMenuWindow() override;

    HMENU m_hMenu = nullptr;
    std::vector<std::unique_ptr<CSkinMenuItem>> m_items;
    int m_nSelected = -1;
    int m_nOpenPosition = -1;
    BOOL m_bIsBar = FALSE;
    BOOL m_bSystemMenu = FALSE;
    BOOL m_bTogglePending = FALSE;
    BOOL m_bDropMode = FALSE;
    BOOL m_bParentMovedAway = FALSE;
    BOOL m_bPopupNotified = FALSE;
    BOOL m_bOpensLeftwards = FALSE;
    HWND m_hOwner = nullptr;
    int m_nGutter = 0;
    CSkinMenuTracker* m_pTracker = nullptr;
    UINT_PTR m_nCloseTimer = 0;
    UINT_PTR m_nOpenTimer = 0;
    CSkinMenuWindow* m_pChild = nullptr;
    CSkinMenuWindow* m_pParent = nullptr;

    BOOL CreateMenuWindow(HWND owner);
    // A bar's window is the frame: never destroyed from here.
    BOOL DestroyWindow() override;
    // Bar mode over an existing frame window: no window is created.
    void AttachBar(HWND frame, HMENU menu, BOOL systemMenu);
    void RebuildItems();
    int ItemCount();
    CSkinMenuItem* ItemAt(int position);
    RECT ItemScreenRect(const CSkinMenuItem* item) const;
    SIZE Layout();
    BOOL IsThemed();

    // The skin object whose theme and metrics the menu uses; by default the owner's.
    void SetSkinSource(CSkinRef<CSkinWindowSink> source) { m_skinSource = std::move(source); }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    struct Look;
    Look AcquireLook();
    BOOL IsThemedWith(const Look& look);
    void Paint(HDC dc, const RECT& client);
    void PaintItem(HDC dc, const RECT& client, const CSkinMenuItem& item, Look& look, bool themed);
    void PaintItemBitmap(HDC dc, const RECT& item, HBITMAP bitmap, Look& look, bool themed, bool enabled);

    CSkinRef<CSkinWindowSink> m_skinSource;
};
