// Archives made on the spot with minizip's zip side, and the damage no writer would do.
#pragma once
#include <string>
#include <vector>

#include <windows.h>

#include "tests/support/TestFiles.h"

struct ZipEntrySpec {
    enum class Kind {
        File,       // deflated data with its true CRC
        Folder,     // name ending in "/", directory attribute
        WrongCrc,   // stored data whose recorded CRC is off by one
        BrokenData, // deflated entry whose compressed bytes are garbage
        Raw,        // `data` is the entry's compressed bytes, recorded as below
    };
    std::string name;
    std::string data;
    Kind kind = Kind::File;
    DWORD dosDate = 0x4EAF6DAF; // 2019-05-15 13:45:30
    DWORD attributes = 0;       // external attributes; 0: after the kind
    unsigned flags = 0;         // general purpose bits to set (encryption, UTF-8 name)
    // Raw only: the method, declared uncompressed size and CRC the archive records.
    int method = 8;
    unsigned long long size = 0;
    unsigned long crc = 0;
};

// False when minizip refused to write the archive.
bool BuildZip(const fs::path& zip, const std::vector<ZipEntrySpec>& entries);

// `data` as a raw deflate stream, and that of `size` zero bytes made piece by piece
// (it stays about a thousandth of the size), with the CRC of those zeros.
std::string Deflated(const std::string& data);
std::string DeflatedZeros(unsigned long long size);
unsigned long CrcOfZeros(unsigned long long size);
unsigned long Crc(const std::string& data);

// Damage to a finished archive, entries counted from 0 in central-directory order.
// Each returns false when the archive does not have the expected layout.
bool SetEntryMethod(const fs::path& zip, int entry, unsigned method);
// Points the central record of `entry` at the local header of `target`.
bool PointEntryAt(const fs::path& zip, int entry, int target);
bool DamageCentralRecord(const fs::path& zip, int entry);
// Makes the end record promise `count` entries.
bool SetEntryCount(const fs::path& zip, unsigned count);
