// The worker's roads in this process, against windows the test made and the local server.
#include "tests/worker/WorkerFixture.h"

namespace {

// Roads that end with Start: nothing newer is published, or the version cannot be had.
struct ReadyRoad {
    const char* name;
    const char* versionFile;   // the published "fileVersion.txt"; null: none published
    const wchar_t* versionUrl; // where the version archive is asked for; null: the file
    const char* servedBytes;   // served in place of a version archive; null: a real one
    bool brokenEntry = false;  // the archive also holds an entry that fails its check
    friend void PrintTo(const ReadyRoad& road, std::ostream* os) { *os << road.name; }
};

class WorkerReadyRoadTest : public WorkerTest, public ::testing::WithParamInterface<ReadyRoad> {};

TEST_P(WorkerReadyRoadTest, ShowsAndFocusesStartRemovesTheFolderAndStartsNoUpdater) {
    const ReadyRoad& road = GetParam();
    if (road.versionFile) {
        std::vector<ZipEntrySpec> entries{{"fileVersion.txt", road.versionFile}};
        if (road.brokenEntry)
            entries.push_back({"broken.bin", "x", ZipEntrySpec::Kind::WrongCrc});
        ASSERT_TRUE(BuildZip(m_site / "fileversion.zip", entries));
    }
    PublishPackage();
    if (road.servedBytes)
        WriteFile(m_site / "fileversion.zip", road.servedBytes);
    if (road.versionUrl)
        m_engine.m_strVersionZipUrl = m_server.Url(road.versionUrl);
    // Left by an earlier run: it does not stop the check and goes with the folder.
    WriteFile(UpdateFolder() / "old" / "leftover.txt", "old");

    ASSERT_TRUE(Start());
    EXPECT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    EXPECT_EQ(m_windows.FocusRequests(), 1);
    EXPECT_FALSE(fs::exists(UpdateFolder()));
    EXPECT_TRUE(m_windows.SkinAlive());
    EXPECT_EQ(m_windows.ExitRequests(), 0);
    EXPECT_TRUE(UpdaterStarts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Roads, WorkerReadyRoadTest,
    ::testing::Values(ReadyRoad{"SameVersion", "3.0.0.4\r\n", nullptr, ""},
                      ReadyRoad{"OlderVersion", "2.9.9.9\r\n", nullptr, ""},
                      ReadyRoad{"VersionAfterText", "Version 3.0.0.3\r\nmore\r\n", nullptr, ""},
                      ReadyRoad{"LineFeedOnly", "3.0.0.5\n", nullptr, ""},
                      ReadyRoad{"NoLineEnd", "3.0.0.5", nullptr, ""},
                      ReadyRoad{"VersionArchiveMissing", nullptr, L"/status/404", ""},
                      ReadyRoad{"ServerError", nullptr, L"/status/500", ""},
                      ReadyRoad{"UnreadableArchive", nullptr, nullptr, "this is no zip archive"},
                      // A newer version, but from an archive that did not unpack whole.
                      ReadyRoad{"ArchiveWithABrokenEntry", "3.0.0.5\r\n", nullptr, nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkerTest, AnEarlierRunsVersionFileIsNotTakenForTheServersAnswer) {
    WriteFile(UpdateFolder() / "fileVersion.txt", "3.0.0.5\r\n");
    ASSERT_TRUE(BuildZip(m_site / "fileversion.zip", {{"readme.txt", "no version here"}}));
    PublishPackage();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    EXPECT_FALSE(fs::exists(UpdateFolder()));
    EXPECT_EQ(m_server.RequestLog().find("Zorvane.zip"), std::string::npos);
    EXPECT_TRUE(m_windows.SkinAlive());
}

TEST_F(WorkerTest, NoServerListeningShowsStart) {
    PublishVersion("3.0.0.5\r\n");
    // A port that nobody listens on: the connection is refused.
    m_engine.m_strVersionZipUrl = L"http://127.0.0.1:1/fileversion.zip";
    ASSERT_TRUE(Start());
    EXPECT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    EXPECT_FALSE(fs::exists(UpdateFolder()));
    EXPECT_TRUE(UpdaterStarts().empty());
}

std::string HandOverLines(const fs::path& exeDir, const std::string& restart) {
    const std::string dir = exeDir.string();
    return dir + "\\zv_worker_tests.exe\r\n" + dir + "\\Launcher Updater\r\n" + dir + "\r\n" +
           std::to_string(GetCurrentProcessId()) + "\r\n" + restart + "\r\n";
}

TEST_F(WorkerTest, NewerVersionUnpacksThePackageAndHandsOverToTheUpdater) {
    PublishVersion("3.0.1.0\r\n");
    PublishPackage();
    // An earlier run's leftovers are not handed to the updater with the package.
    WriteFile(UpdateFolder() / "stale.dll", "stale");
    WriteFile(UpdateFolder() / "data" / "old.txt", "old");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil([&] { return m_windows.ExitRequests() > 0; }, kWaitMs));
    EXPECT_FALSE(m_windows.SkinAlive());
    EXPECT_EQ(m_windows.ExitRequests(), 1);

    // The updater runs on its own: wait for it to have written down its start.
    ASSERT_TRUE(PumpUntil([&] { return !UpdaterStarts().empty(); }, kWaitMs));
    const auto starts = UpdaterStarts();
    ASSERT_EQ(starts.size(), 1u);
    const std::wstring handOver = (UpdateFolder() / "ud_data.txt").wstring();
    EXPECT_EQ(starts[0].commandLine, L"RUNDLL32.EXE .\\updater.dll,_ExternalUpdate@16 " + handOver);
    EXPECT_EQ(starts[0].argumentText, handOver);
    EXPECT_EQ(starts[0].workingFolder, m_exeDir.wstring());
    ASSERT_TRUE(starts[0].handOverRead);
    EXPECT_EQ(starts[0].handOver, HandOverLines(m_exeDir, "restart"));

    // The package is unpacked with its folders and gone itself; the version file stays.
    EXPECT_EQ(ListTree(UpdateFolder()),
              "Zorvane.exe data/ data/more/ data/more/deep.txt data/skin.bin empty/ "
              "fileVersion.txt ud_data.txt");
    EXPECT_EQ(ReadFile(UpdateFolder() / "data" / "more" / "deep.txt"), "deep");
    // Start is never shown on this road.
    EXPECT_FALSE(IsWindowVisible(m_windows.Start()));
    EXPECT_EQ(m_windows.FocusRequests(), 0);
}

// A newer version is published, but its package cannot be had whole.
struct PackageFailure {
    const char* name;
    const wchar_t* packageUrl;         // where the package is asked for; null: the file
    std::vector<ZipEntrySpec> entries; // the package served; empty: the bytes below
    std::string servedBytes;
    friend void PrintTo(const PackageFailure& failure, std::ostream* os) { *os << failure.name; }
};

class WorkerPackageFailureTest : public WorkerTest,
                                 public ::testing::WithParamInterface<PackageFailure> {};

TEST_P(WorkerPackageFailureTest, ShowsStartAndNeverHandsOver) {
    const PackageFailure& failure = GetParam();
    PublishVersion("3.0.0.5\r\n");
    if (!failure.entries.empty())
        ASSERT_TRUE(BuildZip(m_site / "Zorvane.zip", failure.entries));
    else if (!failure.servedBytes.empty())
        WriteFile(m_site / "Zorvane.zip", failure.servedBytes);
    if (failure.packageUrl)
        m_engine.m_strLauncherZipUrl = m_server.Url(failure.packageUrl);

    ASSERT_TRUE(Start());
    EXPECT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    EXPECT_TRUE(fs::exists(UpdateFolder() / "fileVersion.txt"));
    EXPECT_FALSE(fs::exists(UpdateFolder() / "ud_data.txt"));
    EXPECT_FALSE(fs::exists(UpdateFolder() / "Zorvane.zip"));
    EXPECT_TRUE(m_windows.SkinAlive());
    EXPECT_EQ(m_windows.ExitRequests(), 0);
    Pump(500);
    EXPECT_TRUE(UpdaterStarts().empty());
}

using Kind = ZipEntrySpec::Kind;

INSTANTIATE_TEST_SUITE_P(
    Packages, WorkerPackageFailureTest,
    ::testing::Values(
        PackageFailure{"Missing", L"/status/404", {}, ""},
        PackageFailure{
            "CutShort", L"/drop/3000/Zorvane.zip", {{"Zorvane.exe", NoiseBytes(20000)}}, ""},
        PackageFailure{"NotAZip", nullptr, {}, "this is no zip archive"},
        // An archive's end record and nothing else.
        PackageFailure{"NoEntry", nullptr, {}, std::string("PK\5\6", 4) + std::string(18, '\0')},
        PackageFailure{
            "WrongCrc",
            nullptr,
            {{"Zorvane.exe", NoiseBytes(20000)}, {"updater.dll", "half", Kind::WrongCrc}},
            ""},
        PackageFailure{
            "BrokenData",
            nullptr,
            {{"Zorvane.exe", NoiseBytes(20000)}, {"data/a.bin", "abc", Kind::BrokenData}},
            ""},
        PackageFailure{"EscapingPath",
                       nullptr,
                       {{"Zorvane.exe", NoiseBytes(20000)}, {"../outside.txt", "out"}},
                       ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkerTest, WithoutUpdatePathsGoesStraightToStart) {
    CUpdateEngine engine; // as SetupUpdatePaths leaves it when the folder is too long
    engine.m_vOwnVersion = {3, 0, 0, 4};
    ASSERT_TRUE(StartUpdateWorker(engine, m_windows.Dialog(), m_windows.Start(), m_windows.Skin()));
    EXPECT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    EXPECT_EQ(m_server.RequestLog(), "");
}

TEST_F(WorkerTest, WorksOnItsOwnCopyOfTheEngine) {
    PublishVersion("3.0.0.4\r\n");
    {
        CUpdateEngine engine = m_engine;
        ASSERT_TRUE(
            StartUpdateWorker(engine, m_windows.Dialog(), m_windows.Start(), m_windows.Skin()));
        // What the caller does with its engine afterwards never reaches the worker.
        engine.m_strVersionZipUrl = m_server.Url(L"/status/500");
        engine.m_strUpdateDir.clear();
    }
    EXPECT_TRUE(PumpUntil([&] { return m_windows.StartShownAndFocused(); }, kWaitMs));
    EXPECT_NE(m_server.RequestLog().find("GET /file/fileversion.zip"), std::string::npos);
    EXPECT_FALSE(fs::exists(UpdateFolder()));
}

TEST_F(WorkerTest, WindowsGoneBeforeTheCheckEndsAreLeftAlone) {
    // 3 KB at 512 bytes every 300 ms: the windows go while the archive is arriving.
    ASSERT_TRUE(BuildZip(m_site / "fileversion.zip",
                         {{"fileVersion.txt", "3.0.0.4\r\n"}, {"padding.bin", NoiseBytes(3000)}}));
    m_engine.m_strVersionZipUrl = m_server.Url(L"/drip/512/300/fileversion.zip");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil(
        [&] {
            return fs::exists(UpdateFolder() / "fileversion.zip") || !m_server.RequestLog().empty();
        },
        kWaitMs));
    m_windows.Destroy();
    // The check still ends, and tidies its folder away.
    EXPECT_TRUE(PumpUntil([&] { return !fs::exists(UpdateFolder()); }, kWaitMs));
}

// StartUpdater on its own, on this thread.
class StartUpdaterTest : public WorkerTest {
protected:
    CUpdateWorker Worker() const {
        return CUpdateWorker(m_engine, m_windows.Dialog(), m_windows.Start(), m_windows.Skin());
    }
};

TEST_F(StartUpdaterTest, ReplacesAnOldHandOverFileAndSaysWhetherToRestart) {
    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart);
        WriteFile(UpdateFolder() / "ud_data.txt", std::string(4000, 'o'));
        CWorkerWindows windows;
        CUpdateWorker worker(m_engine, windows.Dialog(), windows.Start(), windows.Skin());
        EXPECT_EQ(worker.StartUpdater(restart), 0);
        EXPECT_EQ(windows.ExitRequests(), 1);
        EXPECT_EQ(ReadFile(UpdateFolder() / "ud_data.txt"),
                  HandOverLines(m_exeDir, restart ? "restart" : "no_restart"));
    }
    ASSERT_TRUE(PumpUntil([&] { return UpdaterStarts().size() == 2; }, kWaitMs));
    for (const auto& start : UpdaterStarts()) {
        EXPECT_TRUE(start.handOverRead);
        EXPECT_EQ(start.workingFolder, m_exeDir.wstring());
    }
}

TEST_F(StartUpdaterTest, WithoutAHandOverFileNothingIsStarted) {
    // No update folder, so the hand-over file cannot be made.
    std::error_code error;
    fs::remove_all(UpdateFolder(), error);
    EXPECT_EQ(Worker().StartUpdater(true), 1);
    EXPECT_TRUE(m_windows.SkinAlive());
    EXPECT_EQ(m_windows.ExitRequests(), 0);
    Pump(1000);
    EXPECT_TRUE(UpdaterStarts().empty());
}

TEST(UpdaterCommandLineTest, TakesTheWholeHandOverPathUnquoted) {
    // Wide text through the framework's printf, blanks and letters beyond ASCII included.
    EXPECT_EQ(
        UpdaterCommandLine(L"C:\\Spiele\\Zorvane \u00e9t\u00e9\\Launcher Updater\\ud_data.txt"),
        L"RUNDLL32.EXE .\\updater.dll,_ExternalUpdate@16 "
        L"C:\\Spiele\\Zorvane \u00e9t\u00e9\\Launcher Updater\\ud_data.txt");
}

} // namespace
