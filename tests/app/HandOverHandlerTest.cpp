// The running copy's side of a hand-over, in process: the atom is consumed and the main
// window comes back and to the front. And a second copy's start-up, which must end early.
#include "tests/support/Pump.h"
#include "app/LauncherApp.h"
#include "framework/Dialog.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <string>

namespace {

int CountThreadWindows() {
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND, LPARAM lParam) -> BOOL {
            ++*reinterpret_cast<int*>(lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(SecondCopyStartTest, HandsOverWithoutWindowOrGdiplusAndExitsCleanly) {
    // This process plays the first copy by holding the launcher's mutex.
    HANDLE first = ::CreateMutexW(nullptr, FALSE, kLauncherUniqueId);
    ASSERT_NE(first, nullptr);
    {
        CLauncherApp app;
        const int windowsBefore = CountThreadWindows();
        EXPECT_FALSE(app.InitInstance());
        EXPECT_NE(app.m_uInstanceMsg, 0u);
        EXPECT_EQ(g_gdiplusToken.Get(), 0u);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_EQ(CountThreadWindows(), windowsBefore);
        // Shutting down with the zero token of a copy that never started GDI+ is harmless.
        EXPECT_EQ(app.ExitInstance(), 0);
    }
    ::CloseHandle(first);
}

enum class Shown { Normal, Minimised, Hidden };

class HandOverHandlerTest : public ::testing::TestWithParam<Shown> {};

TEST_P(HandOverHandlerTest, ConsumesTheAtomAndBringsTheMainWindowBack) {
    CWinAppEx app(L"HandOverTest");
    app.m_uInstanceMsg = ::RegisterWindowMessageW(L"zv-handover-test");
    CDialog main(IDD_SKIN_DIALOG);
    ASSERT_TRUE(main.Create(IDD_SKIN_DIALOG));
    app.m_pMainWnd = &main;
    Pump(300);
    if (GetParam() == Shown::Minimised)
        main.ShowWindow(SW_MINIMIZE);
    if (GetParam() == Shown::Hidden)
        main.ShowWindow(SW_HIDE);
    Pump(300);

    const ATOM atom = ::GlobalAddAtomW(L"Z:\\handed\\over.txt");
    ASSERT_NE(atom, 0);
    MSG msg{main.m_hWnd, app.m_uInstanceMsg, atom, 0, 0, {0, 0}};
    EXPECT_TRUE(app.PreTranslateMessage(&msg));
    wchar_t name[256];
    EXPECT_EQ(::GlobalGetAtomNameW(atom, name, 256), 0u);

    EXPECT_TRUE(PumpUntil(
        [&] {
            return ::IsWindowVisible(main.m_hWnd) && !::IsIconic(main.m_hWnd) &&
                   ::GetForegroundWindow() == main.m_hWnd;
        },
        3000))
        << "visible " << ::IsWindowVisible(main.m_hWnd) << " iconic " << ::IsIconic(main.m_hWnd);

    // Later runs of the same broadcast carry no name and change nothing.
    MSG again{main.m_hWnd, app.m_uInstanceMsg, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(app.PreTranslateMessage(&again));
    EXPECT_TRUE(::IsWindowVisible(main.m_hWnd));
    main.DestroyWindow();
}

std::string ShownName(const ::testing::TestParamInfo<Shown>& info) {
    static const char* const names[] = {"Normal", "Minimised", "Hidden"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Shown, HandOverHandlerTest,
                         ::testing::Values(Shown::Normal, Shown::Minimised, Shown::Hidden),
                         ShownName);

TEST(HandOverHandlerEdgeTest, WithoutMainWindowTheMessageIsStillConsumed) {
    CWinAppEx app(L"HandOverTest");
    app.m_uInstanceMsg = ::RegisterWindowMessageW(L"zv-handover-test");
    const ATOM atom = ::GlobalAddAtomW(L"no-main-window");
    MSG msg{nullptr, app.m_uInstanceMsg, atom, 0, 0, {0, 0}};
    EXPECT_TRUE(app.PreTranslateMessage(&msg));
    wchar_t name[256];
    EXPECT_EQ(::GlobalGetAtomNameW(atom, name, 256), 0u);
    // Other messages are not the guard's.
    MSG other{nullptr, WM_APP, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(app.PreTranslateMessage(&other));
}

} // namespace
