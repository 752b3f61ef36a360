// The download thread: plain blocking requests, every wait bounded by the limits, so that
// the thread gets control back to look at the clock and at the caller.
#include <algorithm>
#include <vector>

#include "update/DownloadJob.h"
#include "update/DownloadStatusCallback.h"
#include "update/HttpRequest.h"

using namespace zv::update;

namespace {

// Body data are taken in pieces of up to this size. A read waits until its piece is full,
// so a piece is only ever larger than what has arrived while the data pour in (few large
// reads are what make a fast line fast); otherwise the thread takes what has arrived and
// sees every byte come, so a slow line is never taken for a silent one.
constexpr DWORD kReadBuffer = 256 * 1024;
// Arrived data fill the client's own buffer (8 KB in Wine) only while they pour in.
constexpr DWORD kPouring = 8 * 1024;
constexpr ULONGLONG kQuickReadMs = 100;
constexpr ULONGLONG kSlowReadMs = 300;
// The longest address the client takes.
constexpr DWORD kMaxUrl = 2084;

bool IsOverLimits(const CDownloadJob& job) {
    return job.state.load() == CDownloadJob::Abandoned || IsPastLimits(job, 0);
}

// How long one network wait may last: what is left of the total, or the stall limit.
DWORD WaitLimitMs(const CDownloadJob& job) {
    if (job.limits.totalMs) {
        const ULONGLONG spent = GetTickCount64() - job.ullStartTick;
        return spent >= job.limits.totalMs ? 1 : static_cast<DWORD>(job.limits.totalMs - spent);
    }
    return job.limits.stallMs ? job.limits.stallMs : INFINITE;
}

// What the callback asks of the binding, as request flags. The client never follows a
// redirect by itself, whatever is asked: the download counts them.
DWORD RequestFlags(CDownloadStatusCallback& callback) {
    DWORD bindFlags = 0;
    BINDINFO info{};
    info.cbSize = sizeof info;
    DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    if (FAILED(callback.GetBindInfo(&bindFlags, &info)))
        return flags;
    if (bindFlags & BINDF_GETNEWESTVERSION)
        flags |= INTERNET_FLAG_RELOAD;
    if (bindFlags & BINDF_NOWRITECACHE)
        flags |= INTERNET_FLAG_NO_CACHE_WRITE;
    if (bindFlags & BINDF_PRAGMA_NO_CACHE)
        flags |= INTERNET_FLAG_PRAGMA_NOCACHE;
    return flags;
}

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// `location` resolved against the address that answered with it; empty when it is no
// http or https address.
std::wstring NextAddress(const std::wstring& current, const std::wstring& location) {
    wchar_t combined[kMaxUrl];
    DWORD length = kMaxUrl;
    if (location.empty() ||
        !InternetCombineUrlW(current.c_str(), location.c_str(), combined, &length, ICU_NO_ENCODE) ||
        !IsWebAddress(combined))
        return {};
    return combined;
}

// The next piece to read: what has arrived unless the data pour in; then twice as much
// as last time while the reads stay quick, half as much when they slow down.
DWORD NextPiece(DWORD piece, DWORD available, ULONGLONG tookMs) {
    if (available < kPouring)
        return 0;
    if (tookMs < kQuickReadMs)
        return std::min(std::max(piece, kPouring) * 2, kReadBuffer);
    return tookMs > kSlowReadMs ? piece / 2 : piece;
}

// Takes in the body of an accepted reply: exactly the announced length, within the limits,
// each piece reported to the callback.
HRESULT ReceiveBody(CDownloadJob& job, CHttpRequest& request, HANDLE file,
                    CDownloadStatusCallback& callback, const std::wstring& url) {
    unsigned long long length = 0;
    // Without an announced length a cut body looks like a whole one.
    if (!request.Length(length) || length > job.limits.maxBytes)
        return INET_E_DOWNLOAD_FAILURE;
    const ULONG max = static_cast<ULONG>(std::min<unsigned long long>(length, 0xFFFFFFFFu));
    if (callback.OnProgress(0, max, BINDSTATUS_BEGINDOWNLOADDATA, url.c_str()) == E_ABORT)
        return E_ABORT;
    std::vector<BYTE> buffer(kReadBuffer);
    unsigned long long received = 0;
    DWORD piece = 0;
    for (;;) {
        const ULONGLONG started = GetTickCount64();
        DWORD available = 0;
        if (!request.Available(available))
            return INET_E_DOWNLOAD_FAILURE;
        if (available == 0)
            break;
        const DWORD want = static_cast<DWORD>(
            std::min<unsigned long long>(std::max(available, piece), length - received));
        DWORD read = 0;
        DWORD written = 0;
        if (want == 0 || !request.Read(buffer.data(), want, read) || read == 0 ||
            !WriteFile(file, buffer.data(), read, &written, nullptr) || written != read)
            return INET_E_DOWNLOAD_FAILURE;
        received += read;
        job.ullLastData = GetTickCount64();
        piece = NextPiece(piece, available, job.ullLastData.load() - started);
        const ULONG progress = static_cast<ULONG>(std::min<unsigned long long>(received, max));
        if (callback.OnProgress(progress, max, BINDSTATUS_DOWNLOADINGDATA, url.c_str()) == E_ABORT)
            return E_ABORT;
        if (IsOverLimits(job))
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    }
    if (received != length)
        return INET_E_DOWNLOAD_FAILURE;
    return callback.OnProgress(max, max, BINDSTATUS_ENDDOWNLOADDATA, url.c_str()) == E_ABORT
               ? E_ABORT
               : S_OK;
}

} // namespace

HRESULT RunDownload(CDownloadJob& job) {
    CKernelHandle file(CreateFileW(job.strTemp.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                   TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return HRESULT_FROM_WIN32(GetLastError());
    CDownloadStatusCallback callback;
    if (job.limits.bUseDeadline) {
        callback.m_bUseDeadline = TRUE;
        callback.m_tDeadline = job.tStart + kVersionDownloadSeconds;
    }
    const DWORD flags = RequestFlags(callback);
    CInternetHandle session = OpenInternetSession(WaitLimitMs(job));
    if (!session)
        return INET_E_NO_SESSION;

    std::wstring url = job.strUrl;
    HRESULT result = INET_E_DOWNLOAD_FAILURE;
    for (unsigned redirects = 0;; ++redirects) {
        CHttpRequest request;
        if (!IsWebAddress(url.c_str()) ||
            !request.Send(session.Get(), url, flags, WaitLimitMs(job)))
            break;
        if (IsOverLimits(job)) {
            result = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
            break;
        }
        const DWORD status = request.Status();
        if (IsRedirect(status)) {
            url = NextAddress(url, request.Header(HTTP_QUERY_LOCATION));
            if (redirects == kMaxRedirects || url.empty()) {
                result = INET_E_REDIRECT_FAILED;
                break;
            }
            continue;
        }
        // A reply without a status has none of 2xx.
        if (status >= 200 && status <= 299)
            result = ReceiveBody(job, request, file.Get(), callback, url);
        break;
    }
    if (!file.Close() && SUCCEEDED(result))
        result = E_FAIL;
    return result;
}
