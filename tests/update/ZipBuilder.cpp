#include "tests/update/ZipBuilder.h"

#include <cstring>

#include <zip.h>
#include <zlib.h>

namespace {

constexpr unsigned long long kZeroPiece = 1 << 20;

int MethodWritten(const ZipEntrySpec& entry) {
    using Kind = ZipEntrySpec::Kind;
    if (entry.kind == Kind::WrongCrc)
        return 0;
    if (entry.kind == Kind::Raw)
        return entry.method == Z_DEFLATED ? Z_DEFLATED : 0; // others are set afterwards
    return Z_DEFLATED;
}

bool AddEntry(zipFile zip, const ZipEntrySpec& entry) {
    using Kind = ZipEntrySpec::Kind;
    zip_fileinfo info{};
    info.dosDate = entry.dosDate;
    info.external_fa = entry.attributes             ? entry.attributes
                       : entry.kind == Kind::Folder ? 0x10
                                                    : 0x20;
    const bool raw =
        entry.kind == Kind::WrongCrc || entry.kind == Kind::BrokenData || entry.kind == Kind::Raw;
    const bool zip64 = entry.kind == Kind::Raw && entry.size >= 0xFFFFFFFFull;
    if (zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                MethodWritten(entry), Z_DEFAULT_COMPRESSION, raw ? 1 : 0,
                                -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0,
                                entry.flags, zip64 ? 1 : 0) != ZIP_OK)
        return false;
    std::string data = entry.data;
    if (entry.kind == Kind::BrokenData)
        data = std::string(64, '\xFF'); // an invalid deflate block type
    if (!data.empty() &&
        zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) != ZIP_OK)
        return false;
    if (!raw)
        return zipCloseFileInZip(zip) == ZIP_OK;
    if (entry.kind == Kind::Raw)
        return zipCloseFileInZipRaw64(zip, entry.size, entry.crc) == ZIP_OK;
    const unsigned long crc = Crc(entry.data);
    return zipCloseFileInZipRaw(zip, entry.data.size(),
                                entry.kind == Kind::WrongCrc ? crc + 1 : crc) == ZIP_OK;
}

unsigned Read16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

unsigned long Read32(const std::string& bytes, std::size_t at) {
    return Read16(bytes, at) | static_cast<unsigned long>(Read16(bytes, at + 2)) << 16;
}

void Write16(std::string& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void Write32(std::string& bytes, std::size_t at, unsigned long value) {
    Write16(bytes, at, value & 0xFFFF);
    Write16(bytes, at + 2, value >> 16);
}

// Where the end record and each central record of a small archive begin.
struct Layout {
    std::size_t end = 0;
    std::vector<std::size_t> records;
};

bool ReadLayout(const std::string& bytes, Layout& layout) {
    if (bytes.size() < 22 || Read32(bytes, bytes.size() - 22) != 0x06054b50)
        return false;
    layout.end = bytes.size() - 22;
    std::size_t at = Read32(bytes, layout.end + 16);
    for (unsigned i = 0; i < Read16(bytes, layout.end + 10); ++i) {
        if (at + 46 > bytes.size() || Read32(bytes, at) != 0x02014b50)
            return false;
        layout.records.push_back(at);
        at += 46 + Read16(bytes, at + 28) + Read16(bytes, at + 30) + Read16(bytes, at + 32);
    }
    return true;
}

template <class Change> bool Patch(const fs::path& zip, Change change) {
    std::string bytes = ReadFile(zip);
    Layout layout;
    if (!ReadLayout(bytes, layout) || !change(bytes, layout))
        return false;
    WriteFile(zip, bytes);
    return true;
}

} // namespace

bool BuildZip(const fs::path& path, const std::vector<ZipEntrySpec>& entries) {
    zipFile zip = zipOpen64(path.string().c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto& entry : entries)
        ok = ok && AddEntry(zip, entry);
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    for (std::size_t i = 0; ok && i < entries.size(); ++i) {
        const auto& entry = entries[i];
        if (entry.kind == ZipEntrySpec::Kind::Raw && entry.method != MethodWritten(entry))
            ok = SetEntryMethod(path, static_cast<int>(i), static_cast<unsigned>(entry.method));
    }
    return ok;
}

std::string Deflated(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL,
                 Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string DeflatedZeros(unsigned long long size) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL,
                 Z_DEFAULT_STRATEGY);
    const std::string zeros(kZeroPiece, '\0');
    auto compress = [&](unsigned long long piece, int flush) {
        std::string out;
        char buffer[1 << 16];
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        stream.avail_in = static_cast<uInt>(piece);
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.append(buffer, sizeof buffer - stream.avail_out);
        } while (stream.avail_out == 0);
        return out;
    };
    // A full flush starts the compressor afresh, so once a piece of zeros compresses
    // like the one before it, every further piece does too: deflating a gigabyte would
    // take seconds, repeating its pieces takes none.
    std::string out;
    std::string last;
    bool repeating = false;
    unsigned long long left = size;
    for (; left > kZeroPiece; left -= kZeroPiece) {
        if (repeating) {
            out += last;
            continue;
        }
        std::string piece = compress(kZeroPiece, Z_FULL_FLUSH);
        repeating = piece == last;
        out += piece;
        last = std::move(piece);
    }
    out += compress(left, Z_FINISH);
    deflateEnd(&stream);
    return out;
}

unsigned long CrcOfZeros(unsigned long long size) {
    const std::string zeros(kZeroPiece, '\0');
    const uLong piece = crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), kZeroPiece);
    uLong crc = crc32(0, nullptr, 0);
    for (; size >= kZeroPiece; size -= kZeroPiece)
        crc = crc32_combine(crc, piece, kZeroPiece);
    return crc32(crc, reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uInt>(size));
}

unsigned long Crc(const std::string& data) {
    return crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
}

bool SetEntryMethod(const fs::path& zip, int entry, unsigned method) {
    return Patch(zip, [&](std::string& bytes, const Layout& layout) {
        if (entry >= static_cast<int>(layout.records.size()))
            return false;
        const std::size_t record = layout.records[entry];
        Write16(bytes, record + 10, method);
        Write16(bytes, Read32(bytes, record + 42) + 8, method);
        return true;
    });
}

bool PointEntryAt(const fs::path& zip, int entry, int target) {
    return Patch(zip, [&](std::string& bytes, const Layout& layout) {
        const int count = static_cast<int>(layout.records.size());
        if (entry >= count || target >= count)
            return false;
        Write32(bytes, layout.records[entry] + 42, Read32(bytes, layout.records[target] + 42));
        return true;
    });
}

bool DamageCentralRecord(const fs::path& zip, int entry) {
    return Patch(zip, [&](std::string& bytes, const Layout& layout) {
        if (entry >= static_cast<int>(layout.records.size()))
            return false;
        bytes[layout.records[entry]] = 'X';
        return true;
    });
}

bool SetEntryCount(const fs::path& zip, unsigned count) {
    return Patch(zip, [&](std::string& bytes, const Layout& layout) {
        Write16(bytes, layout.end + 8, count);
        Write16(bytes, layout.end + 10, count);
        return true;
    });
}
