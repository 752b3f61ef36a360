// Start hands over to the game's patcher: the chosen version file on its command line, the
// launcher gone afterwards, a message box when there is no patcher.
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>
#include "res/resource.h"
#include "tests/support/MouseInput.h"
#include "tests/support/ProcessWindows.h"
#include "tests/doubles/Record.h"
#include "tests/launcher/LauncherTestSupport.h"

namespace {

constexpr wchar_t kVersionFileHost[] = L"http://127.0.0.1:47181";

std::wstring PatcherCommand(const wchar_t* versionFile) {
    return std::wstring(L"patcher_zv2.exe ") + kVersionFileHost + versionFile;
}

std::vector<CDoubleRecord> PatcherStarts(const CGameFolder& game) {
    return ReadDoubleRecords(game.Records(), L"patcher");
}

HWND StartButton(const CLauncherWindows& windows) {
    return ::GetDlgItem(windows.dialog, IDC_BTN_START);
}

// The launcher with its patcher beside it, its windows up.
class GameStartTest : public ::testing::Test {
protected:
    void OpenSite(const CLauncherSite::Aliases& aliases = CLauncherSite::DefaultAliases()) {
        site = std::make_unique<CLauncherSite>(aliases);
        ASSERT_TRUE(site->IsRunning());
    }
    void Open(const CLauncherStart& start = {}) {
        if (!site)
            OpenSite();
        ASSERT_TRUE(RunLauncher(game, launcher, windows, start));
    }
    void ClickStartOnceShown() {
        ASSERT_TRUE(WaitFor(15000, [&] { return ::IsWindowVisible(StartButton(windows)) != 0; }));
        Xdo(ClickScript(Centre(StartButton(windows))));
    }
    // The one start of the patcher, waited for; the launcher must be gone with exit code 0.
    CDoubleRecord AwaitPatcher() {
        WaitFor(10000, [&] { return !PatcherStarts(game).empty(); });
        EXPECT_TRUE(launcher->WaitExit(5000)) << "the launcher stayed";
        EXPECT_EQ(launcher->ExitCode(), 0u);
        const auto starts = PatcherStarts(game);
        EXPECT_EQ(starts.size(), 1u);
        return starts.empty() ? CDoubleRecord{} : starts[0];
    }

    CGameFolder game;
    std::unique_ptr<CLauncherSite> site;
    std::unique_ptr<CLauncherProcess> launcher;
    CLauncherWindows windows;
};

TEST_F(GameStartTest, EnterDuringTheCheckStartsThePatcherWithVersionFileOne) {
    ASSERT_TRUE(game.AddDouble(L"patcher_zv2.exe"));
    // The version archive never comes, so the check is still running.
    CLauncherSite::Aliases aliases = CLauncherSite::DefaultAliases();
    aliases[0].second = "/stall/30/fileversion.zip";
    OpenSite(aliases);
    WriteFile(site->Folder() / "fileversion.zip", "PK");
    Open();
    ASSERT_TRUE(WaitFor(3000, [&] { return ::GetForegroundWindow() == windows.dialog; }));
    ASSERT_FALSE(::IsWindowVisible(StartButton(windows))) << "the check ended already";
    SendKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    const CDoubleRecord start = AwaitPatcher();
    EXPECT_EQ(start.commandLine, PatcherCommand(L"/version_qlt01.ini"));
    EXPECT_EQ(start.argumentText, kVersionFileHost + std::wstring(L"/version_qlt01.ini"));
}

struct SourceCase {
    const char* name;
    std::vector<WORD> commands;
    const wchar_t* versionFile;
};

void PrintTo(const SourceCase& c, std::ostream* out) {
    *out << c.name;
}

class VersionSourceTest : public GameStartTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(VersionSourceTest, CommandsChooseTheVersionFileStartHandsOver) {
    ASSERT_TRUE(game.AddDouble(L"patcher_zv2.exe"));
    Open();
    for (const WORD command : GetParam().commands)
        ::PostMessageW(windows.dialog, WM_COMMAND, command, 0);
    ClickStartOnceShown();
    EXPECT_EQ(AwaitPatcher().commandLine, PatcherCommand(GetParam().versionFile));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, VersionSourceTest,
    ::testing::Values(SourceCase{"None", {}, L"/version_qlt01.ini"},
                      SourceCase{"Command1013", {1013}, L"/version_qlt02.ini"},
                      SourceCase{"Command1014", {1014}, L"/version_qlt03.ini"},
                      SourceCase{"Command1015", {1014, 1015}, L"/version_qlt01.ini"},
                      SourceCase{"RepeatedChoice", {1013, 1014, 1014}, L"/version_qlt03.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GameStartTest, FromAnotherWorkingFolderThePatcherBesideTheLauncherIsFound) {
    ASSERT_TRUE(game.AddDouble(L"patcher_zv2.exe"));
    CTempFolder elsewhere;
    CLauncherStart start;
    start.workingFolder = elsewhere.Path();
    Open(start);
    ClickStartOnceShown();
    const CDoubleRecord patcher = AwaitPatcher();
    EXPECT_EQ(patcher.commandLine, PatcherCommand(L"/version_qlt01.ini"));
    // The patcher works in the folder the launcher was started in.
    EXPECT_EQ(patcher.workingFolder, elsewhere.Path().wstring());
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

TEST_F(GameStartTest, WithoutAPatcherAMessageBoxThenTheLauncherEnds) {
    Open();
    ClickStartOnceShown();
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor(10000, [&] { return (box = FindMessageBox(launcher->Pid())) != nullptr; }));
    int buttons = 0, icons = 0;
    bool text = false;
    for (HWND child : Children(box)) {
        wchar_t className[32] = {}, caption[64] = {};
        ::GetClassNameW(child, className, 32);
        ::GetWindowTextW(child, caption, 64);
        const auto style = ::GetWindowLongPtrW(child, GWL_STYLE);
        if (::lstrcmpiW(className, L"Button") == 0 && ::IsWindowVisible(child))
            ++buttons;
        // Wine keeps the icon's place in every box; with style 0 it holds no icon.
        DWORD_PTR icon = 0;
        if (::lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
            ::SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_NORMAL, 2000, &icon) && icon)
            ++icons;
        text = text || ::lstrcmpW(caption, L"KDR: Failed to execute patcher.") == 0;
    }
    EXPECT_TRUE(text);
    EXPECT_EQ(buttons, 1) << "only OK";
    EXPECT_EQ(icons, 0);
    EXPECT_TRUE(launcher->Running()) << "the launcher waits for the box";

    SendKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    EXPECT_TRUE(launcher->WaitExit(5000));
    EXPECT_EQ(launcher->ExitCode(), 0u);
    EXPECT_TRUE(PatcherStarts(game).empty());
}

} // namespace
