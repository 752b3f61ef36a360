// The roads of a launcher start, as real processes: the test build's Zorvane.exe in a fresh
// game folder whose path holds a blank, the local servers on the compiled-in addresses,
// and the doubles of the patcher and the updater beside it.
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/doubles/Record.h"
#include "tests/support/LauncherFixture.h"
#include "tests/update/ZipBuilder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartButton = 1000;
constexpr UINT kLauncherExit = WM_USER + 12;
// The launcher's windows appear, or its roads end, well within this.
constexpr DWORD kWaitMs = 20000;
// Start shown and focused at most this long after the worker was started.
constexpr double kVersionCheckBoundSeconds = 6.0;

template <class F> bool WaitUntil(DWORD timeoutMs, F done) {
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (Clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Start visible and holding the keyboard focus of the launcher's window thread.
bool StartShownAndFocused(HWND dialog) {
    HWND start = GetDlgItem(dialog, kStartButton);
    if (!start || !IsWindowVisible(start))
        return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
           info.hwndFocus == start;
}

// The launcher's dialog once Start is shown and focused; null when it never was.
HWND WaitForStartOf(const CLauncherProcess& launcher) {
    HWND dialog = nullptr;
    WaitUntil(kWaitMs, [&] {
        dialog = launcher.Windows().dialog;
        return dialog && StartShownAndFocused(dialog);
    });
    return dialog && StartShownAndFocused(dialog) ? dialog : nullptr;
}

// Every file below `root` outside the update folder, with its size and last write.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>>
FilesOutsideUpdateFolder(const fs::path& root) {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string name = it->path().lexically_relative(root).generic_string();
        if (name.rfind("Launcher Updater", 0) == 0) {
            it.disable_recursion_pending();
            continue;
        }
        files[name] = {it->is_regular_file() ? it->file_size() : 0, it->last_write_time()};
    }
    return files;
}

class RoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_game.AddDouble(L"updater.dll"));
        ASSERT_TRUE(m_game.AddDouble(L"patcher_zv2.exe"));
    }

    // The site with "/fileversion.zip" and "/Zorvane.zip" answered as the test server's
    // paths `versionAs` and `packageAs` (null: the files of the site's folder).
    void Serve(const char* versionAs = nullptr, const char* packageAs = nullptr) {
        CLauncherSite::Aliases aliases = CLauncherSite::DefaultAliases();
        for (auto& [path, target] : aliases) {
            if (path == "/fileversion.zip" && versionAs)
                target = versionAs;
            if (path == "/Zorvane.zip" && packageAs)
                target = packageAs;
        }
        m_site = std::make_unique<CLauncherSite>(aliases);
        ASSERT_TRUE(m_site->IsRunning());
    }

    // A version archive of the given "fileVersion.txt" and a padding entry of `padding`
    // bytes, so that a slow server can be caught in the middle of it.
    void PublishVersion(const std::string& versionFile, std::size_t padding = 0) {
        std::vector<ZipEntrySpec> entries{{"fileVersion.txt", versionFile}};
        if (padding)
            entries.push_back({"padding.bin", NoiseBytes(padding)});
        ASSERT_TRUE(BuildZip(m_site->Folder() / "fileversion.zip", entries));
    }

    // A launcher package with nested folders; `extra` more files make it long to fetch.
    void PublishPackage(std::size_t extraBytes = 0) {
        std::vector<ZipEntrySpec> entries{{"Zorvane.exe", NoiseBytes(20000)},
                                          {"data/skin.bin", "skin"},
                                          {"data/more/deep.txt", "deep"},
                                          {"empty/", "", ZipEntrySpec::Kind::Folder}};
        if (extraBytes)
            entries.push_back({"data/padding.bin", NoiseBytes(extraBytes)});
        ASSERT_TRUE(BuildZip(m_site->Folder() / "Zorvane.zip", entries));
    }

    // Thousands of small files: long to unpack.
    void PublishManyFilePackage() {
        std::vector<ZipEntrySpec> entries{{"Zorvane.exe", NoiseBytes(20000)}};
        for (int i = 0; i < 3000; ++i)
            entries.push_back({"many/" + std::to_string(i) + ".bin", NoiseBytes(2000)});
        ASSERT_TRUE(BuildZip(m_site->Folder() / "Zorvane.zip", entries));
    }

    void Launch(const fs::path& workingFolder = {}) {
        m_started = Clock::now();
        m_launcher = std::make_unique<CLauncherProcess>(m_game, CLauncherStart{L"", workingFolder});
        ASSERT_TRUE(m_launcher->Started());
    }

    HWND WaitForStart() const { return WaitForStartOf(*m_launcher); }

    std::vector<CDoubleRecord> UpdaterStarts() const {
        return ReadDoubleRecords(m_game.Records(), L"updater");
    }

    // Ends a launcher that shows Start the player's way, with the close button.
    void CloseAndExpectCleanEnd() {
        ASSERT_TRUE(m_launcher->End());
        EXPECT_EQ(m_launcher->ExitCode(), 0u);
    }

    CGameFolder m_game;
    std::unique_ptr<CLauncherSite> m_site;
    std::unique_ptr<CLauncherProcess> m_launcher;
    Clock::time_point m_started;
};

