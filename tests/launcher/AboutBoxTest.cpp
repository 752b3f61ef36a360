// The About box, reached from the launcher dialog's system menu, seen from outside the
// launcher: how it opens, its outline on screen, dragging it, its mail link.
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include "framework/Gdi.h"
#include "imaging/GdiplusSession.h"
#include "res/resource.h"
#include "tests/support/MouseInput.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/Pixels.h"
#include "tests/doubles/Record.h"
#include "tests/launcher/LauncherTestSupport.h"

namespace {

// The launcher's visible top-level window that is neither of its two "Velkor" windows.
HWND FindAboutBox(DWORD pid) {
    return FindProcessWindow(pid, [](HWND hwnd) {
        return ::IsWindowVisible(hwnd) && WindowTitle(hwnd) != L"Velkor" &&
               ::GetDlgItem(hwnd, IDC_LBL_EMAIL);
    });
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.IsRunning());
        ASSERT_TRUE(RunLauncher(game, launcher, windows));
        // The check over, so nothing moves the focus any more.
        ASSERT_TRUE(WaitFor(15000, [&] {
            return ::IsWindowVisible(::GetDlgItem(windows.dialog, IDC_BTN_START)) != 0;
        }));
        // Start may show before the skin's first frame reaches the screen.
        WaitFor(700, [] { return false; });
    }
    HWND AwaitAboutBox(DWORD timeoutMs = 5000) {
        HWND about = nullptr;
        WaitFor(timeoutMs, [&] { return (about = FindAboutBox(launcher->Pid())) != nullptr; });
        return about;
    }
    void CloseWithEscape(HWND about) {
        SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
        EXPECT_TRUE(WaitFor(3000, [&] { return !::IsWindow(about); }));
    }
    void CloseWithItsButton(HWND about) {
        Xdo(ClickScript(Centre(::GetDlgItem(about, IDOK))));
        EXPECT_TRUE(WaitFor(3000, [&] { return !::IsWindow(about); }));
    }

    CLauncherSite site;
    CGameFolder game;
    std::unique_ptr<CLauncherProcess> launcher;
    CLauncherWindows windows;
};

TEST_F(AboutBoxTest, TheSystemMenuItemOpensIt) {
    ASSERT_TRUE(WaitFor(3000, [&] { return ::GetForegroundWindow() == windows.dialog; }));
    SendKeys({{VK_MENU, false}, {VK_SPACE, false}, {VK_SPACE, true}, {VK_MENU, true}});
    GUITHREADINFO info{sizeof info};
    ASSERT_TRUE(WaitFor(3000, [&] {
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(windows.dialog, nullptr), &info) &&
               (info.flags & GUI_INMENUMODE) && info.hwndMenuOwner == windows.dialog;
    })) << "no system menu";
    // The launcher's item is the menu's last.
    SendKeys({{VK_UP, false}, {VK_UP, true}, {VK_RETURN, false}, {VK_RETURN, true}});
    HWND about = AwaitAboutBox();
    ASSERT_TRUE(about);
    CloseWithEscape(about);
    EXPECT_TRUE(launcher->Running());
}

struct CommandCase {
    WPARAM command;
    bool opens;
};

void PrintTo(const CommandCase& c, std::ostream* out) {
    *out << c.command;
}

class AboutCommandTest : public AboutBoxTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(AboutCommandTest, SystemCommands16To31OpenIt) {
    ::PostMessageW(windows.dialog, WM_SYSCOMMAND, GetParam().command, 0);
    HWND about = AwaitAboutBox(GetParam().opens ? 5000 : 1500);
    EXPECT_EQ(about != nullptr, GetParam().opens);
    if (about)
        CloseWithEscape(about);
    EXPECT_TRUE(launcher->Running());
}

INSTANTIATE_TEST_SUITE_P(Commands, AboutCommandTest,
                         ::testing::Values(CommandCase{16, true}, CommandCase{31, true},
                                           CommandCase{32, false}),
                         [](const auto& info) { return std::to_string(info.param.command); });

