// Unpacking real archives into real folders.
#include <cstdlib>

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/update/ZipSandbox.h"
#include "update/UpdateEngine.h"
#include "update/ZipExtractor.h"

namespace {

using Kind = ZipEntrySpec::Kind;
using zv::update::kPackageLimit;

class ZipExtractTest : public ZipSandbox {};

TEST_F(ZipExtractTest, RecreatesNestedPathsAndExplicitFolders) {
    // Archives made on Unix mark a folder by its trailing slash alone: drwxr-xr-x.
    const DWORD unixFolder = 040755u << 16;
    ASSERT_TRUE(Extract({{"top.txt", "top"},
                         {"a/b/c.txt", "deep"},
                         {"empty/", "", Kind::Folder},
                         {"x/y/", "", Kind::Folder},
                         {"x/y/z.ini", "[z]"},
                         {"unix/", "", Kind::Folder, 0x4EAF6DAF, unixFolder},
                         {"unix/u.txt", "u"},
                         {"nothing.bin", ""}}));
    EXPECT_EQ(ListTree(m_dest), "a/ a/b/ a/b/c.txt empty/ nothing.bin top.txt unix/ unix/u.txt x/ "
                                "x/y/ x/y/z.ini");
    EXPECT_EQ(ReadFile(m_dest / "a" / "b" / "c.txt"), "deep");
    EXPECT_EQ(ReadFile(m_dest / "x" / "y" / "z.ini"), "[z]");
    EXPECT_EQ(fs::file_size(m_dest / "nothing.bin"), 0u);
}

TEST_F(ZipExtractTest, IgnoringPathsFlattensFiles) {
    CZipExtractor extractor(Zip({{"a/b/c.txt", "deep"}, {"d.txt", "flat"}}).c_str());
    ASSERT_TRUE(extractor.SetOutputFolder(m_dest.c_str()));
    ASSERT_TRUE(extractor.ExtractAll(true));
    EXPECT_EQ(ListTree(m_dest), "c.txt d.txt");
}

TEST_F(ZipExtractTest, LargeEntriesArriveWhole) {
    std::string big(300000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 2654435761u) >> 13);
    ASSERT_TRUE(Extract({{"pack/big.dat", big}}));
    EXPECT_EQ(ReadFile(m_dest / "pack" / "big.dat"), big);
}

TEST_F(ZipExtractTest, AnEmptyArchiveExtractsNothingAndFails) {
    EXPECT_FALSE(Extract({}));
    EXPECT_EQ(ListTree(m_dest), "");
}

TEST_F(ZipExtractTest, AnExistingFileIsReplaced) {
    WriteFile(m_dest / "Zorvane.exe", std::string(5000, 'o'));
    ASSERT_TRUE(Extract({{"Zorvane.exe", "new"}}));
    EXPECT_EQ(ReadFile(m_dest / "Zorvane.exe"), "new");
}

TEST_F(ZipExtractTest, AReadOnlyFileStopsTheRunThere) {
    WriteFile(m_dest / "2.txt", "locked");
    SetFileAttributesW((m_dest / "2.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(Extract({{"1.txt", "one"}, {"2.txt", "two"}, {"3.txt", "three"}}));
    EXPECT_EQ(ListTree(m_dest), "1.txt 2.txt");
    EXPECT_EQ(ReadFile(m_dest / "2.txt"), "locked");
}

FILETIME LocalToUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0}, utc;
    FILETIME time{};
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    EXPECT_TRUE(SystemTimeToFileTime(&utc, &time));
    return time;
}

TEST_F(ZipExtractTest, FilesCarryTheEntryTimeAsCreationAndLastWrite) {
    // Run a second time under another zone by the build; make sure it really is one.
    if (const char* bias = std::getenv("ZV_EXPECT_ZONE_BIAS")) {
        TIME_ZONE_INFORMATION zone;
        GetTimeZoneInformation(&zone);
        ASSERT_EQ(zone.Bias, std::atol(bias));
    }
    // 2019-05-15 13:45:30 and 2001-12-31 23:59:58 as MS-DOS date and time.
    ASSERT_TRUE(Extract(
        {{"a.txt", "a", Kind::File, 0x4EAF6DAF}, {"sub/b.txt", "b", Kind::File, 0x2B9FBF7D}}));
    struct Expected {
        const char* name;
        FILETIME time;
    } expected[] = {{"a.txt", LocalToUtc(2019, 5, 15, 13, 45, 30)},
                    {"sub/b.txt", LocalToUtc(2001, 12, 31, 23, 59, 58)}};
    for (const auto& [name, time] : expected) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExW((m_dest / name).c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(CompareFileTime(&data.ftCreationTime, &time), 0) << name;
        EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &time), 0) << name;
        EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY, 0u) << name;
    }
}

