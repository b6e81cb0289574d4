// Several subclassers on one window, leaving in any order; objects that end their own
// window; message routing and map lookups on two threads at once. All on real windows.
#include "Afx.h"
#include <gtest/gtest.h>
#include <atomic>
#include <map>
#include <memory>
#include <thread>

namespace {

UINT SinkRemoved()
{
    static const UINT message = RegisterWindowMessageA("WM_HOOKMANAGER_SINKREMOVED");
    return message;
}

// A subclasser that is not ours, one per window, with or without the removal protocol.
struct ForeignLayer {
    WNDPROC previous = nullptr;
    bool protocol = true;
    bool removed = false;
    int chars = 0;
    bool sawNcDestroy = false;

    static std::map<HWND, std::unique_ptr<ForeignLayer>>& On()
    {
        static std::map<HWND, std::unique_ptr<ForeignLayer>> layers;
        return layers;
    }

    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        ForeignLayer& layer = *On()[hWnd];
        if (message == SinkRemoved()) {
            if (layer.protocol && layer.previous == reinterpret_cast<WNDPROC>(wParam)) {
                layer.previous = reinterpret_cast<WNDPROC>(lParam);
                return 1;
            }
        } else if (message == WM_CHAR) {
            ++layer.chars;
        }
        if (message == WM_NCDESTROY)
            layer.sawNcDestroy = true;
        return CallWindowProcA(layer.previous, hWnd, message, wParam, lParam);
    }

    static ForeignLayer& Install(HWND hWnd, bool protocol)
    {
        auto& layer = On()[hWnd];
        layer = std::make_unique<ForeignLayer>();
        layer->protocol = protocol;
        layer->previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignLayer::Proc)));
        return *layer;
    }

    void Remove(HWND hWnd)
    {
        const bool onTop = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == &ForeignLayer::Proc;
        if (onTop || !protocol ||
            !SendMessageA(hWnd, SinkRemoved(), reinterpret_cast<WPARAM>(&ForeignLayer::Proc),
                          reinterpret_cast<LPARAM>(previous)))
            SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        removed = true;
    }
};

