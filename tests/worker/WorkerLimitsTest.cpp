// However the update server behaves, the worker ends: the version check within its bound,
// the package once it has stopped arriving.
#include <winsock2.h>

#include <chrono>
#include <cstdio>

#include "tests/support/LoopbackSocket.h"
#include "tests/worker/WorkerFixture.h"
#include "update/UpdateConstants.h"

namespace {

using Clock = std::chrono::steady_clock;

// Start shown and focused at most this long after the worker was started.
constexpr double kVersionCheckBoundSeconds = 6.0;

struct HostileServer {
    const char* name;
    const wchar_t* path; // on the test server; null: the silent listener
    friend void PrintTo(const HostileServer& server, std::ostream* os) { *os << server.name; }
};

class WorkerVersionBoundTest : public WorkerTest,
                               public ::testing::WithParamInterface<HostileServer> {};

TEST_P(WorkerVersionBoundTest, StartIsShownWithinTheBound) {
    // A newer launcher is published, in an archive long enough to be cut anywhere.
    ASSERT_TRUE(BuildZip(m_site / "fileversion.zip", {{"fileVersion.txt", "3.0.0.5\r\n"},
                                                      {"padding.bin", NoiseBytes(64 * 1024)}}));
    PublishPackage();
    CLoopbackSocket silent(true); // takes connections and never answers
    ASSERT_NE(silent.Port(), 0);
    m_engine.m_strVersionZipUrl =
        GetParam().path
            ? m_server.Url(GetParam().path)
            : L"http://127.0.0.1:" + std::to_wstring(silent.Port()) + L"/fileversion.zip";

    const auto start = Clock::now();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("Start shown %.2f s after the worker was started\n", seconds);
    EXPECT_LE(seconds, kVersionCheckBoundSeconds);
    // The abandoned download has let go of its temporary, so the folder went too.
    EXPECT_FALSE(fs::exists(UpdateFolder()));
    EXPECT_TRUE(m_windows.SkinAlive());
    EXPECT_EQ(m_server.RequestLog().find("Zorvane.zip"), std::string::npos);
    EXPECT_TRUE(UpdaterStarts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Servers, WorkerVersionBoundTest,
    ::testing::Values(HostileServer{"AcceptsAndNeverAnswers", nullptr},
                      HostileServer{"HeadersThenNothing", L"/stall/60/fileversion.zip"},
                      HostileServer{"FewBytesThenNothing", L"/drip/16/60000/fileversion.zip"},
                      HostileServer{"DripsSlowly", L"/drip/256/250/fileversion.zip"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkerTest, APackageThatStopsArrivingIsAbandonedAndStartShown) {
    PublishVersion("3.0.0.5\r\n");
    PublishPackage();
    m_engine.m_strLauncherZipUrl = m_server.Url(L"/stall/60/Zorvane.zip");
    const auto start = Clock::now();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("Start shown %.2f s after the worker was started\n", seconds);
    EXPECT_GE(seconds, zv::update::kPackageStallMs / 1000.0);
    EXPECT_TRUE(m_windows.SkinAlive());
    EXPECT_FALSE(fs::exists(UpdateFolder() / "Zorvane.zip"));
    EXPECT_FALSE(fs::exists(UpdateFolder() / "ud_data.txt"));
    EXPECT_TRUE(UpdaterStarts().empty());
}

TEST_F(WorkerTest, APackageArrivingSlowlyButSteadilyIsNotCutShort) {
    PublishVersion("3.0.0.5\r\n");
    // Twice as long in all as the package may stay silent, a piece every 200 ms.
    const std::size_t pieces = zv::update::kPackageStallMs * 2 / 200;
    ASSERT_TRUE(BuildZip(m_site / "Zorvane.zip", {{"Zorvane.exe", NoiseBytes(1000)},
                                                  {"padding.bin", NoiseBytes(pieces * 1000)}}));
    m_engine.m_strLauncherZipUrl = m_server.Url(L"/drip/1000/200/Zorvane.zip");
    const auto start = Clock::now();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil([&] { return m_windows.ExitRequests() > 0; }, 3 * kWaitMs));
    EXPECT_GE(std::chrono::duration<double>(Clock::now() - start).count(),
              zv::update::kPackageStallMs * 1.5 / 1000.0);
    EXPECT_FALSE(IsWindowVisible(m_windows.Start()));
    ASSERT_TRUE(PumpUntil([&] { return !UpdaterStarts().empty(); }, kWaitMs));
    EXPECT_EQ(ReadFile(UpdateFolder() / "padding.bin").size(), pieces * 1000);
}

} // namespace
