#include "update/ZipExtractor.h"

#include <cstring>
#include <cwchar>

#include "update/EntryPath.h"
#include "update/FileHandle.h"
#include "update/PathBuffer.h"
#include "update/TextConvert.h"
#include "update/UpdateConstants.h"
#include "update/ZipFolders.h"

using zv::update::kPathBuffer;

namespace {

// Creates or replaces the file. Most files are new and are created outright; only an
// existing one is looked at first, since Windows refuses to replace a read-only file and
// Wine run as root would not.
CFileHandle CreateOutputFile(const char* path) {
    CFileHandle out(
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.IsValid() || GetLastError() != ERROR_FILE_EXISTS)
        return out;
    const DWORD existing = GetFileAttributesA(path);
    if (existing == INVALID_FILE_ATTRIBUTES || (existing & FILE_ATTRIBUTE_READONLY))
        return out;
    return CFileHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

CZipExtractor::CZipExtractor(const wchar_t* zipPath) {
    Open(zipPath);
}

CZipExtractor::~CZipExtractor() {
    Close();
}

bool CZipExtractor::Open(const wchar_t* zipPath) {
    Close();
    if (!zipPath || !*zipPath)
        return false;
    wchar_t full[260];
    const DWORD length = GetFullPathNameW(zipPath, 260, full, nullptr);
    if (length == 0 || length >= 260)
        return false;
    HeapText<char> narrow = ToAnsi(full);
    if (!narrow)
        return false;
    m_hZip = unzOpen(narrow.get());
    return m_hZip != nullptr;
}

void CZipExtractor::Close() {
    if (m_hZip) {
        unzCloseCurrentFile(m_hZip);
        unzClose(m_hZip);
        m_hZip = nullptr;
    }
    m_szOutputFolder[0] = L'\0';
}

bool CZipExtractor::SetOutputFolder(const wchar_t* folder) {
    if (!m_hZip || !folder)
        return false;
    const DWORD attributes = GetFileAttributesW(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const std::size_t length = std::wcslen(folder);
    if (length >= std::size(m_szOutputFolder))
        return false;
    std::wmemcpy(m_szOutputFolder, folder, length + 1);
    return CreateFolder(m_szOutputFolder);
}

bool CZipExtractor::FirstEntry() {
    return m_hZip && unzGoToFirstFile(m_hZip) == UNZ_OK;
}

bool CZipExtractor::NextEntry() {
    return m_hZip && unzGoToNextFile(m_hZip) == UNZ_OK;
}

bool CZipExtractor::GetEntryInfo(ZipEntryInfo& info) {
    if (!m_hZip)
        return false;
    info = ZipEntryInfo{};
    unz_file_info raw{};
    if (unzGetCurrentFileInfo(m_hZip, &raw, info.szName, 260, nullptr, 0, info.szComment, 255) !=
        UNZ_OK)
        return false;
    // A longer name was cut by the library; a cut path could name something else.
    if (raw.size_filename > 260)
        return false;
    info.dwVersion = raw.version;
    info.dwVersionNeeded = raw.version_needed;
    info.dwFlags = raw.flag;
    info.dwCompressionMethod = raw.compression_method;
    info.dwDosDate = raw.dosDate;
    info.dwCrc = raw.crc;
    info.dwCompressedSize = raw.compressed_size;
    info.dwUncompressedSize = raw.uncompressed_size;
    info.dwInternalAttributes = raw.internal_fa;
    info.dwExternalAttributes = raw.external_fa;
    for (char* c = info.szName; *c; ++c) {
        if (*c == '/')
            *c = '\\';
    }
    info.bFolder = (info.dwExternalAttributes & 0x10) != 0;
    return true;
}

bool CZipExtractor::ExtractEntry(const wchar_t* folder, bool bIgnorePath) {
    if (!m_hZip)
        return false;
    if (!folder)
        folder = m_szOutputFolder;
    if (!*folder)
        return false;
    ZipEntryInfo info;
    if (!GetEntryInfo(info))
        return false;

    const char* name = info.szName;
    if (bIgnorePath && !info.bFolder) {
        if (const char* last = std::strrchr(name, '\\'))
            name = last + 1;
    }
    if (!IsSafeEntryPath(name))
        return false;

    HeapText<char> base = ToAnsi(folder);
    if (!base || !*base.get())
        return false;
    const char tail = base.get()[std::strlen(base.get()) - 1];
    const bool hasSeparator = tail == '\\' || tail == '/';
    char path[kPathBuffer];
    if (!BuildPath(path, {base.get(), hasSeparator ? "" : "\\", name}))
        return false;

    if (info.bFolder) {
        HeapText<wchar_t> wide = ToWide(path);
        return wide && CreateFolder(wide.get());
    }
    return ExtractFile(path, info.dwDosDate);
}

bool CZipExtractor::ExtractFile(const char* path, DWORD dosDate) {
    char parent[kPathBuffer];
    std::memcpy(parent, path, std::strlen(path) + 1);
    if (!CreateParentFolder(parent))
        return false;

    CFileHandle out = CreateOutputFile(path);
    if (!out.IsValid())
        return false;
    bool ok = unzOpenCurrentFile(m_hZip) == UNZ_OK;
    if (ok) {
        char buffer[2048];
        for (;;) {
            const int count = unzReadCurrentFile(m_hZip, buffer, sizeof buffer);
            if (count == 0)
                break;
            DWORD written = 0;
            if (count < 0 ||
                !WriteFile(out.Get(), buffer, static_cast<DWORD>(count), &written, nullptr) ||
                written != static_cast<DWORD>(count)) {
                ok = false;
                break;
            }
        }
        // The library compares the CRC here, once the whole entry has been read.
        const int closed = unzCloseCurrentFile(m_hZip);
        ok = ok && closed == UNZ_OK;
    }
    ok = out.Close() && ok;
    if (!ok) {
        // Nothing half written or unchecked may pass for a good file later.
        DeleteFileA(path);
        return false;
    }
    HeapText<wchar_t> wide = ToWide(path);
    if (wide)
        SetFileTimeFromDos(wide.get(), dosDate);
    return true;
}

bool CZipExtractor::ExtractAll(const wchar_t* folder, bool bIgnorePath) {
    if (!m_hZip)
        return false;
    unz_global_info global{};
    if (unzGetGlobalInfo(m_hZip, &global) != UNZ_OK || global.number_entry == 0)
        return false;
    if (!FirstEntry())
        return false;
    do {
        if (!ExtractEntry(folder, bIgnorePath))
            return false;
    } while (NextEntry());
    return true;
}
