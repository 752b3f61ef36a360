// Downloads from a local server that behaves well, badly, or not at all.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include "tests/support/TestServer.h"
#include "update/Download.h"

namespace {

using Clock = std::chrono::steady_clock;
using zv::update::kPackageStallMs;
using zv::update::kVersionDownloadLimitMs;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

int CountLines(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_served / "small.zip", Pattern(3000));
        WriteFile(m_served / "big.bin", Pattern(200000));
        // 56 KB at 1 KB per 100 ms: about 5.6 s, past any deadline, with steady reports.
        WriteFile(m_served / "slow.zip", Pattern(56 * 1024));
        WriteFile(m_target, kPrevious);
        ASSERT_TRUE(m_server.IsRunning());
    }
    // The target holds what it held before, and nothing else was left beside it. A
    // transfer the caller gave up on may still be in a network wait, at most until its
    // deadline: it removes its temporary as soon as that wait ends.
    void ExpectTargetUntouched(double abandonedSeconds = 0) {
        const auto until = Clock::now() + std::chrono::duration<double>(abandonedSeconds);
        while (ListTree(m_folder.Path()) != "fileversion.zip" && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(ReadFile(m_target), kPrevious);
        EXPECT_EQ(ListTree(m_folder.Path()), "fileversion.zip");
    }

    const std::string kPrevious = "the previous archive";
    CTempFolder m_served;
    CTempFolder m_folder;
    fs::path m_target = m_folder / "fileversion.zip";
    CTestServer m_server{m_served.Path()};
};

TEST_F(DownloadTest, ReplacesTheTargetWithTheWholeBody) {
    ASSERT_GE(DownloadToFile(m_server.Url(L"/file/big.bin"), m_target.wstring(), false), 0);
    EXPECT_EQ(ReadFile(m_target), Pattern(200000));
    EXPECT_EQ(ListTree(m_folder.Path()), "fileversion.zip");
}

// Every failure leaves the previous file and no temporary; none of these is complete.
struct FailingCase {
    const char* name;
    const wchar_t* path;
    friend void PrintTo(const FailingCase& c, std::ostream* os) { *os << c.name; }
};

class DownloadFailureTest : public DownloadTest,
                            public ::testing::WithParamInterface<FailingCase> {};

