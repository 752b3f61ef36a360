#include "updater/UpdateLog.h"

#include <cstdio>

#include <windows.h>

#include "base/Handle.h"
#include "updater/Package.h"
#include "updater/Text.h"

bool AppendToUpdateLog(const std::wstring& folder, const std::wstring& text) {
    if (folder.empty())
        return false;
    const std::wstring path = folder + L"\\" + kUpdateLogName;
    CKernelHandle log(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log.IsValid())
        return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::string line = stamp + ToUtf8(text) + "\r\n";
    DWORD written = 0;
    const bool whole =
        WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
        written == line.size();
    return log.Close() && whole;
}
