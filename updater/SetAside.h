// Backups that cannot be deleted yet. The old updater library is one: RUNDLL32.EXE has it
// loaded until the updater returns, and a loaded library can be renamed but not deleted.
#pragma once
#include <string>

#include "updater/FileSystem.h"

// Moves `backup` out of the launcher's folder to the system's temporary folder, as
// "zorvane-updater-<process id>-<n>.old"; it stays where it is when that fails (another
// volume, say).
void SetAside(CFileSystem& files, const std::wstring& backup);

// Deletes what earlier updates set aside, once nothing has it loaded any more.
void RemoveSetAside();