// Roads on which the launcher ends up showing Start.
struct StartRoad {
    const char* name;
    const char* versionFile;  // the published "fileVersion.txt"; null: no archive made
    const char* servedBytes;  // served as "/fileversion.zip" instead; null: the archive
    const char* versionAlias; // what "/fileversion.zip" is answered as; null: the file
    friend void PrintTo(const StartRoad& road, std::ostream* os) { *os << road.name; }
};

class RoadToStartTest : public RoadTest, public ::testing::WithParamInterface<StartRoad> {};

TEST_P(RoadToStartTest, ShowsStartFocusedRemovesTheUpdateFolderAndStartsNoUpdater) {
    const StartRoad& road = GetParam();
    Serve(road.versionAlias);
    if (road.versionFile)
        PublishVersion(road.versionFile);
    if (road.servedBytes)
        WriteFile(m_site->Folder() / "fileversion.zip", road.servedBytes);
    PublishPackage();

    Launch();
    ASSERT_TRUE(WaitForStart());
    EXPECT_FALSE(fs::exists(m_game.UpdateFolder()));
    EXPECT_EQ(m_site->RequestLog().find("/Zorvane.zip"), std::string::npos);
    EXPECT_TRUE(m_launcher->Running());
    CloseAndExpectCleanEnd();
    EXPECT_TRUE(UpdaterStarts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Roads, RoadToStartTest,
    ::testing::Values(StartRoad{"SameVersion", "3.0.0.4\r\n", nullptr, nullptr},
                      StartRoad{"OlderVersion", "2.9.9.9\r\n", nullptr, nullptr},
                      StartRoad{"VersionArchiveMissing", nullptr, nullptr, "/status/404"},
                      StartRoad{"ServerError", nullptr, nullptr, "/status/500"},
                      StartRoad{"UnreadableArchive", nullptr, "PK\3\4 but no archive at all",
                                nullptr},
                      StartRoad{"VersionFileWithoutCrLf", "3.0.0.5\n", nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RoadTest, AServerThatStopsAnsweringStillEndsWithStart) {
    // Headers, then nothing for a minute.
    Serve("/stall/60/fileversion.zip");
    PublishVersion("3.0.0.5\r\n");
    PublishPackage();

    Launch();
    // The worker starts while the dialog is made, before either window shows: the time
    // from the process start up to the windows is allowed on top of the bound.
    ASSERT_TRUE(m_launcher->WaitForWindows(kWaitMs).Found());
    const double windowsAfter = SecondsSince(m_started);
    ASSERT_TRUE(WaitForStart());
    const double startAfter = SecondsSince(m_started);
    std::printf("windows after %.2f s, Start after %.2f s\n", windowsAfter, startAfter);
    EXPECT_LE(startAfter, windowsAfter + kVersionCheckBoundSeconds);
    EXPECT_FALSE(fs::exists(m_game.UpdateFolder()));
    CloseAndExpectCleanEnd();
    EXPECT_TRUE(UpdaterStarts().empty());
}

TEST_F(RoadTest, AGameFolderTooLongForTheUpdatePathsGoesStraightToStart) {
    // Long enough that "Launcher Updater\fileversion.zip" below it does not fit the
    // 260-byte path buffers, short enough that the launcher's own path does.
    CGameFolder game(240);
    ASSERT_EQ(game.Path().native().size(), 240u);
    Serve();
    PublishVersion("3.0.0.5\r\n");
    PublishPackage();

    CLauncherProcess launcher(game);
    ASSERT_TRUE(launcher.Started());
    ASSERT_TRUE(WaitForStartOf(launcher));
    EXPECT_FALSE(fs::exists(game.UpdateFolder()));
    EXPECT_EQ(m_site->RequestLog().find("/fileversion.zip"), std::string::npos);
    ASSERT_TRUE(launcher.End());
    EXPECT_EQ(launcher.ExitCode(), 0u);
}

// From the game folder, and from another one as a shortcut may start it.
class RoadToUpdaterTest : public RoadTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RoadToUpdaterTest, UnpacksThePackageHandsOverToTheUpdaterAndEnds) {
    Serve();
    PublishVersion("3.0.1.0\r\n");
    PublishPackage();
    CTempFolder elsewhere;
    Launch(GetParam() ? elsewhere.Path() : fs::path());

    bool startSeen = false;
    ASSERT_TRUE(WaitUntil(kWaitMs, [&] {
        if (HWND dialog = m_launcher->Windows().dialog)
            startSeen = startSeen || IsWindowVisible(GetDlgItem(dialog, kStartButton));
        return !m_launcher->Running();
    }));
    EXPECT_EQ(m_launcher->ExitCode(), 0u);
    EXPECT_FALSE(startSeen);

    ASSERT_TRUE(WaitUntil(kWaitMs, [&] { return !UpdaterStarts().empty(); }));
    const auto starts = UpdaterStarts();
    ASSERT_EQ(starts.size(), 1u);
    const std::wstring handOver = (m_game.UpdateFolder() / "ud_data.txt").wstring();
    EXPECT_EQ(starts[0].commandLine, L"RUNDLL32.EXE .\\updater.dll,_ExternalUpdate@16 " + handOver);
    EXPECT_EQ(starts[0].argumentText, handOver);
    EXPECT_EQ(starts[0].workingFolder, m_game.Path().wstring());
    ASSERT_TRUE(starts[0].handOverRead);
    const std::string game = m_game.Path().string();
    EXPECT_EQ(starts[0].handOver, game + "\\Zorvane.exe\r\n" + game + "\\Launcher Updater\r\n" +
                                      game + "\r\n" + std::to_string(m_launcher->Pid()) +
                                      "\r\nrestart\r\n");

    EXPECT_EQ(ListTree(m_game.UpdateFolder()),
              "Zorvane.exe data/ data/more/ data/more/deep.txt data/skin.bin empty/ "
              "fileVersion.txt ud_data.txt");
    EXPECT_EQ(ReadFile(m_game.UpdateFolder() / "data" / "more" / "deep.txt"), "deep");
}

INSTANTIATE_TEST_SUITE_P(Started, RoadToUpdaterTest, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "FromAnotherFolder" : "FromItsFolder");
});

