// The updater as players meet it: run by rundll32.exe from the game folder, after a
// launcher that the tests start and end.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include <windows.h>

#include "FolderSnapshot.h"
#include "UpdateScene.h"

namespace {

const std::wstring kKeptAsItWas =
    L"The Zorvane launcher could not be updated and was kept as it was.";

// The game folder once the package is in place, before the new launcher has started.
CSnapshot Updated() {
    return {{"Zorvane.exe", CUpdateScene::NewLauncher()},
            {"data/", ""},
            {"data/maps/", ""},
            {"data/maps/north.map", "new map"},
            {"data/notes.txt", "new notes"},
            {"updater.dll", CUpdateScene::NewUpdater()}};
}

// What the restarted launcher recorded: its working folder and command line.
std::wstring StartRecord(const fs::path& game) {
    for (int i = 0; i < 200 && !fs::exists(game / "started.txt"); ++i)
        Sleep(50);
    Sleep(100);
    const std::string bytes = ReadFile(game / "started.txt");
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

TEST(UpdaterProcessTest, InstallsOnceTheLauncherIsGoneAndStartsTheNewOne) {
    CUpdateScene scene;
    scene.WriteHandOver(scene.HandOverText(scene.EndedLauncherId()));

    const CChildProcess updater = scene.StartUpdater();
    const CUpdaterRun run = CUpdateScene::Finish(updater);
    ASSERT_TRUE(run.ended);
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().c_str();

    // The restarted launcher runs in its folder with its quoted path as command line.
    const std::wstring game = scene.Game().wstring();
    EXPECT_EQ(StartRecord(scene.Game()), game + L"\n\"" + game + L"\\Zorvane.exe\"");
    // The library rundll32 had loaded was replaced too; no backup, no update folder.
    CSnapshot now = Snapshot(scene.Game());
    now.erase("started.txt");
    EXPECT_EQ(Difference(now, Updated()), "");
    // The loaded library could not be deleted while in use: it was set aside instead.
    const fs::path aside =
        fs::temp_directory_path() / ("zorvane-updater-" + std::to_string(updater.Id()) + "-0.old");
    EXPECT_EQ(ReadFile(aside), CUpdateScene::UpdaterLibrary());
    fs::remove(aside);
}

TEST(UpdaterProcessTest, WaitsForTheLauncherAndTouchesNothingWhileItRuns) {
    CUpdateScene scene;
    CChildProcess launcher = scene.StartOldLauncher();
    scene.WriteHandOver(scene.HandOverText(launcher.Id(), "no_restart"));
    const CSnapshot before = Snapshot(scene.Game());

    CChildProcess updater = scene.StartUpdater();
    Sleep(1500);
    EXPECT_TRUE(updater.IsRunning());
    EXPECT_EQ(Difference(Snapshot(scene.Game()), before), "");
    launcher.End();

    const CUpdaterRun run = CUpdateScene::Finish(updater);
    ASSERT_TRUE(run.ended);
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().c_str();
    // "no_restart": nothing starts the new launcher.
    Sleep(1000);
    EXPECT_EQ(Difference(Snapshot(scene.Game()), Updated()), "");
}

TEST(UpdaterProcessTest, AnIdReusedByAnotherProgramIsNotWaitedFor) {
    CUpdateScene scene;
    CChildProcess other = scene.StartOtherProgram(L"wait");
    scene.WriteHandOver(scene.HandOverText(other.Id(), "no_restart"));
    // The launcher wrote its hand-over before the program now holding its id started.
    FILETIME created{}, exited{}, kernel{}, user{};
    ASSERT_TRUE(GetProcessTimes(other.Handle(), &created, &exited, &kernel, &user));
    ULARGE_INTEGER earlier{{created.dwLowDateTime, created.dwHighDateTime}};
    earlier.QuadPart -= 60 * 10000000ull;
    const FILETIME written{earlier.LowPart, earlier.HighPart};
    HANDLE file = CreateFileW(scene.HandOverPath().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);

    // Waiting for it would run out (it stays) and fail the update.
    const CUpdaterRun run = scene.RunUpdater();
    ASSERT_TRUE(run.ended);
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().c_str();
    EXPECT_TRUE(other.IsRunning());
    EXPECT_EQ(Difference(Snapshot(scene.Game()), Updated()), "");
}

struct FailureCase {
    const char* name;
    // Prepares the scene and returns the processes that must live through the run.
    std::function<std::vector<CChildProcess>(const CUpdateScene&)> arrange;
    const char* reason; // a part of the logged reason
};

void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::vector<CChildProcess> None() {
    return {};
}

const FailureCase kFailures[] = {
    {"ReadOnlyTarget",
     [](const CUpdateScene& scene) {
         SetFileAttributesW((scene.Game() / "data" / "notes.txt").c_str(), FILE_ATTRIBUTE_READONLY);
         scene.WriteHandOver(scene.HandOverText(scene.EndedLauncherId()));
         return None();
     },
     "notes.txt\" is read-only"},
    {"TargetHeldWithoutSharingByAnotherProcess",
     [](const CUpdateScene& scene) {
         HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"ZorvaneFakeLauncherReady");
         std::vector<CChildProcess> keep;
         keep.push_back(scene.StartOtherProgram(
             L"hold \"" + (scene.Game() / "data" / "notes.txt").wstring() + L"\""));
         WaitForSingleObject(ready, 10000);
         CloseHandle(ready);
         scene.WriteHandOver(scene.HandOverText(scene.EndedLauncherId()));
         return keep;
     },
     "notes.txt\" is in use"},
    {"PackageWithoutTheLauncher",
     [](const CUpdateScene& scene) {
         fs::remove(scene.UpdateFolder() / "Zorvane.exe");
         scene.WriteHandOver(scene.HandOverText(scene.EndedLauncherId()));
         return None();
     },
     "the package does not hold the launcher \"Zorvane.exe\""},
    {"HandOverOfFourLines",
     [](const CUpdateScene& scene) {
         scene.WriteHandOver(
             Replace(scene.HandOverText(scene.EndedLauncherId()), "restart\r\n", ""));
         return None();
     },
     "not exactly five lines ending in CR LF"},
    {"HandOverWithLfOnly",
     [](const CUpdateScene& scene) {
         std::string text = scene.HandOverText(scene.EndedLauncherId());
         std::erase(text, '\r');
         scene.WriteHandOver(text);
         return None();
     },
     "not exactly five lines ending in CR LF"},
    {"HandOverWithAFolderThatDoesNotMatch",
     [](const CUpdateScene& scene) {
         const std::string game = scene.Game().string();
         scene.WriteHandOver(Replace(scene.HandOverText(scene.EndedLauncherId()),
                                     "\r\n" + game + "\r\n", "\r\n" + game + " 2\r\n"));
         return None();
     },
     "is not the folder of line 1"},
    {"HandOverWithTheIdOfAnotherProgram",
     [](const CUpdateScene& scene) {
         std::vector<CChildProcess> keep;
         keep.push_back(scene.StartOtherProgram(L"wait"));
         scene.WriteHandOver(scene.HandOverText(keep.back().Id()));
         return keep;
     },
     "zv_fake_launcher.exe\", not the launcher"},
    {"LauncherStillRunningAfterTheWait",
     [](const CUpdateScene& scene) {
         std::vector<CChildProcess> keep;
         keep.push_back(scene.StartOldLauncher());
         scene.WriteHandOver(scene.HandOverText(keep.back().Id()));
         return keep;
     },
     ") was still running after 3 seconds"},
};

class UpdaterFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(UpdaterFailureTest, KeepsTheOldLauncherLogsWhyAndSaysSoOnce) {
    CUpdateScene scene;
    const std::vector<CChildProcess> keep = GetParam().arrange(scene);
    const CSnapshot before = Snapshot(scene.Game());

    const CUpdaterRun run = scene.RunUpdater(std::string("updater-refused-") + GetParam().name);
    ASSERT_TRUE(run.ended);
    ASSERT_EQ(run.boxes.size(), 1u);
    const fs::path log = scene.UpdateFolder() / "update.log";
    EXPECT_EQ(run.boxes[0],
              kKeptAsItWas + L"\n\nThe reason is written in \"" + log.wstring() + L"\".");
    for (const CChildProcess& process : keep)
        EXPECT_TRUE(process.IsRunning());

    // Byte for byte as before, no new launcher started: only the log is new.
    CSnapshot after = Snapshot(scene.Game());
    const std::string logText = after["Launcher Updater/update.log"];
    after.erase("Launcher Updater/update.log");
    EXPECT_EQ(Difference(after, before), "");
    const std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d The launcher was not updated: .*\r\n)");
    EXPECT_TRUE(std::regex_match(logText, line)) << logText;
    EXPECT_NE(logText.find(GetParam().reason), std::string::npos) << logText;
}

INSTANTIATE_TEST_SUITE_P(Table, UpdaterFailureTest, testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
