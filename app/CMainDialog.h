#pragma once
#include "Afx.h"
#include "CHoverBitmapButton.h"
#include "CHyperLink.h"
#include "RippleEffect.h"

class CMainDialog : public CDialog {
public:
    explicit CMainDialog(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);

    void UpdateClasspathField();
    void OnAutoClasspath();
    void OnBrowse();
    void OnDetectJdk();
    void OnChangeJavaHome();

    DECLARE_MESSAGE_MAP()

private:
    CEdit m_editJavaHome;
    CEdit m_editPath;
    CButton m_checkAuto;
    CEdit m_editClasspath;
    CString m_strClasspath;
    int m_bAutoClasspath = 1;
    CString m_strJavaHome;
    CString m_strPath;        // the machine-wide PATH as read at construction
    LONG m_lPathReadStatus;   // why m_strPath may not be the real PATH
    HICON m_hIcon = nullptr;
    HBITMAP m_hBanner = nullptr;  // lives, like the ripple's buffers, until the process ends
    RippleEffect m_ripple;
    CHoverBitmapButton m_btnBrowse;
    CHyperLink m_linkContact;
    CHyperLink m_linkMail;
    // The JAVA_HOME text last accepted; a change too long for PATH is undone to it.
    CString m_strAcceptedJavaHome;
    bool m_bRefusingJavaHome = false;
};
