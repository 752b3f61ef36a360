#include "update/ClearFolder.h"

#include <cstring>

#include <windows.h>

#include "update/PathBuffer.h"
#include "update/UpdateConstants.h"

namespace {

class CFindHandle {
public:
    explicit CFindHandle(HANDLE handle) : m_handle(handle) {}
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;
    ~CFindHandle() {
        if (m_handle != INVALID_HANDLE_VALUE)
            FindClose(m_handle);
    }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

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
