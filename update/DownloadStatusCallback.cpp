#include "update/DownloadStatusCallback.h"

#include <ctime>

STDMETHODIMP CDownloadStatusCallback::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IHttpNegotiate) {
        *object = static_cast<IHttpNegotiate*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDownloadStatusCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG,
                                                 LPCWSTR) {
    m_ulReceived = progress;
    m_ulExpected = progressMax;
    if (!m_bUseDeadline)
        return S_OK;
    const long long now = static_cast<long long>(std::time(nullptr));
    if (now > m_tDeadline)
        m_bAborted = true;
    return m_bAborted ? E_ABORT : S_OK;
}

STDMETHODIMP CDownloadStatusCallback::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD,
                                                           LPWSTR* additional) {
    if (additional)
        *additional = nullptr;
    return S_OK;
}

STDMETHODIMP CDownloadStatusCallback::OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR,
                                                 LPWSTR* additional) {
    if (additional)
        *additional = nullptr;
    m_dwResponseCode = responseCode;
    return S_OK;
}

bool CDownloadStatusCallback::IsComplete() const {
    if (m_bAborted)
        return false;
    if (m_dwResponseCode != 0 && (m_dwResponseCode < 200 || m_dwResponseCode > 299))
        return false;
    return m_ulExpected == 0 || m_ulReceived >= m_ulExpected;
}
