// Unpacking zip archives into a folder, over minizip's unzip interface.
#pragma once

#include <windows.h>

#include <unzip.h>

// The current entry as the archive describes it.
struct ZipEntryInfo {
    char szName[261];    // stored path, "/" turned into "\", ANSI code page
    char szComment[256]; // at most 255 bytes of the entry comment
    DWORD dwVersion;
    DWORD dwVersionNeeded;
    DWORD dwFlags;
    DWORD dwCompressionMethod;
    DWORD dwDosDate; // date in the high word, time in the low word
    DWORD dwCrc;
    DWORD dwCompressedSize;
    DWORD dwUncompressedSize;
    DWORD dwInternalAttributes;
    DWORD dwExternalAttributes;
    BOOL bFolder; // the MS-DOS directory attribute (0x10) is set
};

// Reads one archive. Not copyable: it owns the library's archive handle.
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

    // Fails, storing nothing, when `folder` names an existing file or does not fit the
    // field; otherwise stores it and makes sure the folder exists.
    bool SetOutputFolder(const wchar_t* folder);

    bool FirstEntry();
    // False at the end of the list and on any error.
    bool NextEntry();
    bool GetEntryInfo(ZipEntryInfo& info);

    // Writes the current entry below `folder` (null: the output folder). An entry whose
    // name is not a safe path below the folder, whose full path would exceed 260 bytes or
    // whose data fail to read, write or check is refused; a file it had started is removed.
    bool ExtractEntry(const wchar_t* folder, bool bIgnorePath);
    // Writes every entry, stopping at the first that fails. An archive without entries fails.
    bool ExtractAll(const wchar_t* folder, bool bIgnorePath);
    bool ExtractAll(bool bIgnorePath) { return ExtractAll(m_szOutputFolder, bIgnorePath); }

private:
    bool ExtractFile(const char* path, DWORD dosDate);

    unzFile m_hZip = nullptr;
    wchar_t m_szOutputFolder[260] = {};
};
