// The data of one archive entry, checked as it is written.
#pragma once

#include <windows.h>

#include <unzip.h>

// Entries the extractor can vouch for: stored or deflated, not encrypted. The library
// would hand out other methods undecoded, and the launcher has no password.
bool IsExtractableEntry(const unz_file_info64& info);

// Writes the current entry's data to `out`. Fails, having written no byte past the
// declared size, when the data do not decode, when they would produce more or fewer
// bytes than the central directory declares, or when their CRC differs from it.
bool WriteEntryData(unzFile zip, const unz_file_info64& info, HANDLE out);
