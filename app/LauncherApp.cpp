#include "app/LauncherApp.h"
#include "launcher/LauncherSkinDlg.h"
#include "res/resource.h"
#include <commctrl.h>
#include <ole2.h>

CGdiplusSession g_gdiplusToken;

namespace {

// OLE on the calling thread for as long as the object lives.
class COleScope {
public:
    COleScope() : m_bStarted(SUCCEEDED(::OleInitialize(nullptr))) {}
    COleScope(const COleScope&) = delete;
    COleScope& operator=(const COleScope&) = delete;
    ~COleScope() {
        if (m_bStarted)
            ::OleUninitialize();
    }

private:
    bool m_bStarted;
};

} // namespace

BOOL CLauncherApp::InitInstance() {
    // A second copy hands over and ends here: no window, no GDI+.
    if (!CWinAppEx::InitInstance(kLauncherUniqueId))
        return FALSE;

    ::InitCommonControls();
    CWinAppEx::InitInstance(static_cast<LPCWSTR>(nullptr));

    g_gdiplusToken = StartGdiplus();

    SetRegistryKey(kRegistryKeyName);

    // The notice view hosts the browser control, which needs OLE on the thread that makes it;
    // it ends only once every window of the run is gone.
    COleScope ole;
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
