#include "framework/Dialog.h"
#include "framework/WinApp.h"

namespace {

// The system's dialog class, "#32770", by its atom.
const LPCWSTR kDialogClass = MAKEINTRESOURCEW(0x8002);

} // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd || !pDX || !pDX->m_pDlgWnd)
        return;
    if (HWND hwnd = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id))
        control.SubclassWindow(hwnd);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT message, WPARAM, LPARAM) {
    // Everything reaches the object through its subclass first; this only answers the
    // dialog manager for a dialog that has no object.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

HWND CDialog::CreateFromTemplate(HWND owner) {
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = ::FindResourceW(inst, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
    auto* tmpl = data ? static_cast<LPCDLGTEMPLATEW>(::LockResource(data)) : nullptr;
    if (!tmpl)
        return nullptr;
    return CreateAttached(kDialogClass, [&] {
        return ::CreateDialogIndirectParamW(inst, tmpl, owner, DialogProc, 0);
    });
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(pParentWnd ? pParentWnd->m_hWnd : nullptr) != nullptr;
}

namespace {

// The window a modal dialog without a parent is owned by: the application's main
// window's last active pop-up, never a child window.
HWND DefaultOwner() {
    CWnd* main = AfxGetMainWnd();
    HWND hwnd = main ? main->m_hWnd : nullptr;
    while (hwnd && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        hwnd = ::GetParent(hwnd);
    return hwnd ? ::GetLastActivePopup(hwnd) : nullptr;
}

} // namespace

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : DefaultOwner();
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    bool enableOwner = false;
    if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }

    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    HWND hwnd = CreateFromTemplate(owner);
    if (hwnd && m_bContinueModal) {
        if (::IsWindow(hwnd) && !::IsWindowVisible(hwnd))
            ::ShowWindow(hwnd, SW_SHOWNORMAL);
        CWinThread::RunModalLoop(hwnd, &m_bContinueModal);
    }
    m_bContinueModal = FALSE;

    if (enableOwner && ::IsWindow(owner))
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        if (owner && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(owner);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = FALSE;
        // Wake the loop in case this ran inside a message sent from another thread.
        if (m_hWnd)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Enter, Escape, the OK and Cancel buttons and WM_CLOSE's cancel all arrive as code 0.
    if (HIWORD(wParam) != BN_CLICKED)
        return CWnd::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return CWnd::OnCommand(wParam, lParam);
    }
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    const bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    const bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
    if (!key && !mouse)
        return FALSE;
    if (!m_hWnd || (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}
