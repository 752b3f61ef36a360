#include "app/LauncherApp.h"
#include "launcher/LauncherSkinDlg.h"
#include "res/resource.h"
#include <commctrl.h>
#include <ole2.h>

CGdiplusSession g_gdiplusToken;

BOOL CLauncherApp::InitInstance() {
    // A second copy hands over and ends here: no window, no GDI+.
    if (!CWinAppEx::InitInstance(kLauncherUniqueId))
        return FALSE;

    ::InitCommonControls();
    CWinAppEx::InitInstance(static_cast<LPCWSTR>(nullptr));

    g_gdiplusToken = StartGdiplus();

    SetRegistryKey(kRegistryKeyName);

    // The notice view hosts the browser control, which needs OLE on the thread that makes it;
    // it is released only once every window of the run is gone.
    const HRESULT ole = ::OleInitialize(nullptr);
    {
        CLauncherSkinDlg skin(IDR_PNG_SKIN, L"PNG", nullptr);
        m_pMainWnd = &skin;
        skin.DoModal();
    }
    if (SUCCEEDED(ole))
        ::OleUninitialize();
    return FALSE;
}

int CLauncherApp::ExitInstance() {
    g_gdiplusToken.Close();
    return CWinAppEx::ExitInstance();
}
