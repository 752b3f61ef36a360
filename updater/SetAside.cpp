#include "updater/SetAside.h"

#include <windows.h>

#include "base/Handle.h"

namespace {

constexpr wchar_t kPrefix[] = L"zorvane-updater-";
constexpr int kNameAttempts = 100;

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(temp, length);
}

} // namespace

void SetAside(CFileSystem& files, const std::wstring& backup) {
    const std::wstring folder = TempFolder();
    if (folder.empty())
        return;
    const std::wstring prefix = folder + kPrefix + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int n = 0; n < kNameAttempts; ++n) {
        const DWORD error = files.Rename(backup, prefix + std::to_wstring(n) + L".old");
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return;
    }
}

void RemoveSetAside() {
    const std::wstring folder = TempFolder();
    if (folder.empty())
        return;
    WIN32_FIND_DATAW found;
    CFindHandle listing(FindFirstFileW((folder + kPrefix + L"*.old").c_str(), &found));
    if (!listing.IsValid())
        return;
    do
        DeleteFileW((folder + found.cFileName).c_str());
    while (FindNextFileW(listing.Get(), &found));
}
