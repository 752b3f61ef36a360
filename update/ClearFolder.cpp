#include "update/ClearFolder.h"

#include <cstring>

#include <windows.h>

#include "base/Handle.h"
#include "update/PathBuffer.h"
#include "update/UpdateConstants.h"

void ClearFolder(const char* folder) {
    if (!folder || !*folder)
        return;
    char pattern[zv::update::kClearPathBuffer];
    if (!BuildPath(pattern, {folder, "\\*.*"}))
        return;
    WIN32_FIND_DATAA found;
    CFindHandle listing(FindFirstFileA(pattern, &found));
    if (!listing.IsValid())
        return;
    do {
        if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
            continue;
        char path[zv::update::kClearPathBuffer];
        if (!BuildPath(path, {folder, "\\", found.cFileName}))
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A linked folder is unlinked, never emptied: its contents live elsewhere.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                ClearFolder(path);
            RemoveDirectoryA(path);
        } else {
            DeleteFileA(path);
        }
    } while (FindNextFileA(listing.Get(), &found));
}
