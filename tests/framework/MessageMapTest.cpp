// Message maps, reflection and the data-exchange lockout, on real windows.
#include "Afx.h"
#include <gtest/gtest.h>

namespace {

const UINT kChildId = 77;

class ReflectingChild : public CStatic {
public:
    BOOL m_keepFromParent = TRUE;
    int m_clicks = 0;
    HBRUSH m_brush = nullptr;
protected:
    BOOL OnClicked() { ++m_clicks; return m_keepFromParent; }
    HBRUSH CtlColor(CDC* dc, UINT kind) { return kind == CTLCOLOR_STATIC ? m_brush : nullptr; }
    LRESULT OnTextLength(WPARAM, LPARAM) { return Default() + 100; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingChild, CStatic)
    ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(WM_GETTEXTLENGTH, OnTextLength)
END_MESSAGE_MAP()

class Parent : public CWnd {
public:
    int m_clicks = 0;
    int m_created = 0;
protected:
    void OnChildClicked() { ++m_clicks; }
    int OnCreate(LPCREATESTRUCT) { ++m_created; return 0; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_STN_CLICKED(kChildId, OnChildClicked)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TamrivelTestParent";
        RegisterClassA(&wc);
        ASSERT_TRUE(parent.CreateEx(0, "TamrivelTestParent", "p", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(child.CreateEx(0, "STATIC", "child", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 50, 20,
                                   parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChildId))));
    }
    void Click() { parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, STN_CLICKED), reinterpret_cast<LPARAM>(child.m_hWnd)); }
    Parent parent;
    ReflectingChild child;
};

TEST_F(MessageMapTest, CreationBindsTheObjectBeforeOnCreate)
{
    EXPECT_EQ(1, parent.m_created);
    EXPECT_EQ(&parent, CWnd::FromHandlePermanent(parent.m_hWnd));
    EXPECT_EQ(&child, CWnd::FromHandlePermanent(child.m_hWnd));
}

TEST_F(MessageMapTest, ReflectedNotificationResultDecidesWhetherTheParentGetsIt)
{
    child.m_keepFromParent = TRUE;
    Click();
    EXPECT_EQ(1, child.m_clicks);
    EXPECT_EQ(0, parent.m_clicks);
    child.m_keepFromParent = FALSE;
    Click();
    EXPECT_EQ(2, child.m_clicks);
    EXPECT_EQ(1, parent.m_clicks);
}

TEST_F(MessageMapTest, ColourRequestsGoToTheChildFirst)
{
    CBrush brush(RGB(1, 2, 3));
    child.m_brush = brush;
    HDC dc = GetDC(child.m_hWnd);
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush)),
              parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child.m_hWnd)));
    child.m_brush = nullptr;  // a null answer leaves the colouring to the parent's default
    EXPECT_NE(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush)),
              parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child.m_hWnd)));
    ReleaseDC(child.m_hWnd, dc);
}

TEST_F(MessageMapTest, DefaultReachesTheOriginalProcedure)
{
    EXPECT_EQ(105, child.SendMessage(WM_GETTEXTLENGTH));
}

TEST_F(MessageMapTest, DestroyingTheWindowUnbindsTheObject)
{
    HWND hWnd = child.m_hWnd;
    DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, child.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

// The program's own dialog template drives the modal loop and data exchange.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(102) {}
    CString m_text = "from the member";
    int m_changes = 0;
    bool m_preTranslated = false;
    CString m_seenAtInit;
protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 1003, m_text); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_seenAtInit.Format("%d", m_changes);
        ::SetWindowTextA(GetDlgItem(1003), "typed");  // a real change after the exchange
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
            m_preTranslated = true;
        return CDialog::PreTranslateMessage(msg);
    }
    void OnChange() { ++m_changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ExchangeDialog, CDialog)
    ON_EN_CHANGE(1003, OnChange)
END_MESSAGE_MAP()

TEST(Dialog, ExchangeIsSilentAndTheModalLoopPreTranslates)
{
    ExchangeDialog dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(CString("0"), dlg.m_seenAtInit) << "notifications during data exchange are not dispatched";
    EXPECT_EQ(1, dlg.m_changes);
    EXPECT_TRUE(dlg.m_preTranslated);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(Dialog, MissingTemplateGivesMinusOne)
{
    CDialog dlg(4242);
    EXPECT_EQ(-1, dlg.DoModal());
}

class Counted : public CCmdTarget {
    DECLARE_DYNCREATE(Counted)
public:
    static int s_alive;
    Counted() { ++s_alive; }
    ~Counted() override { --s_alive; }
};
int Counted::s_alive = 0;
IMPLEMENT_DYNCREATE(Counted, CCmdTarget)

class NotCreatable : public CWnd {
    DECLARE_DYNAMIC(NotCreatable)
};
IMPLEMENT_DYNAMIC(NotCreatable, CWnd)

TEST(RuntimeClass, CreatesByRecordAndTheLastReleaseDeletes)
{
    CObject* made = RUNTIME_CLASS(Counted)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(Counted)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(NotCreatable)));
    auto* target = static_cast<Counted*>(made);
    EXPECT_EQ(1, Counted::s_alive);
    EXPECT_EQ(2, target->InternalAddRef());
    EXPECT_EQ(1, target->InternalRelease());
    EXPECT_EQ(1, Counted::s_alive);
    EXPECT_EQ(0, target->InternalRelease());
    EXPECT_EQ(0, Counted::s_alive);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(NotCreatable)->CreateObject());
    NotCreatable window;
    EXPECT_EQ(RUNTIME_CLASS(NotCreatable), window.GetRuntimeClass());
    EXPECT_STREQ("NotCreatable", RUNTIME_CLASS(NotCreatable)->m_lpszClassName);
}

TEST(FileFind, NextMakesEachEntryCurrentAndTellsWhetherMoreFollow)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "tamrivel_ff_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\jdk_b").c_str(), nullptr);
    CloseHandle(CreateFileA((root + "\\jdk_a.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((root + "\\jdk*").c_str()));
    std::vector<std::pair<std::string, bool>> seen;
    BOOL more;
    do {
        more = finder.FindNextFile();
        seen.emplace_back(finder.GetFilePath().str(), finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) != FALSE);
    } while (more);
    finder.Close();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(root + "\\jdk_a.txt", seen[0].first);
    EXPECT_FALSE(seen[0].second);
    EXPECT_EQ(root + "\\jdk_b", seen[1].first);
    EXPECT_TRUE(seen[1].second);
    EXPECT_FALSE(finder.FindFile((root + "\\nothing*").c_str()));

    DeleteFileA((root + "\\jdk_a.txt").c_str());
    RemoveDirectoryA((root + "\\jdk_b").c_str());
    RemoveDirectoryA(root.c_str());
}

}  // namespace
