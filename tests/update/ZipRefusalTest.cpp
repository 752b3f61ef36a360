// Archives refused whole, before or while they are written: bombs, damaged directories,
// and entries whose data the extractor cannot vouch for.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/update/ZipSandbox.h"
#include "update/ZipExtractor.h"

namespace {

using Kind = ZipEntrySpec::Kind;
using zv::update::kPackageLimit;
using zv::update::kVersionArchiveLimit;

ZipEntrySpec Zeros(const std::string& name, unsigned long long size) {
    return {name, DeflatedZeros(size), Kind::Raw, 0x4EAF6DAF, 0, 0, 8, size, CrcOfZeros(size)};
}

// One entry whose bytes are stored as they are but recorded under `method`, with their
// CRC plus `crcOffset`.
bool UnderMethod(const fs::path& zip, int method, const std::string& bytes,
                 unsigned long crcOffset) {
    return BuildZip(zip, {{"a.bin", bytes, Kind::Raw, 0x4EAF6DAF, 0, 0, method, bytes.size(),
                           Crc(bytes) + crcOffset}});
}

bool ThreeFiles(const fs::path& zip) {
    return BuildZip(zip, {{"1.txt", "one"}, {"2.txt", "two"}, {"3.txt", "three"}});
}

struct RefusedCase {
    const char* label;
    std::function<bool(const fs::path&)> make;
    unsigned long long limit;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.label; }
};

class ZipRefusedTest : public ZipSandbox, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(ZipRefusedTest, WritesNothing) {
    ASSERT_TRUE(GetParam().make(m_zip));
    EXPECT_FALSE(ExtractZip(GetParam().limit));
    EXPECT_EQ(Sandbox(), "dest/");
}

auto Label = [](const auto& info) { return std::string(info.param.label); };

// Unpacking more than the archive's limit allows, honestly or not.
INSTANTIATE_TEST_SUITE_P(
    Limits, ZipRefusedTest,
    ::testing::Values(
        RefusedCase{"ZerosPastTheVersionLimit",
                    [](const fs::path& zip) {
                        return BuildZip(zip, {{"fileVersion.txt", "3.0.0.5\r\n"},
                                              Zeros("zeros.bin", 4 * kVersionArchiveLimit)});
                    },
                    kVersionArchiveLimit},
        RefusedCase{"SizesAddingUpPastTheVersionLimit",
                    [](const fs::path& zip) {
                        const unsigned long long size = kVersionArchiveLimit / 2 + 1;
                        return BuildZip(zip, {Zeros("a.bin", size), Zeros("b.bin", size)});
                    },
                    kVersionArchiveLimit},
        RefusedCase{"MoreDataThanDeclared",
                    [](const fs::path& zip) {
                        // Its first kilobyte carries the declared CRC.
                        return BuildZip(zip, {{"liar.bin", DeflatedZeros(1 << 20), Kind::Raw,
                                               0x4EAF6DAF, 0, 0, 8, 1024, CrcOfZeros(1024)}});
                    },
                    kPackageLimit},
        RefusedCase{"EntriesSharingCompressedData",
                    [](const fs::path& zip) {
                        const std::string data(100000, 'z');
                        return BuildZip(zip, {{"a.bin", data}, {"b.bin", data}, {"c.bin", data}}) &&
                               PointEntryAt(zip, 1, 0) && PointEntryAt(zip, 2, 0);
                    },
                    kPackageLimit}),
    Label);

// A central directory that cannot be read to its end is damage, not the end of the list.
INSTANTIATE_TEST_SUITE_P(Directory, ZipRefusedTest,
                         ::testing::Values(RefusedCase{"SecondOfThreeRecordsDamaged",
                                                       [](const fs::path& zip) {
                                                           return ThreeFiles(zip) &&
                                                                  DamageCentralRecord(zip, 1);
                                                       },
                                                       kPackageLimit},
                                           RefusedCase{"LastRecordDamaged",
                                                       [](const fs::path& zip) {
                                                           return ThreeFiles(zip) &&
                                                                  DamageCentralRecord(zip, 2);
                                                       },
                                                       kPackageLimit},
                                           RefusedCase{"MoreEntriesPromisedThanRecorded",
                                                       [](const fs::path& zip) {
                                                           return ThreeFiles(zip) &&
                                                                  SetEntryCount(zip, 4);
                                                       },
                                                       kPackageLimit}),
                         Label);

class ZipDirectoryTest : public ZipSandbox {};

// Walked entry by entry, a record that cannot be read ends the walk without being taken
// for the end of the list.
TEST_F(ZipDirectoryTest, DamageIsToldApartFromTheEnd) {
    const struct {
        int damaged; // -1: none
        int reached;
        bool atEnd;
    } cases[] = {{-1, 3, true}, {1, 1, false}, {2, 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damaged);
        ASSERT_TRUE(ThreeFiles(m_zip));
        if (c.damaged >= 0) {
            ASSERT_TRUE(DamageCentralRecord(m_zip, c.damaged));
        }
        CZipExtractor extractor(m_zip.c_str());
        ASSERT_TRUE(extractor.FirstEntry());
        int reached = 1;
        while (extractor.NextEntry())
            ++reached;
        EXPECT_EQ(reached, c.reached);
        EXPECT_EQ(extractor.AtEndOfList(), c.atEnd);
    }
}

