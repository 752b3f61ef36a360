#include "tests/support/ChildProcess.h"

CChildProcess::CChildProcess(const std::wstring& commandLine, const std::wstring& folder,
                             DWORD flags, const std::vector<wchar_t>* environment) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (environment)
        flags |= CREATE_UNICODE_ENVIRONMENT;
    void* block = environment ? const_cast<wchar_t*>(environment->data()) : nullptr;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags, block,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return;
    m_process.Attach(info.hProcess);
    m_thread.Attach(info.hThread);
    m_id = info.dwProcessId;
}

CChildProcess::~CChildProcess() {
    End();
}

bool CChildProcess::WaitEnd(DWORD ms) const {
    return Started() && WaitForSingleObject(m_process.Get(), ms) == WAIT_OBJECT_0;
}

void CChildProcess::End() {
    if (IsRunning()) {
        TerminateProcess(m_process.Get(), 1);
        WaitEnd(5000);
    }
    m_thread.Close();
    m_process.Close();
    m_id = 0;
}
