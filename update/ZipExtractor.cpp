#include "update/ZipExtractor.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "base/Handle.h"
#include "update/EntryPath.h"
#include "update/TextConvert.h"
#include "update/ZipEntryData.h"
#include "update/ZipFolders.h"
#include "update/ZipSurvey.h"

using namespace zv::update;

namespace {

constexpr unsigned kFlagUtf8Name = 0x0800;
constexpr DWORD kDosFolderAttribute = 0x10;

// Creates or replaces the file. Most files are new and are created outright; only an
// existing one is looked at first, since Windows refuses to replace a read-only file and
// Wine run as root would not.
CKernelHandle CreateOutputFile(const wchar_t* path) {
    CKernelHandle out(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.IsValid() || GetLastError() != ERROR_FILE_EXISTS)
        return out;
    const DWORD existing = GetFileAttributesW(path);
    if (existing == INVALID_FILE_ATTRIBUTES || (existing & FILE_ATTRIBUTE_READONLY))
        return out;
    return CKernelHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Free bytes for the caller on the disk that holds `folder` or, while it does not exist
// yet, its nearest existing ancestor; 0 when none can be asked.
unsigned long long FreeBytesAt(std::wstring folder) {
    for (;;) {
        ULARGE_INTEGER available;
        if (GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
            return available.QuadPart;
        const std::size_t last = folder.find_last_of(L'\\');
        if (last == std::wstring::npos || last == 0)
            return 0;
        folder.resize(last);
    }
}

DWORD Saturated(unsigned long long size) {
    return static_cast<DWORD>(std::min<unsigned long long>(size, 0xFFFFFFFFu));
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
    wchar_t full[kPathBuffer];
    const DWORD length = GetFullPathNameW(zipPath, kPathBuffer, full, nullptr);
    if (length == 0 || length >= kPathBuffer)
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
    m_bEndOfList = false;
    m_strLastFolder.clear();
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
    m_bEndOfList = false;
    return m_hZip && unzGoToFirstFile(m_hZip) == UNZ_OK;
}

bool CZipExtractor::NextEntry() {
    if (!m_hZip)
        return false;
    const int status = unzGoToNextFile(m_hZip);
    m_bEndOfList = status == UNZ_END_OF_LIST_OF_FILE;
    return status == UNZ_OK;
}

bool CZipExtractor::ReadEntry(ZipEntryInfo& info, unz_file_info64& raw) {
    if (!m_hZip)
        return false;
    info = ZipEntryInfo{};
    raw = unz_file_info64{};
    if (unzGetCurrentFileInfo64(m_hZip, &raw, info.szName, kEntryNameBuffer - 1, nullptr, 0,
                                info.szComment, kEntryCommentBuffer - 1) != UNZ_OK)
        return false;
    // A longer name was cut by the library; a cut path could name something else.
    if (raw.size_filename > kEntryNameBuffer - 1)
        return false;
    info.dwVersion = raw.version;
    info.dwVersionNeeded = raw.version_needed;
    info.dwFlags = raw.flag;
    info.dwCompressionMethod = raw.compression_method;
    info.dwDosDate = raw.dosDate;
    info.dwCrc = raw.crc;
    info.dwCompressedSize = Saturated(raw.compressed_size);
    info.dwUncompressedSize = Saturated(raw.uncompressed_size);
    info.dwInternalAttributes = raw.internal_fa;
    info.dwExternalAttributes = raw.external_fa;
    for (char* c = info.szName; *c; ++c) {
        if (*c == '/')
            *c = '\\';
    }
    const std::size_t length = std::strlen(info.szName);
    info.bFolder = (info.dwExternalAttributes & kDosFolderAttribute) ||
                   (length > 0 && info.szName[length - 1] == '\\');
    return true;
}

bool CZipExtractor::GetEntryInfo(ZipEntryInfo& info) {
    unz_file_info64 raw;
    return ReadEntry(info, raw);
}

bool CZipExtractor::ExtractEntry(const wchar_t* folder, bool bIgnorePath) {
    if (!m_hZip)
        return false;
    if (!folder)
        folder = m_szOutputFolder;
    if (!*folder)
        return false;
    ZipEntryInfo info;
    unz_file_info64 raw;
    if (!ReadEntry(info, raw) || !IsExtractableEntry(raw) || raw.uncompressed_size > m_ullRoom)
        return false;

    std::wstring name = DecodeEntryName(info.szName, (raw.flag & kFlagUtf8Name) != 0);
    if (bIgnorePath && !info.bFolder)
        name.erase(0, name.find_last_of(L'\\') + 1);
    if (!IsSafeEntryPath(name.c_str()))
        return false;

    std::wstring path = folder;
    if (path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    path += name;
    if (path.size() >= kPathBuffer)
        return false;

    if (info.bFolder)
        return CreateFolder(path.c_str());
    if (!ExtractFile(path, raw))
        return false;
    m_ullRoom -= raw.uncompressed_size;
    return true;
}

bool CZipExtractor::ExtractFile(const std::wstring& path, const unz_file_info64& raw) {
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    if (folder != m_strLastFolder) {
        if (!CreateFolder(folder.c_str()))
            return false;
        m_strLastFolder = folder;
    }
    CKernelHandle out = CreateOutputFile(path.c_str());
    if (!out.IsValid())
        return false;
    bool ok = WriteEntryData(m_hZip, raw, out.Get());
    // On the handle the data went through: opening each file again costs a fair share
    // of the whole extraction.
    if (ok)
        SetFileTimeFromDos(out.Get(), raw.dosDate);
    ok = out.Close() && ok;
    if (!ok) {
        // Nothing half written or unchecked may pass for a good file later.
        DeleteFileW(path.c_str());
    }
    return ok;
}

bool CZipExtractor::ExtractAll(const wchar_t* folder, bool bIgnorePath) {
    if (!m_hZip || !folder || !*folder)
        return false;
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(m_hZip, &global) != UNZ_OK || global.number_entry == 0)
        return false;
    const unsigned long long room = std::min(m_ullRoom, FreeBytesAt(folder));
    if (!SurveyArchive(m_hZip, global.number_entry, room))
        return false;
    if (!FirstEntry())
        return false;
    unsigned long long extracted = 0;
    do {
        if (!ExtractEntry(folder, bIgnorePath))
            return false;
        ++extracted;
    } while (NextEntry());
    return AtEndOfList() && extracted == global.number_entry;
}
