// A game folder for the updater's process tests: its path has a blank, it holds an old
// launcher (the fake launcher, which the tests start and end), the test build's
// updater.dll and an old data file, and its update folder holds the unpacked new package.
#pragma once
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/TestFiles.h"

// What a run of the updater showed: the texts of its message boxes, each dismissed.
struct CUpdaterRun {
    bool ended = false;
    std::vector<std::wstring> boxes;
};

class CUpdateScene {
public:
    CUpdateScene();

    fs::path Game() const { return m_root / "Zorvane Game"; }
    fs::path UpdateFolder() const { return Game() / "Launcher Updater"; }
    fs::path HandOverPath() const { return UpdateFolder() / "ud_data.txt"; }

    // The five lines the launcher writes, for process `id`.
    std::string HandOverText(DWORD id, const char* restart = "restart") const;
    void WriteHandOver(const std::string& bytes) const;

    // The old launcher, started from the game folder, staying until it is ended.
    CChildProcess StartOldLauncher() const;
    // The id of an old launcher that has ended.
    DWORD EndedLauncherId() const;
    // Another program (the fake launcher from the build folder) with `arguments`.
    CChildProcess StartOtherProgram(const std::wstring& arguments) const;

    // Starts the updater the way the launcher does.
    CChildProcess StartUpdater() const;
    // Dismisses each message box the updater shows until it ends (or 30 s pass); with a
    // `screenshot` name, the screen is saved as build/artifacts/`screenshot`.png while the
    // first box shows.
    static CUpdaterRun Finish(const CChildProcess& updater, const std::string& screenshot = "");
    CUpdaterRun RunUpdater(const std::string& screenshot = "") const {
        return Finish(StartUpdater(), screenshot);
    }

    static std::string FakeLauncher();
    static std::string UpdaterLibrary();
    // The files the package brings, by path relative to the game folder.
    static std::string OldLauncher() { return FakeLauncher() + "old launcher"; }
    static std::string NewLauncher() { return FakeLauncher() + "new launcher"; }
    static std::string NewUpdater() { return UpdaterLibrary() + "new updater"; }

private:
    CTempFolder m_root;
};
