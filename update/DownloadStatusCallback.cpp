#include "update/DownloadStatusCallback.h"

#include <cwchar>
#include <ctime>

bool IsWebAddress(const wchar_t* url) {
    return url && (_wcsnicmp(url, L"http://", 7) == 0 || _wcsnicmp(url, L"https://", 8) == 0);
}

STDMETHODIMP CDownloadStatusCallback::QueryInterface(REFIID, void** object) {
    if (object)
        *object = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDownloadStatusCallback::OnProgress(ULONG, ULONG, ULONG, LPCWSTR) {
    if (!m_bUseDeadline)
        return S_OK;
    const long long now = static_cast<long long>(std::time(nullptr));
    return now > m_tDeadline ? E_ABORT : S_OK;
}

STDMETHODIMP CDownloadStatusCallback::GetBindInfo(DWORD* flags, BINDINFO* info) {
    if (!flags || !info)
        return E_INVALIDARG;
    *flags = BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE | BINDF_PRAGMA_NO_CACHE;
    const ULONG size = info->cbSize;
    ZeroMemory(info, size);
    info->cbSize = size;
    info->dwBindVerb = BINDVERB_GET;
    info->dwOptions = BINDINFO_OPTIONS_DISABLEAUTOREDIRECTS;
    return S_OK;
}