class CountingEdit : public CEdit {
public:
    int m_chars = 0;
protected:
    LRESULT OnChar(WPARAM, LPARAM) { ++m_chars; return Default(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingEdit, CEdit)
    ON_MESSAGE(WM_CHAR, OnChar)
END_MESSAGE_MAP()

HWND MakeEdit()
{
    return CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 200, 24, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

std::string TextOf(HWND hWnd)
{
    char text[256] = "";
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

// Types one character and tells whether the edit took it.
bool Types(HWND hWnd, char c)
{
    const std::string before = TextOf(hWnd);
    SendMessageA(hWnd, WM_CHAR, static_cast<WPARAM>(c), 1);
    return TextOf(hWnd) == before + c;
}

TEST(SubclassChain, TwoSubclassersLeaveInEitherOrderAndTheEditKeepsEditing)
{
    struct Case { const char* name; bool frameworkFirst; bool frameworkLeavesFirst; };
    const Case cases[] = {
        {"framework below, leaves first", true, true},
        {"framework below, leaves last", true, false},
        {"framework above, leaves first", false, true},
        {"framework above, leaves last", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit();
        const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
        CountingEdit object;
        ForeignLayer* layer = nullptr;
        if (c.frameworkFirst) {
            ASSERT_TRUE(object.SubclassWindow(edit));
            layer = &ForeignLayer::Install(edit, true);
        } else {
            layer = &ForeignLayer::Install(edit, true);
            ASSERT_TRUE(object.SubclassWindow(edit));
        }
        EXPECT_TRUE(Types(edit, 'a'));
        EXPECT_EQ(1, object.m_chars);
        EXPECT_EQ(1, layer->chars);

        if (c.frameworkLeavesFirst) {
            EXPECT_EQ(edit, object.UnsubclassWindow());
            EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(edit));
            EXPECT_TRUE(Types(edit, 'b'));
            EXPECT_EQ(1, object.m_chars) << "a removed object gets nothing";
            EXPECT_EQ(2, layer->chars) << "the other subclasser keeps getting everything";
            layer->Remove(edit);
        } else {
            layer->Remove(edit);
            EXPECT_TRUE(Types(edit, 'b'));
            EXPECT_EQ(2, object.m_chars);
            EXPECT_EQ(1, layer->chars);
            object.UnsubclassWindow();
        }
        EXPECT_TRUE(Types(edit, 'c'));
        EXPECT_EQ("abc", TextOf(edit));
        EXPECT_EQ(original, GetWindowLongPtrA(edit, GWLP_WNDPROC)) << "the chain is back to the edit alone";
        DestroyWindow(edit);
    }
}

TEST(SubclassChain, ForeignSubclasserWithoutTheProtocolKeepsWorkingAfterWeLeave)
{
    HWND edit = MakeEdit();
    const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    auto first = std::make_unique<CountingEdit>();
    ASSERT_TRUE(first->SubclassWindow(edit));
    ForeignLayer& foreign = ForeignLayer::Install(edit, false);
    first->UnsubclassWindow();
    first.reset();
    EXPECT_TRUE(Types(edit, 'a'));
    EXPECT_EQ(1, foreign.chars);

    // A new object takes the place our procedure still has below the foreign one,
    // so every message reaches it once.
    CountingEdit second;
    ASSERT_TRUE(second.SubclassWindow(edit));
    EXPECT_TRUE(Types(edit, 'b'));
    EXPECT_EQ(1, second.m_chars);
    foreign.Remove(edit);  // it was on top: it simply writes our procedure back
    EXPECT_TRUE(Types(edit, 'c'));
    EXPECT_EQ(2, second.m_chars);
    second.UnsubclassWindow();
    EXPECT_EQ(original, GetWindowLongPtrA(edit, GWLP_WNDPROC));
    EXPECT_TRUE(Types(edit, 'd'));
    EXPECT_EQ("abcd", TextOf(edit));
    DestroyWindow(edit);
}

// Another subclasser attaches every window of the thread at creation, as the skin's
// creation hook does, before the dialog and its data exchange bind the program's objects.
HHOOK g_layerHook = nullptr;
LRESULT CALLBACK LayerEveryWindow(int code, WPARAM wParam, LPARAM lParam)
{
    const LRESULT next = CallNextHookEx(g_layerHook, code, wParam, lParam);
    if (code == HCBT_CREATEWND)
        ForeignLayer::Install(reinterpret_cast<HWND>(wParam), true);
    return next;
}

class LayeredDialog : public CDialog {
public:
    LayeredDialog() : CDialog(102) {}
    CountingEdit m_edit;
    CButton m_ok;
    bool m_boundAtInit = false;
    bool m_okHandled = false;
protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 1003, m_edit); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_ok.SubclassDlgItem(IDOK, this);
        m_boundAtInit = CWnd::FromHandlePermanent(m_hWnd) == this &&
                        CWnd::FromHandlePermanent(m_edit.m_hWnd) == &m_edit &&
                        CWnd::FromHandlePermanent(m_ok.m_hWnd) == &m_ok;
        Types(m_edit.m_hWnd, 'x');
        ::PostMessageA(m_ok.m_hWnd, BM_CLICK, 0, 0);
        return TRUE;
    }
    void OnOK() override { m_okHandled = true; CDialog::OnOK(); }
};

TEST(SubclassChain, ProgramObjectsBindToWindowsAnotherSubclasserHadFirst)
{
    ForeignLayer::On().clear();
    g_layerHook = SetWindowsHookExA(WH_CBT, LayerEveryWindow, nullptr, GetCurrentThreadId());
    LayeredDialog dlg;
    const INT_PTR result = dlg.DoModal();
    UnhookWindowsHookEx(g_layerHook);
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(dlg.m_okHandled);
    EXPECT_TRUE(dlg.m_boundAtInit);
    EXPECT_EQ(1, dlg.m_edit.m_chars);
    ASSERT_FALSE(ForeignLayer::On().empty());
    for (const auto& entry : ForeignLayer::On())
        EXPECT_TRUE(entry.second->sawNcDestroy) << "every earlier subclasser stays in the chain to the end";
    ForeignLayer::On().clear();
}

const UINT kButtonId = 31;

class ReflectedButton : public CButton {
public:
    int m_reflected = 0;
protected:
    void OnClicked() { ++m_reflected; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectedButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

// Lives outside the handle map, as the skin's objects do, with the window set directly.
class Outsider : public CWnd {
public:
    int m_clicks = 0;
    void Adopt(HWND hWnd, WNDPROC previous) { m_hWnd = hWnd; m_pfnSuper = previous; }
protected:
    void OnButton() { ++m_clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Outsider, CWnd)
    ON_BN_CLICKED(kButtonId, OnButton)
END_MESSAGE_MAP()

TEST(SubclassChain, ObjectOutsideTheMapDispatchesAloneAndLeavesWithoutTouchingTheWindow)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    ReflectedButton button;
    ASSERT_TRUE(button.CreateEx(0, "BUTTON", "b", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId))));
    const WPARAM clicked = MAKEWPARAM(kButtonId, BN_CLICKED);
    const LPARAM from = reinterpret_cast<LPARAM>(button.m_hWnd);
    const LONG_PTR procedure = GetWindowLongPtrA(parent.m_hWnd, GWLP_WNDPROC);
    // What the outsider took over as its previous procedure: it must never be written back.
    const auto beneath = reinterpret_cast<WNDPROC>(GetClassLongPtrA(parent.m_hWnd, GCLP_WNDPROC));
    {
        Outsider outsider;
        outsider.Adopt(parent.m_hWnd, beneath);
        LRESULT result = 0;
        EXPECT_TRUE(outsider.OnWndMsg(WM_COMMAND, clicked, from, &result));
        EXPECT_EQ(1, outsider.m_clicks);
        EXPECT_EQ(0, button.m_reflected) << "only the program's object hands notifications to children";
        EXPECT_EQ(parent.m_hWnd, outsider.UnsubclassWindow());
        outsider.Adopt(parent.m_hWnd, beneath);
        outsider.Detach();
        outsider.Adopt(parent.m_hWnd, beneath);
    }
    EXPECT_TRUE(IsWindow(parent.m_hWnd));
    EXPECT_EQ(&parent, CWnd::FromHandlePermanent(parent.m_hWnd));
    EXPECT_EQ(procedure, GetWindowLongPtrA(parent.m_hWnd, GWLP_WNDPROC));
    parent.SendMessage(WM_COMMAND, clicked, from);
    EXPECT_EQ(1, button.m_reflected);
}

const UINT kFinish = WM_USER + 40;

// Owns itself: the window's end releases the object.
class SelfOwned : public CWnd {
public:
    static int s_alive;
    static int s_aliveAfterDestroy;
    int m_afterDestroy = 0;
    SelfOwned() { ++s_alive; }
    ~SelfOwned() override { --s_alive; }
protected:
    LRESULT OnFinish(WPARAM nested, LPARAM)
    {
        if (nested)
            ::SendMessageA(m_hWnd, kFinish, 0, 0);  // the window ends one handler deeper
        else
            DestroyWindow();
        ++m_afterDestroy;  // still ours to touch until the handler returns
        s_aliveAfterDestroy = s_alive;
        return 42;
    }
    void PostNcDestroy() override { InternalRelease(); }
    DECLARE_MESSAGE_MAP()
};
int SelfOwned::s_alive = 0;
int SelfOwned::s_aliveAfterDestroy = 0;

BEGIN_MESSAGE_MAP(SelfOwned, CWnd)
    ON_MESSAGE(kFinish, OnFinish)
END_MESSAGE_MAP()

TEST(SubclassChain, HandlerThatEndsItsWindowAndObjectReturnsSafely)
{
    for (int i = 0; i < 300; ++i) {
        auto* wnd = new SelfOwned;
        ASSERT_TRUE(wnd->CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        const HWND hWnd = wnd->m_hWnd;
        SelfOwned::s_aliveAfterDestroy = 0;
        ASSERT_EQ(42, SendMessageA(hWnd, kFinish, i % 2, 0));
        ASSERT_EQ(1, SelfOwned::s_aliveAfterDestroy) << "the message in flight keeps the object";
        ASSERT_EQ(0, SelfOwned::s_alive) << "deleted once the last message returned";
        ASSERT_FALSE(IsWindow(hWnd));
        ASSERT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    }
}

}  // namespace
