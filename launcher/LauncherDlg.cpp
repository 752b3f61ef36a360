#include "launcher/LauncherDlg.h"
#include <exdisp.h>
#include "framework/WinApp.h"
#include "launcher/AboutDlg.h"
#include "launcher/DialogLayout.h"
#include "launcher/LauncherSkinDlg.h"
#include "launcher/LauncherConstants.h"
#include "launcher/OpenUrl.h"
#include "res/resource.h"
#include "update/UpdateWorker.h"

using namespace zv::launcher;

namespace {

constexpr COLORREF kKeyColour = RGB(255, 0, 0);
constexpr COLORREF kGlyphTransparent = RGB(255, 0, 255);
// The hollow the skin has behind the minimise and close glyphs.
constexpr COLORREF kSkinBehindGlyphs = RGB(12, 10, 18);
constexpr UINT kAboutCommand = 16; // system command; 16 to 31 all open the About box
// The skin is drawn for the template's own font on Windows, whose base units are these.
constexpr SIZE kSkinBaseUnits{6, 13};
// The notice view's place: the client area less these margins.
constexpr int kNoticeLeft = 245;
constexpr int kNoticeTop = 214;
constexpr int kNoticeRight = 105;
constexpr int kNoticeBottom = 48;

} // namespace

CLauncherDlg::CLauncherDlg(CWnd* pParent)
    : CStandardDialog(IDD_LAUNCHER_DIALOG, kKeyColour, pParent), m_pNoticeView(new CHtmlViewEx),
      m_hIcon(::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_pSkinWnd(pParent) {}

CLauncherDlg::~CLauncherDlg() {
    if (!m_bNoticeViewOwnsItself)
        delete m_pNoticeView;
}

void CLauncherDlg::DoDataExchange(CDataExchange* pDX) {
    CStandardDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_REGISTER, m_btnRegister);
    DDX_Control(pDX, IDC_BTN_START, m_btnStart);
    DDX_Control(pDX, IDC_BTN_ACCOUNT, m_btnAccount);
    DDX_Control(pDX, IDC_BTN_HOME, m_btnHome);
    DDX_Control(pDX, IDC_BTN_CLOSE, m_btnClose);
    DDX_Control(pDX, IDC_BTN_MINIMIZE, m_btnMinimize);
    DDX_Control(pDX, IDC_BTN_FORUM, m_btnForum);
}

BOOL CLauncherDlg::OnInitDialog() {
    CStandardDialog::OnInitDialog();
    // Before anything reads the client area: the notice view takes its place from it.
    LayOutForSkin();
    AddAboutMenuItem();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetWindowText(kWindowTitle);
    CreateNoticeView();
    LoadButtonFaces();
    // Never closed: the event marks a running launcher for exactly as long as the process lives.
    ::CreateEventA(nullptr, FALSE, FALSE, kRunningEventName);
    m_update.ReadOwnVersion();
    m_nVersionSource = 1;
    m_update.SetupUpdatePaths();
    m_btnStart.ShowWindow(SW_HIDE);
    // The worker takes its own copy of the update fields; this dialog may be gone before it is.
    if (!StartUpdateWorker(m_update, m_hWnd, m_btnStart.m_hWnd, g_hSkinWnd))
        AfxMessageBox(kWorkerFailed, MB_ICONERROR);
    return TRUE;
}

void CLauncherDlg::LayOutForSkin() {
    CDialogTemplateLayout layout;
    if (ReadDialogTemplateLayout(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDD_LAUNCHER_DIALOG),
                                 &layout))
        ApplyDialogTemplateLayout(m_hWnd, layout, kSkinBaseUnits);
}

void CLauncherDlg::AddAboutMenuItem() {
    HMENU menu = GetSystemMenu(FALSE);
    if (!menu)
        return;
    CString about;
    if (!about.LoadString(IDS_ABOUTBOX) || about.IsEmpty())
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kAboutCommand, kAboutMenuText);
}