// Names flagged as UTF-8 (general purpose bit 11) are read as UTF-8, the others in the
// ANSI code page: the same bytes give two different names.
TEST_F(ZipExtractTest, NamesAreReadInTheEncodingTheEntryDeclares) {
    const std::string bytes = "Gr\xC3\xBC\xC3\x9F"
                              "e.txt";
    wchar_t ansi[64] = {};
    MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, ansi, 64);
    const std::wstring utf8 = L"Gr\u00FC\u00DFe.txt";
    if (utf8 == ansi)
        GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    ASSERT_TRUE(Extract({{"flagged/" + bytes, "utf-8", Kind::File, 0x4EAF6DAF, 0, 0x800},
                         {"plain/" + bytes, "ansi"}}));
    EXPECT_EQ(ReadFile(m_dest / L"flagged" / utf8), "utf-8");
    EXPECT_EQ(ReadFile(m_dest / L"plain" / ansi), "ansi");
}

// A bad entry fails, leaves no file of its own, and ends the run.
struct BadEntryCase {
    const char* name;
    Kind kind;
    friend void PrintTo(const BadEntryCase& c, std::ostream* os) { *os << c.name; }
};

class ZipBadEntryTest : public ZipExtractTest,
                        public ::testing::WithParamInterface<BadEntryCase> {};

TEST_P(ZipBadEntryTest, FailsAndLeavesNothingOfIt) {
    EXPECT_FALSE(Extract({{"good.txt", "good"},
                          {"bad.bin", std::string(5000, 'q'), GetParam().kind},
                          {"after.txt", "after"}}));
    EXPECT_EQ(ListTree(m_dest), "good.txt");
}

INSTANTIATE_TEST_SUITE_P(Entries, ZipBadEntryTest,
                         ::testing::Values(BadEntryCase{"CrcMismatch", Kind::WrongCrc},
                                           BadEntryCase{"UnreadableData", Kind::BrokenData}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZipExtractTest, ADestinationThatIsAFileTakesNothing) {
    WriteFile(m_dest, "a file");
    CZipExtractor extractor(Zip({{"a.txt", "a"}}).c_str());
    EXPECT_FALSE(extractor.SetOutputFolder(m_dest.c_str()));
    EXPECT_FALSE(extractor.ExtractAll(false));
    EXPECT_FALSE(CUpdateEngine::UnzipToFolder(m_zip.wstring(), m_dest.wstring(), kPackageLimit));
    EXPECT_EQ(ReadFile(m_dest), "a file");
    EXPECT_EQ(Sandbox(), "dest");
}

// Entry names that would reach outside the destination or name something other than a
// plain file or folder inside it.
struct EscapeCase {
    const char* label;
    const char* entry;
    const wchar_t* mustNotExist; // an absolute place the entry would have reached, or null
    friend void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.label; }
};

