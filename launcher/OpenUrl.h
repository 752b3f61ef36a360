// Opening a web or mail address outside the launcher: the shell's "open" first, then the
// command the registry names for opening ".htm" files. Nothing is ever shown on failure.
#pragma once
#include <windows.h>

// The shell's result when it is above 32; otherwise the fallback's WinExec result (above 31
// means success), or the shell's result again when the fallback cannot be run.
INT_PTR OpenUrl(LPCWSTR url, int showCmd);

// Reads the default value of `root`\`subKey` into `value` (room for 260 characters, of
// which the read may fill 260 bytes). `subKey` and `value` may be the same array. Returns
// the registry's error code, 0 when the value was copied.
LONG GetRegKey(HKEY root, LPCWSTR subKey, LPWSTR value);