TEST_P(DownloadFailureTest, LeavesTheTargetAsItWas) {
    const auto start = Clock::now();
    EXPECT_LT(DownloadToFile(m_server.Url(GetParam().path), m_target.wstring(), false), 0);
    EXPECT_LT(SecondsSince(start), 20.0);
    ExpectTargetUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    Server, DownloadFailureTest,
    ::testing::Values(
        FailingCase{"NotFound", L"/status/404"}, FailingCase{"ServerError", L"/status/500"},
        FailingCase{"MissingFile", L"/file/none.zip"},
        FailingCase{"DroppedMidBody", L"/drop/50000/big.bin"},
        // Without an announced length a cut body looks like a whole one, so
        // no reply without one is taken.
        FailingCase{"CutWithoutLength", L"/nolength/50000/big.bin"},
        FailingCase{"WholeWithoutLength", L"/nolength/999999/small.zip"},
        FailingCase{"NoStatusLine", L"/raw/small.zip"},
        FailingCase{"ElevenRedirects", L"/redirect/11/small.zip"},
        FailingCase{"ElevenAbsoluteRedirects", L"/aredirect/11/small.zip"},
        FailingCase{"RedirectLoop", L"/loop/0"}, FailingCase{"AbsoluteRedirectLoop", L"/aloop/0"},
        FailingCase{"RedirectToALocalFile", L"/goto/file:%2F%2F%2FC:%2Fwindows%2Fwin.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

// Relative and absolute Location headers, followed up to ten times; a loop is broken off
// by the downloader itself, and nothing keeps asking afterwards.
struct RedirectCase {
    const char* name;
    const char* kind; // the server's path prefix
    friend void PrintTo(const RedirectCase& c, std::ostream* os) { *os << c.name; }
};

class RedirectTest : public DownloadTest, public ::testing::WithParamInterface<RedirectCase> {
protected:
    std::wstring Path(const std::string& rest) const {
        const std::string path = "/" + std::string(GetParam().kind) + rest;
        return std::wstring(path.begin(), path.end());
    }
    int Requests(const char* what) const {
        return CountLines(m_server.RequestLog(), "GET /" + std::string(GetParam().kind) + what);
    }
};

TEST_P(RedirectTest, FollowsTenRedirects) {
    ASSERT_GE(
        DownloadToFile(m_server.Url(Path("redirect/10/small.zip")), m_target.wstring(), false), 0);
    EXPECT_EQ(ReadFile(m_target), Pattern(3000));
    EXPECT_EQ(Requests("redirect/"), 11);
}

TEST_P(RedirectTest, ALoopCostsTheServerElevenRequests) {
    EXPECT_LT(DownloadToFile(m_server.Url(Path("loop/0")), m_target.wstring(), false), 0);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(Requests("loop/"), 11);
    ExpectTargetUntouched();
}

INSTANTIATE_TEST_SUITE_P(Location, RedirectTest,
                         ::testing::Values(RedirectCase{"Relative", ""},
                                           RedirectCase{"Absolute", "a"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadTest, ABodyPastTheLimitIsRefused) {
    const DownloadLimits limits{false, 0, 0, 199999};
    EXPECT_LT(DownloadToFile(m_server.Url(L"/file/big.bin"), m_target.wstring(), limits), 0);
    ExpectTargetUntouched();
}

// Nothing lands in the system's internet cache, and every download asks the server,
// even for a reply that allows caching for an hour.
TEST_F(DownloadTest, BypassesTheCache) {
    const std::wstring url = m_server.Url(L"/page/small.zip");
    ASSERT_GE(DownloadToFile(url, m_target.wstring(), false), 0);
    DWORD size = 0;
    EXPECT_FALSE(GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    WriteFile(m_served / "small.zip", "published since");
    ASSERT_GE(DownloadToFile(url, m_target.wstring(), false), 0);
    EXPECT_EQ(ReadFile(m_target), "published since");
    EXPECT_EQ(CountLines(m_server.RequestLog(), "GET /page/small.zip"), 2);
}

// A cache on the way (a proxy) is told to fetch anew as well.
TEST_F(DownloadTest, AsksCachesOnTheWayForAFreshCopy) {
    ASSERT_GE(DownloadToFile(m_server.Url(L"/headers"), m_target.wstring(), false), 0);
    EXPECT_NE(ReadFile(m_target).find("Pragma: no-cache"), std::string::npos) << ReadFile(m_target);
}

TEST_F(DownloadTest, DeadlineAbandonsASlowDownloadBetweenFourAndFiveSeconds) {
    const auto start = Clock::now();
    const HRESULT result =
        DownloadToFile(m_server.Url(L"/drip/1024/100/slow.zip"), m_target.wstring(), true);
    const double seconds = SecondsSince(start);
    EXPECT_LT(result, 0);
    EXPECT_GE(seconds, 4.0);
    // Reports arrive every 100 ms; the rest is slack for a loaded machine.
    EXPECT_LE(seconds, 5.4);
    ExpectTargetUntouched();
}

TEST_F(DownloadTest, WithoutDeadlineASlowDownloadRunsToItsEnd) {
    const auto start = Clock::now();
    ASSERT_GE(DownloadToFile(m_server.Url(L"/drip/1024/100/slow.zip"), m_target.wstring(), false),
              0);
    EXPECT_GE(SecondsSince(start), 5.0);
    EXPECT_EQ(ReadFile(m_target), Pattern(56 * 1024));
}

// Whatever the server does, the version archive's download has failed about five seconds
// after its start, and has left nothing behind.
struct HostileCase {
    const char* name;
    const wchar_t* path; // null: nothing listens
    friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
};

class HostileServerTest : public DownloadTest, public ::testing::WithParamInterface<HostileCase> {
protected:
    std::wstring Address() const {
        return GetParam().path ? m_server.Url(GetParam().path) : L"http://127.0.0.1:9/x.zip";
    }
};

TEST_P(HostileServerTest, TheVersionArchiveGivesUpWithinFiveSeconds) {
    const auto start = Clock::now();
    EXPECT_LT(DownloadToFile(Address(), m_target.wstring(), true), 0);
    EXPECT_LE(SecondsSince(start), kVersionDownloadLimitMs / 1000.0 + 1.0);
    // The drip sends a piece every half second.
    ExpectTargetUntouched(1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Server, HostileServerTest,
    ::testing::Values(HostileCase{"RefusesTheConnection", nullptr},
                      HostileCase{"NeverAnswers", L"/silent/30"},
                      HostileCase{"SendsHeadersThenNothing", L"/stall/30/big.bin"},
                      HostileCase{"SendsAFewBytesThenStalls", L"/pause/1000/30/big.bin"},
                      HostileCase{"DripsSlowly", L"/drip/100/500/big.bin"}),
    [](const auto& info) { return std::string(info.param.name); });

// The package has no total deadline, but a server that sends nothing for the stall limit
// (shortened in the test build) fails it.
class StalledPackageTest : public HostileServerTest {};

TEST_P(StalledPackageTest, FailsOnceNoByteHasArrivedForTheStallLimit) {
    const auto start = Clock::now();
    EXPECT_LT(DownloadToFile(Address(), m_target.wstring(), false), 0);
    const double seconds = SecondsSince(start);
    EXPECT_GE(seconds, kPackageStallMs / 1000.0);
    EXPECT_LE(seconds, kPackageStallMs / 1000.0 + 1.0);
    ExpectTargetUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    Server, StalledPackageTest,
    ::testing::Values(HostileCase{"NeverAnswers", L"/silent/30"},
                      HostileCase{"SendsHeadersThenNothing", L"/stall/30/big.bin"},
                      HostileCase{"SendsAFewBytesThenStalls", L"/pause/1000/30/big.bin"}),
    [](const auto& info) { return std::string(info.param.name); });

// A transfer given up on is not finished later behind the caller's back: the server
// completes the body after the caller has gone, and the target stays as it was.
TEST_F(DownloadTest, AnAbandonedDownloadNeverPutsItsFileInPlace) {
    EXPECT_LT(DownloadToFile(m_server.Url(L"/pause/1000/7/big.bin"), m_target.wstring(), true), 0);
    std::this_thread::sleep_for(std::chrono::seconds(4));
    ExpectTargetUntouched();
}

} // namespace
