#include "launcher/LauncherSkinDlg.h"
#include <new>
#include "launcher/LauncherConstants.h"
#include "launcher/LauncherDlg.h"
#include "res/resource.h"

HWND g_hSkinWnd = nullptr;

CLauncherSkinDlg::CLauncherSkinDlg(UINT nImageID, LPCWSTR lpszImageType, CWnd* pParent)
    : CTranslucentDialog(IDD_SKIN_DIALOG, nImageID, lpszImageType, pParent) {}

std::unique_ptr<CStandardDialog> CLauncherSkinDlg::CreateStandardDialog() {
    g_hSkinWnd = m_hWnd;
    return std::unique_ptr<CStandardDialog>(new (std::nothrow) CLauncherDlg(this));
}

BOOL CLauncherSkinDlg::OnInitDialog() {
    CTranslucentDialog::OnInitDialog();
    SetWindowText(zv::launcher::kWindowTitle);
    OnInitChildrenWnds();
    UpdateView();
    return TRUE;
}

LRESULT CLauncherSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LAUNCHER_EXIT:
        return OnLauncherExit();
    case WM_NCHITTEST:
        return HTCAPTION; // dragged by any pixel that takes the mouse
    default:
        return CTranslucentDialog::WindowProc(message, wParam, lParam);
    }
}

LRESULT CLauncherSkinDlg::OnLauncherExit() {
    DestroyWindow();
    return 0;
}
