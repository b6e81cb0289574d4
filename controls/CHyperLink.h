#pragma once
// A static control turned into a link: hand cursor, link colours and underline for text, a tooltip,
// and on a click (or Space / Enter while focused) the target handed to the shell's "open" verb.
// For a picture static the whole control is the link and no text colouring applies.
#include "Afx.h"
#include "CToolTipCtrl.h"

class CHyperLink : public CStatic {
    DECLARE_DYNAMIC(CHyperLink)
public:
    CHyperLink();
    ~CHyperLink() override;

    virtual void SetTarget(LPCSTR target);
    virtual CString GetTarget() const;
    virtual void SetLinkColors(COLORREF normal, COLORREF visited, COLORREF hover);
    virtual COLORREF NormalColor() const;
    virtual COLORREF VisitedColor() const;
    virtual COLORREF HoverColor() const;
    virtual void MarkVisited(BOOL visited);
    virtual BOOL WasVisited() const;
    virtual void SetHandCursor(HCURSOR cursor);
    virtual HCURSOR HandCursor() const;
    virtual void SetUnderlined(BOOL underlined);
    virtual BOOL IsUnderlined() const;
    // CLR_NONE (all bits set) for none: the parent's usual static background.
    virtual void SetBackgroundColor(COLORREF color);
    virtual COLORREF BackgroundColor() const;
    // A null file opens the target. Shell failures are reported in a message box.
    virtual BOOL OpenTarget(LPCSTR file, int showCommand, LPCSTR parameters, LPCSTR directory);
    virtual BOOL IsTextLink() const;
    virtual BOOL IsPointerOverLink() const;
    virtual void ShowOpenError(int code);
    virtual BOOL InitLink();
    virtual BOOL ApplyLinkFont();
    virtual BOOL BuildLinkFont(CFont* font, BOOL underline);

    void SetTooltipText(LPCSTR text);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    BOOL OnSetCursor(CWnd* pWnd, UINT hitTest, UINT message);
    int OnCreate(LPCREATESTRUCT cs);
    HBRUSH CtlColor(CDC* pDC, UINT kind);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnWindowPosChanged(WINDOWPOS* pos);
    LRESULT OnNcHitTest(CPoint point);
    BOOL OnLinkClicked();
    void OnSetFocus(CWnd* pOther);
    void OnKillFocus(CWnd* pOther) { OnSetFocus(pOther); }
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode();

    DECLARE_MESSAGE_MAP()

private:
    void Redraw();

    BYTE m_bOpenOnClick = 1;
    BYTE m_bInitOnSubclass = 1;
    BYTE m_bUnderlined = 1;
    BYTE m_bHovering = 0;
    BYTE m_bVisited = 0;
    BYTE m_bTooltipEnabled = 1;
    BYTE m_bTooltipWorded = 0;   // the program gave the tooltip its own wording
    BYTE m_bAskingParent = 0;    // our colour request to the parent comes back reflected
    CFont m_fontLink;
    CString m_strTarget;
    CString m_strTooltip;
    HCURSOR m_hHandCursor = nullptr;
    COLORREF m_crNormal = RGB(0, 0, 255);
    COLORREF m_crHover = RGB(255, 0, 0);
    COLORREF m_crVisited = RGB(128, 0, 128);
    COLORREF m_crBackground = CLR_NONE;
    CToolTipCtrl m_tooltip;
};
