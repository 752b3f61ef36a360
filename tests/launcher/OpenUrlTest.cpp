// Opening pages outside the launcher when the shell knows no program for the address: the
// command the registry names for ".htm" files, cut at its placeholder, gets the address.
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>
#include "launcher/OpenUrl.h"
#include "tests/doubles/Record.h"
#include "tests/launcher/LauncherTestSupport.h"
#include "tests/support/TestFiles.h"

namespace {

// An address of a scheme nobody handles, so the shell fails and the fallback runs.
constexpr wchar_t kAddress[] = L"zvnowhere:notice/page";

std::wstring BrowserDouble() {
    return std::wstring(ZV_BIN_DIR) + L"\\tests\\doubles\\browser.exe";
}

// For the scope, this process sees `HKEY_CLASSES_ROOT` as a key of its own holding only the
// ".htm" type and its open command.
class CClassesOverride {
public:
    CClassesOverride(const wchar_t* typeName, const std::wstring* command) {
        m_path = L"Software\\ZvTestClasses\\" + std::to_wstring(::GetCurrentProcessId());
        ::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &m_root, nullptr);
        if (typeName) {
            SetDefault(L".htm", typeName);
            if (command)
                SetDefault(std::wstring(typeName) + L"\\shell\\open\\command", *command);
        }
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, m_root);
    }
    ~CClassesOverride() {
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        ::RegCloseKey(m_root);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    CClassesOverride(const CClassesOverride&) = delete;
    CClassesOverride& operator=(const CClassesOverride&) = delete;

private:
    void SetDefault(const std::wstring& subKey, const std::wstring& value) {
        ::RegSetValueW(m_root, subKey.c_str(), REG_SZ, value.c_str(),
                       static_cast<DWORD>(value.size() * sizeof(wchar_t)));
    }
    std::wstring m_path;
    HKEY m_root = nullptr;
};

struct FallbackCase {
    const char* name;
    std::wstring command;  // the ".htm" open command, "%p" standing for the double's path
    std::wstring expected; // the command line the double gets; empty: nothing may start
};

void PrintTo(const FallbackCase& c, std::ostream* out) {
    *out << c.name;
}

std::wstring WithDouble(std::wstring text) {
    const std::wstring program = BrowserDouble();
    for (size_t at = text.find(L"%p"); at != std::wstring::npos; at = text.find(L"%p"))
        text.replace(at, 2, program);
    return text;
}

class OpenUrlFallbackTest : public ::testing::TestWithParam<FallbackCase> {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableW(kDoubleRecordsVariable, records.Path().c_str());
    }
    void TearDown() override { ::SetEnvironmentVariableW(kDoubleRecordsVariable, nullptr); }
    std::vector<CDoubleRecord> Starts() const {
        return ReadDoubleRecords(records.Path(), L"browser");
    }

    CTempFolder records;
};

TEST_P(OpenUrlFallbackTest, RunsTheHtmCommandWithTheAddress) {
    const FallbackCase& c = GetParam();
    const std::wstring command = WithDouble(c.command);
    INT_PTR result = 0;
    {
        CClassesOverride classes(L"ZvTestPage", &command);
        result = OpenUrl(kAddress, SW_SHOW);
    }
    if (c.expected.empty()) {
        EXPECT_LE(result, 32) << "the shell's failure comes back";
        WaitFor(1500, [] { return false; });
        EXPECT_TRUE(Starts().empty());
        return;
    }
    EXPECT_GT(result, 31);
    ASSERT_TRUE(WaitFor(10000, [&] { return !Starts().empty(); }));
    const auto starts = Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, WithDouble(c.expected));
}

// A command of exactly `length` characters: the quoted double, the bare placeholder, then
// padding that the cut drops.
std::wstring CommandOfLength(size_t length) {
    std::wstring command = L"\"%p\" %1 ";
    const size_t fixed = WithDouble(command).size();
    command.append(length > fixed ? length - fixed : 0, L'x');
    return command;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, OpenUrlFallbackTest,
    ::testing::Values(
        FallbackCase{"QuotedPlaceholder", L"\"%p\" \"%1\"", L"\"%p\"  zvnowhere:notice/page"},
        FallbackCase{"BarePlaceholder", L"\"%p\" %1", L"\"%p\"  zvnowhere:notice/page"},
        FallbackCase{"NoPlaceholder", L"\"%p\" -new", L"\"%p\" -new zvnowhere:notice/page"},
        FallbackCase{"TextAfterThePlaceholderIsDropped", L"\"%p\" -new-window \"%1\" -safe",
                     L"\"%p\" -new-window  zvnowhere:notice/page"},
        FallbackCase{"LongestValueThatFits", CommandOfLength(129),
                     L"\"%p\"  zvnowhere:notice/page"},
        FallbackCase{"ValueOf130CharactersFails", CommandOfLength(130), L""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenUrlTest, NoHtmTypeMeansTheShellsFailure) {
    CTempFolder records;
    ::SetEnvironmentVariableW(kDoubleRecordsVariable, records.Path().c_str());
    INT_PTR result = 0;
    {
        CClassesOverride classes(nullptr, nullptr);
        result = OpenUrl(kAddress, SW_SHOW);
    }
    EXPECT_LE(result, 32);
    WaitFor(1500, [] { return false; });
    EXPECT_TRUE(ReadDoubleRecords(records.Path(), L"browser").empty());
    ::SetEnvironmentVariableW(kDoubleRecordsVariable, nullptr);
}

TEST(GetRegKeyTest, ReadsIntoTheKeyNamesOwnBuffer) {
    const std::wstring command = L"\"C:\\browser.exe\" \"%1\"";
    CClassesOverride classes(L"ZvTestPage", &command);
    wchar_t buffer[520] = L".htm";
    ASSERT_EQ(GetRegKey(HKEY_CLASSES_ROOT, buffer, buffer), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"ZvTestPage");
    EXPECT_NE(GetRegKey(HKEY_CLASSES_ROOT, L"ZvNoSuchType", buffer), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"ZvTestPage") << "a failed read leaves the buffer alone";
}

} // namespace
