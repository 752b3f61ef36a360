// The launcher as a player runs it, for process tests: a fresh game folder (its path holds a
// blank) with a copy of this build's Zorvane.exe, the local servers on the addresses the test
// build has compiled in, and the launcher's process with its two windows.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestServer.h"

// The two top-level windows a launcher shows, both titled "Velkor".
struct CLauncherWindows {
    HWND skin = nullptr;   // the translucent main window
    HWND dialog = nullptr; // the launcher dialog, owned by the skin
    bool Found() const { return skin && dialog; }
};

// The windows of the launcher process `pid` as they are now; either may be null.
CLauncherWindows FindLauncherWindows(DWORD pid);

// A folder the launcher is installed in, removed with everything in it.
class CGameFolder {
public:
    CGameFolder();
    // A game folder whose path is exactly `pathLength` characters long, padded out with a
    // subfolder of the temporary one.
    explicit CGameFolder(std::size_t pathLength);
    const fs::path& Path() const { return m_path; }
    fs::path Executable() const { return Path() / "Zorvane.exe"; }
    fs::path UpdateFolder() const { return Path() / "Launcher Updater"; }
    // Where the test doubles started by the launcher write down how they were started.
    const fs::path& Records() const { return m_records.Path(); }
    // Copies a test double of this build (for example "patcher_zv2.exe" or "updater.dll")
    // beside the launcher; false when there is none.
    bool AddDouble(const std::wstring& fileName) const;

private:
    CTempFolder m_folder{"zv game "};
    CTempFolder m_records{"zv-records-"};
    fs::path m_path = m_folder.Path();
};

// The test build's hosts served from one folder: 127.0.0.1:47180 (update, web, media and
// forum host) and 127.0.0.1:47181 (version-file host). The launcher's own paths are aliases
// of the server's paths, so a test chooses how each is answered.
class CLauncherSite {
public:
    using Aliases = std::vector<std::pair<std::string, std::string>>;
    // "/fileversion.zip" and "/Zorvane.zip" as files of the folder, "/notice/zv" as the page
    // "notice.html" (cacheable, so a new request shows that the cache was bypassed).
    static Aliases DefaultAliases();

    explicit CLauncherSite(const Aliases& aliases = DefaultAliases());
    bool IsRunning() const { return m_web.IsRunning() && m_versionFiles.IsRunning(); }
    const fs::path& Folder() const { return m_folder.Path(); }
    // The requests to 127.0.0.1:47180 so far, one line each ("GET /notice/zv HTTP/1.1" 200 -).
    std::string RequestLog() const { return m_web.RequestLog(); }

private:
    CTempFolder m_folder;
    CTestServer m_web;
    CTestServer m_versionFiles;
};

struct CLauncherStart {
    std::wstring arguments;
    // Empty: the game folder, as when the player starts the launcher there.
    fs::path workingFolder;
    // Added to the test's own environment, which the launcher gets and passes on.
    std::vector<std::pair<std::wstring, std::wstring>> environment;
};

class CLauncherProcess {
public:
    // Starts the game folder's launcher; its doubles write to the folder's Records().
    explicit CLauncherProcess(const CGameFolder& game, const CLauncherStart& start = {});
    // Ends a launcher still running (End).
    ~CLauncherProcess();
    CLauncherProcess(const CLauncherProcess&) = delete;
    CLauncherProcess& operator=(const CLauncherProcess&) = delete;

    bool Started() const { return m_process.Started(); }
    DWORD Pid() const { return m_process.Id(); }
    HANDLE Handle() const { return m_process.Handle(); }
    HANDLE MainThread() const { return m_process.MainThread(); }

    // Both windows once both are visible; whatever was found when `timeoutMs` ran out.
    CLauncherWindows WaitForWindows(DWORD timeoutMs = 15000) const;
    CLauncherWindows Windows() const { return FindLauncherWindows(Pid()); }
    // True when the process has ended within `timeoutMs`.
    bool WaitExit(DWORD timeoutMs) const;
    bool Running() const { return Started() && !WaitExit(0); }
    // The exit code once ended; STILL_ACTIVE before.
    DWORD ExitCode() const;
    // Closes the launcher the way its close button does (WM_CLOSE to the dialog) and waits;
    // kills it when it does not end. True when it ended by itself.
    bool End();

private:
    CChildProcess m_process;
};
