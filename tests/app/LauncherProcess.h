// Starting the launcher executable of this build from a test, finding its window, and ending it.
#pragma once
#include <windows.h>
#include <string>

#include "tests/support/ChildProcess.h"

class LauncherProcess {
public:
    // Starts Zorvane.exe of this build with `arguments` after its name.
    explicit LauncherProcess(const std::wstring& arguments = L"");
    // Closes the launcher if it still runs.
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    bool Started() const { return m_process.Started(); }
    // Waits for the process to end; true when it did within the time.
    bool WaitExit(DWORD timeoutMs) { return m_process.WaitEnd(timeoutMs); }
    // The visible top-level window "Velkor" of this process, waited for; null when none came.
    HWND WaitForWindow(DWORD timeoutMs);
    // Asks the launcher to close and waits; ends it if it does not.
    void Close();
    DWORD Pid() const { return m_process.Id(); }
    HANDLE MainThread() const { return m_process.MainThread(); }

private:
    CChildProcess m_process;
};

// The launcher's top-level window of process `pid` titled "Velkor" (visible or not), or null.
HWND FindLauncherWindow(DWORD pid);
