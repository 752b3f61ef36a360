// Waiting for the launcher that handed over to end.
#pragma once
#include <string>

#include <windows.h>

#include "updater/HandOver.h"

enum class LauncherWait {
    Ended,        // the launcher is gone (or its id now belongs to a later process)
    StillRunning, // the launcher did not end within the wait
    NotLauncher,  // the id names a program that was running before the hand-over was written
};

// Waits at most `waitMs` for the process of the hand-over's id, and only when its image
// is the launcher's executable. An id that has been reused since the hand-over was
// written is not waited for. `reason` explains anything but Ended.
LauncherWait WaitForLauncher(const CHandOver& handOver, DWORD waitMs, std::wstring& reason);

// True when the two paths name the same file (by identity when both can be opened,
// otherwise by text, ignoring case).
bool IsSameFile(const std::wstring& a, const std::wstring& b);
