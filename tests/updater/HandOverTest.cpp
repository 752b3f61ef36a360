// The hand-over file is accepted only as the launcher writes it.
#include <gtest/gtest.h>

#include <string>

#include "updater/HandOver.h"

namespace {

const std::string kArgument = "C:\\Games\\Zorvane\\Launcher Updater\\ud_data.txt";

std::string Lines(std::initializer_list<std::string> lines, const char* end = "\r\n") {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

const std::string kGood =
    Lines({"C:\\Games\\Zorvane\\Zorvane.exe", "C:\\Games\\Zorvane\\Launcher Updater",
           "C:\\Games\\Zorvane", "4120", "restart"});

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

struct RefusedCase {
    const char* name;
    std::string argument;
    std::string bytes;
};

void PrintTo(const RefusedCase& refused, std::ostream* out) {
    *out << refused.name;
}

class HandOverRefusedTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(HandOverRefusedTest, IsRefusedWithAReason) {
    CHandOver handOver;
    std::wstring reason;
    EXPECT_FALSE(ParseHandOver(GetParam().argument, GetParam().bytes, handOver, reason));
    EXPECT_FALSE(reason.empty());
}

const std::string kLongFolder = "C:\\" + std::string(250, 'g');

INSTANTIATE_TEST_SUITE_P(
    Table, HandOverRefusedTest,
    testing::Values(
        RefusedCase{"Empty", kArgument, ""},
        RefusedCase{"FourLines", kArgument, kGood.substr(0, kGood.rfind("restart"))},
        RefusedCase{"SixLines", kArgument, kGood + "\r\n"},
        RefusedCase{
            "LfOnly", kArgument,
            Lines({"C:\\Games\\Zorvane\\Zorvane.exe", "C:\\Games\\Zorvane\\Launcher Updater",
                   "C:\\Games\\Zorvane", "4120", "restart"},
                  "\n")},
        RefusedCase{"LastLineWithoutEnd", kArgument, kGood.substr(0, kGood.size() - 2)},
        RefusedCase{"StrayCarriageReturn", kArgument, Replace(kGood, "4120", "41\r20")},
        RefusedCase{"ZeroByte", kArgument,
                    Replace(kGood, "4120",
                            std::string("41\0"
                                        "20",
                                        5))},
        RefusedCase{"FolderNotOfTheExecutable", kArgument,
                    Replace(kGood, "\r\nC:\\Games\\Zorvane\r\n", "\r\nC:\\Games\r\n")},
        RefusedCase{"FolderWithTrailingBackslash", kArgument,
                    Replace(kGood, "\r\nC:\\Games\\Zorvane\r\n", "\r\nC:\\Games\\Zorvane\\\r\n")},
        RefusedCase{"UpdateFolderMisnamed", kArgument,
                    Replace(kGood, "Zorvane\\Launcher Updater\r\n", "Zorvane\\Updater\r\n")},
        RefusedCase{"ArgumentInAnotherFolder", "C:\\Games\\Other\\Launcher Updater\\ud_data.txt",
                    kGood},
        RefusedCase{"ArgumentNotTheHandOverFile", "C:\\Games\\Zorvane\\Launcher Updater\\other.txt",
                    kGood},
        RefusedCase{"ArgumentQuoted", "\"" + kArgument + "\"", kGood},
        RefusedCase{"ArgumentWithTrailingBlank", kArgument + " ", kGood},
        RefusedCase{"RelativeExecutable", "Zorvane\\Launcher Updater\\ud_data.txt",
                    Lines({"Zorvane\\Zorvane.exe", "Zorvane\\Launcher Updater", "Zorvane", "4120",
                           "restart"})},
        RefusedCase{"DotDotInPath", "C:\\Games\\..\\Zorvane\\Launcher Updater\\ud_data.txt",
                    Lines({"C:\\Games\\..\\Zorvane\\Zorvane.exe",
                           "C:\\Games\\..\\Zorvane\\Launcher Updater", "C:\\Games\\..\\Zorvane",
                           "4120", "restart"})},
        RefusedCase{
            "UnrepresentableName", "C:\\Games\\Zo?vane\\Launcher Updater\\ud_data.txt",
            Lines({"C:\\Games\\Zo?vane\\Zorvane.exe", "C:\\Games\\Zo?vane\\Launcher Updater",
                   "C:\\Games\\Zo?vane", "4120", "restart"})},
        RefusedCase{"PathLongerThanTheLaunchersBuffer",
                    kLongFolder + "\\Launcher Updater\\ud_data.txt",
                    Lines({kLongFolder + "\\Zorvane.exe", kLongFolder + "\\Launcher Updater",
                           kLongFolder, "4120", "restart"})},
        RefusedCase{"ProcessIdNotANumber", kArgument, Replace(kGood, "4120", "launcher")},
        RefusedCase{"ProcessIdZero", kArgument, Replace(kGood, "4120", "0")},
        RefusedCase{"ProcessIdLeadingZero", kArgument, Replace(kGood, "4120", "04120")},
        RefusedCase{"ProcessIdNegative", kArgument, Replace(kGood, "4120", "-4120")},
        RefusedCase{"ProcessIdWithBlank", kArgument, Replace(kGood, "4120", "4120 ")},
        RefusedCase{"ProcessIdTooLarge", kArgument, Replace(kGood, "4120", "2147483648")},
        RefusedCase{"RestartMisspelled", kArgument, Replace(kGood, "restart", "Restart")},
        RefusedCase{"RestartMissing", kArgument, Replace(kGood, "restart", "")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HandOverTest, AcceptsTheLaunchersFiveLines) {
    CHandOver handOver;
    std::wstring reason;
    ASSERT_TRUE(ParseHandOver(kArgument, kGood, handOver, reason)) << reason.c_str();
    EXPECT_EQ(handOver.exePath, "C:\\Games\\Zorvane\\Zorvane.exe");
    EXPECT_EQ(handOver.updateDir, "C:\\Games\\Zorvane\\Launcher Updater");
    EXPECT_EQ(handOver.exeDir, "C:\\Games\\Zorvane");
    EXPECT_EQ(handOver.processId, 4120u);
    EXPECT_TRUE(handOver.restart);

    ASSERT_TRUE(
        ParseHandOver(kArgument, Replace(kGood, "restart", "no_restart"), handOver, reason));
    EXPECT_FALSE(handOver.restart);
    ASSERT_TRUE(ParseHandOver(kArgument, Replace(kGood, "4120", "2147483647"), handOver, reason));
    EXPECT_EQ(handOver.processId, 2147483647u);
}

TEST(HandOverTest, AcceptsALauncherAtADriveRootAndOnANetworkShare) {
    CHandOver handOver;
    std::wstring reason;
    EXPECT_TRUE(
        ParseHandOver("C:\\Launcher Updater\\ud_data.txt",
                      Lines({"C:\\Zorvane.exe", "C:\\Launcher Updater", "C:", "8", "no_restart"}),
                      handOver, reason))
        << reason.c_str();
    EXPECT_EQ(handOver.exeDir, "C:");
    EXPECT_TRUE(
        ParseHandOver("\\\\host\\games\\Launcher Updater\\ud_data.txt",
                      Lines({"\\\\host\\games\\Zorvane.exe", "\\\\host\\games\\Launcher Updater",
                             "\\\\host\\games", "8", "restart"}),
                      handOver, reason))
        << reason.c_str();
}

} // namespace
