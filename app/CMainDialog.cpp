#include "CMainDialog.h"
#include "RegistryEnvironment.h"
#include "EnvironmentComposition.h"
#include "JdkLocator.h"
#include "CFolderPickerDialog.h"
#include "resource.h"

namespace {

const char kCaption[] = "温馨提示";

CString SystemReason(LONG status)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    CString reason;
    if (n && text) {
        reason = text;
        reason.TrimRight();
    }
    if (text)
        LocalFree(text);
    CString code;
    code.Format("错误代码 %ld", static_cast<long>(status));
    return reason.IsEmpty() ? code : reason + "（" + code + "）";
}

}  // namespace

BEGIN_MESSAGE_MAP(CMainDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_BN_CLICKED(IDC_AUTO_CLASSPATH, OnAutoClasspath)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_DETECT_JDK, OnDetectJdk)
    ON_EN_CHANGE(IDC_JAVA_HOME, OnChangeJavaHome)
END_MESSAGE_MAP()

CMainDialog::CMainDialog(CWnd* pParent)
    : CDialog(IDD_MAIN_DIALOG, pParent)
{
    m_strJavaHome = GetProcessVariable("JAVA_HOME");
    m_strClasspath = GetProcessVariable("CLASSPATH");
    m_bAutoClasspath = 1;
    m_hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAINFRAME));
    // A missing PATH reads as empty; any other failure leaves it unknown, and then
    // OK must not write it back (that would wipe the machine's PATH).
    m_lPathReadStatus = ReadEnvironmentValue("SYSTEM", "PATH", m_strPath);
}

void CMainDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_JAVA_HOME, m_editJavaHome);
    DDX_Control(pDX, IDC_PATH, m_editPath);
    DDX_Control(pDX, IDC_AUTO_CLASSPATH, m_checkAuto);
    DDX_Control(pDX, IDC_CLASSPATH, m_editClasspath);
    DDX_Text(pDX, IDC_CLASSPATH, m_strClasspath);
    DDX_Check(pDX, IDC_AUTO_CLASSPATH, m_bAutoClasspath);
    DDX_Text(pDX, IDC_JAVA_HOME, m_strJavaHome);
    DDX_Text(pDX, IDC_PATH, m_strPath);
}

BOOL CMainDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // The banner ripples; if the effect cannot be set up it is simply a still picture.
    m_hBanner = LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_BANNER));
    ripple::Create(m_ripple, GetDlgItem(IDC_BANNER), m_hBanner, 20, FALSE);
    ripple::SetAutoDrops(m_ripple, 1, 5, 2, 180);
#ifdef TAMRIVEL_TEST_HOOKS
    // Test builds only: end-to-end tests stop the rain to watch the water come to rest.
    if (GetEnvironmentVariableA("TAMRIVEL_TEST_NO_RAIN", nullptr, 0) != 0)
        ripple::SetAutoDrops(m_ripple, 0, 0, 0, 0);
#endif

    m_linkContact.SubclassDlgItem(IDC_LINK_CONTACT, this);
    m_linkContact.SetUnderlined(TRUE);
    m_linkContact.SetTarget("tencent://Message/?Uin=" TAMRIVEL_CONTACT_IM);
    m_linkContact.SetTooltipText("联系QQ " TAMRIVEL_CONTACT_IM);

    m_linkMail.SubclassDlgItem(IDC_LINK_MAIL, this);
    m_linkMail.SetTarget("mailto:" TAMRIVEL_CONTACT_MAIL);
    m_linkMail.SetTooltipText("发送邮件给 " TAMRIVEL_CONTACT_MAIL);

    m_btnBrowse.SubclassDlgItem(IDC_BROWSE, this);
    m_btnBrowse.SetHoverBitmaps(IDB_BROWSE_NORMAL, IDB_BROWSE_PRESSED, IDB_BROWSE_HOVER, 0);
    m_btnBrowse.SizeToContent();

    m_strAcceptedJavaHome = m_strJavaHome;
    UpdateClasspathField();
    return TRUE;
}

