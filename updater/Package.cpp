#include "updater/Package.h"

#include <algorithm>

#include <windows.h>

#include "base/Handle.h"
#include "update/UpdateConstants.h"
#include "updater/Text.h"

using namespace zv::update;

namespace {

bool IsLeftOut(const std::wstring& name) {
    for (const char* own : {kHandOverFileName, kVersionFileName, kVersionZipName, kLauncherZipName})
        if (SameName(name, Widen(own)))
            return true;
    return SameName(name, kUpdateLogName);
}

bool ListFolder(const std::wstring& root, const std::wstring& relative,
                std::vector<std::wstring>& files, std::wstring& reason) {
    const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
    WIN32_FIND_DATAW found;
    CFindHandle listing(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!listing.IsValid()) {
        reason = L"the update folder \"" + folder + L"\" cannot be listed (" +
                 ErrorText(GetLastError()) + L")";
        return false;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        // Links could reach anywhere; the launcher's extractor never makes them.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            reason = L"the package holds a link, \"" + path + L"\"";
            return false;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // It would land on the update folder itself.
            if (relative.empty() && SameName(name, Widen(kUpdateFolderName))) {
                reason = L"the package holds a folder \"" + name + L"\"";
                return false;
            }
            if (!ListFolder(root, path, files, reason))
                return false;
        } else if (!relative.empty() || !IsLeftOut(name)) {
            files.push_back(path);
        }
    } while (FindNextFileW(listing.Get(), &found));
    return true;
}

} // namespace

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool ListPackage(const std::wstring& updateDir, std::vector<std::wstring>& files,
                 std::wstring& reason) {
    files.clear();
    if (!ListFolder(updateDir, L"", files, reason))
        return false;
    std::sort(files.begin(), files.end());
    return true;
}
