#include "LauncherProcess.h"
#include <vector>
#include "tests/support/LauncherFixture.h"

namespace {

std::wstring LauncherPath() {
    return std::wstring(ZV_BIN_DIR) + L"\\app\\Zorvane.exe";
}

} // namespace

HWND FindLauncherWindow(DWORD pid) {
    return FindLauncherWindows(pid).skin;
}

LauncherProcess::LauncherProcess(const std::wstring& arguments) {
    const std::wstring path = LauncherPath();
    std::wstring line = L"\"" + path + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!::CreateProcessW(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &m_pi))
        m_pi = {};
}

LauncherProcess::~LauncherProcess() {
    if (!m_pi.hProcess)
        return;
    if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
        Close();
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

bool LauncherProcess::WaitExit(DWORD timeoutMs) {
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

HWND LauncherProcess::WaitForWindow(DWORD timeoutMs) {
    HWND hwnd = nullptr;
    PumpFor(timeoutMs, [&] {
        hwnd = FindLauncherWindow(m_pi.dwProcessId);
        return hwnd && ::IsWindowVisible(hwnd);
    });
    return hwnd && ::IsWindowVisible(hwnd) ? hwnd : nullptr;
}

void LauncherProcess::Close() {
    if (!m_pi.hProcess)
        return;
    if (HWND hwnd = FindLauncherWindow(m_pi.dwProcessId))
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (!WaitExit(5000)) {
        ::TerminateProcess(m_pi.hProcess, 1);
        WaitExit(5000);
    }
}
