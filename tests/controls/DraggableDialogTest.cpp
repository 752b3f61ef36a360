// Pressing the dialog's own surface drags it; presses that a control takes stay with it.
#include <gtest/gtest.h>

#include "controls/DraggableDialog.h"
#include "framework/Controls.h"
#include "tests/controls/TestIds.h"
#include "tests/support/HostCommand.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pump.h"

namespace {

class CDragTestDialog : public CDraggableDialog {
public:
    CDragTestDialog() : CDraggableDialog(IDD_DRAG_TEST) {}
    ~CDragTestDialog() override { DestroyWindow(); }
};

struct PressCase {
    const char* name;
    int control; // the press lands in the middle of this control; 0: a free spot
    bool moves;
};

void PrintTo(const PressCase& c, std::ostream* os) {
    *os << c.name;
}

class DraggableDialogTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(DraggableDialogTest, PressAndMove) {
    ParkMouse();
    CDragTestDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_DRAG_TEST, nullptr));
    ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 200, 200, 0, 0, SWP_NOSIZE);
    dlg.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(dlg.m_hWnd);
    Pump(150);

    POINT start{150, 30}; // right of every control
    if (const int id = GetParam().control) {
        CRect rc;
        ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, id), rc);
        start = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    } else {
        ::ClientToScreen(dlg.m_hWnd, &start);
    }
    CRect before;
    dlg.GetWindowRect(before);

    // The system's move loop runs inside the press's processing: the input is sent by a
    // process of its own while this thread keeps pumping.
    wchar_t script[256];
    wsprintfW(script,
              L"xdotool mousemove %ld %ld sleep 0.1 mousedown 1 sleep 0.1 "
              L"mousemove %ld %ld sleep 0.1 mousemove %ld %ld sleep 0.15 mouseup 1",
              start.x, start.y, start.x + 10, start.y + 5, start.x + 60, start.y + 40);
    CHostCommand drag(script);
    ASSERT_TRUE(PumpUntil([&] { return drag.Finished(); }, 5000));
    Pump(100);

    CRect after;
    dlg.GetWindowRect(after);
    if (GetParam().moves) {
        EXPECT_EQ(after.left - before.left, 60);
        EXPECT_EQ(after.top - before.top, 40);
    } else {
        EXPECT_EQ(after.TopLeft(), before.TopLeft());
    }
    EXPECT_EQ(after.Size().cx, before.Size().cx);
}

INSTANTIATE_TEST_SUITE_P(Presses, DraggableDialogTest,
                         ::testing::Values(PressCase{"FreeSpot", 0, true},
                                           PressCase{"PlainLabel", IDC_DRAG_PLAIN_LABEL, true},
                                           PressCase{"Button", IDC_DRAG_BUTTON, false},
                                           PressCase{"NotifyLabel", IDC_DRAG_NOTIFY_LABEL, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
