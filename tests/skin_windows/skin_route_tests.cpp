// Both roads into a skin object: its own procedure in windows of system classes, and the
// default procedures for windows whose procedure is the application's. Default processing from
// a handler, detaching on WM_NCDESTROY, opting out and in, and removal with other subclassers.
#include <gtest/gtest.h>

#include "CButton.h"
#include "SkinWindowsTestSupport.h"

using namespace skinwintest;

namespace {

// --- stand-ins for the system's entries, counting how often default processing reaches them
int g_systemCalls = 0;
HWND g_frameClientSeen = nullptr;

LRESULT WINAPI CountingDefProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kPassedOn || m == kNotHandled) ++g_systemCalls;
    return m == kPassedOn ? 42 : DefWindowProcA(h, m, w, l);
}
LRESULT WINAPI CountingCallWindowProc(WNDPROC p, HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kPassedOn || m == kNotHandled) ++g_systemCalls;
    return m == kPassedOn ? 42 : CallWindowProcA(p, h, m, w, l);
}
LRESULT WINAPI CountingDefFrameProc(HWND h, HWND client, UINT m, WPARAM w, LPARAM l) {
    g_frameClientSeen = client;
    return CountingDefProc(h, m, w, l);
}

WNDPROC SystemDefWindowProc() {
    return reinterpret_cast<WNDPROC>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "DefWindowProcA"));
}

// The application's own procedure; its default processing goes where the intercepted
// DefWindowProc would send it.
LRESULT g_optOutAnswer = 0;
LRESULT CALLBACK OwnProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SKINFRAMEWORK_QUERYSTATE && g_optOutAnswer) return g_optOutAnswer;
    LRESULT result = 0;
    if (skin::DefaultProcRoute(h, reinterpret_cast<void*>(&CountingDefProc), skin::RouteDefWindowProc, nullptr, m, w, l, result))
        return result;
    return CountingDefProc(h, m, w, l);
}

// Sits below the skin in a subclassed window: counts what is passed on and answers the query.
LRESULT CALLBACK CountingPrevious(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SKINFRAMEWORK_QUERYSTATE) return g_optOutAnswer;
    return CountingDefProc(h, m, w, l);
}

HWND CreateCounted(const char* className) {
    return CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

class SkinRouteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartSkin());
        static bool registered = false;
        if (!registered) {
            RegisterCountedClass("TamrivelOwnRoad", OwnProc);
            RegisterCountedClass("TamrivelSystemRoad", SystemDefWindowProc());
            registered = true;
        }
        g_systemCalls = 0;
        g_optOutAnswer = 0;
        CCountingSkinObject::handled = 0;
    }
    void TearDown() override { EXPECT_EQ(0, CCountingSkinObject::live); }
};

TEST_F(SkinRouteTest, SystemClassIsSubclassedAndDefaultReachesThePreviousProcedureOnce) {
    HWND hWnd = CreateCounted("TamrivelSystemRoad");
    CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(hWnd);
    ASSERT_TRUE(object);
    EXPECT_TRUE(object->IsSubclassed());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&skin::SkinWindowProc), GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    object->SetPreviousProc(CountingPrevious);

    EXPECT_EQ(42, SendMessageA(hWnd, kPassedOn, 0, 0));
    EXPECT_EQ(1, CCountingSkinObject::handled);
    EXPECT_EQ(1, g_systemCalls);
    SendMessageA(hWnd, kNotHandled, 0, 0);
    EXPECT_EQ(2, g_systemCalls);

    object.Reset();
    DestroyWindow(hWnd);
    EXPECT_FALSE(skin::FindSkinObjectRef(hWnd));
}

