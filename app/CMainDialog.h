#pragma once
#include "Afx.h"
#include "CHoverBitmapButton.h"
#include "CHyperLink.h"
#include "RippleEffect.h"
#include <commctrl.h>
#include <memory>
#include <string>
#include <type_traits>

class CMainDialog : public CDialog {
public:
    explicit CMainDialog(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);

    void UpdateClasspathField();
    void OnAutoClasspath();
    void OnBrowse();
    void OnDetectJdk();
    void OnChangeJavaHome();
    void ShowJdkMenu();

    DECLARE_MESSAGE_MAP()

private:
    CEdit m_editJavaHome;
    CEdit m_editPath;
    CButton m_checkAuto;
    CEdit m_editClasspath;
    CString m_strClasspath;
    int m_bAutoClasspath = 1;
    CString m_strJavaHome;
    CString m_strPath;        // the PATH field as OK takes it
    // The machine-wide PATH as read at construction, the base of every composed PATH; the
    // wide text keeps the characters the code page cannot hold.
    CString m_strRememberedPath;
    std::wstring m_wstrRememberedPath;
    LONG m_lPathReadStatus;   // why the remembered PATH may not be the real one
    // What the program last put into the PATH field, and its wide twin.
    CString m_strShownPath;
    std::wstring m_wstrShownPath;
    HICON m_hIcon = nullptr;
    HBITMAP m_hBanner = nullptr;  // lives, like the ripple's buffers, until the process ends
    RippleEffect m_ripple;
    CHoverBitmapButton m_btnBrowse;
    CHyperLink m_linkContact;
    CHyperLink m_linkMail;
    // The JAVA_HOME text last accepted; a change too long for PATH is undone to it.
    CString m_strAcceptedJavaHome;
    bool m_bRefusingJavaHome = false;
    // The detect button's arrow where the system lacks the font it draws its own from.
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, decltype(&::ImageList_Destroy)> m_splitGlyph{nullptr, &::ImageList_Destroy};

    void ShowComposedPath(const CString& javaHome);
    void RefuseOk(const char* message);
    LONG WritePath(const std::wstring& value);
};
