// Modal runs: DoModal returns what ended it, and every message of a modal loop (nested
// ones included) passes the application's PreTranslateMessage first.
#include "tests/framework/TestApp.h"
#include "framework/Afx.h"
#include "tests/framework/TestIds.h"
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {

constexpr UINT WM_TEST_STEP = WM_APP + 1;
constexpr UINT WM_TEST_THREAD = WM_APP + 2;

// A dialog that runs `step` once its loop is running.
class CScriptedDlg : public CDialog {
public:
    explicit CScriptedDlg(std::function<void(CScriptedDlg&)> step, CWnd* parent = nullptr)
        : CDialog(IDD_EMPTY, parent), m_step(std::move(step)) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessage(WM_TEST_STEP);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_STEP) {
            m_step(*this);
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

private:
    std::function<void(CScriptedDlg&)> m_step;
};

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override { TestApp().onPreTranslate = nullptr; }
    void TearDown() override { TestApp().onPreTranslate = nullptr; }
};

struct EndCase {
    const char* name;
    std::function<void(CScriptedDlg&)> ending;
    INT_PTR expected;
};

TEST_F(ModalTest, DoModalReturnsWhatEndedTheRun) {
    const EndCase cases[] = {
        {"EndDialog value", [](CScriptedDlg& d) { d.EndDialog(42); }, 42},
        {"EndDialog zero", [](CScriptedDlg& d) { d.EndDialog(0); }, 0},
        {"OK command", [](CScriptedDlg& d) { d.PostMessage(WM_COMMAND, IDOK); }, IDOK},
        {"Escape key",
         [](CScriptedDlg& d) {
             ::SetFocus(::GetDlgItem(d.m_hWnd, IDOK));
             d.PostMessage(WM_KEYDOWN, VK_ESCAPE);
         },
         IDCANCEL},
        {"WM_CLOSE", [](CScriptedDlg& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL},
        {"window destroyed", [](CScriptedDlg& d) { d.DestroyWindow(); }, -1},
    };
    for (const auto& c : cases) {
        CScriptedDlg dlg(c.ending);
        EXPECT_EQ(dlg.DoModal(), c.expected) << c.name;
        EXPECT_EQ(dlg.m_hWnd, nullptr) << c.name;
    }
}

TEST_F(ModalTest, MissingTemplateFailsWithMinusOne) {
    CDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST_F(ModalTest, ThreadMessageReachesPreTranslateMessageInModalAndNestedLoops) {
    constexpr UINT kOpenInner = WM_TEST_STEP + 10;
    constexpr UINT kEndInner = WM_TEST_STEP + 20;
    constexpr UINT kEndOuter = WM_TEST_STEP + 30;
    const DWORD thread = ::GetCurrentThreadId();
    // Which dialog's loop was running when each posted thread message was seen.
    std::vector<int> seenAtDepth;
    int depth = 0;

    CScriptedDlg outer([&](CScriptedDlg& o) {
        depth = 1;
        ::PostThreadMessageW(thread, WM_TEST_THREAD, 0, 0);
        o.PostMessage(kOpenInner);
    });
    CScriptedDlg inner(
        [&](CScriptedDlg& i) {
            depth = 2;
            ::PostThreadMessageW(thread, WM_TEST_THREAD, 0, 0);
            i.PostMessage(kEndInner);
        },
        &outer);

    TestApp().onPreTranslate = [&](MSG* msg) {
        if (msg->hwnd == nullptr && msg->message == WM_TEST_THREAD) {
            seenAtDepth.push_back(depth);
            return true;
        }
        if (msg->hwnd == outer.m_hWnd && msg->message == kOpenInner) {
            EXPECT_EQ(inner.DoModal(), 7);
            depth = 1;
            ::PostThreadMessageW(thread, WM_TEST_THREAD, 0, 0);
            outer.PostMessage(kEndOuter);
            return true;
        }
        if (msg->hwnd == inner.m_hWnd && msg->message == kEndInner) {
            inner.EndDialog(7);
            return true;
        }
        if (msg->hwnd == outer.m_hWnd && msg->message == kEndOuter) {
            outer.EndDialog(5);
            return true;
        }
        return false;
    };

    EXPECT_EQ(outer.DoModal(), 5);
    EXPECT_EQ(seenAtDepth, (std::vector<int>{1, 2, 1}));
}

TEST_F(ModalTest, OwnerIsDisabledDuringTheRunAndEnabledAfter) {
    CDialog owner(IDD_EMPTY);
    ASSERT_TRUE(owner.Create(IDD_EMPTY));
    BOOL enabledDuring = TRUE;
    HWND ownerSeen = nullptr;
    CScriptedDlg dlg(
        [&](CScriptedDlg& d) {
            enabledDuring = ::IsWindowEnabled(owner.m_hWnd);
            ownerSeen = ::GetWindow(d.m_hWnd, GW_OWNER);
            d.EndDialog(1);
        },
        &owner);
    EXPECT_EQ(dlg.DoModal(), 1);
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(ownerSeen, owner.m_hWnd);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    owner.DestroyWindow();
}

TEST_F(ModalTest, MainWindowDestroyedInANestedRunEndsBothRuns) {
    CScriptedDlg* outerPtr = nullptr;
    CScriptedDlg inner([&](CScriptedDlg&) { outerPtr->DestroyWindow(); }, nullptr);
    CScriptedDlg outer([&](CScriptedDlg&) { inner.DoModal(); });
    outerPtr = &outer;
    TestApp().m_pMainWnd = &outer;
    outer.DoModal();
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
    EXPECT_EQ(outer.m_hWnd, nullptr);
    EXPECT_EQ(inner.m_hWnd, nullptr);
    // The main window's end posts the quit message; it must still be there for the loop outside.
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
