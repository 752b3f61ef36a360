// The status callback of a download: the deadline at progress reports, and the binding
// options the download asks for.
#pragma once

#include <windows.h>
#include <urlmon.h>

// Only http and https addresses are fetched, also at the end of a redirect: anything
// else could read local files or other services.
bool IsWebAddress(const wchar_t* url);

// Lives on the downloading thread's stack for one download; it counts no references
// and hands out no interface. The download calls it on that thread only.
class CDownloadStatusCallback final : public IBindStatusCallback {
public:
    CDownloadStatusCallback() = default;
    CDownloadStatusCallback(const CDownloadStatusCallback&) = delete;
    CDownloadStatusCallback& operator=(const CDownloadStatusCallback&) = delete;

    STDMETHODIMP QueryInterface(REFIID, void** object) override;
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
    // The newest version from the server, nothing written to the cache, and no redirect
    // followed by the service: the download follows and counts them itself.
    STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
    STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }

    BOOL m_bUseDeadline = FALSE;
    long long m_tDeadline = 0; // seconds since 1970-01-01 UTC
};
