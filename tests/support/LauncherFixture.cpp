#include "tests/support/LauncherFixture.h"

#include <vector>

namespace {

constexpr wchar_t kWindowTitle[] = L"Velkor";
constexpr wchar_t kRecordsVariable[] = L"ZV_DOUBLE_RECORDS";
constexpr int kWebPort = 47180;
constexpr int kVersionFilePort = 47181;

struct CSearch {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTitled(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<CSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t title[32] = {};
    ::GetWindowTextW(hwnd, title, 32);
    if (pid == search->pid && ::lstrcmpW(title, kWindowTitle) == 0)
        search->windows.push_back(hwnd);
    return TRUE;
}

// The test's environment with `extra` set, as a block for CreateProcessW.
std::vector<wchar_t>
EnvironmentWith(const std::vector<std::pair<std::wstring, std::wstring>>& extra) {
    for (const auto& [name, value] : extra)
        ::SetEnvironmentVariableW(name.c_str(), value.c_str());
    std::vector<wchar_t> block;
    if (wchar_t* strings = ::GetEnvironmentStringsW()) {
        const wchar_t* end = strings;
        while (*end)
            end += ::lstrlenW(end) + 1;
        block.assign(static_cast<const wchar_t*>(strings), end + 1);
        ::FreeEnvironmentStringsW(strings);
    }
    for (const auto& [name, value] : extra)
        ::SetEnvironmentVariableW(name.c_str(), nullptr);
    return block;
}

template <class F> bool WaitFor(DWORD timeoutMs, F done) {
    const ULONGLONG until = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= until)
            return false;
        ::Sleep(20);
    }
    return true;
}

} // namespace

CLauncherWindows FindLauncherWindows(DWORD pid) {
    CSearch search{pid, {}};
    ::EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
    CLauncherWindows found;
    for (HWND hwnd : search.windows) {
        if (!::GetWindow(hwnd, GW_OWNER))
            found.skin = hwnd;
    }
    for (HWND hwnd : search.windows) {
        if (found.skin && ::GetWindow(hwnd, GW_OWNER) == found.skin)
            found.dialog = hwnd;
    }
    return found;
}

CGameFolder::CGameFolder() {
    ::CopyFileW(ZV_LAUNCHER_EXE, Executable().c_str(), FALSE);
}

CGameFolder::CGameFolder(std::size_t pathLength) {
    const std::size_t base = m_folder.Path().native().size() + 1;
    if (pathLength > base) {
        m_path = m_folder.Path() / std::wstring(pathLength - base, L'g');
        fs::create_directory(m_path);
    }
    ::CopyFileW(ZV_LAUNCHER_EXE, Executable().c_str(), FALSE);
}

bool CGameFolder::AddDouble(const std::wstring& fileName) const {
    const std::wstring source = std::wstring(ZV_DOUBLES_DIR) + L"\\" + fileName;
    return ::CopyFileW(source.c_str(), (Path() / fileName).c_str(), FALSE) != FALSE;
}

CLauncherSite::Aliases CLauncherSite::DefaultAliases() {
    return {{"/fileversion.zip", "/file/fileversion.zip"},
            {"/Zorvane.zip", "/file/Zorvane.zip"},
            {"/notice/zv", "/page/notice.html"}};
}

CLauncherSite::CLauncherSite(const Aliases& aliases)
    : m_web(m_folder.Path(), {kWebPort, aliases}),
      m_versionFiles(m_folder.Path(), {kVersionFilePort, {}}) {}

CLauncherProcess::CLauncherProcess(const CGameFolder& game, const CLauncherStart& start) {
    std::wstring line = L"\"" + game.Executable().wstring() + L"\"";
    if (!start.arguments.empty())
        line += L" " + start.arguments;
    auto extra = start.environment;
    extra.emplace_back(kRecordsVariable, game.Records().wstring());
    const std::vector<wchar_t> environment = EnvironmentWith(extra);
    const fs::path folder = start.workingFolder.empty() ? game.Path() : start.workingFolder;
    m_process = CChildProcess(line, folder.wstring(), 0, &environment);
}

CLauncherProcess::~CLauncherProcess() {
    if (Running())
        End();
}

CLauncherWindows CLauncherProcess::WaitForWindows(DWORD timeoutMs) const {
    CLauncherWindows found;
    WaitFor(timeoutMs, [&] {
        found = Windows();
        return found.Found() && ::IsWindowVisible(found.skin) && ::IsWindowVisible(found.dialog);
    });
    return found;
}

bool CLauncherProcess::WaitExit(DWORD timeoutMs) const {
    return m_process.WaitEnd(timeoutMs);
}

DWORD CLauncherProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (Started())
        ::GetExitCodeProcess(m_process.Handle(), &code);
    return code;
}

bool CLauncherProcess::End() {
    if (!Running())
        return true;
    const CLauncherWindows windows = Windows();
    if (HWND target = windows.dialog ? windows.dialog : windows.skin)
        ::PostMessageW(target, WM_CLOSE, 0, 0);
    if (WaitExit(10000))
        return true;
    m_process.End();
    return false;
}
