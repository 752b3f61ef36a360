#include "bench/TreeList.h"

#include <cstdio>
#include <set>
#include <string>

#include <windows.h>

namespace {

unsigned long long Ticks(const FILETIME& time) {
    return static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

void Collect(const std::wstring& folder, const std::wstring& prefix,
             std::set<std::wstring>& lines) {
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Collect(folder + L"\\" + name, prefix + name + L"/", lines);
            continue;
        }
        wchar_t line[64];
        std::swprintf(line, std::size(line), L" %llu %llu %llu",
                      static_cast<unsigned long long>(found.nFileSizeHigh) << 32 |
                          found.nFileSizeLow,
                      Ticks(found.ftCreationTime), Ticks(found.ftLastWriteTime));
        lines.insert(prefix + name + line);
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
}

} // namespace

int PrintTree(const wchar_t* folder) {
    std::set<std::wstring> lines;
    Collect(folder, L"", lines);
    for (const auto& line : lines)
        std::wprintf(L"%ls\n", line.c_str());
    return lines.empty() ? 1 : 0;
}
