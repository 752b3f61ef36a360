// The four web buttons and the About box's mail link, clicked with the real mouse: each opens
// exactly its address through the browser registered in the test prefix (a double that
// writes down what it was given).
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include "res/resource.h"
#include "tests/support/MouseInput.h"
#include "tests/doubles/Record.h"
#include "tests/launcher/LauncherTestSupport.h"

namespace {

struct WebButton {
    int id;
    const wchar_t* address;
};

void PrintTo(const WebButton& button, std::ostream* out) {
    *out << button.id;
}

class WebLinksTest : public ::testing::TestWithParam<WebButton> {
protected:
    void SetUp() override {
        ASSERT_TRUE(site.IsRunning());
        ASSERT_TRUE(RunLauncher(game, launcher, windows));
    }
    std::vector<CDoubleRecord> Opened() const {
        return ReadDoubleRecords(game.Records(), L"browser");
    }
    // The only address opened, waited for; empty when none or several were.
    std::wstring AwaitOneOpened() {
        WaitFor(10000, [&] { return !Opened().empty(); });
        WaitFor(500, [] { return false; }); // a second one would show by now
        const auto opened = Opened();
        return opened.size() == 1 ? opened[0].argumentText : L"";
    }

    CLauncherSite site;
    CGameFolder game;
    std::unique_ptr<CLauncherProcess> launcher;
    CLauncherWindows windows;
};

TEST_P(WebLinksTest, EachButtonOpensItsPage) {
    Xdo(ClickScript(Centre(::GetDlgItem(windows.dialog, GetParam().id))));
    EXPECT_EQ(AwaitOneOpened(), L"\"" + std::wstring(GetParam().address) + L"\"");
    EXPECT_TRUE(launcher->Running()) << "a web page does not end the launcher";
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, WebLinksTest,
    ::testing::Values(WebButton{IDC_BTN_HOME, L"http://127.0.0.1:47180"},
                      WebButton{IDC_BTN_ACCOUNT,
                                L"https://127.0.0.1:47182/billport/billport.account.index.html"},
                      WebButton{IDC_BTN_REGISTER,
                                L"https://127.0.0.1:47182/billport/billport.account.regform.html"},
                      WebButton{IDC_BTN_FORUM, L"http://127.0.0.1:47180/"}),
    [](const auto& info) { return std::to_string(info.param.id); });

} // namespace
