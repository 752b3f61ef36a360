#include "update/DownloadStatusCallback.h"

#include <cwchar>
#include <ctime>
#include <string_view>

#include "update/UpdateConstants.h"

namespace {

// The longest address the service takes.
constexpr DWORD kMaxUrl = 2084;

// The value of header `name` in the raw response headers, or empty.
std::wstring_view HeaderValue(std::wstring_view headers, std::wstring_view name) {
    while (!headers.empty()) {
        const std::size_t end = headers.find(L"\r\n");
        std::wstring_view line = headers.substr(0, end);
        headers.remove_prefix(end == std::wstring_view::npos ? headers.size() : end + 2);
        if (line.size() <= name.size() || line[name.size()] != L':' ||
            _wcsnicmp(line.data(), name.data(), name.size()) != 0)
            continue;
        line.remove_prefix(name.size() + 1);
        while (!line.empty() && (line.front() == L' ' || line.front() == L'\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == L' ' || line.back() == L'\t'))
            line.remove_suffix(1);
        return line;
    }
    return {};
}

// Digits only: anything else leaves the length unknown.
bool ParseLength(std::wstring_view text, unsigned long long& length) {
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

} // namespace

bool IsWebAddress(const wchar_t* url) {
    return url && (_wcsnicmp(url, L"http://", 7) == 0 || _wcsnicmp(url, L"https://", 8) == 0);
}

CDownloadStatusCallback::CDownloadStatusCallback(const std::wstring& url, HANDLE file,
                                                 unsigned long long maxBytes, unsigned redirects)
    : m_hFile(file), m_ullMaxBytes(maxBytes), m_strUrl(url), m_nRedirects(redirects) {}

CDownloadStatusCallback::~CDownloadStatusCallback() {
    if (m_pStream)
        m_pStream->Release();
    if (m_pBinding)
        m_pBinding->Release();
}

STDMETHODIMP CDownloadStatusCallback::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IBindStatusCallback)
        *object = static_cast<IBindStatusCallback*>(this);
    else if (riid == IID_IHttpNegotiate)
        *object = static_cast<IHttpNegotiate*>(this);
    else if (riid == IID_IServiceProvider)
        *object = static_cast<IServiceProvider*>(this);
    else if (riid == IID_IBindCallbackRedirect)
        *object = static_cast<IBindCallbackRedirect*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CDownloadStatusCallback::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_nRefs));
}