// Only stored and deflated data, never encrypted, are written: nothing else is checked.
INSTANTIATE_TEST_SUITE_P(
    Methods, ZipRefusedTest,
    ::testing::Values(
        RefusedCase{"Method12WithAWrongCrc",
                    [](const fs::path& zip) { return UnderMethod(zip, 12, "any bytes at all", 1); },
                    kPackageLimit},
        // The library opens method 12 and hands its bytes out as they are: with their
        // true CRC they would pass every check but the method's.
        RefusedCase{"Method12WithItsCrc",
                    [](const fs::path& zip) {
                        return UnderMethod(zip, 12, "bzip2 data, never decoded", 0);
                    },
                    kPackageLimit},
        RefusedCase{"UnknownMethodWithItsCrc",
                    [](const fs::path& zip) { return UnderMethod(zip, 99, "plain bytes", 0); },
                    kPackageLimit},
        RefusedCase{"EncryptedFlagOnPlainData",
                    [](const fs::path& zip) {
                        return BuildZip(zip, {{"a.txt", "readable", Kind::File, 0x4EAF6DAF, 0, 1}});
                    },
                    kPackageLimit},
        RefusedCase{
            "StrongEncryptionFlagOnPlainData",
            [](const fs::path& zip) {
                return BuildZip(zip, {{"a.txt", "readable", Kind::File, 0x4EAF6DAF, 0, 0x40}});
            },
            kPackageLimit}),
    Label);

class ZipLimitTest : public ZipSandbox {};

TEST_F(ZipLimitTest, SizesPastTheDisksFreeSpaceAreRefused) {
    const unsigned long long huge = 1ull << 40;
    ULARGE_INTEGER available{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(m_sandbox.Path().c_str(), &available, nullptr, nullptr));
    if (available.QuadPart >= huge)
        GTEST_SKIP() << "this disk has a terabyte free";
    // The first entry fits anywhere: it is refused too, since the sizes are checked first.
    ASSERT_TRUE(BuildZip(
        m_zip, {{"first.txt", "1"},
                {"huge.bin", Deflated("x"), Kind::Raw, 0x4EAF6DAF, 0, 0, 8, huge, Crc("x")}}));
    EXPECT_FALSE(ExtractZip(std::numeric_limits<unsigned long long>::max()));
    EXPECT_EQ(Sandbox(), "dest/");
}

// Ends the program should the folder grow past `limit`: an extractor without a limit
// must fail this test, not fill the disk.
class COutputGuard {
public:
    COutputGuard(fs::path folder, unsigned long long limit)
        : m_watcher([this, folder, limit] { Watch(folder, limit); }) {}
    ~COutputGuard() {
        m_stop = true;
        m_watcher.join();
    }

private:
    void Watch(const fs::path& folder, unsigned long long limit) {
        for (bool last = false; !last;) {
            last = m_stop;
            unsigned long long total = 0;
            std::error_code error;
            for (auto& entry : fs::recursive_directory_iterator(folder, error)) {
                if (entry.is_regular_file(error))
                    total += entry.file_size(error);
            }
            if (total > limit) {
                std::fprintf(stderr, "extraction wrote %llu bytes, past its limit\n", total);
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    std::atomic<bool> m_stop{false};
    std::thread m_watcher;
};

TEST_F(ZipLimitTest, APackageBombIsRefusedBeforeItsFirstByte) {
    const unsigned long long size = 2 * kPackageLimit;
    ASSERT_TRUE(BuildZip(m_zip, {Zeros("zeros.bin", size)}));
    ASSERT_LT(fs::file_size(m_zip), 4u << 20);
    COutputGuard guard(m_dest, kPackageLimit);
    EXPECT_FALSE(ExtractZip(kPackageLimit));
    EXPECT_EQ(Sandbox(), "dest/");
}

// An entry declaring a kilobyte but inflating to gigabytes is cut off at its declared size,
// not written whole and removed afterwards.
TEST_F(ZipLimitTest, AnEntryIsNeverWrittenPastItsDeclaredSize) {
    ASSERT_TRUE(BuildZip(m_zip, {{"liar.bin", DeflatedZeros(2 * kPackageLimit), Kind::Raw,
                                  0x4EAF6DAF, 0, 0, 8, 1024, CrcOfZeros(1024)}}));
    COutputGuard guard(m_dest, 1 << 20);
    EXPECT_FALSE(ExtractZip(kPackageLimit));
    EXPECT_EQ(Sandbox(), "dest/");
}

// Entries extracted one by one draw on the same limit as a whole extraction.
TEST_F(ZipLimitTest, EntriesExtractedOneByOneShareTheLimit) {
    ASSERT_TRUE(BuildZip(m_zip, {{"a.txt", "123456"}, {"b.txt", "654321"}}));
    CZipExtractor extractor(m_zip.c_str());
    extractor.SetSizeLimit(10);
    ASSERT_TRUE(extractor.SetOutputFolder(m_dest.c_str()));
    ASSERT_TRUE(extractor.FirstEntry());
    EXPECT_TRUE(extractor.ExtractEntry(nullptr, false));
    ASSERT_TRUE(extractor.NextEntry());
    EXPECT_FALSE(extractor.ExtractEntry(nullptr, false));
    EXPECT_EQ(Sandbox(), "dest/ dest/a.txt");
}

} // namespace
