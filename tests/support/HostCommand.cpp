#include "tests/support/HostCommand.h"

#include <windows.h>

#include "tests/support/HostProgram.h"
#include "tests/support/Pump.h"

namespace {

std::wstring WindowsPath(const std::wstring& unixPath) {
    return L"Z:" + unixPath;
}

} // namespace

CHostCommand::CHostCommand(const std::wstring& command) {
    // Wine hands back no handle for a Linux process, so the command leaves a marker file when
    // it is done.
    static LONG s_count = 0;
    wchar_t marker[128];
    wsprintfW(marker, L"/tmp/zv-test-%lu-%llu-%ld.done", GetCurrentProcessId(), GetTickCount64(),
              InterlockedIncrement(&s_count));
    m_marker = marker;
    // Wine reuses small process ids; a marker left by an earlier run must not count.
    DeleteFileW(WindowsPath(m_marker).c_str());
    m_bStarted = StartHostProgram(L"/bin/sh -c \"" + command + L"; touch " + m_marker + L"\"");
}

CHostCommand::~CHostCommand() {
    DeleteFileW(WindowsPath(m_marker).c_str());
}

bool CHostCommand::Finished() const {
    return GetFileAttributesW(WindowsPath(m_marker).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CHostCommand::Wait(unsigned long timeoutMs) {
    return m_bStarted && PumpUntil([this] { return Finished(); }, timeoutMs);
}

bool Xdo(const std::wstring& args) {
    return CHostCommand(L"xdotool " + args).Wait();
}
