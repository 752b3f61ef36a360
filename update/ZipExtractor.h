// Unpacking zip archives into a folder, over minizip's unzip interface.
#pragma once
#include <string>

#include <windows.h>

#include <unzip.h>

#include "update/UpdateConstants.h"

// The current entry as the archive describes it.
struct ZipEntryInfo {
    char szName[zv::update::kEntryNameBuffer];       // stored path, "/" turned into "\"
    char szComment[zv::update::kEntryCommentBuffer]; // as much of the comment as fits
    DWORD dwVersion;
    DWORD dwVersionNeeded;
    DWORD dwFlags;
    DWORD dwCompressionMethod;
    DWORD dwDosDate; // date in the high word, time in the low word
    DWORD dwCrc;
    DWORD dwCompressedSize;   // 0xFFFFFFFF for 4 GiB and more
    DWORD dwUncompressedSize; // 0xFFFFFFFF for 4 GiB and more
    DWORD dwInternalAttributes;
    DWORD dwExternalAttributes;
    // The MS-DOS directory attribute (0x10) is set, or the name ends with a separator:
    // archives made elsewhere mark folders only that way.
    BOOL bFolder;
};

// Reads one archive. Not copyable: it owns the library's archive handle.
//
// An extractor writes at most its size limit in total, and ExtractAll never more than
// the free space of the destination's disk: both are checked against the sizes the
// archive declares before a byte is written, and every entry is held to its declared
// size while it is written.
class CZipExtractor {
public:
    explicit CZipExtractor(const wchar_t* zipPath);
    CZipExtractor(const CZipExtractor&) = delete;
    CZipExtractor& operator=(const CZipExtractor&) = delete;
    virtual ~CZipExtractor();

    // Closes what is open, then opens the archive at `zipPath` (made absolute).
    bool Open(const wchar_t* zipPath);
    // Closes the archive and forgets the output folder.
    void Close();

    // Bytes this extractor may still write; the package limit unless set.
    void SetSizeLimit(unsigned long long ullLimit) { m_ullRoom = ullLimit; }

    // Fails, storing nothing, when `folder` names an existing file or does not fit the
    // field; otherwise stores it and makes sure the folder exists.
    bool SetOutputFolder(const wchar_t* folder);

    bool FirstEntry();
    // False at the end of the list and on any error; AtEndOfList() tells the two apart.
    bool NextEntry();
    bool AtEndOfList() const { return m_bEndOfList; }
    bool GetEntryInfo(ZipEntryInfo& info);

    // Writes the current entry below `folder` (null: the output folder). Refused: a name
    // that is not a safe path below the folder or whose full path would not fit 260
    // characters, a method other than stored or deflated, an encrypted entry, one
    // larger than the room left, and data that fail to decode or check. A file it had
    // started is removed.
    bool ExtractEntry(const wchar_t* folder, bool bIgnorePath);
    // Writes every entry, stopping at the first that fails. Nothing is written from an
    // archive without entries, with a damaged directory, with entries sharing compressed
    // data, or whose declared sizes exceed the room.
    bool ExtractAll(const wchar_t* folder, bool bIgnorePath);
    bool ExtractAll(bool bIgnorePath) { return ExtractAll(m_szOutputFolder, bIgnorePath); }

private:
    bool ReadEntry(ZipEntryInfo& info, unz_file_info64& raw);
    bool ExtractFile(const std::wstring& path, const unz_file_info64& raw);

    unzFile m_hZip = nullptr;
    wchar_t m_szOutputFolder[zv::update::kPathBuffer] = {};
    unsigned long long m_ullRoom = zv::update::kPackageLimit;
    bool m_bEndOfList = false;
    // The folder the last file went into: the next file there needs no look at it.
    std::wstring m_strLastFolder;
};
