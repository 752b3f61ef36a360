// In-process prices of two choices of the extractor: the 2048-byte copy buffer and
// opening each file again to set its times.
#pragma once

// Prints the medians of `rounds` rounds; 0 on success.
int RunProbe(long rounds, const wchar_t* zipPath, const wchar_t* folder);