TEST_F(RoadTest, AMissingPackageShowsStartAndLeavesTheUpdateFolder) {
    Serve(nullptr, "/status/404");
    PublishVersion("3.0.0.5\r\n");

    Launch();
    ASSERT_TRUE(WaitForStart());
    EXPECT_EQ(ListTree(m_game.UpdateFolder()), "fileVersion.txt");
    CloseAndExpectCleanEnd();
    EXPECT_TRUE(UpdaterStarts().empty());
}

TEST_F(RoadTest, ADamagedPackageIsNeverHandedOver) {
    Serve();
    PublishVersion("3.0.0.5\r\n");
    ASSERT_TRUE(BuildZip(m_site->Folder() / "Zorvane.zip",
                         {{"Zorvane.exe", NoiseBytes(20000)},
                          {"updater.dll", "half an updater", ZipEntrySpec::Kind::WrongCrc}}));

    Launch();
    ASSERT_TRUE(WaitForStart());
    EXPECT_FALSE(fs::exists(m_game.UpdateFolder() / "ud_data.txt"));
    EXPECT_FALSE(fs::exists(m_game.UpdateFolder() / "Zorvane.zip"));
    CloseAndExpectCleanEnd();
    EXPECT_TRUE(UpdaterStarts().empty());
}

// Closing while the worker is still at work.
enum class Moment { VersionArriving, PackageArriving, Unpacking };
enum class Closing { CloseMessage, Escape, Enter, LauncherExit };

