#include "launcher/LauncherSkinDlg.h"
#include "res/resource.h"

CLauncherSkinDlg::CLauncherSkinDlg(UINT, LPCWSTR, CWnd* pParent)
    : CDialog(IDD_SKIN_DIALOG, pParent) {}

BOOL CLauncherSkinDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(L"Velkor");
    return TRUE;
}
