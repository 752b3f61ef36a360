// The updater's log: one line per failure, with the local time, in the update folder.
#pragma once
#include <string>

// Appends "YYYY-MM-DD hh:mm:ss <text>" and CR LF to "update.log" in `folder`, in UTF-8.
// False when it could not be written (the folder is gone, the disk is full).
bool AppendToUpdateLog(const std::wstring& folder, const std::wstring& text);
