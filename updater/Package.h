// The unpacked package in the update folder: which of its files get installed.
#pragma once
#include <string>
#include <vector>

// The update folder's files that belong to the package, as paths relative to it with
// backslashes, sorted. Left out at its top: the hand-over file, the version file, the two
// archives and the updater's log. False, with `reason`, when the folder cannot be listed
// or holds a link or a folder named like the update folder itself.
bool ListPackage(const std::wstring& updateDir, std::vector<std::wstring>& files,
                 std::wstring& reason);

// True when `a` and `b` are the same name to the file system (case is ignored).
bool SameName(const std::wstring& a, const std::wstring& b);

inline constexpr wchar_t kUpdateLogName[] = L"update.log";
