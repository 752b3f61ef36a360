// The download thread: asynchronous bindings driven by a message loop of our own, so
// that the thread always gets control back to watch the limits and the caller.
#include <objbase.h>
#include <urlmon.h>

#include "base/ComPtr.h"
#include "update/DownloadJob.h"
#include "update/DownloadStatusCallback.h"

using namespace zv::update;

namespace {

// How often the loop looks at the clock and the caller while nothing happens.
constexpr DWORD kPollMs = 50;
// How long an aborted binding is given to report its stop before the thread leaves it.
constexpr ULONGLONG kStopGraceMs = 1000;

bool IsOverLimits(const CDownloadJob& job, ULONGLONG now) {
    if (job.state.load() == CDownloadJob::Abandoned)
        return true;
    if (job.limits.totalMs && now - job.ullStartTick >= job.limits.totalMs)
        return true;
    return job.limits.stallMs && now - job.ullLastData.load() >= job.limits.stallMs;
}

// Runs the thread's messages (the service's notifications arrive as window messages)
// until the binding has stopped, aborting it once a limit has passed.
void PumpUntilStopped(CDownloadJob& job, CDownloadStatusCallback& callback) {
    ULONGLONG abortedAt = 0;
    while (!callback.IsStopped()) {
        HANDLE wake = job.wake.Get();
        MsgWaitForMultipleObjects(1, &wake, FALSE, kPollMs, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (callback.LastDataTick() > job.ullLastData.load())
            job.ullLastData = callback.LastDataTick();
        const ULONGLONG now = GetTickCount64();
        if (!abortedAt && IsOverLimits(job, now)) {
            callback.Abort();
            abortedAt = now;
        }
        if (abortedAt && now - abortedAt >= kStopGraceMs)
            return;
    }
}

// A redirect: bind the address it names.
constexpr HRESULT kRedirected = S_FALSE;

// Binds `url` into `file` from its start and runs the binding to its end. kRedirected
// with `url` changed when the server sent the transfer elsewhere.
HRESULT Bind(CDownloadJob& job, std::wstring& url, HANDLE file, unsigned& redirects) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !SetEndOfFile(file))
        return E_FAIL;
    CComPtr<IMoniker> moniker;
    if (!IsWebAddress(url.c_str()) ||
        FAILED(CreateURLMonikerEx(nullptr, url.c_str(), moniker.Receive(), URL_MK_UNIFORM)))
        return INET_E_INVALID_URL;

    auto* callback =
        new (std::nothrow) CDownloadStatusCallback(url, file, job.limits.maxBytes, redirects);
    if (!callback)
        return E_OUTOFMEMORY;
    CComPtr<IBindStatusCallback> owner = CComPtr<IBindStatusCallback>::Adopt(callback);
    if (job.limits.bUseDeadline) {
        callback->m_bUseDeadline = TRUE;
        callback->m_tDeadline = job.tStart + kVersionDownloadSeconds;
    }
    CComPtr<IBindCtx> context;
    if (FAILED(CreateAsyncBindCtx(0, callback, nullptr, context.Receive())))
        return E_FAIL;
    CComPtr<IStream> stream;
    const HRESULT started = moniker->BindToStorage(context.Get(), nullptr, IID_IStream,
                                                   reinterpret_cast<void**>(stream.Receive()));
    if (FAILED(started) && !callback->IsStopped())
        return started;
    PumpUntilStopped(job, *callback);
    redirects = callback->Redirects();
    if (callback->IsComplete())
        return S_OK;
    if (callback->NextAddress().empty() || job.state.load() == CDownloadJob::Abandoned)
        return INET_E_DOWNLOAD_FAILURE;
    url = callback->NextAddress();
    return kRedirected;
}

} // namespace

HRESULT RunDownload(CDownloadJob& job) {
    CKernelHandle file(CreateFileW(job.strTemp.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                   TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return HRESULT_FROM_WIN32(GetLastError());
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com))
        return com;
    std::wstring url = job.strUrl;
    unsigned redirects = 0;
    HRESULT result = kRedirected;
    while (result == kRedirected)
        result = Bind(job, url, file.Get(), redirects);
    CoUninitialize();
    if (!file.Close() && SUCCEEDED(result))
        result = E_FAIL;
    return result;
}
