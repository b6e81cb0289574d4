#include "CMainDialog.h"
#include "RegistryEnvironment.h"
#include "EnvironmentComposition.h"
#include "JdkLocator.h"
#include "JdkInventory.h"
#include "JavaPathCheck.h"
#include "CodePageText.h"
#include "JdkChoice.h"
#include "PathToWrite.h"
#include "CFolderPickerDialog.h"
#include "resource.h"
#ifdef TAMRIVEL_TEST_HOOKS
#include "StartupProbe.h"
#endif

namespace {

const char kCaption[] = "温馨提示";
const char kChooseJdkFirst[] = "请先选择 JDK 文件夹作为 JAVA_HOME，再按“确定”。";
const char kNeedFullPath[] = "JAVA_HOME 必须是完整的文件夹路径，例如 C:\\Program Files\\Java\\jdk-21。";
const char kNoJdkFound[] = "未找到已安装的 JDK";
// Menu commands come back from TrackPopupMenu, never as WM_COMMAND; kept clear of the dialog's ids anyway.
const UINT kFirstJdkCommand = 0x4000;

// The JDK's bin folder as PATH would hold it; empty when JAVA_HOME is no absolute folder.
std::wstring JdkBinWide(const CString& javaHome)
{
    const CString folder = TrimFolderInput(javaHome);
    CString bin;
    if (!IsAbsoluteFolderPath(folder) || !ComposeJdkBinFolder(folder, bin))
        return std::wstring();
    return WidenCodePageText(bin);
}

// Whether the user wants the JDK's bin ahead of an entry that would run its own java.exe.
int AskAboutShadowingJava(HWND owner, const std::wstring& entry, const std::wstring& bin)
{
    const std::wstring text = WidenCodePageText("PATH 中排在 JDK 的 bin 文件夹之前的\r\n    ") + entry +
                              WidenCodePageText("\r\n含有另一个 java.exe，命令行将继续运行它，而不是新的 JDK。\r\n\r\n"
                                                "是：把 ") + bin +
                              WidenCodePageText(" 放到 PATH 的最前面\r\n否：照原样写入\r\n取消：什么都不写入，返回修改");
    return ::MessageBoxW(owner, text.c_str(), WidenCodePageText(kCaption).c_str(), MB_YESNOCANCEL | MB_ICONQUESTION);
}

int CALLBACK NoteFontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Split buttons draw their arrow as a character of this font.
bool HasSplitArrowFont()
{
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, "Marlett", LF_FACESIZE);
    bool found = false;
    const HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExA(screen, &wanted, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

// A downward triangle in the button text colour, as the system draws a split button's arrow.
HIMAGELIST MakeSplitArrow()
{
    // A seven-pixel triangle with room around it, so that it sits clear of the divider and the border.
    const int cx = 13, cy = 4, left = 3;
    const COLORREF transparent = RGB(255, 0, 255);
    HIMAGELIST list = ::ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!list)
        return nullptr;
    CBitmap bitmap;
    const HDC screen = ::GetDC(nullptr);
    bitmap.CreateCompatibleBitmap(screen, cx, cy);
    ::ReleaseDC(nullptr, screen);
    CDC dc;
    if (bitmap.GetSafeHandle() && dc.CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = dc.SelectObject(bitmap);
        dc.FillSolidRect(CRect(0, 0, cx, cy), transparent);
        for (int row = 0; row < cy; ++row)
            dc.FillSolidRect(CRect(left + row, row, left + 7 - row, row + 1), ::GetSysColor(COLOR_BTNTEXT));
        dc.SelectObject(old);
        ::ImageList_AddMasked(list, bitmap, transparent);
    }
    return list;
}

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
    m_lPathReadStatus = ReadEnvironmentValue("SYSTEM", "PATH", m_strRememberedPath);
    if (m_lPathReadStatus == ERROR_SUCCESS &&
        ReadEnvironmentValueW("SYSTEM", L"PATH", m_wstrRememberedPath) != ERROR_SUCCESS)
        m_wstrRememberedPath = WidenCodePageText(m_strRememberedPath);
    m_strPath = m_strShownPath = m_strRememberedPath;
    m_wstrShownPath = m_wstrRememberedPath;
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

    if (!HasSplitArrowFont()) {
        m_splitGlyph.reset(MakeSplitArrow());
        BUTTON_SPLITINFO split = {};
        split.mask = BCSIF_IMAGE | BCSIF_STYLE;
        split.uSplitStyle = BCSS_IMAGE;
        split.himlGlyph = m_splitGlyph.get();
        if (split.himlGlyph)
            ::SendMessageA(GetDlgItem(IDC_DETECT_JDK), BCM_SETSPLITINFO, 0, reinterpret_cast<LPARAM>(&split));
    }

    m_strAcceptedJavaHome = m_strJavaHome;
    UpdateClasspathField();
    return TRUE;
}

void CMainDialog::RefuseOk(const char* message)
{
    MessageBox(message, kCaption, MB_OK | MB_ICONWARNING);
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_editJavaHome.m_hWnd), TRUE);
}

LONG CMainDialog::WritePath(const std::wstring& value)
{
    // Text the code page holds goes the way it always went; only the rest needs the wide store.
    CString narrow;
    if (NarrowToCodePage(value, narrow))
        return WriteEnvironmentValue("SYSTEM", "PATH", narrow);
    return WriteEnvironmentValueW("SYSTEM", L"PATH", value);
}