TEST_F(SkinRouteTest, OwnProcedureIsReachedOnlyThroughTheDefaultRoutes) {
    HWND hWnd = CreateCounted("TamrivelOwnRoad");
    CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(hWnd);
    ASSERT_TRUE(object);
    EXPECT_FALSE(object->IsSubclassed());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&OwnProc), GetWindowLongPtrA(hWnd, GWLP_WNDPROC));

    // Through the window's own procedure and its default processing.
    EXPECT_EQ(42, SendMessageA(hWnd, kPassedOn, 0, 0));
    EXPECT_EQ(1, CCountingSkinObject::handled);
    EXPECT_EQ(1, g_systemCalls);

    // Each route's default processing reaches that route's entry exactly once.
    HWND client = reinterpret_cast<HWND>(0x1234);
    struct Case {
        int route;
        void* entry;
        void* extra;
    } cases[] = {
        {skin::RouteCallWindowProc, reinterpret_cast<void*>(&CountingCallWindowProc), reinterpret_cast<void*>(SystemDefWindowProc())},
        {skin::RouteDefWindowProc, reinterpret_cast<void*>(&CountingDefProc), nullptr},
        {skin::RouteDefMDIChildProc, reinterpret_cast<void*>(&CountingDefProc), nullptr},
        {skin::RouteDefFrameProc, reinterpret_cast<void*>(&CountingDefFrameProc), client},
        {skin::RouteDefDlgProc, reinterpret_cast<void*>(&CountingDefProc), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.route);
        g_systemCalls = 0;
        CCountingSkinObject::handled = 0;
        WPARAM w = 0;
        LPARAM l = 0;
        LRESULT result = 0;
        EXPECT_TRUE(skin::DefaultProcRoute(hWnd, c.entry, c.route, c.extra, kPassedOn, w, l, result));
        EXPECT_EQ(42, result);
        EXPECT_EQ(1, CCountingSkinObject::handled);
        EXPECT_EQ(1, g_systemCalls);
        // Not handled: the caller runs the entry itself, so the route must not have.
        EXPECT_FALSE(skin::DefaultProcRoute(hWnd, c.entry, c.route, c.extra, kNotHandled, w, l, result));
        EXPECT_EQ(1, g_systemCalls);
    }
    EXPECT_EQ(client, g_frameClientSeen);
    // CallWindowProc toward the application's own procedure stays with that procedure.
    WPARAM w = 0;
    LPARAM l = 0;
    LRESULT result = 0;
    EXPECT_FALSE(skin::DefaultProcRoute(hWnd, reinterpret_cast<void*>(&CountingCallWindowProc), skin::RouteCallWindowProc,
                                        reinterpret_cast<void*>(&OwnProc), kPassedOn, w, l, result));

    object.Reset();
    DestroyWindow(hWnd);
    EXPECT_FALSE(skin::FindSkinObjectRef(hWnd));
}

TEST_F(SkinRouteTest, NcDestroyDetachesOnBothRoadsAndASecondFindsNothing) {
    for (const char* className : {"TamrivelOwnRoad", "TamrivelSystemRoad"}) {
        SCOPED_TRACE(className);
        CSkinEngine* engine = CSkinEngine::Instance();
        const size_t before = engine->GetSkinObjectCount();
        HWND hWnd = CreateCounted(className);
        ASSERT_TRUE(skin::FindSkinObjectRef(hWnd));
        EXPECT_EQ(before + 1, engine->GetSkinObjectCount());
        DestroyWindow(hWnd);
        EXPECT_FALSE(skin::FindSkinObjectRef(hWnd));
        EXPECT_EQ(before, engine->GetSkinObjectCount());
        EXPECT_EQ(0, CCountingSkinObject::live);
        WPARAM w = 0;
        LPARAM l = 0;
        LRESULT result = 0;
        EXPECT_FALSE(skin::DefaultProcRoute(hWnd, reinterpret_cast<void*>(&CountingDefProc), skin::RouteDefWindowProc,
                                            nullptr, WM_NCDESTROY, w, l, result));
        EXPECT_EQ(0, skin::SkinWindowProc(hWnd, WM_NCDESTROY, 0, 0));
        EXPECT_EQ(before, engine->GetSkinObjectCount());
    }
}

TEST_F(SkinRouteTest, WindowsOptOutAndBackInOnBothRoads) {
    for (const char* className : {"TamrivelOwnRoad", "TamrivelSystemRoad"}) {
        SCOPED_TRACE(className);
        g_optOutAnswer = 1;
        HWND hWnd = CreateCounted(className);
        CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(hWnd);
        ASSERT_TRUE(object);
        if (object->IsSubclassed()) {
            // The class procedure cannot answer; the window's own part sits below the skin.
            object->SetPreviousProc(CountingPrevious);
            SendMessageA(hWnd, WM_SKINFRAMEWORK_UPDATESTATE, 0, 0);
        }
        EXPECT_TRUE(object->IsOptedOut());
        CCountingSkinObject::handled = 0;
        g_systemCalls = 0;
        EXPECT_EQ(42, SendMessageA(hWnd, kPassedOn, 0, 0));
        EXPECT_EQ(0, CCountingSkinObject::handled);  // an opted-out window keeps its own behaviour
        EXPECT_EQ(1, g_systemCalls);

        g_optOutAnswer = 0;
        SendMessageA(hWnd, WM_SKINFRAMEWORK_UPDATESTATE, 0, 0);
        EXPECT_FALSE(object->IsOptedOut());
        EXPECT_EQ(42, SendMessageA(hWnd, kPassedOn, 0, 0));
        EXPECT_EQ(1, CCountingSkinObject::handled);
        EXPECT_EQ(2, g_systemCalls);
        object.Reset();
        DestroyWindow(hWnd);
    }
}

