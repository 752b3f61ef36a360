// The browser view: the pages it is sent to reach the server, the control fills the view,
// and the view object goes with its window.
#include "tests/framework/TestApp.h"
#include "framework/Afx.h"
#include "framework/HtmlView.h"
#include "tests/framework/TestIds.h"
#include "tests/support/Pump.h"
#include "tests/support/TestServer.h"
#include <gtest/gtest.h>
#include <ostream>
#include <string>

void PrintTo(const CRect& rc, std::ostream* out) {
    *out << "(" << rc.left << "," << rc.top << ")-(" << rc.right << "," << rc.bottom << ")";
}

namespace {

constexpr DWORD kNoReadFromCache = 4; // navNoReadFromCache
constexpr UINT kViewId = 1024;

class CWatchedView : public CHtmlView {
public:
    explicit CWatchedView(bool* deleted) : m_deleted(deleted) {}
    ~CWatchedView() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

size_t CountLines(const std::string& log, const std::string& request) {
    size_t count = 0;
    for (size_t at = log.find(request); at != std::string::npos; at = log.find(request, at + 1))
        ++count;
    return count;
}

CRect ClientRect(HWND hwnd) {
    CRect rc;
    ::GetClientRect(hwnd, &rc);
    return rc;
}

class HtmlViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        ASSERT_TRUE(SUCCEEDED(m_ole));
        WriteFile(m_site / "notice.html", "<html><body>notice</body></html>");
        ASSERT_TRUE(m_server.IsRunning());
        ASSERT_TRUE(m_dlg.Create(IDD_EMPTY));
    }
    void TearDown() override {
        m_dlg.DestroyWindow();
        if (SUCCEEDED(m_ole))
            ::OleUninitialize();
    }

    // A view made the way the launcher makes its notice view; it belongs to its window.
    CWatchedView* MakeView() {
        auto* view = new CWatchedView(&m_deleted);
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 30, 170, 90), &m_dlg,
                          kViewId)) {
            ADD_FAILURE() << "no view";
            return nullptr;
        }
        view->ModifyStyleEx(0, WS_EX_STATICEDGE);
        return view;
    }
    // Pumps messages until the log holds `count` lines of `request`; that count when it
    // does, else the last one seen.
    size_t AwaitRequests(const std::string& request, size_t count) {
        PumpUntil([&] { return CountLines(m_server.RequestLog(), request) >= count; }, 15000);
        return CountLines(m_server.RequestLog(), request);
    }

    HRESULT m_ole = ::OleInitialize(nullptr);
    CTempFolder m_site;
    CTestServer m_server{m_site.Path()};
    CDialog m_dlg{IDD_EMPTY};
    bool m_deleted = false;
};

TEST_F(HtmlViewTest, EveryNavigationWithoutTheCacheReachesTheServer) {
    CWatchedView* view = MakeView();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->GetStyle() & (WS_CHILD | WS_VISIBLE | WS_POPUP),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    EXPECT_TRUE(view->GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_EQ(view->GetDlgCtrlID(), static_cast<int>(kViewId));
    ASSERT_TRUE(view->GetBrowser());

    const std::wstring page = m_server.Url(L"/page/notice.html");
    const std::string get = "\"GET /page/notice.html ";
    view->Navigate2(page.c_str(), kNoReadFromCache);
    ASSERT_EQ(AwaitRequests(get, 1), 1u) << m_server.RequestLog();

    // Wine reloads only a loaded document, and with no HTML engine there is none, so the
    // refresh is not counted; it must leave the view working all the same.
    view->Refresh2(CHtmlView::REFRESH_COMPLETELY);
    // The page may be cached for an hour: only a request that bypasses the cache is seen.
    view->Navigate2(page.c_str(), kNoReadFromCache);
    EXPECT_GE(AwaitRequests(get, 2), 2u) << m_server.RequestLog();
    // And nothing else was asked for.
    EXPECT_EQ(CountLines(m_server.RequestLog(), "\n"), CountLines(m_server.RequestLog(), get))
        << m_server.RequestLog();
}

TEST_F(HtmlViewTest, PostDataAndHeadersGoWithTheRequest) {
    CWatchedView* view = MakeView();
    ASSERT_TRUE(view);
    const char form[] = "a=1&b=2";
    view->Navigate2(m_server.Url(L"/page/notice.html").c_str(), kNoReadFromCache, nullptr,
                    L"Content-Type: application/x-www-form-urlencoded\r\n", const_cast<char*>(form),
                    sizeof form - 1);
    // The server takes no posts; its refusal shows the method the browser used.
    EXPECT_EQ(AwaitRequests("\"POST /page/notice.html ", 1), 1u) << m_server.RequestLog();
    EXPECT_EQ(CountLines(m_server.RequestLog(), "\"GET "), 0u) << m_server.RequestLog();
}

TEST_F(HtmlViewTest, TheControlFillsTheViewAsItIsResized) {
    CWatchedView* view = MakeView();
    ASSERT_TRUE(view);
    HWND control = ::GetWindow(view->m_hWnd, GW_CHILD);
    ASSERT_TRUE(control);
    CRect rc;
    ::GetWindowRect(control, &rc);
    view->ScreenToClient(&rc);
    EXPECT_EQ(rc, ClientRect(view->m_hWnd));

    for (const CSize size : {CSize(300, 200), CSize(40, 25), CSize(0, 0)}) {
        view->MoveWindow(5, 5, size.cx, size.cy);
        ::GetWindowRect(control, &rc);
        view->ScreenToClient(&rc);
        EXPECT_EQ(rc, ClientRect(view->m_hWnd)) << size.cx << "x" << size.cy;
    }
}

TEST_F(HtmlViewTest, DestroyingTheParentDeletesTheViewAndClosesTheControl) {
    CWatchedView* view = MakeView();
    ASSERT_TRUE(view);
    HWND window = view->m_hWnd;
    HWND control = ::GetWindow(window, GW_CHILD);
    ASSERT_TRUE(control);
    view->Navigate2(m_server.Url(L"/page/notice.html").c_str(), kNoReadFromCache);
    AwaitRequests("\"GET /page/notice.html ", 1);

    m_dlg.DestroyWindow();
    EXPECT_TRUE(m_deleted);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(::IsWindow(control));
    EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
    // Whatever the control still had queued must find nothing of the view.
    Pump(300);
}

TEST_F(HtmlViewTest, AViewWithoutAWindowDoesNothing) {
    bool deleted = false;
    auto* view = new CWatchedView(&deleted);
    CWnd noParent;
    EXPECT_FALSE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50),
                              &noParent, kViewId));
    EXPECT_EQ(view->m_hWnd, nullptr);
    EXPECT_EQ(view->GetBrowser(), nullptr);
    view->Navigate2(m_server.Url(L"/page/notice.html").c_str(), kNoReadFromCache);
    view->Refresh2(CHtmlView::REFRESH_COMPLETELY);
    // No window, so nothing deleted it: it is still the creator's.
    EXPECT_FALSE(deleted);
    delete view;
    EXPECT_TRUE(deleted);
}

} // namespace
