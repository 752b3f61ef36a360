#include "tests/update/ZipBuilder.h"

#include <zip.h>
#include <zlib.h>

namespace {

bool AddEntry(zipFile zip, const ZipEntrySpec& entry) {
    using Kind = ZipEntrySpec::Kind;
    zip_fileinfo info{};
    info.dosDate = entry.dosDate;
    info.external_fa = entry.kind == Kind::Folder ? 0x10 : 0x20;
    const bool raw = entry.kind == Kind::WrongCrc || entry.kind == Kind::BrokenData;
    const int method = entry.kind == Kind::WrongCrc ? 0 : Z_DEFLATED;
    if (zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                             method, Z_DEFAULT_COMPRESSION, raw ? 1 : 0) != ZIP_OK)
        return false;
    std::string data = entry.data;
    if (entry.kind == Kind::BrokenData)
        data = std::string(64, '\xFF'); // an invalid deflate block type
    if (!data.empty() &&
        zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) != ZIP_OK)
        return false;
    if (!raw)
        return zipCloseFileInZip(zip) == ZIP_OK;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                            static_cast<uInt>(entry.data.size()));
    return zipCloseFileInZipRaw(zip, entry.data.size(),
                                entry.kind == Kind::WrongCrc ? crc + 1 : crc) == ZIP_OK;
}

} // namespace

bool BuildZip(const fs::path& path, const std::vector<ZipEntrySpec>& entries) {
    zipFile zip = zipOpen(path.string().c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto& entry : entries)
        ok = ok && AddEntry(zip, entry);
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}
