// The notice page inside the launcher: a browser control in its place, fetched from the
// server at every start.
#include <gtest/gtest.h>
#include <string>
#include "res/resource.h"
#include "tests/launcher/LauncherTestSupport.h"

namespace {

size_t Count(const std::string& log, const std::string& line) {
    size_t n = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
        ++n;
    return n;
}

TEST(NoticeViewTest, TheViewHoldsABrowserAndEveryStartFetchesThePage) {
    CLauncherSite site;
    ASSERT_TRUE(site.IsRunning());
    WriteFile(site.Folder() / "notice.html", "<html><body>Maintenance is over.</body></html>");
    CGameFolder game;
    const std::string request = "\"GET /notice/zv ";
    for (size_t start = 1; start <= 2; ++start) {
        CLauncherProcess launcher(game);
        const CLauncherWindows windows = launcher.WaitForWindows();
        ASSERT_TRUE(windows.Found());
        HWND view = ::GetDlgItem(windows.dialog, IDC_NOTICE_VIEW);
        ASSERT_TRUE(view);
        EXPECT_TRUE(::GetWindowLongPtrW(view, GWL_EXSTYLE) & WS_EX_STATICEDGE);
        // Without OLE on the launcher's thread the view would stay an empty window.
        EXPECT_TRUE(::GetWindow(view, GW_CHILD)) << "no browser control in the notice view";
        EXPECT_TRUE(WaitFor(10000, [&] { return Count(site.RequestLog(), request) >= start; }))
            << "start " << start << ": " << site.RequestLog();
        EXPECT_TRUE(launcher.End());
    }
    EXPECT_EQ(Count(site.RequestLog(), request), 2u) << site.RequestLog();
}

} // namespace
