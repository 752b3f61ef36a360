// Colour requests, draw requests and notifications that a parent receives about a control
// must reach the control's own object; attaching through DDX_Control runs PreSubclassWindow.
#include "tests/framework/TestApp.h"
#include "framework/Afx.h"
#include "tests/framework/TestIds.h"
#include <gtest/gtest.h>

namespace {

class CRecordingButton : public CButton {
public:
    void PreSubclassWindow() override {
        ++preSubclassCalls;
        handleDuringPreSubclass = m_hWnd;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        ++drawCalls;
        lastItemId = dis->CtlID;
        ::FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    BOOL OnReflectedCommand(UINT code, LRESULT*) override {
        if (code == BN_CLICKED)
            ++clicks;
        return eatClicks;
    }
    int preSubclassCalls = 0;
    HWND handleDuringPreSubclass = nullptr;
    int drawCalls = 0;
    UINT lastItemId = 0;
    int clicks = 0;
    BOOL eatClicks = FALSE;
};

class CRecordingLabel : public CStatic {
public:
    HBRUSH CtlColor(CDCHandle* pDC, UINT nCtlColor) override {
        lastKind = nCtlColor;
        if (!answer)
            return nullptr;
        pDC->SetTextColor(RGB(1, 2, 3));
        return brush.Handle();
    }
    UINT lastKind = 99;
    bool answer = true;
    CBrush brush;
};

class CControlsDlg : public CDialog {
public:
    CControlsDlg() : CDialog(IDD_CONTROLS) {}
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_OWNERDRAW, m_draw);
        DDX_Control(pDX, IDC_LABEL, m_label);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == IDC_OWNERDRAW) {
            ++parentClicks;
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
    CRecordingButton m_draw;
    CRecordingLabel m_label;
    int parentClicks = 0;
};

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        dlg.m_label.brush.CreateSolidBrush(RGB(10, 20, 30));
        ASSERT_TRUE(dlg.Create(IDD_CONTROLS));
    }
    void TearDown() override { dlg.DestroyWindow(); }
    CControlsDlg dlg;
};

TEST_F(ReflectionTest, DdxControlRunsPreSubclassWindowOnceWithTheHandle) {
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_OWNERDRAW);
    EXPECT_EQ(dlg.m_draw.preSubclassCalls, 1);
    EXPECT_EQ(dlg.m_draw.handleDuringPreSubclass, button);
    EXPECT_EQ(CWnd::FromHandlePermanent(button), &dlg.m_draw);
    // A second exchange must not attach again.
    dlg.UpdateData(FALSE);
    EXPECT_EQ(dlg.m_draw.preSubclassCalls, 1);
}

TEST_F(ReflectionTest, ColourRequestReachesTheControlAndItsBrushIsTheAnswer) {
    HWND label = ::GetDlgItem(dlg.m_hWnd, IDC_LABEL);
    HDC dc = ::GetDC(label);
    const LRESULT answer =
        ::SendMessageW(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(answer), dlg.m_label.brush.Handle());
    EXPECT_EQ(dlg.m_label.lastKind, static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_EQ(::GetTextColor(dc), RGB(1, 2, 3));

    // A control that declines leaves the parent's default answer, which is not its brush.
    dlg.m_label.answer = false;
    const LRESULT fallback =
        ::SendMessageW(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(label));
    EXPECT_NE(reinterpret_cast<HBRUSH>(fallback), dlg.m_label.brush.Handle());
    EXPECT_NE(fallback, 0);
    ::ReleaseDC(label, dc);
}

TEST_F(ReflectionTest, RealPaintOfAnOwnerDrawnButtonReachesDrawItem) {
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_OWNERDRAW);
    const int before = dlg.m_draw.drawCalls;
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(dlg.m_draw.drawCalls, before);
    EXPECT_EQ(dlg.m_draw.lastItemId, static_cast<UINT>(IDC_OWNERDRAW));
    // What DrawItem painted is what the button shows.
    HDC dc = ::GetDC(button);
    EXPECT_EQ(::GetPixel(dc, 3, 3), RGB(0, 0, 0));
    ::ReleaseDC(button, dc);
}

TEST_F(ReflectionTest, ClickNotificationReachesTheControlThenTheParentUnlessEaten) {
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_OWNERDRAW);
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dlg.m_draw.clicks, 1);
    EXPECT_EQ(dlg.parentClicks, 1);

    dlg.m_draw.eatClicks = TRUE;
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dlg.m_draw.clicks, 2);
    EXPECT_EQ(dlg.parentClicks, 1);
}

TEST_F(ReflectionTest, ObjectsLeaveTheMapWithTheirWindows) {
    HWND button = ::GetDlgItem(dlg.m_hWnd, IDC_OWNERDRAW);
    HWND self = dlg.m_hWnd;
    ASSERT_EQ(CWnd::FromHandlePermanent(self), &dlg);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_draw.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(self), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(button), nullptr);
}

} // namespace
