// What a started program sees of its own start.
#pragma once
#include <string>

// Everything after the program name of `commandLine` and the blanks that follow it,
// the program name read the way the C runtime reads it (quoted, or up to a blank).
std::wstring ArgumentText(const std::wstring& commandLine);

// The current folder of this process.
std::wstring CurrentFolder();
