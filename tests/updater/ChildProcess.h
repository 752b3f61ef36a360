// Processes a test starts, ends and watches: the fake launcher and the updater itself.
#pragma once
#include <string>

#include <windows.h>

class CChildProcess {
public:
    CChildProcess() = default;
    // Starts `commandLine` (its first word is searched for) in `folder` with `flags`.
    CChildProcess(const std::wstring& commandLine, const std::wstring& folder, DWORD flags = 0);
    CChildProcess(CChildProcess&& other) noexcept;
    CChildProcess& operator=(CChildProcess&& other) noexcept;
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;
    // Ends the process if it still runs.
    ~CChildProcess();

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    bool IsRunning() const;
    // True when it ended within `ms`.
    bool WaitEnd(DWORD ms) const;
    void End();

private:
    PROCESS_INFORMATION m_info{};
};

// The visible message box of process `id` captioned "Zorvane", or null.
HWND FindMessageBox(DWORD id);
// The message a message box shows.
std::wstring MessageBoxText(HWND box);
