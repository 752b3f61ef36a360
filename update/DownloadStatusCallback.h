// The status callback of one binding: the deadline at progress reports, the data
// written to the download's file, and the evidence that the reply was the whole body.
#pragma once
#include <string>

#include <windows.h>
#include <urlmon.h>

// Only http and https addresses are fetched, also at the end of a redirect: anything
// else could read local files or other services.
bool IsWebAddress(const wchar_t* url);

// One binding of one address, on the thread that runs the binding's message loop; the
// service calls it on that thread only.
//
// It binds asynchronously and pulls the data itself, so nothing goes through the
// service's cache file: the data go straight into `file`, and Wine's download-to-file
// wrapper (which ignores the binding options and copies its cache file over the target
// whatever the outcome) is not involved. It answers IHttpNegotiate to learn the status
// and the announced length, and, through IServiceProvider, IBindCallbackRedirect to hear
// of every redirect: it cancels each one, resolves its target, and leaves it to the
// caller to bind that anew (NextAddress()), counting them all.
//
// Reference counted: the service may hold it a little longer than the binding runs.
class CDownloadStatusCallback final : public IBindStatusCallback,
                                      public IHttpNegotiate,
                                      public IServiceProvider,
                                      public IBindCallbackRedirect {
public:
    // Binds `url`, writing into `file` (not owned) at most `maxBytes` bytes, after
    // `redirects` redirects already followed on the way to it.
    CDownloadStatusCallback(const std::wstring& url, HANDLE file, unsigned long long maxBytes,
                            unsigned redirects);
    CDownloadStatusCallback(const CDownloadStatusCallback&) = delete;
    CDownloadStatusCallback& operator=(const CDownloadStatusCallback&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // Keeps the binding, so that Abort() can stop it.
    STDMETHODIMP OnStartBinding(DWORD, IBinding* binding) override;
    STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnLowResource(DWORD) override { return E_NOTIMPL; }
    // S_OK, or E_ABORT at the first report after the deadline (whole seconds, strictly
    // later). A transfer that stops reporting is not cut short here.
    STDMETHODIMP OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                            LPCWSTR statusText) override;
    STDMETHODIMP OnStopBinding(HRESULT result, LPCWSTR error) override;
    // Asynchronous with the data pulled here, the newest version asked for, nothing
    // written to the cache, and no redirect followed without asking Redirect().
    STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override;
    STDMETHODIMP OnDataAvailable(DWORD flags, DWORD size, FORMATETC*, STGMEDIUM* medium) override;
    STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }

    STDMETHODIMP BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional) override;
    // Records the status and the headers that matter; the request goes on unchanged.
    STDMETHODIMP OnResponse(DWORD responseCode, LPCWSTR headers, LPCWSTR,
                            LPWSTR* additional) override;

    // Hands out IHttpNegotiate and IBindCallbackRedirect.
    STDMETHODIMP QueryService(REFGUID service, REFIID riid, void** object) override;
    // Cancels the redirect; NextAddress() is then its target when that is an http or
    // https address and no more than kMaxRedirects redirects have been seen in all.
    STDMETHODIMP Redirect(LPCWSTR url, VARIANT_BOOL* cancel) override;

    // Stops the binding; it then ends with a failure.
    void Abort();
    bool IsStopped() const { return m_bStopped; }
    // When data last arrived (GetTickCount64), or 0.
    ULONGLONG LastDataTick() const { return m_ullLastData; }

    // True when the binding ended well with a 2xx status, an announced length and
    // exactly that many bytes written. A reply without a status or without a length is
    // not complete.
    bool IsComplete() const;
    // The resolved target of a redirect, still to be bound, or empty.
    const std::wstring& NextAddress() const { return m_strNext; }
    unsigned Redirects() const { return m_nRedirects; }

    BOOL m_bUseDeadline = FALSE;
    long long m_tDeadline = 0; // seconds since 1970-01-01 UTC

private:
    ~CDownloadStatusCallback();
    bool Write(const BYTE* data, ULONG size);

    LONG m_nRefs = 1;
    HANDLE m_hFile;
    unsigned long long m_ullMaxBytes;
    IBinding* m_pBinding = nullptr;
    IStream* m_pStream = nullptr;
    bool m_bStopped = false;
    bool m_bAborted = false;
    HRESULT m_hrStop = S_OK;
    DWORD m_dwStatus = 0; // 0 until a response has been seen
    bool m_bLengthKnown = false;
    unsigned long long m_ullLength = 0;
    unsigned long long m_ullWritten = 0;
    ULONGLONG m_ullLastData = 0;
    std::wstring m_strUrl;
    std::wstring m_strNext;
    unsigned m_nRedirects;
};
