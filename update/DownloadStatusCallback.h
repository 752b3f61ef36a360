// The status callback of a download: an optional deadline, and the evidence that the
// transfer really delivered the whole body.
#pragma once

#include <windows.h>
#include <urlmon.h>

// Lives on the downloading thread's stack for one download; it counts no references.
//
// It also answers IHttpNegotiate to learn the response status: Wine's download service
// reports success for an error status and for a body cut short, so the caller judges
// those with IsComplete().
class CDownloadStatusCallback : public IBindStatusCallback, public IHttpNegotiate {
public:
    CDownloadStatusCallback() = default;
    CDownloadStatusCallback(const CDownloadStatusCallback&) = delete;
    CDownloadStatusCallback& operator=(const CDownloadStatusCallback&) = delete;
    virtual ~CDownloadStatusCallback() = default;

    // Hands out IHttpNegotiate only.
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 0; }
    STDMETHODIMP_(ULONG) Release() override { return 0; }
    STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnLowResource(DWORD) override { return E_NOTIMPL; }
    // S_OK, or E_ABORT at the first report after the deadline (whole seconds, strictly
    // later). A transfer that stops reporting is not cut short here.
    STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                            LPCWSTR statusText) override;
    STDMETHODIMP OnStopBinding(HRESULT, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetBindInfo(DWORD*, BINDINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }

    STDMETHODIMP BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional) override;
    // Records the status; the request goes on unchanged.
    STDMETHODIMP OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR, LPWSTR* additional) override;

    // False after an abort (Wine may still report success), when the server answered with
    // a status outside 2xx, or when the last report counted fewer bytes than announced.
    bool IsComplete() const;

    BOOL m_bUseDeadline = FALSE;
    long long m_tDeadline = 0; // seconds since 1970-01-01 UTC

private:
    DWORD m_dwResponseCode = 0; // 0 until the service has seen a response
    ULONG m_ulReceived = 0;
    ULONG m_ulExpected = 0; // 0 when the length is not known
    bool m_bAborted = false;
};
