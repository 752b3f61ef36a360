// One GET over the platform's HTTP client (WinINet), synchronous, every wait bounded.
#pragma once
#include <string>

#include <windows.h>
#include <wininet.h>

#include "base/Handle.h"

using CInternetHandle = CHandle<CNullHandleTraits<HINTERNET, ::InternetCloseHandle>>;

// A session for the downloads of one thread: the system's proxy settings, no connection
// attempt longer than `timeoutMs`.
CInternetHandle OpenInternetSession(DWORD timeoutMs);

class CHttpRequest {
public:
    // Sends a GET for `url` (http or https) with the request `flags` and waits for the
    // reply's headers. No single network wait, then or later, lasts longer than
    // `timeoutMs`. False when no reply came.
    bool Send(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeoutMs);

    // The reply's status; 0 when it had none.
    DWORD Status() const;
    // The announced body length; false when there is none or it is no plain number.
    bool Length(unsigned long long& length) const;
    // A header's value (HTTP_QUERY_LOCATION and the like), or empty.
    std::wstring Header(DWORD query) const;

    // Waits for more of the body: `available` bytes can then be read at once, 0 at its end.
    // False on a failure or a timeout.
    bool Available(DWORD& available);
    // Reads `size` bytes of the body, waiting for all of them unless it ends first.
    bool Read(void* buffer, DWORD size, DWORD& read);

private:
    CInternetHandle m_connection;
    CInternetHandle m_request;
};
