#include "updater/FileSystem.h"

#include <vector>

#include "base/Handle.h"

namespace {

DWORD Result(BOOL ok) {
    return ok ? ERROR_SUCCESS : GetLastError();
}

DWORD CopyContents(HANDLE in, HANDLE out) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return GetLastError();
        if (read == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(out, buffer.data(), read, &written, nullptr))
            return GetLastError();
        if (written != read)
            return ERROR_WRITE_FAULT;
    }
    FILETIME created{}, accessed{}, modified{};
    if (GetFileTime(in, &created, &accessed, &modified))
        SetFileTime(out, &created, nullptr, &modified);
    // The old file goes only once the new one is on the disk, not merely in the cache.
    return Result(FlushFileBuffers(out));
}

} // namespace

DWORD CFileSystem::CreateFolder(const std::wstring& path) {
    return Result(CreateDirectoryW(path.c_str(), nullptr));
}

DWORD CFileSystem::RemoveFolder(const std::wstring& path) {
    return Result(RemoveDirectoryW(path.c_str()));
}

DWORD CFileSystem::CopyToNewFile(const std::wstring& from, const std::wstring& to) {
    // Nobody may change the source while it is copied.
    CKernelHandle in(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.IsValid())
        return GetLastError();
    CKernelHandle out(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.IsValid())
        return GetLastError();
    DWORD error = CopyContents(in.Get(), out.Get());
    if (!out.Close() && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error != ERROR_SUCCESS)
        DeleteFileW(to.c_str());
    return error;
}

DWORD CFileSystem::Rename(const std::wstring& from, const std::wstring& to) {
    return Result(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH));
}

DWORD CFileSystem::RemoveFile(const std::wstring& path) {
    return Result(DeleteFileW(path.c_str()));
}
