// Two real launcher processes under Wine, and a second copy against a first copy played
// by this test (which holds the mutex and listens for the broadcast).
#include "LauncherProcess.h"
#include "app/LauncherApp.h"
#include <gtest/gtest.h>
#include <string>

namespace {

enum class State { Behind, Minimised, Hidden };

class RealFirstCopyTest : public ::testing::TestWithParam<State> {};

TEST_P(RealFirstCopyTest, SecondCopyExitsAndTheFirstComesToTheFront) {
    LauncherProcess first;
    ASSERT_TRUE(first.Started());
    HWND window = first.WaitForWindow(10000);
    ASSERT_NE(window, nullptr);

    HWND other = nullptr;
    switch (GetParam()) {
    case State::Behind:
        other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  300, 200, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other);
        PumpFor(2000, [&] { return ::GetForegroundWindow() == other; });
        ASSERT_NE(::GetForegroundWindow(), window);
        break;
    case State::Minimised:
        ::ShowWindow(window, SW_MINIMIZE);
        PumpFor(2000, [&] { return ::IsIconic(window) != FALSE; });
        ASSERT_TRUE(::IsIconic(window));
        break;
    case State::Hidden:
        ::ShowWindow(window, SW_HIDE);
        PumpFor(2000, [&] { return !::IsWindowVisible(window); });
        ASSERT_FALSE(::IsWindowVisible(window));
        break;
    }

    LauncherProcess second;
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitExit(5000)) << "the second copy kept running";
    // In front: the main window or its last active pop-up (the launcher dialog).
    EXPECT_TRUE(PumpFor(5000,
                        [&] {
                            return ::IsWindowVisible(window) && !::IsIconic(window) &&
                                   ::GetAncestor(::GetForegroundWindow(), GA_ROOTOWNER) == window;
                        }))
        << "visible " << ::IsWindowVisible(window) << " iconic " << ::IsIconic(window);

    if (other)
        ::DestroyWindow(other);
    first.Close();
}

std::string StateName(const ::testing::TestParamInfo<State>& info) {
    static const char* const names[] = {"Behind", "Minimised", "Hidden"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(State, RealFirstCopyTest,
                         ::testing::Values(State::Behind, State::Minimised, State::Hidden),
                         StateName);

TEST(RealFirstCopyAtomTest, FileNameAtomLivesUntilTheFirstCopyHandlesIt) {
    LauncherProcess first;
    ASSERT_NE(first.WaitForWindow(10000), nullptr);
    const std::wstring name = L"Z:\\zv-atom-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";

    // While the first copy cannot run, the atom the second made must wait in the table.
    ASSERT_NE(::SuspendThread(first.MainThread()), static_cast<DWORD>(-1));
    LauncherProcess second(L"\"" + name + L"\"");
    const bool secondExited = second.WaitExit(5000);
    const ATOM waiting = ::GlobalFindAtomW(name.c_str());
    ::ResumeThread(first.MainThread());
    EXPECT_TRUE(secondExited);
    EXPECT_NE(waiting, 0) << "no atom was handed over";

    EXPECT_TRUE(PumpFor(5000, [&] { return ::GlobalFindAtomW(name.c_str()) == 0; }))
        << "the first copy left the atom behind";
    first.Close();
}

// This process stands in for the first copy.
class FakeFirstCopy {
public:
    FakeFirstCopy() {
        m_mutex = ::CreateMutexW(nullptr, FALSE, kLauncherUniqueId);
        m_msg = ::RegisterWindowMessageW(kLauncherUniqueId);
        m_window = ::CreateWindowExW(0, L"STATIC", L"fake first copy", WS_POPUP, 0, 0, 10, 10,
                                     nullptr, nullptr, nullptr, nullptr);
    }
    ~FakeFirstCopy() {
        ::DestroyWindow(m_window);
        ::CloseHandle(m_mutex);
    }
    // Waits for a hand-over; true with its wParam when one came.
    bool Receive(DWORD timeoutMs, WPARAM* wParam) {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < timeoutMs) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == m_msg) {
                    *wParam = msg.wParam;
                    return true;
                }
                ::DispatchMessageW(&msg);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return false;
    }

private:
    HANDLE m_mutex = nullptr;
    UINT m_msg = 0;
    HWND m_window = nullptr;
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
    for (const auto& c : cases) {
        FakeFirstCopy first;
        LauncherProcess second(c.arguments);
        ASSERT_TRUE(second.Started()) << c.label;
        WPARAM wParam = 12345;
        ASSERT_TRUE(first.Receive(8000, &wParam)) << c.label << ": nothing handed over";
        if (c.expectedName.empty())
            EXPECT_EQ(wParam, 0u) << c.label;
        else
            EXPECT_EQ(TakeAtomName(wParam), c.expectedName) << c.label;
        EXPECT_TRUE(second.WaitExit(5000)) << c.label;
        EXPECT_EQ(FindLauncherWindow(second.Pid()), nullptr) << c.label;
    }
}

TEST(FakeFirstCopyTest, PrintDdeAndRegistrationSwitchesRunAFullLauncher) {
    for (const wchar_t* arguments : {L"/p notes.txt", L"/pt notes.txt printer driver port", L"/dde",
                                     L"/Register", L"/Unregister"}) {
        FakeFirstCopy first;
        LauncherProcess second(arguments);
        ASSERT_TRUE(second.Started());
        EXPECT_NE(second.WaitForWindow(10000), nullptr) << "no launcher window for " << arguments;
        WPARAM wParam = 0;
        EXPECT_FALSE(first.Receive(300, &wParam)) << "handed over for " << arguments;
        second.Close();
        EXPECT_TRUE(second.WaitExit(5000));
    }
}

} // namespace
