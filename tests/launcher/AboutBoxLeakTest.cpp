// Opening and closing the About box again and again leaves nothing behind. Wine counts no GDI
// objects (GetGuiResources answers 0), so the process heap and memory stand in: a picture left
// behind shows in them, a small object such as a region may not.
#include <gtest/gtest.h>
#include "launcher/AboutDlg.h"
#include "tests/support/Memory.h"
#include "tests/support/Pump.h"

namespace {

// The About box, closed once it has painted.
class CPaintedAboutDlg : public CAboutDlg {
public:
    BOOL OnInitDialog() override {
        CAboutDlg::OnInitDialog();
        // Timers come after painting: the box shows once before it goes.
        SetTimer(1, 1);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) {
            KillTimer(1);
            EndDialog(IDOK);
            return 0;
        }
        return CAboutDlg::WindowProc(message, wParam, lParam);
    }
};

void OpenAndClose() {
    CPaintedAboutDlg about;
    EXPECT_EQ(about.DoModal(), IDOK);
}

TEST(AboutBoxLeakTest, FiftyOpeningsLeaveHeapAndMemoryWhereTheyWere) {
    for (int i = 0; i < 3; ++i)
        OpenAndClose();
    Pump(100);
    const std::size_t heap = HeapBusyBytes();
    const std::size_t memory = PrivateBytes();
    for (int i = 0; i < 50; ++i)
        OpenAndClose();
    Pump(100);
    // One picture left behind (380 by 150, 32 bits) is some 220 KB: fifty stand far above these.
    EXPECT_LT(static_cast<long long>(HeapBusyBytes()) - static_cast<long long>(heap), 8 * 1024);
    EXPECT_LT(static_cast<long long>(PrivateBytes()) - static_cast<long long>(memory), 1024 * 1024);
}

} // namespace
