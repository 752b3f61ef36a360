#include "tests/controls/TestUi.h"
#include <cstdio>
#include <cstdlib>
#include "framework/WinApp.h"
#include "imaging/Gdiplus.h"

namespace ui {

void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (done())
            return true;
        if (::GetTickCount64() - start >= timeoutMs)
            return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

CUnixCommand::CUnixCommand(const std::wstring& command) {
    // Wine hands back no handle for a Unix process, so the command leaves a marker file when
    // it is done.
    static LONG s_count = 0;
    wchar_t marker[128];
    wsprintfW(marker, L"/tmp/zv-controls-%lu-%llu-%ld.done", ::GetCurrentProcessId(),
              ::GetTickCount64(), ::InterlockedIncrement(&s_count));
    m_marker = marker;
    // Wine reuses small process ids; a marker left by an earlier run must not count.
    ::DeleteFileW((L"Z:" + m_marker).c_str());
    std::wstring line = L"/bin/sh -c \"" + command + L"; touch " + m_marker + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    m_bStarted = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &si, &pi) != FALSE;
    // For a Unix program Wine leaves the process handle empty and the thread field undefined;
    // closing that value could close one of our own handles (it once closed standard output).
    if (m_bStarted && pi.hProcess) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
}

CUnixCommand::~CUnixCommand() {
    ::DeleteFileW((L"Z:" + m_marker).c_str());
}

bool CUnixCommand::Finished() const {
    return ::GetFileAttributesW((L"Z:" + m_marker).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CUnixCommand::Wait(DWORD timeoutMs) {
    return m_bStarted && PumpUntil([this] { return Finished(); }, timeoutMs);
}

bool Xdo(const std::wstring& args) {
    return CUnixCommand(L"xdotool " + args).Wait();
}

void MoveMouse(POINT screen) {
    wchar_t args[64];
    wsprintfW(args, L"mousemove %ld %ld", screen.x, screen.y);
    Xdo(args);
}

void MoveMouse(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ::ClientToScreen(hwnd, &pt);
    MoveMouse(pt);
}

void LeftDown() {
    Xdo(L"mousedown 1");
}

void LeftUp() {
    Xdo(L"mouseup 1");
}

void DoubleClick() {
    Xdo(L"click --repeat 2 --delay 60 1");
}

void ParkMouse() {
    MoveMouse(POINT{5, 1000});
    Pump(30);
}

COLORREF Pixel(HWND hwnd, int x, int y) {
    CClientDC dc(hwnd);
    return dc.GetPixel(x, y);
}

int CountPixels(HWND hwnd, const RECT& rc, COLORREF colour) {
    CClientDC dc(hwnd);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += dc.GetPixel(x, y) == colour ? 1 : 0;
    return n;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof(text), "rgb(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

CSysColorGuard::CSysColorGuard(std::vector<std::pair<int, COLORREF>> colours) {
    std::vector<COLORREF> values;
    for (const auto& [id, colour] : colours) {
        m_ids.push_back(id);
        m_old.push_back(::GetSysColor(id));
        values.push_back(colour);
    }
    ::SetSysColors(static_cast<int>(m_ids.size()), m_ids.data(), values.data());
}

CSysColorGuard::~CSysColorGuard() {
    ::SetSysColors(static_cast<int>(m_ids.size()), m_ids.data(), m_old.data());
}

CTestDialog::CTestDialog(UINT nIDTemplate, std::vector<std::pair<int, CWnd*>> controls)
    : CDialog(nIDTemplate), m_controls(std::move(controls)) {}

CTestDialog::~CTestDialog() {
    DestroyWindow();
}

bool CTestDialog::Open(POINT pos, std::function<void(CTestDialog&)> onInit) {
    m_onInit = std::move(onInit);
    if (!Create(m_lpszTemplateName, nullptr))
        return false;
    ::SetWindowPos(m_hWnd, HWND_TOP, pos.x, pos.y, 0, 0, SWP_NOSIZE);
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    const bool active = PumpUntil([this] { return ::GetActiveWindow() == m_hWnd; }, 2000);
    Pump(100);
    return active;
}

void CTestDialog::SetBackground(COLORREF colour) {
    m_background.CreateSolidBrush(colour);
}

int CTestDialog::Clicks(int id) const {
    int n = 0;
    for (const auto& [from, code] : m_clicks)
        n += from == id && code == BN_CLICKED ? 1 : 0;
    return n;
}

void CTestDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (const auto& [id, control] : m_controls)
        DDX_Control(pDX, id, *control);
}

BOOL CTestDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_onInit)
        m_onInit(*this);
    return TRUE;
}

BOOL CTestDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam)
        m_clicks.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
}

HBRUSH CTestDialog::OnCtlColor(CDCHandle* pDC, CWndHandle wnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_DLG && m_background.GetSafeHandle())
        return m_background.Handle();
    return CDialog::OnCtlColor(pDC, wnd, nCtlColor);
}

void Place(HWND control, int x, int y, int cx, int cy) {
    ::SetWindowPos(control, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

CGdiplusSession::CGdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
}

CGdiplusSession::~CGdiplusSession() {
    if (m_token)
        Gdiplus::GdiplusShutdown(m_token);
}

namespace {

// build/artifacts of the source tree, as a Unix path (Wine maps the Linux root to Z:).
std::wstring ArtifactsDir() {
    const wchar_t* data = _wgetenv(L"ZV_TEST_DATA"); // <root>\tests
    if (!data || data[0] == 0)
        return L"";
    std::wstring path = data;
    if (path.size() > 2 && path[1] == L':')
        path = path.substr(2);
    for (auto& c : path)
        if (c == L'\\')
            c = L'/';
    const auto slash = path.find_last_of(L'/');
    return path.substr(0, slash) + L"/build/artifacts";
}

bool FileExists(const std::wstring& unixPath) {
    return ::GetFileAttributesW((L"Z:" + unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool Screenshot(const RECT& rc, const std::wstring& name) {
    const std::wstring dir = ArtifactsDir();
    if (dir.empty())
        return false;
    const std::wstring file = dir + L"/" + name + L".png";
    ::DeleteFileW((L"Z:" + file).c_str());
    wchar_t geometry[64];
    wsprintfW(geometry, L"%dx%d+%d+%d", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
    CUnixCommand(L"mkdir -p '" + dir + L"' && import -window root -crop " + geometry +
                 L" +repage '" + file + L"'")
        .Wait();
    return FileExists(file);
}

bool StackScreenshots(const std::vector<std::wstring>& parts, const std::wstring& name) {
    const std::wstring dir = ArtifactsDir();
    if (dir.empty() || parts.empty())
        return false;
    std::wstring files;
    for (const auto& part : parts)
        files += L" '" + dir + L"/" + part + L".png'";
    const std::wstring file = dir + L"/" + name + L".png";
    ::DeleteFileW((L"Z:" + file).c_str());
    CUnixCommand(L"convert" + files + L" -background white -splice 0x4 -append '" + file +
                 L"' && rm -f" + files)
        .Wait();
    return FileExists(file);
}

} // namespace ui
