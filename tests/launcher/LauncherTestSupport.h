// Small helpers of the launcher's tests: window geometry, real input, waiting.
#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>
#include "framework/Types.h"
#include <gtest/gtest.h>
#include <memory>
#include "tests/support/LauncherFixture.h"

// Parks the pointer, starts the launcher of `game` into `launcher` and waits for its two
// windows; a failure says which step failed.
::testing::AssertionResult RunLauncher(const CGameFolder& game,
                                       std::unique_ptr<CLauncherProcess>& launcher,
                                       CLauncherWindows& windows, const CLauncherStart& start = {});

void PrintTo(const CRect& rc, std::ostream* out);
std::ostream& operator<<(std::ostream& out, const CRect& rc);

CRect WindowRect(HWND hwnd);
// The window rectangle of `child` in the client coordinates of `parent`.
CRect RectIn(HWND parent, HWND child);
CPoint Centre(HWND hwnd);

// xdotool commands: a press at `from`, moved by (dx, dy) in steps, released; a click at `at`.
std::wstring DragScript(CPoint from, int dx, int dy);
std::wstring ClickScript(CPoint at);

// Keys through the system's input queue, to whichever window has the focus: {key, released}.
void SendKeys(const std::vector<std::pair<WORD, bool>>& keys);

// How many windows titled "Velkor" the X display shows now.
int ShownVelkorWindows();

// What the X display shows at the moment of construction. Needs GDI+ running.
class CScreen {
public:
    CScreen();
    ~CScreen();
    CScreen(const CScreen&) = delete;
    CScreen& operator=(const CScreen&) = delete;
    bool IsValid() const { return m_bitmap != nullptr; }
    // The colour at screen point (x, y).
    COLORREF At(int x, int y) const;

private:
    std::wstring m_file;
    void* m_bitmap = nullptr; // a GDI+ bitmap
};

// Pumps this thread's messages until `done` holds; false when `timeoutMs` ran out first.
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& done);
