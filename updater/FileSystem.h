// The file operations an installation is made of, behind one seam so that tests can
// make any single one of them fail. Each returns 0 or the system's error code.
#pragma once
#include <string>

#include <windows.h>

class CFileSystem {
public:
    virtual ~CFileSystem() = default;

    virtual DWORD CreateFolder(const std::wstring& path);
    virtual DWORD RemoveFolder(const std::wstring& path);
    // Writes a complete copy of `from`, contents and times, to the new file `to` and
    // flushes it to the disk. Fails with ERROR_FILE_EXISTS when `to` exists; a failed
    // copy leaves no `to` behind.
    virtual DWORD CopyToNewFile(const std::wstring& from, const std::wstring& to);
    // Renames `from` to `to`; never replaces an existing `to`. A loaded library can be
    // renamed, though it can be neither overwritten nor deleted.
    virtual DWORD Rename(const std::wstring& from, const std::wstring& to);
    virtual DWORD RemoveFile(const std::wstring& path);
};
