// What the waiting caller and the download thread share: nothing else crosses over.
#pragma once
#include <atomic>
#include <string>

#include <windows.h>

#include "base/Handle.h"
#include "update/Download.h"

struct CDownloadJob {
    enum State { Running, Finished, Abandoned };

    // Set before the thread starts, read-only afterwards.
    std::wstring strUrl;
    std::wstring strTemp; // created empty by the caller
    DownloadLimits limits{};
    ULONGLONG ullStartTick = 0;
    long long tStart = 0; // seconds since 1970-01-01 UTC, for the deadline at reports

    // When body data last arrived (GetTickCount64), or the start.
    std::atomic<ULONGLONG> ullLastData{0};
    // Running until the thread finishes or the caller abandons it; whoever moves it
    // first decides, so a finished transfer is never abandoned and vice versa.
    std::atomic<int> state{Running};
    HRESULT hrResult = E_FAIL; // written by the thread before it moves state to Finished
    CKernelHandle done;        // manual-reset event, set when the thread is through
};

// A limit has passed by `graceMs`: the whole transfer's time, or the time since data last came.
inline bool IsPastLimits(const CDownloadJob& job, ULONGLONG graceMs) {
    const ULONGLONG now = GetTickCount64();
    if (job.limits.totalMs && now - job.ullStartTick >= job.limits.totalMs + graceMs)
        return true;
    return job.limits.stallMs && now - job.ullLastData.load() >= job.limits.stallMs + graceMs;
}

// The thread's work: fetches the address (following redirects) into the temporary and
// returns how that went; the temporary is then closed.
HRESULT RunDownload(CDownloadJob& job);
