// Downloads through the platform's URL download service from a local server.
#include <chrono>

#include <gtest/gtest.h>

#include "tests/support/TestServer.h"
#include "update/Download.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_served / "small.zip", Pattern(3000));
        WriteFile(m_served / "big.bin", Pattern(200000));
        // 56 KB at 1 KB per 100 ms: about 5.6 s, past any deadline, with steady reports.
        WriteFile(m_served / "slow.zip", Pattern(56 * 1024));
        ASSERT_TRUE(m_server.IsRunning());
    }

    CTempFolder m_served;
    CTempFolder m_target;
    CTestServer m_server{m_served.Path()};
};

TEST_F(DownloadTest, WritesTheBodyAndReplacesAnExistingTarget) {
    const fs::path target = m_target / "fileversion.zip";
    WriteFile(target, std::string(10000, 'x'));
    ASSERT_GE(DownloadToFile(m_server.Url(L"/file/small.zip"), target.wstring(), true), 0);
    EXPECT_EQ(ReadFile(target), Pattern(3000));
}

struct FailingCase {
    const char* name;
    const wchar_t* path;
    friend void PrintTo(const FailingCase& c, std::ostream* os) { *os << c.name; }
};

class DownloadFailureTest : public DownloadTest,
                            public ::testing::WithParamInterface<FailingCase> {};

TEST_P(DownloadFailureTest, Fails) {
    const auto start = Clock::now();
    EXPECT_LT(
        DownloadToFile(m_server.Url(GetParam().path), (m_target / "out.zip").wstring(), false), 0);
    EXPECT_LT(SecondsSince(start), 20.0);
}

INSTANTIATE_TEST_SUITE_P(Server, DownloadFailureTest,
                         ::testing::Values(FailingCase{"NotFound", L"/status/404"},
                                           FailingCase{"ServerError", L"/status/500"},
                                           FailingCase{"MissingFile", L"/file/none.zip"},
                                           FailingCase{"DroppedMidBody", L"/drop/50000/big.bin"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadTest, DeadlineAbandonsASlowDownloadBetweenFourAndFiveSeconds) {
    const auto start = Clock::now();
    const HRESULT result = DownloadToFile(m_server.Url(L"/drip/1024/100/slow.zip"),
                                          (m_target / "v.zip").wstring(), true);
    const double seconds = SecondsSince(start);
    EXPECT_LT(result, 0);
    EXPECT_GE(seconds, 4.0);
    // Reports arrive every 100 ms; the rest is slack for a loaded machine.
    EXPECT_LE(seconds, 5.4);
}

TEST_F(DownloadTest, WithoutDeadlineASlowDownloadRunsToItsEnd) {
    const auto start = Clock::now();
    const fs::path target = m_target / "Zorvane.zip";
    ASSERT_GE(DownloadToFile(m_server.Url(L"/drip/1024/100/slow.zip"), target.wstring(), false), 0);
    EXPECT_GE(SecondsSince(start), 5.0);
    EXPECT_EQ(ReadFile(target), Pattern(56 * 1024));
}

// Without progress reports the deadline is never looked at: the call lasts until the
// server gives up, here after 6 seconds.
TEST_F(DownloadTest, AStalledDownloadIsNotCutShortByTheDeadline) {
    const auto start = Clock::now();
    EXPECT_LT(
        DownloadToFile(m_server.Url(L"/stall/6/big.bin"), (m_target / "v.zip").wstring(), true), 0);
    const double seconds = SecondsSince(start);
    EXPECT_GE(seconds, 5.8);
    EXPECT_LT(seconds, 20.0);
}

} // namespace