void CMainDialog::OnOK()
{
    UpdateData(TRUE);

    // Neither an empty folder nor a relative one may reach the machine-wide environment:
    // a relative PATH entry is resolved against whatever folder a command runs in.
    const CString javaHome = TrimFolderInput(m_strJavaHome);
    if (javaHome.IsEmpty())
        return RefuseOk(kChooseJdkFirst);
    if (!IsAbsoluteFolderPath(javaHome))
        return RefuseOk(kNeedFullPath);

    const bool pathKnown = m_lPathReadStatus == ERROR_SUCCESS || m_lPathReadStatus == ERROR_FILE_NOT_FOUND;
    PathToWrite path;
    if (pathKnown)
        path = ChoosePathToWrite(m_strPath, m_strShownPath, m_wstrShownPath, FitsCodePage(m_wstrRememberedPath));
    if (path.write) {
        const std::wstring bin = JdkBinWide(javaHome);
        const std::wstring shadowing = bin.empty() ? std::wstring() : FindShadowingJavaEntry(path.value, bin);
        if (!shadowing.empty()) {
            switch (AskAboutShadowingJava(m_hWnd, shadowing, bin)) {
            case IDYES:
                path.value = PutEntryFirst(path.value, bin);
                break;
            case IDNO:
                break;
            default:
                return;
            }
        }
    }

    const LONG pathStatus = path.write ? WritePath(path.value) : m_lPathReadStatus;
    const LONG homeStatus = WriteEnvironmentValue("SYSTEM", "JAVA_HOME", javaHome);
    const LONG classpathStatus = WriteEnvironmentValue("SYSTEM", "CLASSPATH", m_strClasspath);

    if (path.write && pathStatus == ERROR_SUCCESS && homeStatus == ERROR_SUCCESS && classpathStatus == ERROR_SUCCESS) {
        MessageBox("提示：Java jdk 环境变量设置成功！", kCaption, MB_OK | MB_ICONINFORMATION);
    } else {
        CString report;
        if (!pathKnown)
            report += "无法读取系统 PATH 变量（" + SystemReason(m_lPathReadStatus) + "），为免覆盖原有内容，PATH 未作修改。\r\n";
        else if (!path.write)
            report += "系统 PATH 含有当前代码页无法表示的字符，而 PATH 一栏已被手动修改，写入会损坏这些字符，"
                      "PATH 未作修改。\r\n";
        const struct { const char* name; LONG status; bool attempted; } writes[] = {
            {"PATH", pathStatus, path.write},
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

BOOL CMainDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr && hdr->idFrom == IDC_DETECT_JDK && hdr->code == BCN_DROPDOWN) {
        ShowJdkMenu();
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CMainDialog::PreTranslateMessage(MSG* pMsg)
{
    // The split button opens its menu on Down itself; Alt+Down, as for a combo box's list, is ours.
    if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_DOWN &&
        pMsg->hwnd == GetDlgItem(IDC_DETECT_JDK)) {
        ShowJdkMenu();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
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
#ifdef TAMRIVEL_TEST_HOOKS
    startup_probe::NotePainted(m_hWnd);
#endif
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
    m_editClasspath.SetWindowText(ComposeClasspath(m_bAutoClasspath, TrimFolderInput(m_editJavaHome.GetWindowText())));
}

void CMainDialog::ShowComposedPath(const CString& javaHome)
{
    m_strShownPath = ComposePath(m_strRememberedPath, javaHome);
    m_wstrShownPath = ComposePathW(m_wstrRememberedPath, JdkBinWide(javaHome));
    m_editPath.SetWindowText(m_strShownPath);
}

void CMainDialog::OnChangeJavaHome()
{
    const CString javaHome = m_editJavaHome.GetWindowText();
    const CString folder = TrimFolderInput(javaHome);
    CString binFolder;
    if (!ComposeJdkBinFolder(folder, binFolder) && !m_bRefusingJavaHome) {
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
    ShowComposedPath(folder);
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
    // The inventory only when the conventional search, whose answer wins, found nothing.
    CString jdkHome = FindJdkHome();
    if (jdkHome.IsEmpty())
        jdkHome = ChooseClickJdk(jdkHome, FindInstalledJdks());
    ::SetCursor(previous);
    m_editJavaHome.SetWindowText(jdkHome);
}

void CMainDialog::ShowJdkMenu()
{
    const HWND button = GetDlgItem(IDC_DETECT_JDK);
    const HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    const std::vector<JdkInstallation> installed = FindInstalledJdks();
    const std::vector<JdkMenuEntry> entries = BuildJdkMenu(installed, ChooseClickJdk(FindJdkHome(), installed));
    ::SetCursor(previous);

    std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&::DestroyMenu)> menu(::CreatePopupMenu(), &::DestroyMenu);
    if (!menu)
        return;
    if (entries.empty())
        ::AppendMenuA(menu.get(), MF_STRING | MF_GRAYED, 0, kNoJdkFound);
    for (size_t i = 0; i < entries.size(); ++i) {
        const UINT id = kFirstJdkCommand + static_cast<UINT>(i);
        ::AppendMenuA(menu.get(), MF_STRING, id, entries[i].text);
        if (entries[i].isDefault)
            ::SetMenuDefaultItem(menu.get(), id, FALSE);
    }

    RECT rect = {};
    ::GetWindowRect(button, &rect);
    ::SendMessageA(button, BCM_SETDROPDOWNSTATE, TRUE, 0);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                                           TPM_RIGHTBUTTON, rect.left, rect.bottom, 0, m_hWnd, nullptr));
    ::SendMessageA(button, BCM_SETDROPDOWNSTATE, FALSE, 0);
    if (chosen >= kFirstJdkCommand && chosen - kFirstJdkCommand < entries.size())
        m_editJavaHome.SetWindowText(entries[chosen - kFirstJdkCommand].folder);
}
