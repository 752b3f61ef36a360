#include "update/Download.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <new>

#include "update/DownloadJob.h"

namespace {

using JobRef = std::shared_ptr<CDownloadJob>;

// After a limit has passed, the caller gives the thread this long: its own network waits
// end at the same limit, so it normally ends the transfer and removes its temporary itself.
constexpr DWORD kAbandonGraceMs = 200;
constexpr DWORD kWaitSliceMs = 50;

// A new empty file beside `path`, named so that it is no longer than "Zorvane.zip":
// whatever path fits the engine's buffers, its temporary fits too.
std::wstring CreateTemporaryBeside(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
    static std::atomic<unsigned> counter{GetTickCount()};
    for (int attempt = 0; attempt < 64; ++attempt) {
        wchar_t name[16];
        std::swprintf(name, std::size(name), L"\\~zv%04X.tmp",
                      (GetCurrentProcessId() * 31 + counter++) & 0xFFFF);
        const std::wstring temp = folder + name;
        CKernelHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsValid())
            return temp;
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return {};
}

DWORD WINAPI DownloadThread(void* param) {
    const std::unique_ptr<JobRef> holder(static_cast<JobRef*>(param));
    CDownloadJob& job = **holder;
    const HRESULT result = RunDownload(job);
    job.hrResult = result;
    int running = CDownloadJob::Running;
    // Abandoned meanwhile: the caller has gone, and nothing is put in place.
    const bool abandoned = !job.state.compare_exchange_strong(running, CDownloadJob::Finished);
    if (FAILED(result) || abandoned)
        DeleteFileW(job.strTemp.c_str());
    SetEvent(job.done.Get());
    return 0;
}

// Waits for the thread; false when the caller has abandoned the transfer instead.
bool WaitForTransfer(CDownloadJob& job) {
    while (WaitForSingleObject(job.done.Get(), kWaitSliceMs) == WAIT_TIMEOUT) {
        if (!IsPastLimits(job, kAbandonGraceMs))
            continue;
        int running = CDownloadJob::Running;
        if (!job.state.compare_exchange_strong(running, CDownloadJob::Abandoned))
            break; // finished just now
        WaitForSingleObject(job.done.Get(), kAbandonGraceMs);
        return false;
    }
    WaitForSingleObject(job.done.Get(), INFINITE);
    return true;
}

} // namespace

HRESULT DownloadToFile(const std::wstring& url, const std::wstring& path,
                       const DownloadLimits& limits) {
    auto job = std::make_shared<CDownloadJob>();
    job->strUrl = url;
    job->limits = limits;
    job->ullStartTick = GetTickCount64();
    job->ullLastData = job->ullStartTick;
    job->tStart = static_cast<long long>(std::time(nullptr));
    job->done = CKernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!job->done.IsValid())
        return E_FAIL;
    job->strTemp = CreateTemporaryBeside(path);
    if (job->strTemp.empty())
        return HRESULT_FROM_WIN32(ERROR_CANNOT_MAKE);

    auto* param = new (std::nothrow) JobRef(job);
    HANDLE thread = param ? CreateThread(nullptr, 0, DownloadThread, param, 0, nullptr) : nullptr;
    if (!thread) {
        delete param;
        DeleteFileW(job->strTemp.c_str());
        return E_FAIL;
    }
    CloseHandle(thread);

    if (!WaitForTransfer(*job))
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    if (FAILED(job->hrResult))
        return job->hrResult;
    if (!MoveFileExW(job->strTemp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const HRESULT moved = HRESULT_FROM_WIN32(GetLastError());
        DeleteFileW(job->strTemp.c_str());
        return moved;
    }
    return S_OK;
}

HRESULT DownloadToFile(const std::wstring& url, const std::wstring& path, bool bUseDeadline) {
    return DownloadToFile(url, path, bUseDeadline ? kVersionArchiveDownload : kPackageDownload);
}
