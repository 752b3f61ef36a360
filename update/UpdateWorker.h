// The update worker: the version check, and the self-update when a newer launcher is
// published.
//
// How it works: the dialog fills its engine on its own thread, hides Start and calls
// StartUpdateWorker, which hands a copy of the engine and the three window handles to a
// new thread. From then on the worker owns everything it reads and writes; it reports
// to the windows only through ShowWindow on Start and two blocking SendMessageW calls
// (WM_NEXTDLGCTL to the dialog, WM_LAUNCHER_EXIT to the skin window). Any of the windows
// may be gone by then: calls on a destroyed window fail and nothing else happens. The
// launcher never waits for the worker; a worker still running when the launcher closes
// ends with the process.
#pragma once
#include <string>

#include <windows.h>

#include "update/UpdateEngine.h"

// Sent to the skin window, which destroys itself and so ends the launcher.
inline constexpr UINT WM_LAUNCHER_EXIT = WM_USER + 12;

// Starts the worker on its own copy of `engine`: suspended at normal priority with the
// default stack, then resumed; the thread object deletes itself when the worker ends.
// False when no thread could be made.
bool StartUpdateWorker(const CUpdateEngine& engine, HWND hDialog, HWND hStart, HWND hSkin);

class CUpdateWorker {
public:
    CUpdateWorker(const CUpdateEngine& engine, HWND hDialog, HWND hStart, HWND hSkin)
        : m_engine(engine), m_hDialog(hDialog), m_hStart(hStart), m_hSkin(hSkin) {}

    // The whole check: ends with Start shown and focused, or in the self-update.
    void CheckForUpdate();
    // Fetches and unpacks the package and hands over to the updater; back to Start
    // when the package cannot be had whole.
    void DownloadAndRunUpdate();
    // Writes the hand-over file and starts the updater beside the running executable;
    // 0 when the updater runs and the skin window was told to end, 1 otherwise.
    int StartUpdater(bool bRestart);

    // The end of every road that does not hand over: Start shown and given the focus.
    void ShowStart();

private:
    CUpdateEngine m_engine;
    HWND m_hDialog;
    HWND m_hStart;
    HWND m_hSkin;
};

// The thread entry: runs the check for the CUpdateWorker it is given, which it deletes.
UINT __cdecl WorkerThreadProc(LPVOID pParam);

// The updater's command line for the hand-over file at `handOverPath`.
std::wstring UpdaterCommandLine(const std::wstring& handOverPath);
