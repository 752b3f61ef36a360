// Starting the launcher executable from a test, finding its window, and ending it.
#pragma once
#include <windows.h>
#include <string>

class LauncherProcess {
public:
    // Starts Zorvane.exe of this build with `arguments` after its name.
    explicit LauncherProcess(const std::wstring& arguments = L"");
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    // Waits for the process to end; true when it did within the time.
    bool WaitExit(DWORD timeoutMs);
    // The visible top-level window "Velkor" of this process, waited for; null when none came.
    HWND WaitForWindow(DWORD timeoutMs);
    // Asks the launcher to close and waits; kills it if it does not.
    void Close();
    DWORD Pid() const { return m_pi.dwProcessId; }
    HANDLE MainThread() const { return m_pi.hThread; }

private:
    PROCESS_INFORMATION m_pi{};
};

// The launcher's top-level window of process `pid` titled "Velkor" (visible or not), or null.
HWND FindLauncherWindow(DWORD pid);
// Pumps this thread's messages for `ms` milliseconds at most, or until `done` returns true.
template <class F> bool PumpFor(DWORD ms, F done) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (::GetTickCount() - start > ms)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
