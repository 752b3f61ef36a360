#include "update/HttpRequest.h"

#include <urlmon.h>

namespace {

// The service's own user agent, so the server sees the requests it always saw.
std::wstring UserAgent() {
    char agent[256];
    DWORD size = sizeof agent;
    if (FAILED(ObtainUserAgentString(0, agent, &size)))
        return L"Mozilla/4.0 (compatible)";
    return std::wstring(agent, agent + std::char_traits<char>::length(agent));
}

void SetTimeout(HINTERNET handle, DWORD option, DWORD timeoutMs) {
    InternetSetOptionW(handle, option, &timeoutMs, sizeof timeoutMs);
}

} // namespace

CInternetHandle OpenInternetSession(DWORD timeoutMs) {
    CInternetHandle session(
        InternetOpenW(UserAgent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (session)
        SetTimeout(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, timeoutMs);
    return session;
}

bool CHttpRequest::Send(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeoutMs) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return false;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo ? parts.lpszExtraInfo : L"", parts.dwExtraInfoLength);
    if (path.empty())
        path = L"/";
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;

    m_connection.Attach(InternetConnectW(session, host.c_str(), parts.nPort, nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, 0, 0));
    if (!m_connection)
        return false;
    const wchar_t* anything[] = {L"*/*", nullptr};
    m_request.Attach(HttpOpenRequestW(m_connection.Get(), L"GET", path.c_str(), nullptr, nullptr,
                                      anything, flags, 0));
    if (!m_request)
        return false;
    SetTimeout(m_request.Get(), INTERNET_OPTION_SEND_TIMEOUT, timeoutMs);
    SetTimeout(m_request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, timeoutMs);
    return HttpSendRequestW(m_request.Get(), nullptr, 0, nullptr, 0) != FALSE;
}

DWORD CHttpRequest::Status() const {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(m_request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr))
        return 0;
    return status;
}

bool CHttpRequest::Length(unsigned long long& length) const {
    const std::wstring text = Header(HTTP_QUERY_CONTENT_LENGTH);
    if (text.empty() || text.size() > 19)
        return false;
    length = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        length = length * 10 + static_cast<unsigned>(c - L'0');
    }
    return true;
}

std::wstring CHttpRequest::Header(DWORD query) const {
    wchar_t value[2048];
    DWORD size = sizeof value;
    if (!HttpQueryInfoW(m_request.Get(), query, value, &size, nullptr))
        return {};
    return std::wstring(value, size / sizeof(wchar_t));
}

bool CHttpRequest::Available(DWORD& available) {
    available = 0;
    return InternetQueryDataAvailable(m_request.Get(), &available, 0, 0) != FALSE;
}

bool CHttpRequest::Read(void* buffer, DWORD size, DWORD& read) {
    read = 0;
    return InternetReadFile(m_request.Get(), buffer, size, &read) != FALSE;
}
