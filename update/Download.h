// One blocking download of an address into a local file.
#pragma once
#include <string>

#include <windows.h>

// Fetches `url` into `path` (created or replaced) through the platform's URL download
// service. With `bUseDeadline` the transfer is abandoned at its first progress report
// more than four whole seconds after the start. Negative means failure of any kind,
// an error status or a body shorter than announced included.
HRESULT DownloadToFile(const std::wstring& url, const std::wstring& path, bool bUseDeadline);
