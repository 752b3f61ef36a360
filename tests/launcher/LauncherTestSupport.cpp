#include "tests/launcher/LauncherTestSupport.h"
#include <algorithm>
#include "imaging/Gdiplus.h"
#include "tests/support/HostCommand.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pump.h"
#include "tests/support/TestFiles.h"

::testing::AssertionResult RunLauncher(const CGameFolder& game,
                                       std::unique_ptr<CLauncherProcess>& launcher,
                                       CLauncherWindows& windows, const CLauncherStart& start) {
    ParkMouse();
    launcher = std::make_unique<CLauncherProcess>(game, start);
    if (!launcher->Started())
        return ::testing::AssertionFailure() << "the launcher did not start";
    windows = launcher->WaitForWindows();
    if (!windows.Found())
        return ::testing::AssertionFailure() << "the launcher's two windows did not show";
    return ::testing::AssertionSuccess();
}

void PrintTo(const CRect& rc, std::ostream* out) {
    *out << "(" << rc.left << "," << rc.top << ")-(" << rc.right << "," << rc.bottom << ")";
}

std::ostream& operator<<(std::ostream& out, const CRect& rc) {
    PrintTo(rc, &out);
    return out;
}

CRect WindowRect(HWND hwnd) {
    CRect rc;
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

CRect RectIn(HWND parent, HWND child) {
    CRect rc = WindowRect(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

CPoint Centre(HWND hwnd) {
    const CRect rc = WindowRect(hwnd);
    return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

std::wstring DragScript(CPoint from, int dx, int dy) {
    wchar_t script[256];
    wsprintfW(script,
              L"mousemove %ld %ld sleep 0.1 mousedown 1 sleep 0.15 mousemove %ld %ld sleep 0.15 "
              L"mousemove %ld %ld sleep 0.2 mouseup 1",
              from.x, from.y, from.x + dx / 2, from.y + dy / 2, from.x + dx, from.y + dy);
    return script;
}

std::wstring ClickScript(CPoint at) {
    wchar_t script[128];
    wsprintfW(script, L"mousemove %ld %ld sleep 0.15 click 1", at.x, at.y);
    return script;
}

void SendKeys(const std::vector<std::pair<WORD, bool>>& keys) {
    std::vector<INPUT> input;
    for (const auto& [key, released] : keys) {
        INPUT one{};
        one.type = INPUT_KEYBOARD;
        one.ki.wVk = key;
        one.ki.dwFlags = released ? KEYEVENTF_KEYUP : 0;
        input.push_back(one);
    }
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

bool WaitFor(DWORD timeoutMs, const std::function<bool()>& done) {
    return PumpUntil(done, timeoutMs);
}

int ShownVelkorWindows() {
    CHostCommand search(L"xdotool search --onlyvisible --name '^Velkor$'");
    PumpUntil([&] { return search.Finished(); }, 5000);
    const std::string list = search.Output();
    return static_cast<int>(std::count(list.begin(), list.end(), '\n'));
}

CScreen::CScreen() {
    static int s_count = 0;
    const std::wstring unixFile = L"/tmp/zv-screen-" + std::to_wstring(::GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(++s_count) + L".png";
    m_file = L"Z:" + unixFile;
    ::DeleteFileW(m_file.c_str());
    CHostCommand(L"import -window root " + unixFile).Wait(10000);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(m_file.c_str(), &bitmap) == Gdiplus::Ok)
        m_bitmap = bitmap;
}

CScreen::~CScreen() {
    if (m_bitmap)
        Gdiplus::DllExports::GdipDisposeImage(static_cast<Gdiplus::GpBitmap*>(m_bitmap));
    ::DeleteFileW(m_file.c_str());
}

COLORREF CScreen::At(int x, int y) const {
    Gdiplus::ARGB argb = 0;
    if (m_bitmap)
        Gdiplus::DllExports::GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(m_bitmap), x, y,
                                                &argb);
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}