class ZipEscapeTest : public ZipExtractTest, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(ZipEscapeTest, IsRefusedAndStopsTheRun) {
    EXPECT_FALSE(Extract({{"first.txt", "1"}, {GetParam().entry, "evil"}, {"last.txt", "3"}}));
    EXPECT_EQ(Sandbox(), "dest/ dest/first.txt");
    if (GetParam().mustNotExist) {
        EXPECT_EQ(GetFileAttributesW(GetParam().mustNotExist), INVALID_FILE_ATTRIBUTES);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ZipEscapeTest,
    ::testing::Values(EscapeCase{"ParentSlash", "../evil.txt", nullptr},
                      EscapeCase{"ParentBackslash", "..\\evil.txt", nullptr},
                      EscapeCase{"ParentInside", "a/../../evil.txt", nullptr},
                      EscapeCase{"ParentFolderEntry", "a/../../evil/", nullptr},
                      EscapeCase{"DotsAndBlanks", "a/. ./evil.txt", nullptr},
                      EscapeCase{"LeadingSlash", "/zv-evil.txt", L"\\zv-evil.txt"},
                      EscapeCase{"LeadingBackslash", "\\zv-evil.txt", L"\\zv-evil.txt"},
                      EscapeCase{"DriveAbsolute", "C:/zv-evil.txt", L"C:\\zv-evil.txt"},
                      EscapeCase{"DriveRelative", "C:zv-evil.txt", nullptr},
                      EscapeCase{"Unc", "//127.0.0.1/share/zv-evil.txt", nullptr},
                      EscapeCase{"DevicePath", "\\\\.\\C:\\zv-evil.txt", L"C:\\zv-evil.txt"},
                      EscapeCase{"LongPathPrefix", "\\\\?\\C:\\zv-evil.txt", L"C:\\zv-evil.txt"},
                      EscapeCase{"AlternateStream", "first.txt:hidden", nullptr},
                      EscapeCase{"DeviceName", "sub/NUL.txt", nullptr},
                      EscapeCase{"ConsoleDevice", "CON", nullptr},
                      EscapeCase{"EmptySegment", "a//evil.txt", nullptr},
                      EscapeCase{"Wildcard", "a/*.txt", nullptr},
                      // Windows drops a trailing dot or blank: these would land on
                      // "first.txt" and "sub\x.txt" under other names.
                      EscapeCase{"TrailingDot", "first.txt.", nullptr},
                      EscapeCase{"TrailingBlank", "first.txt ", nullptr},
                      EscapeCase{"FolderTrailingDot", "sub./x.txt", nullptr},
                      EscapeCase{"FolderTrailingBlank", "sub /x.txt", nullptr}),
    [](const auto& info) { return std::string(info.param.label); });

// The destination joined with the entry name must fit 259 characters and a terminator.
TEST_F(ZipExtractTest, APathPastTheBufferIsRefusedAtTheLimit) {
    const std::size_t room = 259 - m_dest.string().size() - 1;
    ASSERT_GT(room, 20u);
    const std::string fits = "f/" + std::string(room - 2, 'a');
    const std::string tooLong = "t/" + std::string(room - 1, 'b');
    ASSERT_TRUE(Extract({{fits, "fits"}}));
    EXPECT_EQ(ReadFile(m_dest / fits), "fits");
    fs::remove_all(m_dest);
    EXPECT_FALSE(Extract({{"first.txt", "1"}, {tooLong, "long"}}));
    EXPECT_EQ(Sandbox(), "dest/ dest/first.txt");
}

TEST_F(ZipExtractTest, ANameLongerThanTheEntryBufferIsRefused) {
    EXPECT_FALSE(Extract({{std::string(300, 'n'), "x"}}));
    EXPECT_EQ(Sandbox(), "dest/");
}

TEST_F(ZipExtractTest, ATruncatedArchiveIsNotOpened) {
    ASSERT_TRUE(BuildZip(m_zip, {{"a.txt", std::string(20000, 'a')}, {"b.txt", "b"}}));
    const std::string whole = ReadFile(m_zip);
    WriteFile(m_zip, whole.substr(0, whole.size() / 2));
    CZipExtractor extractor(m_zip.c_str());
    EXPECT_FALSE(extractor.SetOutputFolder(m_dest.c_str()));
    EXPECT_FALSE(extractor.ExtractAll(false));
    EXPECT_FALSE(CUpdateEngine::UnzipToFolder(m_zip.wstring(), m_dest.wstring(), kPackageLimit));
    EXPECT_EQ(Sandbox(), "");
}

TEST_F(ZipExtractTest, AFileThatIsNoZipIsNotOpened) {
    WriteFile(m_zip, "<html>404 Not Found</html>");
    CZipExtractor extractor(m_zip.c_str());
    EXPECT_FALSE(extractor.FirstEntry());
    EXPECT_FALSE(CUpdateEngine::UnzipToFolder(m_zip.wstring(), m_dest.wstring(), kPackageLimit));
    EXPECT_EQ(Sandbox(), "");
}

TEST_F(ZipExtractTest, AnExtractorWithoutFolderWritesNothing) {
    const fs::path before = fs::current_path();
    fs::current_path(m_sandbox.Path());
    CZipExtractor extractor(Zip({{"a.txt", "a"}}).c_str());
    const bool extracted = extractor.ExtractAll(false);
    fs::current_path(before);
    EXPECT_FALSE(extracted);
    EXPECT_EQ(Sandbox(), "");
}

} // namespace
