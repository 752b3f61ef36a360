// Helpers for driving real windows in the tests: a message pump bounded in time, mouse input
// through SendInput, pixel reads, a test dialog that binds controls by id, screenshots.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>
#include "framework/Dialog.h"

namespace ui {

// Dispatches the thread's messages (through the framework's pre-translation) for `ms`.
void Pump(DWORD ms);
// Pumps until `done()` holds or `timeoutMs` has passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

// Real input on the X display (xdotool), as a user gives it: the window manager and Wine see
// the same pointer. Each call returns once the events are sent; pump to see their effects.
void MoveMouse(POINT screen);
void MoveMouse(HWND hwnd, int x, int y); // client coordinates of `hwnd`
void LeftDown();
void LeftUp();
void DoubleClick();
// Puts the pointer where no test window is.
void ParkMouse();

// A Linux command run under /bin/sh, started now (Wine starts Unix programs directly).
class CUnixCommand {
public:
    explicit CUnixCommand(const std::wstring& command);
    ~CUnixCommand();
    CUnixCommand(const CUnixCommand&) = delete;
    CUnixCommand& operator=(const CUnixCommand&) = delete;

    bool Finished() const;
    // Waits up to `timeoutMs` (pumping messages); TRUE when the command has ended. Wine does
    // not report a Unix program's exit status: callers check the effect themselves.
    bool Wait(DWORD timeoutMs = 5000);

private:
    std::wstring m_marker;
    bool m_bStarted = false;
};
// `xdotool <args>`, waited for.
bool Xdo(const std::wstring& args);

// The pixel a window shows at a client point, read from its own device context.
COLORREF Pixel(HWND hwnd, int x, int y);
// How many pixels of a client rectangle of `hwnd` have exactly `colour`.
int CountPixels(HWND hwnd, const RECT& rc, COLORREF colour);
bool Near(COLORREF a, COLORREF b, int tolerance);
std::string Hex(COLORREF c);

// Sets system colours for one scope and puts the old ones back.
class CSysColorGuard {
public:
    CSysColorGuard(std::vector<std::pair<int, COLORREF>> colours);
    ~CSysColorGuard();
    CSysColorGuard(const CSysColorGuard&) = delete;
    CSysColorGuard& operator=(const CSysColorGuard&) = delete;

private:
    std::vector<int> m_ids;
    std::vector<COLORREF> m_old;
};

// A modeless dialog from a test template that binds the given controls in its data exchange,
// runs `onInit` at the end of OnInitDialog, can paint its background in one colour, and counts
// BN_CLICKED / STN_CLICKED per control id.
class CTestDialog : public CDialog {
public:
    CTestDialog(UINT nIDTemplate, std::vector<std::pair<int, CWnd*>> controls);
    ~CTestDialog() override;

    // Creates the window at `pos` (screen), shows and activates it, waits until it has painted.
    bool Open(POINT pos, std::function<void(CTestDialog&)> onInit = {});
    void SetBackground(COLORREF colour);
    int Clicks(int id) const;
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColor(CDCHandle* pDC, CWndHandle wnd, UINT nCtlColor) override;

private:
    std::vector<std::pair<int, CWnd*>> m_controls;
    std::function<void(CTestDialog&)> m_onInit;
    std::vector<std::pair<int, int>> m_clicks;
    CBrush m_background;
};

// Places a child control at client pixels (x, y) with size cx by cy.
void Place(HWND control, int x, int y, int cx, int cy);

// Starts GDI+ for one scope.
class CGdiplusSession {
public:
    CGdiplusSession();
    ~CGdiplusSession();
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

// Saves a picture of the screen area `rc` to build/artifacts/<name>.png; TRUE when written.
bool Screenshot(const RECT& rc, const std::wstring& name);
// Stacks the given artifacts top to bottom into build/artifacts/<name>.png and removes them.
bool StackScreenshots(const std::vector<std::wstring>& parts, const std::wstring& name);

} // namespace ui