struct CloseCase {
    Moment moment;
    Closing closing;
    std::string Name() const {
        static const char* const closings[] = {"CloseMessage", "Escape", "Enter", "LauncherExit"};
        static const char* const moments[] = {"VersionArriving", "PackageArriving", "Unpacking"};
        return std::string(moments[static_cast<int>(moment)]) + "_" +
               closings[static_cast<int>(closing)];
    }
    friend void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.Name(); }
};

class RoadClosingTest : public RoadTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(RoadClosingTest, EndsCleanlyAndChangesNothingOutsideTheUpdateFolder) {
    const CloseCase& c = GetParam();
    // A kilobyte every quarter of a second: either archive takes far longer than the test.
    Serve(c.moment == Moment::VersionArriving ? "/drip/1024/250/fileversion.zip" : nullptr,
          c.moment == Moment::PackageArriving ? "/drip/1024/250/Zorvane.zip" : nullptr);
    PublishVersion("3.0.0.5\r\n", 64 * 1024);
    if (c.moment == Moment::Unpacking)
        PublishManyFilePackage();
    else
        PublishPackage(512 * 1024);
    const auto before = FilesOutsideUpdateFolder(m_game.Path());

    Launch();
    const CLauncherWindows windows = m_launcher->WaitForWindows(kWaitMs);
    ASSERT_TRUE(windows.Found());
    if (c.moment == Moment::Unpacking) {
        // The package's first entry is out: the rest is still being written.
        ASSERT_TRUE(
            WaitUntil(kWaitMs, [&] { return fs::exists(m_game.UpdateFolder() / "Zorvane.exe"); }));
    } else {
        const char* request =
            c.moment == Moment::VersionArriving ? "GET /fileversion.zip" : "GET /Zorvane.zip";
        ASSERT_TRUE(WaitUntil(
            kWaitMs, [&] { return m_site->RequestLog().find(request) != std::string::npos; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    ASSERT_TRUE(m_launcher->Running());

    switch (c.closing) {
    case Closing::CloseMessage:
        PostMessageW(windows.dialog, WM_CLOSE, 0, 0);
        break;
    case Closing::Escape:
        PostMessageW(windows.dialog, WM_COMMAND, IDCANCEL, 0);
        break;
    case Closing::Enter:
        PostMessageW(windows.dialog, WM_COMMAND, IDOK, 0);
        break;
    case Closing::LauncherExit:
        PostMessageW(windows.skin, kLauncherExit, 0, 0);
        break;
    }
    ASSERT_TRUE(m_launcher->WaitExit(10000));
    EXPECT_EQ(m_launcher->ExitCode(), 0u);
    EXPECT_EQ(FilesOutsideUpdateFolder(m_game.Path()), before);
    EXPECT_TRUE(UpdaterStarts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Moments, RoadClosingTest,
    ::testing::Values(CloseCase{Moment::VersionArriving, Closing::CloseMessage},
                      CloseCase{Moment::VersionArriving, Closing::Enter},
                      CloseCase{Moment::PackageArriving, Closing::CloseMessage},
                      CloseCase{Moment::PackageArriving, Closing::Escape},
                      CloseCase{Moment::PackageArriving, Closing::Enter},
                      CloseCase{Moment::PackageArriving, Closing::LauncherExit},
                      CloseCase{Moment::Unpacking, Closing::CloseMessage},
                      CloseCase{Moment::Unpacking, Closing::LauncherExit}),
    [](const auto& info) { return info.param.Name(); });

} // namespace
