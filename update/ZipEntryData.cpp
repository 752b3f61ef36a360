#include "update/ZipEntryData.h"

#include <zlib.h>

namespace {

constexpr unsigned kMethodStored = 0;
constexpr unsigned kFlagEncrypted = 0x0001;
constexpr unsigned kFlagStrongEncryption = 0x0040;
// Decoded data go out through one buffer of this size; compressed data come in through
// another as large as the library's own read buffer. Under Wine every write is a system
// call: with 2048 bytes, the writes of a 58 MB package took a quarter of its extraction.
constexpr unsigned kCopyBuffer = 65536;
constexpr unsigned kReadBuffer = 16384;

// Counts and checks what an entry produces before it reaches the file.
class CEntrySink {
public:
    CEntrySink(HANDLE out, unsigned long long declared) : m_out(out), m_ullLeft(declared) {}

    bool Write(const unsigned char* data, unsigned size) {
        if (size > m_ullLeft)
            return false;
        m_ullLeft -= size;
        m_crc = crc32(m_crc, data, size);
        DWORD written = 0;
        return WriteFile(m_out, data, size, &written, nullptr) && written == size;
    }
    bool IsComplete(unsigned long crc) const { return m_ullLeft == 0 && m_crc == crc; }

private:
    HANDLE m_out;
    unsigned long long m_ullLeft;
    uLong m_crc = crc32(0, nullptr, 0);
};

bool CopyStored(unzFile zip, CEntrySink& sink) {
    unsigned char buffer[kCopyBuffer];
    for (;;) {
        const int count = unzReadCurrentFile(zip, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count < 0 || !sink.Write(buffer, static_cast<unsigned>(count)))
            return false;
    }
}

bool Inflate(unzFile zip, CEntrySink& sink) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    unsigned char input[kReadBuffer];
    unsigned char output[kCopyBuffer];
    bool needInput = true;
    bool ok = false;
    for (;;) {
        if (needInput) {
            const int count = unzReadCurrentFile(zip, input, sizeof input);
            // The compressed data ran out before the stream said it was complete.
            if (count <= 0)
                break;
            stream.next_in = input;
            stream.avail_in = static_cast<uInt>(count);
        }
        stream.next_out = output;
        stream.avail_out = sizeof output;
        const int status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_BUF_ERROR && stream.avail_in == 0) {
            needInput = true;
            continue;
        }
        if (status != Z_OK && status != Z_STREAM_END)
            break;
        if (!sink.Write(output, static_cast<unsigned>(sizeof output - stream.avail_out)))
            break;
        if (status == Z_STREAM_END) {
            ok = true;
            break;
        }
        // A full output buffer may leave decoded bytes pending: fetch input only once
        // inflate has had room to hand out everything it holds.
        needInput = stream.avail_in == 0 && stream.avail_out != 0;
    }
    inflateEnd(&stream);
    return ok;
}

} // namespace

bool IsExtractableEntry(const unz_file_info64& info) {
    if (info.flag & (kFlagEncrypted | kFlagStrongEncryption))
        return false;
    if (info.compression_method == kMethodStored)
        return info.compressed_size == info.uncompressed_size;
    return info.compression_method == Z_DEFLATED;
}

bool WriteEntryData(unzFile zip, const unz_file_info64& info, HANDLE out) {
    if (!IsExtractableEntry(info))
        return false;
    int method = 0;
    int level = 0;
    // Raw: the library hands over the stored bytes and the checks are all ours.
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK)
        return false;
    CEntrySink sink(out, info.uncompressed_size);
    const bool copied =
        info.compression_method == kMethodStored ? CopyStored(zip, sink) : Inflate(zip, sink);
    unzCloseCurrentFile(zip);
    return copied && sink.IsComplete(info.crc);
}
