// Version texts, version files and the comparison that decides on an update.
#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"
#include "update/UpdateEngine.h"

namespace {

struct ParseCase {
    const char* text;
    CVersion expected;
    friend void PrintTo(const ParseCase& c, std::ostream* os) {
        *os << '"' << (c.text ? c.text : "(null)") << '"';
    }
};

class ParseVersionTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseVersionTest, ReadsCharactersZeroTwoFourAndSix) {
    CVersion version;
    ParseVersion(version, GetParam().text);
    EXPECT_EQ(version, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseVersionTest,
    ::testing::Values(ParseCase{"3.0.0.4", {3, 0, 0, 4}}, ParseCase{"3.0.0.10", {3, 0, 0, 1}},
                      ParseCase{"3,0,0,4", {3, 0, 0, 4}}, ParseCase{"3, 0, 0, 4", {3, 0, 0, 0}},
                      ParseCase{"3.1", {3, 1, 0, 0}}, ParseCase{"9x8y7z6", {9, 8, 7, 6}},
                      ParseCase{"a.b.-.+", {0, 0, 0, 0}}, ParseCase{"", {0, 0, 0, 0}},
                      ParseCase{nullptr, {0, 0, 0, 0}}));

TEST(ParseVersionAppendTest, AppendsToWhatTheListHolds) {
    CVersion version{1};
    ParseVersion(version, "3.0.0.4");
    EXPECT_EQ(version, (CVersion{1, 3, 0, 0, 4}));
}

struct CompareCase {
    CVersion published;
    CVersion own;
    bool newer;
};

class IsRemoteNewerTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(IsRemoteNewerTest, OnlyAStrictlyGreaterPublishedVersionIsNewer) {
    CUpdateEngine engine;
    engine.m_vPublishedVersion = GetParam().published;
    engine.m_vOwnVersion = GetParam().own;
    EXPECT_EQ(engine.IsRemoteNewer(), GetParam().newer);
}

INSTANTIATE_TEST_SUITE_P(Versions, IsRemoteNewerTest,
                         ::testing::Values(CompareCase{{3, 0, 0, 4}, {3, 0, 0, 4}, false},
                                           CompareCase{{3, 0, 1, 0}, {3, 0, 0, 4}, true},
                                           CompareCase{{3, 0, 0, 5}, {3, 0, 0, 4}, true},
                                           CompareCase{{4, 0, 0, 0}, {3, 9, 9, 9}, true},
                                           CompareCase{{2, 9, 9, 9}, {3, 0, 0, 4}, false},
                                           CompareCase{{3, 0, 0, 3}, {3, 0, 0, 4}, false},
                                           CompareCase{{}, {3, 0, 0, 4}, false},
                                           CompareCase{{9, 9, 9}, {3, 0, 0, 4}, false},
                                           CompareCase{{3, 0, 0, 5}, {}, false}));

struct FileCase {
    const char* name;
    const char* contents; // null: no file at all
    CVersion expected;
    friend void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }
};

class ReadRemoteVersionTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(ReadRemoteVersionTest, TakesTheSevenCharactersBeforeTheFirstCrLf) {
    CTempFolder temp;
    const fs::path file = temp / "fileVersion.txt";
    if (GetParam().contents)
        WriteFile(file, GetParam().contents);
    CUpdateEngine engine;
    engine.ReadRemoteVersion(file.string().c_str());
    EXPECT_EQ(engine.m_vPublishedVersion, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadRemoteVersionTest,
    ::testing::Values(FileCase{"Plain", "3.0.0.5\r\n", {3, 0, 0, 5}},
                      FileCase{
                          "AfterOtherText", "Version 3.0.0.5\r\nnotes 9.9.9.9\r\n", {3, 0, 0, 5}},
                      FileCase{"ShortFirstLine", "3.1\r\n", {3, 1, 0, 0}},
                      FileCase{"LoneCrBeforeTheCrLf", "x\r3.0.0.6\r\n", {3, 0, 0, 6}},
                      FileCase{"LfOnly", "Version 3.0.0.5\n", {0, 0, 0, 0}},
                      FileCase{"NoLineEnd", "3.0.0.5", {0, 0, 0, 0}},
                      FileCase{"EmptyFirstLine", "\r\n3.0.0.9\r\n", {0, 0, 0, 0}},
                      FileCase{"EmptyFile", "", {}}, FileCase{"Missing", nullptr, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
