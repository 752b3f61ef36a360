// Shell commands on the Linux side (the publishing tool, xdotool, ImageMagick), started from a
// test. Wine hands out no usable process handle for a Linux program, so the command tells
// through files when it has ended, with what exit code, and what it printed.
#pragma once
#include <string>

#include <windows.h>

#include "tests/support/TestFiles.h"

class CHostCommand {
public:
    // Starts `command` with /bin/sh, in the host folder of `folder` when one is given.
    explicit CHostCommand(const std::wstring& command, const fs::path& folder = {});
    CHostCommand(const CHostCommand&) = delete;
    CHostCommand& operator=(const CHostCommand&) = delete;

    bool Started() const { return m_bStarted; }
    bool Finished() const;
    // Waits up to `timeoutMs` without running this thread's messages (a thread with windows
    // on screen waits with PumpUntil(... Finished() ...) instead); true when it has ended.
    bool Wait(DWORD timeoutMs);
    // The exit code once it has ended; -1 before, or when it could not be started.
    int ExitCode() const;
    // What it wrote to standard output and standard error.
    std::string Output() const;

private:
    CTempFolder m_work;
    bool m_bStarted = false;
};

// Runs `command` in `folder` and waits up to `timeoutMs`: its exit code (-1 when it could not
// be started or did not end in time), with what it printed in `output`.
int RunHostCommand(const std::string& command, const fs::path& folder, std::string& output,
                   DWORD timeoutMs = 60000);
