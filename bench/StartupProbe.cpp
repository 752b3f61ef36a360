// Times program starts from the outside: from CreateProcess to the program's window shown,
// and for the launcher also to Start shown. Rounds alternate between the launcher and the
// peer under one warm Wine; medians and their ratio are printed.
//
//     zv_bench_startup LAUNCHER PEER ROUNDS
//
// "Shown" is the window reported visible. The launcher composes and pushes its skin before
// the window is shown, and the peer paints its window right after showing it, so for both
// this is the first frame on screen (up to the display's own delay, the same for both).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "base/Handle.h"

namespace {

constexpr DWORD kGiveUpMs = 30000;
constexpr int kStartId = 1000;

double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / perMs;
}

struct CSearch {
    DWORD pid;
    HWND owner; // the window found must be owned by this one (null: by none)
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<CSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || ::GetWindow(hwnd, GW_OWNER) != search->owner)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND TopLevel(DWORD pid, HWND owner) {
    CSearch search{pid, owner, nullptr};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct CRound {
    double window = -1; // ms from the start to the main window shown
    double start = -1;  // the launcher: ms to Start shown
};

// A started program, waited for (and ended if it will not end) when the object goes.
class CProcess {
public:
    explicit CProcess(const std::wstring& program) {
        std::wstring line = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &started))
            return;
        CKernelHandle thread(started.hThread);
        m_process.Attach(started.hProcess);
        m_pid = started.dwProcessId;
    }
    ~CProcess() {
        if (m_process && ::WaitForSingleObject(m_process.Get(), 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(m_process.Get(), 1);
    }
    CProcess(const CProcess&) = delete;
    CProcess& operator=(const CProcess&) = delete;
    bool Ok() const { return m_process.IsValid(); }
    DWORD Pid() const { return m_pid; }

private:
    CKernelHandle m_process;
    DWORD m_pid = 0;
};

CRound TimeLauncher(const std::wstring& program) {
    CRound round;
    const double begin = NowMs();
    CProcess process(program);
    if (!process.Ok())
        return round;
    HWND skin = nullptr, dialog = nullptr;
    while (NowMs() - begin < kGiveUpMs) {
        if (!skin) {
            HWND found = TopLevel(process.Pid(), nullptr);
            if (found && ::IsWindowVisible(found)) {
                skin = found;
                round.window = NowMs() - begin;
            }
        }
        if (skin && !dialog)
            dialog = TopLevel(process.Pid(), skin);
        if (dialog && ::IsWindowVisible(::GetDlgItem(dialog, kStartId))) {
            round.start = NowMs() - begin;
            break;
        }
        ::Sleep(1);
    }
    if (dialog)
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    else if (skin)
        ::PostMessageW(skin, WM_CLOSE, 0, 0);
    return round;
}

CRound TimePeer(const std::wstring& program) {
    CRound round;
    const double begin = NowMs();
    CProcess process(program);
    if (!process.Ok())
        return round;
    HWND window = nullptr;
    while (NowMs() - begin < kGiveUpMs) {
        HWND found = TopLevel(process.Pid(), nullptr);
        if (found && ::IsWindowVisible(found)) {
            window = found;
            round.window = NowMs() - begin;
            break;
        }
        ::Sleep(1);
    }
    if (window)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    return round;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: zv_bench_startup LAUNCHER PEER ROUNDS\n");
        return 2;
    }
    const std::wstring launcher = argv[1], peer = argv[2];
    const int rounds = std::max(1, _wtoi(argv[3]));

    // One round of each that is not counted: Wine's first starts load what later ones reuse.
    TimeLauncher(launcher);
    TimePeer(peer);

    std::vector<double> launcherWindow, launcherStart, peerWindow, pairedRatios;
    std::printf("round  launcher window  launcher Start  peer window   (ms from process start)\n");
    for (int i = 1; i <= rounds; ++i) {
        const CRound ours = TimeLauncher(launcher);
        const CRound theirs = TimePeer(peer);
        std::printf("%5d  %15.1f  %14.1f  %11.1f\n", i, ours.window, ours.start, theirs.window);
        if (ours.window < 0 || ours.start < 0 || theirs.window < 0) {
            std::printf("a window never showed; stopping\n");
            return 1;
        }
        launcherWindow.push_back(ours.window);
        launcherStart.push_back(ours.start);
        peerWindow.push_back(theirs.window);
        pairedRatios.push_back(ours.window / theirs.window);
    }
    const double ours = Median(launcherWindow), theirs = Median(peerWindow);
    std::printf("\nmedians over %d rounds:\n", rounds);
    std::printf("  launcher, process start to the skin shown:  %8.1f ms\n", ours);
    std::printf("  peer, process start to its window shown:    %8.1f ms\n", theirs);
    std::printf("  ratio of the medians (target at most 3.0):  %8.2f\n", ours / theirs);
    std::printf("  median of the rounds' own ratios:           %8.2f\n", Median(pairedRatios));
    std::printf("  launcher, process start to Start shown:     %8.1f ms\n", Median(launcherStart));
    return 0;
}
