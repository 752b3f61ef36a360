// How a command line is classified decides whether a second launcher hands over or runs.
#include "framework/CommandLine.h"
#include "framework/WinApp.h"
#include <gtest/gtest.h>

namespace {

struct Case {
    const wchar_t* line;
    int command;
    const wchar_t* file;
};

TEST(CommandLineTest, ClassifiesLikeTheFramework) {
    using C = CCommandLineInfo;
    const Case cases[] = {
        {L"Zorvane.exe", C::FileNew, L""},
        {L"Zorvane.exe notes.txt", C::FileOpen, L"notes.txt"},
        {L"Zorvane.exe \"C:\\My Games\\a b.txt\"", C::FileOpen, L"C:\\My Games\\a b.txt"},
        {L"Zorvane.exe /p notes.txt", C::FilePrint, L"notes.txt"},
        {L"Zorvane.exe -p", C::FilePrint, L""},
        {L"Zorvane.exe /pt notes.txt printer driver port", C::FilePrintTo, L"notes.txt"},
        {L"Zorvane.exe /dde", C::FileDDE, L""},
        {L"Zorvane.exe /Register", C::AppRegister, L""},
        {L"Zorvane.exe /regserver", C::AppRegister, L""},
        {L"Zorvane.exe -UNREGISTER", C::AppUnregister, L""},
        {L"Zorvane.exe /Unregserver", C::AppUnregister, L""},
        // Print and DDE switches are case-sensitive; unknown switches change nothing.
        {L"Zorvane.exe /P", C::FileNew, L""},
        {L"Zorvane.exe /DDE", C::FileNew, L""},
        {L"Zorvane.exe /gtest_filter=x", C::FileNew, L""},
        {L"Zorvane.exe /Embedding", C::FileNew, L""},
        // Only the first plain argument is the file; a switch after it still counts.
        {L"Zorvane.exe a.txt b.txt", C::FileOpen, L"a.txt"},
        {L"Zorvane.exe a.txt /p", C::FilePrint, L"a.txt"},
    };
    for (const auto& c : cases) {
        CCommandLineInfo info;
        AfxParseCommandLine(info, c.line);
        EXPECT_EQ(static_cast<int>(info.m_nShellCommand), c.command) << c.line;
        EXPECT_EQ(info.m_strFileName, c.file) << c.line;
    }
}

TEST(CommandLineTest, PrintToTakesPrinterDriverAndPort) {
    CCommandLineInfo info;
    AfxParseCommandLine(info, L"x.exe /pt doc.txt Printer Driver Port");
    EXPECT_EQ(info.m_strPrinterName, L"Printer");
    EXPECT_EQ(info.m_strDriverName, L"Driver");
    EXPECT_EQ(info.m_strPortName, L"Port");
}

} // namespace
