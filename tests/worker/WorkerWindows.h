// The windows a worker reports to, made by the test on its own thread: a dialog with a
// Start button (hidden, as the launcher hides it before starting the worker) and a
// stand-in for the skin window that destroys itself on WM_LAUNCHER_EXIT.
#pragma once
#include <windows.h>

// The worker's blocking sends to the windows are answered while the test pumps (PumpUntil).
#include "tests/support/Pump.h"

class CWorkerWindows {
public:
    CWorkerWindows();
    CWorkerWindows(const CWorkerWindows&) = delete;
    CWorkerWindows& operator=(const CWorkerWindows&) = delete;
    ~CWorkerWindows();

    bool Created() const { return m_hDialog && m_hStart && m_hSkin; }
    HWND Dialog() const { return m_hDialog; }
    HWND Start() const { return m_hStart; }
    HWND Skin() const { return m_hSkin; }

    // Start visible and holding this thread's focus.
    bool StartShownAndFocused() const;
    // WM_NEXTDLGCTL messages the dialog has seen.
    int FocusRequests() const { return m_focusRequests; }
    // WM_LAUNCHER_EXIT messages the skin window has seen; it is gone after the first.
    int ExitRequests() const { return m_exitRequests; }
    bool SkinAlive() const { return m_hSkin && IsWindow(m_hSkin); }

    void Destroy();

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SkinProc(HWND, UINT, WPARAM, LPARAM);

    HWND m_hDialog = nullptr;
    HWND m_hStart = nullptr;
    HWND m_hSkin = nullptr;
    int m_focusRequests = 0;
    int m_exitRequests = 0;
};
