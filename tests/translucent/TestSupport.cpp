#include "TestSupport.h"
#include <psapi.h>
#include <cstdlib>

std::size_t HeapBusyBytes() {
    HANDLE heap = ::GetProcessHeap();
    std::size_t busy = 0;
    if (!::HeapLock(heap))
        return 0;
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    }
    ::HeapUnlock(heap);
    return busy;
}

std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters)))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

void PumpMessages(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms)
            ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

std::wstring ArtifactsDir() {
    const wchar_t* bin = _wgetenv(L"ZV_BIN");
    std::wstring dir = bin ? bin : L".";
    dir += L"\\..\\artifacts";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}
