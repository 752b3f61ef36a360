// Linux programs started from a test: Wine runs an ELF program given by its path like any
// Windows one, but hands back no process handle to wait on.
#pragma once
#include <string>

// Starts `commandLine` (a Linux path and its arguments, which the program sees as written);
// false when it could not be started.
bool StartHostProgram(const std::wstring& commandLine);