// The picture as the launcher carries it.
CBitmap AboutPicture() {
    CBitmap picture;
    picture.Attach(::LoadImageW(nullptr, ZV_TEST_DATA_DIR L"/../../res/about.bmp", IMAGE_BITMAP, 0,
                                0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    return picture;
}

TEST_F(AboutBoxTest, ItsPictureShowsWhereItIsGreenWhatLiesBehind) {
    const CGdiplusSession gdiplus = StartGdiplus();
    const CBitmap picture = AboutPicture();
    ASSERT_TRUE(picture.GetSafeHandle());
    CDC pictureDC;
    ASSERT_TRUE(pictureDC.CreateCompatibleDC(static_cast<HDC>(nullptr)));
    const CSelectObject select(pictureDC.GetSafeHdc(), picture.GetSafeHandle());
    const CScreen before;
    ASSERT_TRUE(before.IsValid());

    ::PostMessageW(windows.dialog, WM_SYSCOMMAND, 16, 0);
    HWND about = AwaitAboutBox();
    ASSERT_TRUE(about);
    WaitFor(600, [] { return false; }); // painted
    // The picture lies at the client origin; its green corners are cut out of the window.
    POINT origin{0, 0};
    ::ClientToScreen(about, &origin);
    const CScreen after;
    ASSERT_TRUE(after.IsValid());

    int cut = 0, shown = 0;
    const int corner = 16;
    for (const POINT start : {POINT{0, 0}, POINT{380 - corner, 0}, POINT{0, 150 - corner},
                              POINT{380 - corner, 150 - corner}}) {
        for (int y = start.y; y < start.y + corner; ++y) {
            for (int x = start.x; x < start.x + corner; ++x) {
                POINT client{x, y};
                if (::RealChildWindowFromPoint(about, client) != about)
                    continue; // a control paints itself here
                const int sx = origin.x + x, sy = origin.y + y;
                const COLORREF own = pictureDC.GetPixel(x, y);
                if (own == RGB(0, 255, 0)) {
                    ++cut;
                    EXPECT_FALSE(Near(after.At(sx, sy), own, 80))
                        << "green shows at " << x << "," << y;
                } else {
                    ++shown;
                    EXPECT_EQ(after.At(sx, sy), own) << "picture at " << x << "," << y;
                }
            }
        }
    }
    // The skin's corner behind the About box's is clear: the desktop shows through both.
    for (const POINT corner : {POINT{0, 0}, POINT{1, 0}, POINT{0, 1}})
        EXPECT_EQ(after.At(origin.x + corner.x, origin.y + corner.y),
                  before.At(origin.x + corner.x, origin.y + corner.y));
    EXPECT_GT(cut, 100);
    EXPECT_GT(shown, 500);
    CloseWithEscape(about);
}

TEST_F(AboutBoxTest, DraggingAFreePointMovesIt) {
    ::PostMessageW(windows.dialog, WM_SYSCOMMAND, 16, 0);
    HWND about = AwaitAboutBox();
    ASSERT_TRUE(about);
    POINT free{30, 70};
    ASSERT_EQ(::RealChildWindowFromPoint(about, free), about);
    ::ClientToScreen(about, &free);
    CRect expected = WindowRect(about);
    Xdo(DragScript(CPoint(free.x, free.y), 70, 45));
    expected.OffsetRect(70, 45);
    EXPECT_TRUE(WaitFor(3000, [&] { return WindowRect(about) == expected; })) << WindowRect(about);
    // After the window manager's move the keys may go elsewhere; the close button does not.
    CloseWithItsButton(about);
}

TEST_F(AboutBoxTest, TheMailAddressOpensTheMailProgram) {
    ::PostMessageW(windows.dialog, WM_SYSCOMMAND, 16, 0);
    HWND about = AwaitAboutBox();
    ASSERT_TRUE(about);
    Xdo(ClickScript(Centre(::GetDlgItem(about, IDC_LBL_EMAIL))));
    ASSERT_TRUE(
        WaitFor(10000, [&] { return !ReadDoubleRecords(game.Records(), L"browser").empty(); }));
    const auto opened = ReadDoubleRecords(game.Records(), L"browser");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].argumentText, L"\"mailto:support@zorvane.net\"");
    CloseWithEscape(about);
}

} // namespace