void CLauncherDlg::CreateNoticeView() {
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(kNoticeLeft, kNoticeTop, kNoticeRight, kNoticeBottom);
    if (!m_pNoticeView->m_hWnd) {
        m_pNoticeView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, this, IDC_NOTICE_VIEW);
        m_bNoticeViewOwnsItself = m_pNoticeView->m_hWnd != nullptr;
    }
    m_pNoticeView->ModifyStyleEx(0, WS_EX_STATICEDGE);
    m_pNoticeView->Navigate2(kNoticeUrl, navNoReadFromCache);
    m_pNoticeView->Refresh2(CHtmlView::REFRESH_COMPLETELY);
    m_pNoticeView->ShowWindow(SW_SHOW);
}

void CLauncherDlg::LoadButtonFaces() {
    m_btnMinimize.SetImageBitmaps(IDB_MINIMIZE, kGlyphTransparent, 0, 0);
    m_btnClose.SetImageBitmaps(IDB_CLOSE, kGlyphTransparent, 0, 0);
    // The skin's colour around the glyphs, not a grey square. (Not the key colour: the buttons
    // would then take clicks on their glyphs' pixels only.)
    m_btnMinimize.SetBackgroundColor(kSkinBehindGlyphs);
    m_btnClose.SetBackgroundColor(kSkinBehindGlyphs);
    m_btnAccount.LoadFaceImage(IDR_PNG_ACCOUNT, L"PNG");
    m_btnRegister.LoadFaceImage(IDR_PNG_REGISTER, L"PNG");
    m_btnHome.LoadFaceImage(IDR_PNG_HOME, L"PNG");
    m_btnStart.LoadFaceImage(IDR_PNG_START, L"PNG");
    m_btnForum.LoadFaceImage(IDR_PNG_FORUM, L"PNG");
}

void CLauncherDlg::OnOK() {
    OnStart();
}

LRESULT CLauncherDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_NCHITTEST:
        return HTCAPTION; // pressing the dialog's own surface drags it
    case WM_MOVE:
        return OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    default:
        return CStandardDialog::WindowProc(message, wParam, lParam);
    }
}

BOOL CLauncherDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED)
        return CStandardDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_BTN_START:
        OnStart();
        return TRUE;
    case IDC_BTN_HOME:
        OnHomePage();
        return TRUE;
    case IDC_BTN_ACCOUNT:
        OnAccountPage();
        return TRUE;
    case IDC_BTN_REGISTER:
        OnRegisterPage();
        return TRUE;
    case IDC_BTN_MINIMIZE:
        OnMinimizeButton();
        return TRUE;
    case IDC_BTN_CLOSE:
        OnCloseButton();
        return TRUE;
    case IDC_VERSION_SOURCE_1:
        m_nVersionSource = 1;
        return TRUE;
    case IDC_VERSION_SOURCE_2:
        m_nVersionSource = 2;
        return TRUE;
    case IDC_VERSION_SOURCE_3:
        m_nVersionSource = 3;
        return TRUE;
    case IDC_BTN_FORUM:
        OnForumPage();
        return TRUE;
    default:
        return CStandardDialog::OnCommand(wParam, lParam);
    }
}

void CLauncherDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == kAboutCommand) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CLauncherDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rc;
    GetClientRect(&rc);
    const int x = (rc.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rc.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

LRESULT CLauncherDlg::OnMove(int x, int y) {
    Default();
    // Until the skin is on screen it places itself, and this dialog with it. While it is being
    // made it still has a caption, so the client origin it moves this dialog to lies below the
    // point this dialog would move it to: each would push the other on, many times over.
    if (!m_pSkinWnd || !m_pSkinWnd->m_hWnd || !::IsWindowVisible(m_pSkinWnd->m_hWnd))
        return 0;
    m_pSkinWnd->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return 0;
}

void CLauncherDlg::OnHomePage() {
    OpenUrl(kHomePageUrl, SW_SHOW);
}

void CLauncherDlg::OnAccountPage() {
    OpenUrl(kAccountPageUrl, SW_SHOW);
}

void CLauncherDlg::OnRegisterPage() {
    OpenUrl(kRegisterPageUrl, SW_SHOW);
}

void CLauncherDlg::OnForumPage() {
    OpenUrl(kForumPageUrl, SW_SHOW);
}

void CLauncherDlg::OnMinimizeButton() {
    if (m_pSkinWnd)
        m_pSkinWnd->ShowWindow(SW_MINIMIZE);
}

void CLauncherDlg::OnCloseButton() {
    OnCancel();
}
