// The application object, threads, and the framework's global helpers.
#pragma once
#include <windows.h>
#include <string>
#include "framework/CommandLine.h"

class CWnd;

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

class CWinThread {
public:
    CWinThread() = default;
    CWinThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    virtual ~CWinThread();

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    // The thread's own message pump, until WM_QUIT; then ExitInstance.
    virtual int Run();
    // Gets every message of this thread's loops before it is dispatched; TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }

    // Runs a modal loop for `hwnd` while *continueFlag is set and the window exists.
    // WM_QUIT ends it and is posted again for the loops outside.
    static void RunModalLoop(HWND hwnd, const BOOL* continueFlag);

    CWnd* m_pMainWnd = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

protected:
    WPARAM m_quitCode = 0;

private:
    static unsigned __stdcall ThreadEntry(void* self);
    friend CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD,
                                      LPSECURITY_ATTRIBUTES);
};

class CWinApp : public CWinThread {
public:
    // A null name means the executable's base name.
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;


    void SetRegistryKey(LPCWSTR key);
    void ParseCommandLine(CCommandLineInfo& info);

    LPCWSTR m_pszAppName = nullptr;
    LPCWSTR m_pszRegistryKey = nullptr;
    HINSTANCE m_hInstance = nullptr;

private:
    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPWSTR, int);
    std::wstring m_appName;
    std::wstring m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// A message box owned by the application's active window, captioned with the application name.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
// Gives every message of the calling thread's loops to the application (on its thread)
// or to the window tree it is addressed to; TRUE when consumed.
BOOL AfxPreTranslateMessage(MSG* msg);
// Starts `proc(param)` on a new thread. The object deletes itself when the thread ends
// (m_bAutoDelete); null when no thread could be made.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
BOOL AfxWinInit(HINSTANCE instance, HINSTANCE prev, LPWSTR cmdLine, int cmdShow);
int AfxWinMain(HINSTANCE instance, HINSTANCE prev, LPWSTR cmdLine, int cmdShow);
