// The patcher stand-in writes down its start exactly; the updater stand-in is seen at work
// in the worker's tests.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/doubles/Record.h"
#include "tests/support/TestFiles.h"

namespace {

TEST(PatcherDoubleTest, RecordsCommandLineArgumentTextAndWorkingFolder) {
    CTempFolder records;
    CTempFolder workFolder;
    SetEnvironmentVariableW(kDoubleRecordsVariable, records.Path().c_str());
    const std::wstring program = std::wstring(ZV_BIN_DIR) + L"\\tests\\doubles\\patcher_zv2.exe";
    std::wstring line = L"\"" + program + L"\"  http://127.0.0.1:47181/version_qlt02.ini";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               workFolder.Path().c_str(), &startup, &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetEnvironmentVariableW(kDoubleRecordsVariable, nullptr);

    const auto starts = ReadDoubleRecords(records.Path(), L"patcher");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, line);
    EXPECT_EQ(starts[0].argumentText, L"http://127.0.0.1:47181/version_qlt02.ini");
    EXPECT_EQ(starts[0].workingFolder, workFolder.Path().wstring());
    EXPECT_FALSE(starts[0].handOverRead);
}

} // namespace
