#pragma once
// Message-map macros. Each entry's thunk is a captureless lambda defined inside
// the owning class's map function, so handlers may be private members.

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        using ThisClass = theClass; \
        using TheBaseClass = baseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, nullptr}}; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0], {nullptr}}; \
        return &messageMap; \
    }

#define AFX_THUNK_ [](CCmdTarget* _t, WPARAM wParam, LPARAM lParam, LRESULT* _r) -> bool
#define AFX_SELF_ static_cast<ThisClass*>(_t)

// Commands and control notifications sent to the parent.
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     AFX_THUNK_ { (void)wParam; (void)lParam; AFX_SELF_->memberFxn(); *_r = 0; return true; }},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

// Notifications the parent reflects back to the control. The _EX form's BOOL result
// decides: TRUE keeps the notification from the parent, FALSE lets the parent have it too.
#define ON_CONTROL_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, \
     AFX_THUNK_ { (void)wParam; (void)lParam; AFX_SELF_->memberFxn(); *_r = 0; return true; }},
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, \
     AFX_THUNK_ { (void)wParam; (void)lParam; *_r = 0; return AFX_SELF_->memberFxn() != FALSE; }},
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): a null brush leaves the colouring to the parent.
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_REFLECT_BASE + WM_CTLCOLOR_KEY, 0, 0, 0, \
     AFX_THUNK_ { CDC _dc(reinterpret_cast<HDC>(wParam)); \
                  HBRUSH _b = AFX_SELF_->CtlColor(&_dc, static_cast<UINT>(lParam)); \
                  *_r = reinterpret_cast<LRESULT>(_b); return _b != nullptr; }},

// LRESULT OnXxx(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, 0, \
     AFX_THUNK_ { *_r = AFX_SELF_->memberFxn(wParam, lParam); return true; }},

#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, 0, AFX_THUNK_ { (void)wParam; (void)lParam; AFX_SELF_->OnPaint(); *_r = 0; return true; }},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, 0, \
     AFX_THUNK_ { (void)wParam; (void)lParam; *_r = reinterpret_cast<LRESULT>(AFX_SELF_->OnQueryDragIcon()); return true; }},
#define AFX_MOUSE_ENTRY_(msg, memberFxn) \
    {msg, 0, 0, 0, \
     AFX_THUNK_ { AFX_SELF_->memberFxn(static_cast<UINT>(wParam), CPoint(lParam)); *_r = 0; return true; }},
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY_(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY_(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY_(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY_(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY_(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY_(WM_RBUTTONUP, OnRButtonUp)
// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR() \
    {WM_SETCURSOR, 0, 0, 0, \
     AFX_THUNK_ { *_r = AFX_SELF_->OnSetCursor(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(wParam)), \
                                              LOWORD(lParam), HIWORD(lParam)); return true; }},
// int OnCreate(LPCREATESTRUCT)
#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, \
     AFX_THUNK_ { (void)wParam; *_r = AFX_SELF_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); return true; }},
#define ON_WM_DESTROY() \
    {WM_DESTROY, 0, 0, 0, AFX_THUNK_ { (void)wParam; (void)lParam; AFX_SELF_->OnDestroy(); *_r = 0; return true; }},
#define ON_WM_CLOSE() \
    {WM_CLOSE, 0, 0, 0, AFX_THUNK_ { (void)wParam; (void)lParam; AFX_SELF_->OnClose(); *_r = 0; return true; }},
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, AFX_THUNK_ { (void)lParam; AFX_SELF_->OnTimer(static_cast<UINT_PTR>(wParam)); *_r = 0; return true; }},
// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, \
     AFX_THUNK_ { (void)lParam; CDC _dc(reinterpret_cast<HDC>(wParam)); *_r = AFX_SELF_->OnEraseBkgnd(&_dc); return true; }},
// void OnWindowPosChanged(WINDOWPOS*)
#define ON_WM_WINDOWPOSCHANGED() \
    {WM_WINDOWPOSCHANGED, 0, 0, 0, \
     AFX_THUNK_ { (void)wParam; AFX_SELF_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); *_r = 0; return true; }},
// LRESULT OnNcHitTest(CPoint screenPoint)
#define ON_WM_NCHITTEST() \
    {WM_NCHITTEST, 0, 0, 0, AFX_THUNK_ { (void)wParam; *_r = AFX_SELF_->OnNcHitTest(CPoint(lParam)); return true; }},
// void OnSetFocus(CWnd* pOldWnd) / void OnKillFocus(CWnd* pNewWnd)
#define ON_WM_SETFOCUS() \
    {WM_SETFOCUS, 0, 0, 0, \
     AFX_THUNK_ { (void)lParam; AFX_SELF_->OnSetFocus(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(wParam))); *_r = 0; return true; }},
#define ON_WM_KILLFOCUS() \
    {WM_KILLFOCUS, 0, 0, 0, \
     AFX_THUNK_ { (void)lParam; AFX_SELF_->OnKillFocus(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(wParam))); *_r = 0; return true; }},
// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_KEYDOWN() \
    {WM_KEYDOWN, 0, 0, 0, \
     AFX_THUNK_ { AFX_SELF_->OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); *_r = 0; return true; }},
// UINT OnGetDlgCode(); the query's MSG is in GetCurrentMessage()->lParam
#define ON_WM_GETDLGCODE() \
    {WM_GETDLGCODE, 0, 0, 0, AFX_THUNK_ { (void)wParam; (void)lParam; *_r = AFX_SELF_->OnGetDlgCode(); return true; }},
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, 0, \
     AFX_THUNK_ { AFX_SELF_->OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); *_r = 0; return true; }},
// void OnSysColorChange()
#define ON_WM_SYSCOLORCHANGE() \
    {WM_SYSCOLORCHANGE, 0, 0, 0, AFX_THUNK_ { (void)wParam; (void)lParam; AFX_SELF_->OnSysColorChange(); *_r = 0; return true; }},
