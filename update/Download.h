// One download of an address into a local file, bounded in time and size whatever the
// server does.
#pragma once
#include <string>

#include <windows.h>

#include "update/UpdateConstants.h"

struct DownloadLimits {
    // The deadline at progress reports: abandoned at the first report more than
    // kVersionDownloadSeconds whole seconds after the start.
    bool bUseDeadline;
    // Failure this long after the start whatever the server does; 0: no total bound.
    unsigned totalMs;
    // Failure once no byte of the body has arrived for this long; 0: no such bound.
    unsigned stallMs;
    // The body may not be longer.
    unsigned long long maxBytes;
};

// The version archive: small, and given about five seconds in all.
inline constexpr DownloadLimits kVersionArchiveDownload{true, zv::update::kVersionDownloadLimitMs,
                                                        0, zv::update::kVersionArchiveLimit};
// The package: no total deadline, so a slow line can finish, but a silent server fails.
inline constexpr DownloadLimits kPackageDownload{false, 0, zv::update::kPackageStallMs,
                                                 zv::update::kPackageLimit};

// Fetches `url` (http or https, at most kMaxRedirects redirects followed) into `path`.
// The body goes to a temporary file beside `path`, which replaces `path` only when the
// reply was complete: a 2xx status, an announced length, exactly that many bytes, within
// the limits. On any failure `path` is as it was and the temporary is gone.
//
// The transfer runs on a thread of its own, through the platform's HTTP client (WinINet)
// with every network wait bounded by the limits. The caller waits for it with the same
// limits and, shortly after they pass, abandons it and returns, whatever the thread is
// doing. An abandoned transfer stops when its current network wait ends; it never puts a
// file in place and then removes its own temporary, which stays only if the process ends
// first. Negative means failure.
HRESULT DownloadToFile(const std::wstring& url, const std::wstring& path,
                       const DownloadLimits& limits);

// kVersionArchiveDownload with `bUseDeadline`, kPackageDownload without.
HRESULT DownloadToFile(const std::wstring& url, const std::wstring& path, bool bUseDeadline);
