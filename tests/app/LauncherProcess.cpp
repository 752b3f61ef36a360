#include "tests/app/LauncherProcess.h"

#include "tests/support/LauncherFixture.h"
#include "tests/support/Pump.h"

namespace {

std::wstring LauncherPath() {
    return std::wstring(ZV_BIN_DIR) + L"\\app\\Zorvane.exe";
}

} // namespace

HWND FindLauncherWindow(DWORD pid) {
    return FindLauncherWindows(pid).skin;
}

LauncherProcess::LauncherProcess(const std::wstring& arguments)
    : m_process(L"\"" + LauncherPath() + L"\"" + (arguments.empty() ? L"" : L" " + arguments)) {}

LauncherProcess::~LauncherProcess() {
    if (m_process.IsRunning())
        Close();
}

HWND LauncherProcess::WaitForWindow(DWORD timeoutMs) {
    HWND hwnd = nullptr;
    PumpUntil(
        [&] {
            hwnd = FindLauncherWindow(Pid());
            return hwnd && ::IsWindowVisible(hwnd);
        },
        timeoutMs);
    return hwnd && ::IsWindowVisible(hwnd) ? hwnd : nullptr;
}

void LauncherProcess::Close() {
    if (!Started())
        return;
    if (HWND hwnd = FindLauncherWindow(Pid()))
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (!WaitExit(5000))
        m_process.End();
}