// Subclasses on top of the skin and unlinks the skin itself when asked.
WNDPROC g_belowTop = nullptr;
LRESULT g_sinkRemovedAnswer = 0;
LRESULT CALLBACK TopProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_HOOKMANAGER_SINKREMOVED && g_sinkRemovedAnswer && reinterpret_cast<WNDPROC>(w) == g_belowTop) {
        g_belowTop = reinterpret_cast<WNDPROC>(l);
        return g_sinkRemovedAnswer;
    }
    return CallWindowProcA(g_belowTop, h, m, w, l);
}

TEST_F(SkinRouteTest, SinkRemovedDecidesWhetherTheProcedureIsWrittenBack) {
    CSkinEngine* engine = CSkinEngine::Instance();
    // Answered by a later subclasser: the skin is unlinked by it and the window keeps its procedure.
    HWND hWnd = CreateCounted("TamrivelSystemRoad");
    g_belowTop = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TopProc)));
    ASSERT_EQ(&skin::SkinWindowProc, g_belowTop);
    g_sinkRemovedAnswer = 1;
    engine->DetachWindow(hWnd, FALSE);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&TopProc), GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    EXPECT_EQ(SystemDefWindowProc(), g_belowTop);
    EXPECT_EQ(0, CCountingSkinObject::live);
    SetWindowTextA(hWnd, "still works");
    char text[32] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    EXPECT_STREQ("still works", text);
    DestroyWindow(hWnd);

    // Nobody answers: the skin writes back what it found.
    g_sinkRemovedAnswer = 0;
    hWnd = CreateCounted("TamrivelSystemRoad");
    engine->DetachWindow(hWnd, FALSE);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(SystemDefWindowProc()), GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    DestroyWindow(hWnd);

    // A subclasser below the skin leaving: the skin links past it and answers for it.
    hWnd = CreateCounted("TamrivelSystemRoad");
    CSkinRef<CSkinObjectBase> object = skin::FindSkinObjectRef(hWnd);
    object->SetPreviousProc(CountingPrevious);
    EXPECT_EQ(1, SendMessageA(hWnd, WM_HOOKMANAGER_SINKREMOVED, reinterpret_cast<WPARAM>(&CountingPrevious),
                              reinterpret_cast<LPARAM>(SystemDefWindowProc())));
    EXPECT_EQ(SystemDefWindowProc(), object->GetPreviousProc());
    object.Reset();
    DestroyWindow(hWnd);
}

// The program's own control objects bind to windows the skin attached first.
class CProgramButton : public CButton {
public:
    int clicks = 0;
    int destroyed = 0;

protected:
    LRESULT OnClickMessage(WPARAM, LPARAM) {
        ++clicks;
        return Default();
    }
    void PostNcDestroy() override { ++destroyed; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProgramButton, CButton)
    ON_MESSAGE(BM_CLICK, OnClickMessage)
END_MESSAGE_MAP()

TEST_F(SkinRouteTest, SkinThenFrameworkSubclassKeepsWorkingThroughTheWindowsLife) {
    HWND parent = CreateCounted("TamrivelOwnRoad");
    HWND hWnd = CreateWindowExA(0, "Button", "b", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, 0, 0, 80, 20, parent,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_TRUE(skin::FindSkinObjectRef(hWnd));
    CProgramButton button;
    ASSERT_TRUE(button.SubclassWindow(hWnd));
    EXPECT_EQ(&button, CWnd::FromHandlePermanent(hWnd));  // the skin does not occupy the handle map

    SendMessageA(hWnd, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(hWnd, BM_GETCHECK, 0, 0));
    SendMessageA(hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(1, button.clicks);
    SetWindowTextA(hWnd, "renamed");
    char text[32] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    EXPECT_STREQ("renamed", text);

    DestroyWindow(parent);
    EXPECT_EQ(1, button.destroyed);
    EXPECT_EQ(nullptr, button.m_hWnd);
    EXPECT_FALSE(skin::FindSkinObjectRef(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

}  // namespace