STDMETHODIMP_(ULONG) CDownloadStatusCallback::Release() {
    const LONG left = InterlockedDecrement(&m_nRefs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CDownloadStatusCallback::OnStartBinding(DWORD, IBinding* binding) {
    if (m_pBinding)
        m_pBinding->Release();
    m_pBinding = binding;
    if (m_pBinding)
        m_pBinding->AddRef();
    return S_OK;
}

STDMETHODIMP CDownloadStatusCallback::OnProgress(ULONG, ULONG, ULONG, LPCWSTR) {
    if (!m_bUseDeadline)
        return S_OK;
    const long long now = static_cast<long long>(std::time(nullptr));
    if (now > m_tDeadline)
        Abort();
    return m_bAborted ? E_ABORT : S_OK;
}

STDMETHODIMP CDownloadStatusCallback::OnStopBinding(HRESULT result, LPCWSTR) {
    m_hrStop = result;
    m_bStopped = true;
    if (m_pStream) {
        m_pStream->Release();
        m_pStream = nullptr;
    }
    if (m_pBinding) {
        m_pBinding->Release();
        m_pBinding = nullptr;
    }
    return S_OK;
}

STDMETHODIMP CDownloadStatusCallback::GetBindInfo(DWORD* flags, BINDINFO* info) {
    if (!flags || !info)
        return E_INVALIDARG;
    *flags = BINDF_ASYNCHRONOUS | BINDF_ASYNCSTORAGE | BINDF_PULLDATA | BINDF_GETNEWESTVERSION |
             BINDF_NOWRITECACHE | BINDF_PRAGMA_NO_CACHE;
    const ULONG size = info->cbSize;
    ZeroMemory(info, size);
    info->cbSize = size;
    info->dwBindVerb = BINDVERB_GET;
    info->dwOptions = BINDINFO_OPTIONS_DISABLEAUTOREDIRECTS;
    return S_OK;
}

STDMETHODIMP CDownloadStatusCallback::OnDataAvailable(DWORD flags, DWORD, FORMATETC*,
                                                      STGMEDIUM* medium) {
    if (m_bAborted)
        return S_OK;
    if ((flags & BSCF_FIRSTDATANOTIFICATION) && !m_pStream && medium &&
        medium->tymed == TYMED_ISTREAM && medium->pstm) {
        m_pStream = medium->pstm;
        m_pStream->AddRef();
    }
    if (!m_pStream)
        return S_OK;
    BYTE buffer[65536];
    for (;;) {
        ULONG read = 0;
        const HRESULT result = m_pStream->Read(buffer, sizeof buffer, &read);
        if (read > 0 && !Write(buffer, read)) {
            Abort();
            return S_OK;
        }
        // E_PENDING: more later; S_FALSE: the end.
        if (result != S_OK || read == 0)
            return S_OK;
    }
}

bool CDownloadStatusCallback::Write(const BYTE* data, ULONG size) {
    if (size > m_ullMaxBytes - m_ullWritten ||
        (m_bLengthKnown && size > m_ullLength - m_ullWritten))
        return false;
    DWORD written = 0;
    if (!WriteFile(m_hFile, data, size, &written, nullptr) || written != size)
        return false;
    m_ullWritten += size;
    m_ullLastData = GetTickCount64();
    return true;
}

STDMETHODIMP CDownloadStatusCallback::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD,
                                                           LPWSTR* additional) {
    if (additional)
        *additional = nullptr;
    return S_OK;
}

STDMETHODIMP CDownloadStatusCallback::OnResponse(DWORD responseCode, LPCWSTR headers, LPCWSTR,
                                                 LPWSTR* additional) {
    if (additional)
        *additional = nullptr;
    m_dwStatus = responseCode;
    const std::wstring_view all = headers ? headers : L"";
    m_bLengthKnown = ParseLength(HeaderValue(all, L"Content-Length"), m_ullLength);
    // More than may be written is refused before the first byte.
    if (m_bLengthKnown && m_ullLength > m_ullMaxBytes)
        Abort();
    return S_OK;
}

void CDownloadStatusCallback::Abort() {
    if (m_bAborted)
        return;
    m_bAborted = true;
    if (m_pBinding)
        m_pBinding->Abort();
}

STDMETHODIMP CDownloadStatusCallback::QueryService(REFGUID service, REFIID riid, void** object) {
    if (service == IID_IHttpNegotiate || service == IID_IBindCallbackRedirect)
        return QueryInterface(riid, object);
    if (object)
        *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CDownloadStatusCallback::Redirect(LPCWSTR url, VARIANT_BOOL* cancel) {
    if (!cancel)
        return E_POINTER;
    // Never followed by the service: Wine resolves no relative address, and following an
    // absolute one it may call back into the protocol it has just released.
    *cancel = VARIANT_TRUE;
    if (!url || ++m_nRedirects > zv::update::kMaxRedirects)
        return S_OK;
    wchar_t resolved[kMaxUrl];
    DWORD length = 0;
    if (SUCCEEDED(CoInternetCombineUrl(m_strUrl.c_str(), url, 0, resolved, kMaxUrl, &length, 0)) &&
        IsWebAddress(resolved))
        m_strNext = resolved;
    return S_OK;
}

bool CDownloadStatusCallback::IsComplete() const {
    if (!m_bStopped || m_bAborted || FAILED(m_hrStop) || m_dwStatus < 200 || m_dwStatus > 299)
        return false;
    return m_bLengthKnown && m_ullWritten == m_ullLength;
}