void CMainDialog::OnOK()
{
    UpdateData(TRUE);

    const bool pathKnown = m_lPathReadStatus == ERROR_SUCCESS || m_lPathReadStatus == ERROR_FILE_NOT_FOUND;
    const LONG pathStatus = pathKnown ? WriteEnvironmentValue("SYSTEM", "PATH", m_strPath) : m_lPathReadStatus;
    const LONG homeStatus = WriteEnvironmentValue("SYSTEM", "JAVA_HOME", m_strJavaHome);
    const LONG classpathStatus = WriteEnvironmentValue("SYSTEM", "CLASSPATH", m_strClasspath);

    if (pathKnown && pathStatus == ERROR_SUCCESS && homeStatus == ERROR_SUCCESS && classpathStatus == ERROR_SUCCESS) {
        MessageBox("提示：Java jdk 环境变量设置成功！", kCaption, MB_OK | MB_ICONINFORMATION);
    } else {
        CString report;
        if (!pathKnown)
            report += "无法读取系统 PATH 变量（" + SystemReason(m_lPathReadStatus) + "），为免覆盖原有内容，PATH 未作修改。\r\n";
        const struct { const char* name; LONG status; bool attempted; } writes[] = {
            {"PATH", pathStatus, pathKnown},
            {"JAVA_HOME", homeStatus, true},
            {"CLASSPATH", classpathStatus, true},
        };
        for (const auto& w : writes) {
            if (w.attempted && w.status != ERROR_SUCCESS)
                report += CString("写入环境变量 ") + w.name + " 失败：" + SystemReason(w.status) + "\r\n";
        }
        report.TrimRight();
        MessageBox(report, kCaption, MB_OK | MB_ICONWARNING);
    }
    CDialog::OnOK();
}

void CMainDialog::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        Default();
    }
}

HCURSOR CMainDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

namespace {

// A point of the dialog's client area in the banner picture's own coordinates.
POINT ToBanner(HWND dialog, CPoint point)
{
    POINT p = point;
    ::ClientToScreen(dialog, &p);
    ::ScreenToClient(::GetDlgItem(dialog, IDC_BANNER), &p);
    return p;
}

}  // namespace

void CMainDialog::OnLButtonDown(UINT, CPoint point)
{
    const POINT p = ToBanner(m_hWnd, point);
    ripple::Drop(m_ripple, p.x, p.y, 8, 256);
    Default();
}

void CMainDialog::OnMouseMove(UINT, CPoint point)
{
    const POINT p = ToBanner(m_hWnd, point);
    ripple::Drop(m_ripple, p.x, p.y, 1, 40);
    Default();
}

void CMainDialog::UpdateClasspathField()
{
    m_editClasspath.SendMessage(EM_SETREADONLY, static_cast<WPARAM>(m_bAutoClasspath));
    m_editClasspath.SetWindowText(ComposeClasspath(m_bAutoClasspath, m_editJavaHome.GetWindowText()));
}

void CMainDialog::OnChangeJavaHome()
{
    const CString javaHome = m_editJavaHome.GetWindowText();
    CString binFolder;
    if (!ComposeJdkBinFolder(javaHome, binFolder) && !m_bRefusingJavaHome) {
        // Its bin folder could never reach PATH, so OK would report a success that is not
        // one: undo the change (which recomposes both fields) and say why.
        m_bRefusingJavaHome = true;
        m_editJavaHome.SetWindowText(m_strAcceptedJavaHome);
        m_editJavaHome.SetSel(m_strAcceptedJavaHome.GetLength(), m_strAcceptedJavaHome.GetLength());
        m_bRefusingJavaHome = false;
        CString message;
        message.Format("JAVA_HOME 路径过长（%d 字节），加上 \\bin 后超出系统路径长度上限 %d，无法加入 PATH。\r\n"
                       "已恢复为原来的值，请选择较短的路径。",
                       javaHome.GetLength(), MAX_PATH - 1);
        MessageBox(message, kCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (!m_bRefusingJavaHome)
        m_strAcceptedJavaHome = javaHome;
    m_editPath.SetWindowText(ComposePath(m_strPath, javaHome));
    UpdateClasspathField();
}

void CMainDialog::OnAutoClasspath()
{
    m_bAutoClasspath = m_checkAuto.GetCheck();
    UpdateClasspathField();
}

void CMainDialog::OnBrowse()
{
    CFolderPickerDialog picker(this);
    if (picker.DoModal() == IDOK)
        m_editJavaHome.SetWindowText(CString(picker.m_szSelectedPath));
}

void CMainDialog::OnDetectJdk()
{
    // Up to 72 searches, some on slow drives: show that the dialog is busy.
    const HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    const CString jdkHome = FindJdkHome();
    ::SetCursor(previous);
    m_editJavaHome.SetWindowText(jdkHome);
}
