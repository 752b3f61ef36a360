// An application base that keeps one running copy per machine. A second copy hands its
// command line to the running one (a broadcast of a registered message carrying the
// file name in a global atom) and ends; the running one comes to the front.
#pragma once
#include "framework/WinApp.h"

class CWinAppEx : public CWinApp {
public:
    explicit CWinAppEx(LPCWSTR lpszAppName = nullptr) : CWinApp(lpszAppName) {}
    ~CWinAppEx() override;

    using CWinApp::InitInstance;
    // With an id: runs the guard; FALSE when this process has handed over to a running
    // copy and must end, else the framework's InitInstance. A null id skips the guard.
    virtual BOOL InitInstance(LPCWSTR uid);
    // Handles one hand-over in the running copy; always TRUE (the message is consumed).
    virtual BOOL OnSecondInstance(MSG* msg);

    BOOL PreTranslateMessage(MSG* msg) override;

    // Posts the hand-over message to every application; FALSE only when the broadcast failed.
    BOOL NotifyFirstInstance(WPARAM wParam, LPARAM lParam);
    // Switches one privilege of this process's token; TRUE only when it fully took effect.
    static BOOL EnableProcessPrivilege(LPCWSTR name, BOOL enable);

    UINT m_uInstanceMsg = 0;
};

// Whether the outcome of creating the named mutex means another copy runs: it existed
// already, or it exists and this process may not open it.
bool IsAnotherInstanceRunning(HANDLE mutex, DWORD lastError);

// What a second copy hands over for its command line: true with the wParam to send
// (0, or a global atom holding the file name) for "no argument" and "one file";
// false for the kinds that run a full launcher instead.
bool PrepareHandOver(const CCommandLineInfo& info, WPARAM* wParam);
