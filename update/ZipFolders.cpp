#include "update/ZipFolders.h"

#include <cstring>
#include <string>

#include "base/Handle.h"
#include "update/TextConvert.h"

bool CreateFolder(const wchar_t* path) {
    if (!path || !*path)
        return false;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;

    const std::wstring full(path);
    const std::size_t last = full.find_last_of(L'\\');
    if (last == std::wstring::npos)
        return true;
    if (!CreateFolder(full.substr(0, last).c_str()))
        return false;
    if (CreateDirectoryW(path, nullptr))
        return true;
    // "a\b\" names the folder "a\b" that the parent step has just made.
    const DWORD now = GetFileAttributesW(path);
    return now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateParentFolder(char* path) {
    char* last = path ? std::strrchr(path, '\\') : nullptr;
    if (!last)
        return false;
    *last = '\0';
    HeapText<wchar_t> wide = ToWide(path);
    return wide && CreateFolder(wide.get());
}

bool SetFileTimeFromDos(HANDLE file, DWORD dosDateTime) {
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(HIWORD(dosDateTime), LOWORD(dosDateTime), &local) ||
        !LocalFileTimeToFileTime(&local, &utc))
        return false;
    // No last-access time: the one the file has stays.
    return SetFileTime(file, &utc, nullptr, &utc) != FALSE;
}

bool SetFileTimeFromDos(const wchar_t* path, DWORD dosDateTime) {
    CKernelHandle file(
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid())
        return false;
    return SetFileTimeFromDos(file.Get(), dosDateTime) && file.Close();
}
