#include "app/LauncherApp.h"
#include "launcher/LauncherSkinDlg.h"
#include "res/resource.h"
#include <commctrl.h>
#include <gdiplus.h>

ULONG_PTR g_gdiplusToken = 0;

BOOL CLauncherApp::InitInstance() {
    // A second copy hands over and ends here: no window, no GDI+.
    if (!CWinAppEx::InitInstance(kLauncherUniqueId))
        return FALSE;

    ::InitCommonControls();
    CWinAppEx::InitInstance(static_cast<LPCWSTR>(nullptr));

    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);

    SetRegistryKey(kRegistryKeyName);

    {
        CLauncherSkinDlg skin(IDR_PNG_SKIN, L"PNG", nullptr);
        m_pMainWnd = &skin;
        skin.DoModal();
    }
    return FALSE;
}

int CLauncherApp::ExitInstance() {
    if (g_gdiplusToken)
        Gdiplus::GdiplusShutdown(g_gdiplusToken);
    return CWinAppEx::ExitInstance();
}
