// Two real launcher processes under Wine, and a second copy against a first copy played
// by this test (which holds the mutex and listens for the broadcast).
#include "tests/support/LauncherFixture.h"
#include "tests/support/Pump.h"
#include "app/LauncherApp.h"
#include "framework/Wnd.h"
#include "base/Handle.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The launcher's shown main window, waited for while this thread keeps its own windows
// answering.
HWND ShownSkin(const CLauncherProcess& launcher, DWORD timeoutMs = 10000) {
    HWND skin = nullptr;
    PumpUntil(
        [&] {
            skin = launcher.Windows().skin;
            return skin && ::IsWindowVisible(skin);
        },
        timeoutMs);
    return skin && ::IsWindowVisible(skin) ? skin : nullptr;
}

enum class State { Behind, Minimised, Hidden };

class RealFirstCopyTest : public ::testing::TestWithParam<State> {};

TEST_P(RealFirstCopyTest, SecondCopyExitsAndTheFirstComesToTheFront) {
    CGameFolder game;
    CLauncherProcess first(game);
    ASSERT_TRUE(first.Started());
    HWND window = ShownSkin(first);
    ASSERT_NE(window, nullptr);

    HWND other = nullptr;
    switch (GetParam()) {
    case State::Behind:
        other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  300, 200, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other);
        PumpUntil([&] { return ::GetForegroundWindow() == other; }, 2000);
        ASSERT_NE(::GetForegroundWindow(), window);
        break;
    case State::Minimised:
        ::ShowWindow(window, SW_MINIMIZE);
        PumpUntil([&] { return ::IsIconic(window) != FALSE; }, 2000);
        ASSERT_TRUE(::IsIconic(window));
        break;
    case State::Hidden:
        ::ShowWindow(window, SW_HIDE);
        PumpUntil([&] { return !::IsWindowVisible(window); }, 2000);
        ASSERT_FALSE(::IsWindowVisible(window));
        break;
    }

    CLauncherProcess second(game);
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitExit(5000)) << "the second copy kept running";
    // In front: the main window or its last active pop-up (the launcher dialog).
    EXPECT_TRUE(PumpUntil(
        [&] {
            return ::IsWindowVisible(window) && !::IsIconic(window) &&
                   ::GetAncestor(::GetForegroundWindow(), GA_ROOTOWNER) == window;
        },
        5000))
        << "visible " << ::IsWindowVisible(window) << " iconic " << ::IsIconic(window);

    if (other)
        ::DestroyWindow(other);
    first.End();
}

std::string StateName(const ::testing::TestParamInfo<State>& info) {
    static const char* const names[] = {"Behind", "Minimised", "Hidden"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(State, RealFirstCopyTest,
                         ::testing::Values(State::Behind, State::Minimised, State::Hidden),
                         StateName);

TEST(RealFirstCopyAtomTest, FileNameAtomLivesUntilTheFirstCopyHandlesIt) {
    CGameFolder game;
    CLauncherProcess first(game);
    ASSERT_NE(ShownSkin(first), nullptr);
    const std::wstring name = L"Z:\\zv-atom-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";

    // While the first copy cannot run, the atom the second made must wait in the table.
    ASSERT_NE(::SuspendThread(first.MainThread()), static_cast<DWORD>(-1));
    CLauncherProcess second(game, {L"\"" + name + L"\""});
    const bool secondExited = second.WaitExit(5000);
    const ATOM waiting = ::GlobalFindAtomW(name.c_str());
    ::ResumeThread(first.MainThread());
    EXPECT_TRUE(secondExited);
    EXPECT_NE(waiting, 0) << "no atom was handed over";

    EXPECT_TRUE(PumpUntil([&] { return ::GlobalFindAtomW(name.c_str()) == 0; }, 5000))
        << "the first copy left the atom behind";
    first.End();
}

// This process stands in for the first copy: it holds the mutex, and the broadcast reaches
// its top-level window.
class CFakeFirstCopy : public CWnd {
public:
    CFakeFirstCopy()
        : m_mutex(::CreateMutexW(nullptr, FALSE, kLauncherUniqueId)),
          m_msg(::RegisterWindowMessageW(kLauncherUniqueId)) {
        CreateEx(0, L"STATIC", L"fake first copy", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
    }
    ~CFakeFirstCopy() override { DestroyWindow(); }

    // Waits for a hand-over; true with its wParam when one came.
    bool Receive(DWORD timeoutMs, WPARAM* wParam) {
        if (!PumpUntil([&] { return m_received; }, timeoutMs))
            return false;
        *wParam = m_wParam;
        return true;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == m_msg && !m_received) {
            m_received = true;
            m_wParam = wParam;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    CKernelHandle m_mutex;
    UINT m_msg;
    bool m_received = false;
    WPARAM m_wParam = 0;
};

std::wstring TakeAtomName(WPARAM wParam) {
    wchar_t name[256] = {};
    const UINT n = ::GlobalGetAtomNameW(static_cast<ATOM>(wParam), name, 256);
    ::GlobalDeleteAtom(static_cast<ATOM>(wParam));
    return std::wstring(name, n);
}

struct HandOverCase {
    const char* label;
    std::wstring arguments;
    std::wstring expectedName; // empty: wParam 0
};

TEST(FakeFirstCopyTest, SecondCopyHandsOverWhatItsCommandLineAsks) {
    const std::wstring longName = L"Z:\\" + std::wstring(300, L'x') + L".txt";
    const HandOverCase cases[] = {
        {"no argument", L"", L""},
        {"file", L"\"Z:\\some folder\\notes.txt\"", L"Z:\\some folder\\notes.txt"},
        {"name over 255 characters", longName, L""},
    };
    CGameFolder game;
    for (const auto& c : cases) {
        CFakeFirstCopy first;
        CLauncherProcess second(game, {c.arguments});
        ASSERT_TRUE(second.Started()) << c.label;
        WPARAM wParam = 12345;
        ASSERT_TRUE(first.Receive(8000, &wParam)) << c.label << ": nothing handed over";
        if (c.expectedName.empty())
            EXPECT_EQ(wParam, 0u) << c.label;
        else
            EXPECT_EQ(TakeAtomName(wParam), c.expectedName) << c.label;
        // Watched while it still runs: once it has ended, it has no windows anyway.
        bool windowSeen = false;
        EXPECT_TRUE(PumpUntil(
            [&] {
                windowSeen = windowSeen || second.Windows().skin != nullptr;
                return second.WaitExit(0);
            },
            5000))
            << c.label;
        EXPECT_FALSE(windowSeen) << c.label << ": the second copy made a launcher window";
    }
}

TEST(FakeFirstCopyTest, PrintDdeAndRegistrationSwitchesRunAFullLauncher) {
    for (const wchar_t* arguments : {L"/p notes.txt", L"/pt notes.txt printer driver port", L"/dde",
                                     L"/Register", L"/Unregister"}) {
        CGameFolder game;
        CFakeFirstCopy first;
        CLauncherProcess second(game, {arguments});
        ASSERT_TRUE(second.Started());
        EXPECT_NE(ShownSkin(second), nullptr) << "no launcher window for " << arguments;
        WPARAM wParam = 0;
        EXPECT_FALSE(first.Receive(300, &wParam)) << "handed over for " << arguments;
        EXPECT_TRUE(second.End()) << "it had to be ended for " << arguments;
    }
}

} // namespace
