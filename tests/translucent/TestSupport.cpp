#include "TestSupport.h"
#include <psapi.h>
#include <cstdlib>
#include <string>

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
    // The build folder is compiled in; build/artifacts sits beside it.
    std::wstring dir = ZV_BIN_DIR;
    dir += L"\\..\\artifacts";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

namespace {

// Wine shows the Linux root as drive Z:.
std::string UnixPathOf(const std::wstring& winPath) {
    std::string path;
    for (wchar_t c : winPath.substr(winPath.rfind(L':') + 1))
        path += c == L'\\' ? '/' : static_cast<char>(c);
    return path;
}

} // namespace

bool StartLinuxCommand(const std::string& commandLine) {
    // Wine runs a Linux program given as a Z: path to it.
    std::string command = "Z:" + commandLine;
    const std::size_t end = command.find(' ');
    for (std::size_t i = 0; i < end && i < command.size(); ++i)
        if (command[i] == '/')
            command[i] = '\\';
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return false;
    // For a Linux program Wine leaves the process handle empty and the thread field undefined;
    // closing that value could close one of our own handles.
    if (pi.hProcess) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    return true;
}

std::wstring CaptureScreen(const std::wstring& name) {
    wchar_t full[MAX_PATH];
    if (!::GetFullPathNameW((ArtifactsDir() + L"\\" + name).c_str(), MAX_PATH, full, nullptr))
        return L"";
    const std::wstring target = full;
    const std::string unixTarget = UnixPathOf(target);
    ::DeleteFileW(target.c_str());
    // The file appears at once, complete, when the capture is done.
    if (!StartLinuxCommand("/bin/sh -c \"import -window root '" + unixTarget +
                           ".part.png' && mv '" + unixTarget + ".part.png' '" + unixTarget + "'\""))
        return L"";
    for (int i = 0; i < 200; ++i) {
        if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
            return target;
        PumpMessages(50);
    }
    return L"";
}
