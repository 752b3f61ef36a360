// A Windows program a test starts, waits for and ends.
#pragma once
#include <string>
#include <vector>

#include <windows.h>

#include "base/Handle.h"

class CChildProcess {
public:
    CChildProcess() = default;
    // Starts `commandLine` (its first word is the program, searched for as the system does)
    // in `folder` (empty: this program's) with creation `flags` and, when given, the wide
    // `environment` block; Started() tells.
    explicit CChildProcess(const std::wstring& commandLine, const std::wstring& folder = {},
                           DWORD flags = 0, const std::vector<wchar_t>* environment = nullptr);
    CChildProcess(CChildProcess&&) noexcept = default;
    CChildProcess& operator=(CChildProcess&&) noexcept = default;
    // Ends the process if it still runs.
    ~CChildProcess();

    bool Started() const { return m_process.IsValid(); }
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process.Get(); }
    HANDLE MainThread() const { return m_thread.Get(); }
    bool IsRunning() const { return Started() && !WaitEnd(0); }
    // True when it has ended, at the latest `ms` from now.
    bool WaitEnd(DWORD ms) const;
    // Terminates it (exit code 1) if it still runs, waits for its end and lets go of it.
    void End();

private:
    CKernelHandle m_process;
    CKernelHandle m_thread;
    DWORD m_id = 0;
};
