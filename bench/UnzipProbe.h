// In-process prices of parts of the extraction: the survey of the directory before a byte
// is written, and what opening each file again to set its times would add.
#pragma once

// Prints the medians of `rounds` rounds; 0 on success.
int RunProbe(long rounds, const wchar_t* zipPath, const wchar_t* folder);
