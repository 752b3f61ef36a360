#include "app/LauncherApp.h"
#include "launcher/LauncherSkinDlg.h"
#include "res/resource.h"
#include <commctrl.h>

CGdiplusSession g_gdiplusToken;

BOOL CLauncherApp::InitInstance() {
    // A second copy hands over and ends here: no window, no GDI+.
    if (!CWinAppEx::InitInstance(kLauncherUniqueId))
        return FALSE;

    ::InitCommonControls();
    CWinAppEx::InitInstance(static_cast<LPCWSTR>(nullptr));

    g_gdiplusToken = StartGdiplus();

    SetRegistryKey(kRegistryKeyName);

    {
        CLauncherSkinDlg skin(IDR_PNG_SKIN, L"PNG", nullptr);
        m_pMainWnd = &skin;
        skin.DoModal();
    }
    return FALSE;
}

int CLauncherApp::ExitInstance() {
    g_gdiplusToken.Close();
    return CWinAppEx::ExitInstance();
}
