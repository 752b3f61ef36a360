#include "translucent/StandardDialog.h"
#include "translucent/User32Function.h"

CStandardDialog::CStandardDialog(UINT nIDTemplate, COLORREF crKey, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_crKey(crKey) {}

BOOL CStandardDialog::CreateAndShow() {
    if (!Create(m_lpszTemplateName, m_pParentWnd))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CStandardDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_brKey.CreateSolidBrush(m_crKey);
    ModifyStyleEx(0, WS_EX_LAYERED);
    CUser32Function<decltype(&::SetLayeredWindowAttributes)> setAttributes(
        "SetLayeredWindowAttributes");
    if (auto fn = setAttributes.Get())
        fn(m_hWnd, m_crKey, 0, LWA_COLORKEY);
    return TRUE;
}

HBRUSH CStandardDialog::OnCtlColor(CDCHandle* pDC, CWndHandle wnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_DLG)
        return m_brKey.Handle();
    return CDialog::OnCtlColor(pDC, wnd, nCtlColor);
}

void CStandardDialog::CloseParent() {
    if (!m_hWnd)
        return;
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageW(parent, WM_CLOSE, 0, 0);
}

void CStandardDialog::OnOK() {
    CloseParent();
    CDialog::OnOK();
}

void CStandardDialog::OnCancel() {
    CloseParent();
    CDialog::OnCancel();
}

void CStandardDialog::EndDialog(int nResult) {
    CloseParent();
    CDialog::EndDialog(nResult);
}
