// The launcher's two windows as a player meets them, seen from outside the process: where
// they are, where every control sits on the skin, how they move, minimise and close.
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include "res/resource.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pump.h"
#include "tests/launcher/LauncherTestSupport.h"

namespace {

constexpr UINT kLauncherExit = WM_USER + 12;
constexpr char kRunningEvent[] = "706557DB-10FF-41bd-A7F8-D2999AF8282E";

class LauncherWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.IsRunning());
        ASSERT_TRUE(RunLauncher(game, launcher, windows));
        Pump(300);
    }

    CLauncherSite site;
    CGameFolder game;
    std::unique_ptr<CLauncherProcess> launcher;
    CLauncherWindows windows;
};

TEST_F(LauncherWindowTest, TheSkinAndTheDialogLieOnTheSkinsPixels) {
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(windows.skin, GWL_EXSTYLE));
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    const CRect skin = WindowRect(windows.skin);
    EXPECT_EQ(skin.Width(), 800);
    EXPECT_EQ(skin.Height(), 564);
    EXPECT_EQ(WindowRect(windows.dialog).TopLeft(), skin.TopLeft());

    // The pixels of base units 6 by 13, whatever font the system gave the template.
    struct Place {
        int id;
        CRect rc;
    };
    const Place places[] = {
        {IDC_BTN_START, {578, 518, 698, 546}},    {IDC_BTN_ACCOUNT, {297, 517, 405, 548}},
        {IDC_BTN_REGISTER, {407, 517, 526, 548}}, {IDC_BTN_MINIMIZE, {699, 98, 711, 111}},
        {IDC_BTN_CLOSE, {716, 98, 728, 111}},     {IDC_BTN_FORUM, {201, 517, 294, 548}},
        {IDC_BTN_HOME, {87, 517, 191, 548}},      {IDC_NOTICE_VIEW, {245, 214, 695, 511}},
    };
    for (const Place& place : places) {
        HWND control = ::GetDlgItem(windows.dialog, place.id);
        ASSERT_TRUE(control) << place.id;
        EXPECT_EQ(RectIn(windows.dialog, control), place.rc) << "control " << place.id;
    }
}

TEST_F(LauncherWindowTest, DraggingEitherWindowMovesBoth) {
    const CRect start = WindowRect(windows.skin);
    // The skin's rim, where the dialog above is keyed out.
    const CPoint rim(start.left + 12, start.top + 300);
    Xdo(DragScript(rim, 60, 40));
    CRect expected = start;
    expected.OffsetRect(60, 40);
    EXPECT_TRUE(WaitFor(3000, [&] { return WindowRect(windows.skin) == expected; }))
        << WindowRect(windows.skin);
    EXPECT_TRUE(WaitFor(3000, [&] { return WindowRect(windows.dialog) == expected; }))
        << WindowRect(windows.dialog);

    // The dialog, grabbed by the window manager's Alt+drag on the notice view, which belongs to
    // the dialog.
    const CRect view = WindowRect(::GetDlgItem(windows.dialog, IDC_NOTICE_VIEW));
    const CPoint inView(view.left + 40, view.top + 40);
    Xdo(L"keydown alt " + DragScript(inView, -90, -50) + L" keyup alt");
    expected.OffsetRect(-90, -50);
    EXPECT_TRUE(WaitFor(3000, [&] { return WindowRect(windows.dialog) == expected; }))
        << WindowRect(windows.dialog);
    EXPECT_TRUE(WaitFor(3000, [&] { return WindowRect(windows.skin) == expected; }))
        << WindowRect(windows.skin);
}

TEST_F(LauncherWindowTest, MinimiseHidesBothAndRestoringTheSkinBringsBothBack) {
    const CRect before = WindowRect(windows.skin);
    ASSERT_EQ(ShownVelkorWindows(), 2);
    Xdo(ClickScript(Centre(::GetDlgItem(windows.dialog, IDC_BTN_MINIMIZE))));
    EXPECT_TRUE(WaitFor(3000, [&] { return ::IsIconic(windows.skin) != FALSE; }));
    // Under Wine the owned dialog keeps its visible style while the window manager hides it
    // with its owner, so the screen is asked.
    EXPECT_TRUE(WaitFor(3000, [&] { return ShownVelkorWindows() == 0; }));

    ::PostMessageW(windows.skin, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitFor(3000, [&] { return !::IsIconic(windows.skin); }));
    EXPECT_TRUE(WaitFor(3000, [&] { return ShownVelkorWindows() == 2; }));
    EXPECT_EQ(WindowRect(windows.skin), before);
    EXPECT_EQ(WindowRect(windows.dialog).TopLeft(), before.TopLeft());
}

enum class Ending { CloseButton, EscapeKey, CloseMessage, LauncherExit };

class LauncherEndingTest : public LauncherWindowTest,
                           public ::testing::WithParamInterface<Ending> {};

TEST_P(LauncherEndingTest, EndsTheProcessCleanly) {
    // The event marks a running launcher for exactly as long as the process lives.
    const auto openEvent = [] {
        return CKernelHandle(::OpenEventA(SYNCHRONIZE, FALSE, kRunningEvent));
    };
    EXPECT_TRUE(openEvent());
    switch (GetParam()) {
    case Ending::CloseButton:
        Xdo(ClickScript(Centre(::GetDlgItem(windows.dialog, IDC_BTN_CLOSE))));
        break;
    case Ending::EscapeKey:
        ASSERT_TRUE(WaitFor(3000, [&] { return ::GetForegroundWindow() == windows.dialog; }));
        SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
        break;
    case Ending::CloseMessage:
        ::PostMessageW(windows.dialog, WM_CLOSE, 0, 0);
        break;
    case Ending::LauncherExit:
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(windows.skin, kLauncherExit, 0, 0, SMTO_NORMAL, 5000, &result);
        break;
    }
    ASSERT_TRUE(launcher->WaitExit(5000));
    EXPECT_EQ(launcher->ExitCode(), 0u);
    EXPECT_FALSE(::IsWindow(windows.skin));
    EXPECT_FALSE(::IsWindow(windows.dialog));
    EXPECT_FALSE(openEvent());
}

void PrintTo(Ending ending, std::ostream* out) {
    *out << static_cast<int>(ending);
}

std::string EndingName(const ::testing::TestParamInfo<Ending>& info) {
    static const char* const names[] = {"CloseButton", "EscapeKey", "CloseMessage", "LauncherExit"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Roads, LauncherEndingTest,
                         ::testing::Values(Ending::CloseButton, Ending::EscapeKey,
                                           Ending::CloseMessage, Ending::LauncherExit),
                         EndingName);

} // namespace
