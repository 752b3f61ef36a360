#include "updater/LauncherWait.h"

#include "base/Handle.h"
#include "updater/Package.h"
#include "updater/Text.h"

namespace {

bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    // No access is needed for the identity, so files held without sharing still answer.
    CKernelHandle file(CreateFileW(path.c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.IsValid() && GetFileInformationByHandle(file.Get(), &info);
}

std::wstring ImageOf(HANDLE process) {
    wchar_t image[32768];
    DWORD size = sizeof image / sizeof image[0];
    return QueryFullProcessImageNameW(process, 0, image, &size) ? std::wstring(image, size)
                                                                : std::wstring();
}

} // namespace

bool IsSameFile(const std::wstring& a, const std::wstring& b) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    if (FileIdentity(a, first) && FileIdentity(b, second))
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh &&
               first.nFileIndexLow == second.nFileIndexLow;
    return SameName(a, b);
}

LauncherWait WaitForLauncher(const CHandOver& handOver, DWORD waitMs, std::wstring& reason) {
    const std::wstring id = std::to_wstring(handOver.processId);
    CKernelHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, handOver.processId));
    if (!process.IsValid()) {
        if (GetLastError() == ERROR_INVALID_PARAMETER)
            return LauncherWait::Ended; // no process has that id any more
        reason = L"process " + id +
                 L" cannot be looked at, so it cannot be told to be the "
                 L"launcher (error " +
                 std::to_wstring(GetLastError()) + L")";
        return LauncherWait::NotLauncher;
    }
    if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0)
        return LauncherWait::Ended;

    const std::wstring image = ImageOf(process.Get());
    if (image.empty() || !IsSameFile(image, Widen(handOver.exePath))) {
        // Ids are reused: a process started after the launcher wrote the hand-over means
        // the launcher is gone. One that was already running is simply not the launcher.
        FILETIME created{}, exited{}, kernel{}, user{};
        if (GetProcessTimes(process.Get(), &created, &exited, &kernel, &user) &&
            CompareFileTime(&created, &handOver.written) > 0)
            return LauncherWait::Ended;
        reason = L"process " + id + L" is \"" + image + L"\", not the launcher \"" +
                 Widen(handOver.exePath) + L"\"";
        return LauncherWait::NotLauncher;
    }
    if (WaitForSingleObject(process.Get(), waitMs) == WAIT_OBJECT_0)
        return LauncherWait::Ended;
    reason = L"the launcher (process " + id + L") was still running after " +
             std::to_wstring(waitMs / 1000) + L" seconds";
    return LauncherWait::StillRunning;
}
