// What a started program sees of its own start.
#pragma once
#include <string>

// Everything after the program name of `commandLine` and the blanks that follow it,
// the program name read the way the C runtime reads it (quoted, or up to a blank).
std::wstring ArgumentText(const std::wstring& commandLine);

// The current folder of this process.
std::wstring CurrentFolder();

// Writes down how this program was started (Record.h) for the double `name`: the process's
// exit code, 0 when the record was written.
int RecordThisStart(const wchar_t* name);
