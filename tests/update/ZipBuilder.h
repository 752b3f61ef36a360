// Archives made on the spot with minizip's zip side.
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
    };
    std::string name;
    std::string data;
    Kind kind = Kind::File;
    DWORD dosDate = 0x4EAF6DAF; // 2019-05-15 13:45:30
};

// False when minizip refused to write the archive.
bool BuildZip(const fs::path& zip, const std::vector<ZipEntrySpec>& entries);
