// The whole self-update as a player meets it: the 3.0.0.4 launcher finds 3.0.0.5 on a site
// made by tools/publish, hands over to the real updater, and the new launcher starts by
// itself, finds nothing newer and shows Start.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "FolderSnapshot.h"
#include "tests/support/HostCommand.h"
#include "tests/support/Screenshot.h"
#include "base/Handle.h"
#include "tests/support/LauncherFixture.h"

namespace {

const std::wstring kNewLauncher = std::wstring(ZV_BIN_DIR) + L"\\app\\3.0.0.5\\Zorvane.exe";
const std::wstring kUpdater = std::wstring(ZV_BIN_DIR) + L"\\updater\\updater.dll";
constexpr int kStartButton = 1000;

std::wstring ImageOf(DWORD pid) {
    CKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    std::wstring image(MAX_PATH * 4, L'\0');
    DWORD size = static_cast<DWORD>(image.size());
    if (!process.IsValid() || !QueryFullProcessImageNameW(process.Get(), 0, image.data(), &size))
        return {};
    image.resize(size);
    return image;
}

BOOL CALLBACK CollectLauncherPids(HWND window, LPARAM context) {
    wchar_t title[16] = {};
    GetWindowTextW(window, title, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (std::wstring(title) == L"Velkor")
        reinterpret_cast<std::vector<DWORD>*>(context)->push_back(pid);
    return TRUE;
}

// A launcher process, other than `old`, started from `executable`; 0 when none shows up.
DWORD WaitForLauncherFrom(const fs::path& executable, DWORD old, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        std::vector<DWORD> pids;
        EnumWindows(CollectLauncherPids, reinterpret_cast<LPARAM>(&pids));
        for (DWORD pid : pids) {
            std::error_code error;
            if (pid != old && fs::equivalent(ImageOf(pid), executable, error))
                return pid;
        }
        Sleep(100);
    }
    return 0;
}

bool StartShownAndFocused(HWND dialog) {
    HWND start = GetDlgItem(dialog, kStartButton);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return start && IsWindowVisible(start) &&
           GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
           info.hwndFocus == start;
}

int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

TEST(FullRoadTest, TheOldLauncherHandsOverAndTheNewOneStartsReadsItsVersionAndShowsStart) {
    CGameFolder game;
    ASSERT_TRUE(CopyFileW(kUpdater.c_str(), (game.Path() / "updater.dll").c_str(), FALSE));
    const std::string oldUpdater = ReadFile(game.Path() / "updater.dll");

    // The publisher's side: the 3.0.0.5 release, made into a site by tools/publish.
    CTempFolder release;
    const std::string newLauncher = ReadFile(kNewLauncher);
    const std::string newUpdater = oldUpdater + "the 3.0.0.5 release";
    WriteFile(release / "Zorvane.exe", newLauncher);
    WriteFile(release / "updater.dll", newUpdater);
    WriteFile(release / "data" / "readme.txt", "What is new in 3.0.0.5\r\n");
    CLauncherSite site;
    ASSERT_TRUE(site.IsRunning());
    std::string printed;
    ASSERT_EQ(RunHostCommand("/usr/bin/python3 '" ZV_PUBLISH_TOOL "' 3.0.0.5 '" +
                                 UnixPath(site.Folder()) + "' Zorvane.exe updater.dll data",
                             release.Path(), printed),
              0)
        << printed;

    CLauncherProcess launcher(game);
    ASSERT_TRUE(launcher.Started());
    ASSERT_TRUE(launcher.WaitExit(30000)) << "the old launcher did not hand over and end";
    EXPECT_EQ(launcher.ExitCode(), 0u);

    const DWORD pid = WaitForLauncherFrom(game.Executable(), launcher.Pid(), 30000);
    ASSERT_NE(pid, 0u) << "no new launcher started";
    CKernelHandle newProcess(OpenProcess(SYNCHRONIZE, FALSE, pid));
    CLauncherWindows windows;
    bool shown = false;
    for (int i = 0; i < 300 && !shown; ++i) {
        windows = FindLauncherWindows(pid);
        shown = windows.Found() && StartShownAndFocused(windows.dialog);
        Sleep(100);
    }
    EXPECT_TRUE(shown) << "the new launcher did not show Start";
    CaptureScreen(L"updater-full-road");

    // It read 3.0.0.5 as its own version: asked once more and found nothing to fetch.
    const std::string requests = site.RequestLog();
    EXPECT_EQ(Count(requests, "GET /fileversion.zip "), 2) << requests;
    EXPECT_EQ(Count(requests, "GET /Zorvane.zip "), 1) << requests;
    // Exactly the new files; no update folder, no temporary or backup.
    EXPECT_EQ(
        Difference(Snapshot(game.Path()), {{"Zorvane.exe", newLauncher},
                                           {"updater.dll", newUpdater},
                                           {"data/", ""},
                                           {"data/readme.txt", "What is new in 3.0.0.5\r\n"}}),
        "");

    if (windows.dialog)
        PostMessageW(windows.dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(newProcess.Get(), 10000), WAIT_OBJECT_0);
}

} // namespace
