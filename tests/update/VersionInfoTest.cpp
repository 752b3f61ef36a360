// Version resources of real modules: the test program's own and small test libraries.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/TestFiles.h"
#include "update/UpdateEngine.h"
#include "update/VersionInfo.h"

namespace {

fs::path ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

class CLibrary {
public:
    explicit CLibrary(const fs::path& path) : m_module(LoadLibraryW(path.c_str())) {}
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;
    ~CLibrary() {
        if (m_module)
            FreeLibrary(m_module);
    }
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

struct VersionCase {
    const char* library;
    const char* value;
    std::wstring expected;
    friend void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.library; }
};

// The user's language with code page 04B0 is what a resource with several translations
// is read under; the test libraries carry such a block for English (US) only.
std::wstring UnicodeBlockValue() {
    return GetUserDefaultLangID() == 0x0409 ? L"7.0.0.7" : L"";
}

class VersionInfoTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionInfoTest, ReadsTheValueUnderTheChosenBlock) {
    CLibrary library(ProgramFolder() / (std::string(GetParam().library) + ".dll"));
    ASSERT_NE(library.Get(), nullptr);
    EXPECT_EQ(GetVersionInfoString(library.Get(), GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, VersionInfoTest,
    ::testing::Values(VersionCase{"OneTranslation", "FileVersion", L"3.0.0.4"},
                      VersionCase{"OneTranslation", "ProductName", L""},
                      VersionCase{"GermanUnicode", "FileVersion", L"1.2.3.4"},
                      VersionCase{"TwoTranslations", "FileVersion", UnicodeBlockValue()},
                      VersionCase{"TwoWithoutUnicodeBlock", "FileVersion", L""},
                      VersionCase{"NoVersion", "FileVersion", L""}),
    [](const auto& info) { return std::string(info.param.library) + "_" + info.param.value; });

TEST(OwnVersionTest, ReadsTheRunningProgramsFolderAndFileVersion) {
    CUpdateEngine engine;
    EXPECT_TRUE(engine.ReadOwnVersion());
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder(module);
    folder.resize(folder.rfind('\\'));
    EXPECT_STREQ(engine.m_szExeDir, folder.c_str());
    EXPECT_EQ(engine.m_vOwnVersion, (CVersion{3, 0, 0, 4}));
    EXPECT_EQ(GetVersionInfoString(nullptr, "FileVersion"), L"3.0.0.4");
}

// A module path longer than the 768-byte field is refused whole, never cut.
TEST(OwnVersionTest, AModulePathTooLongForItsFieldLeavesTheFolderEmpty) {
    CTempFolder temp;
    fs::path deep = L"\\\\?\\" + temp.Path().native();
    while (deep.native().size() < 800)
        deep /= std::wstring(60, L'd');
    ASSERT_TRUE(fs::create_directories(deep));
    const fs::path copy = deep / "OneTranslation.dll";
    fs::copy_file(ProgramFolder() / "OneTranslation.dll", copy);
    CLibrary library(copy);
    ASSERT_NE(library.Get(), nullptr);
    std::vector<wchar_t> full(4096);
    ASSERT_GT(GetModuleFileNameW(library.Get(), full.data(), 4096), 768u);

    CUpdateEngine engine;
    std::memset(engine.m_szExeDir, 'x', 10);
    EXPECT_FALSE(engine.ReadOwnVersion(library.Get()));
    EXPECT_STREQ(engine.m_szExeDir, "");
    EXPECT_EQ(engine.m_vOwnVersion, (CVersion{3, 0, 0, 4}));
    EXPECT_FALSE(engine.SetupUpdatePaths());
    EXPECT_TRUE(engine.m_strUpdateDir.empty());
}

} // namespace
