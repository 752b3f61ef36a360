// The hover button on real buttons of a test dialog, with its face from a PNG resource.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "controls/HoverButton.h"
#include "tests/controls/TestIds.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pixels.h"
#include "tests/support/Pump.h"
#include "tests/support/TestDialog.h"

namespace {

constexpr COLORREF kBackground = RGB(40, 80, 120);
constexpr COLORREF kChanged = RGB(200, 30, 30);
// The test face, 40 x 20: four bands, and a last column and row in a colour of their own.
constexpr int kFaceWidth = 40, kFaceHeight = 20;
constexpr COLORREF kBand0 = RGB(0, 100, 200);
constexpr COLORREF kEdge = RGB(10, 220, 30);

struct Band {
    int x;
    COLORREF colour;
};
constexpr Band kBands[] = {
    {5, kBand0}, {15, RGB(250, 50, 150)}, {25, RGB(30, 160, 90)}, {34, RGB(200, 200, 0)}};

// What the hover look makes of a face colour: 1.05 c + 0.05 per channel (c from 0 to 1),
// limited to 1.
COLORREF Brightened(COLORREF c) {
    const auto channel = [](int v) {
        return static_cast<int>(std::lround(std::min(255.0, v * 1.05 + 0.05 * 255)));
    };
    return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

class HoverButtonTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_dlg.reset();
        LeftUp();
        ParkMouse();
    }

    // Opens the dialog with the face button at cx by cy pixels; `missingFace` loads the other
    // button's face (which is to fail).
    void Open(int cx, int cy, std::function<void()> missingFace = {}) {
        ParkMouse();
        m_dlg = std::make_unique<CTestDialog>(
            IDD_HOVER_BUTTON_TEST, std::vector<std::pair<int, CWnd*>>{
                                       {IDC_HOVER_A, &m_face}, {IDC_HOVER_MISSING, &m_missing}});
        m_dlg->SetBackground(kBackground);
        ASSERT_TRUE(m_dlg->Open(POINT{100, 100}, [&](CTestDialog& d) {
            ::SetWindowPos(d.m_hWnd, nullptr, 0, 0, 200, 60, SWP_NOMOVE | SWP_NOZORDER);
            Place(d.Item(IDC_HOVER_A), 10, 10, cx, cy);
            Place(d.Item(IDC_HOVER_MISSING), 100, 10, 50, 30);
            EXPECT_TRUE(m_face.LoadFaceImage(IDR_TEST_FACE, L"PNG"));
            if (missingFace)
                missingFace();
        }));
        ASSERT_TRUE(WaitFor(5, 5, kBand0)) << "the face did not show";
    }

    HWND Button(int id = IDC_HOVER_A) const { return m_dlg->Item(id); }
    COLORREF At(int x, int y, int id = IDC_HOVER_A) const { return Pixel(Button(id), x, y); }
    bool WaitFor(int x, int y, COLORREF expected, int tolerance = 0, DWORD ms = 1500) const {
        return PumpUntil([&] { return Near(At(x, y), expected, tolerance); }, ms);
    }
    void Repaint(COLORREF background) {
        m_dlg->SetBackground(background);
        ::RedrawWindow(m_dlg->m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ASSERT_TRUE(PumpUntil([&] { return Pixel(m_dlg->m_hWnd, 190, 55) == background; }, 1500));
    }

    CHoverButton m_face, m_missing;
    std::unique_ptr<CTestDialog> m_dlg;
};

TEST_F(HoverButtonTest, LooksComeFromTheParentPixelsOfTheFirstPaint) {
    Open(50, 30);
    EXPECT_EQ(At(45, 25), kBackground) << "a face smaller than the button shows what is behind";
    EXPECT_EQ(At(kFaceWidth - 1, 5), kEdge);

    Repaint(kChanged);
    EXPECT_EQ(At(45, 25), kBackground) << "normal look";
    EXPECT_EQ(At(5, 5), kBand0);

    MoveMouse(Button(), 20, 8);
    ASSERT_TRUE(WaitFor(5, 5, Brightened(kBand0), 1));
    EXPECT_EQ(At(45, 25), kBackground) << "hover look";

    LeftDown();
    ASSERT_TRUE(WaitFor(6, 6, kBand0));
    EXPECT_EQ(At(45, 25), kBackground) << "pressed look";
    EXPECT_EQ(At(5, 0), kBackground);
}

TEST_F(HoverButtonTest, PressedLookShiftsTheFaceByOnePixel) {
    Open(kFaceWidth, kFaceHeight);
    EXPECT_EQ(At(kFaceWidth - 1, 5), kEdge);
    EXPECT_EQ(At(5, kFaceHeight - 1), kEdge);

    MoveMouse(Button(), 20, 8);
    LeftDown();
    ASSERT_TRUE(WaitFor(0, 5, kBackground)) << "no pressed look";
    // The top row and the left column are left to the background.
    for (int x = 0; x < kFaceWidth; x += 3)
        EXPECT_EQ(At(x, 0), kBackground) << "top row at " << x;
    for (int y = 0; y < kFaceHeight; y += 3)
        EXPECT_EQ(At(0, y), kBackground) << "left column at " << y;
    EXPECT_EQ(At(1, 1), kBand0);
    // The face's last column and row fall outside the button.
    CRect all(0, 0, kFaceWidth, kFaceHeight);
    EXPECT_EQ(CountPixels(Button(), all, kEdge), 0);
    EXPECT_EQ(At(kFaceWidth - 1, 5), RGB(200, 200, 0));
}

TEST_F(HoverButtonTest, HoverLookBrightensTheFaceOnly) {
    Open(50, 30);
    MoveMouse(Button(), 20, 8);
    ASSERT_TRUE(WaitFor(5, 5, Brightened(kBand0), 1)) << "no hover look";
    for (const Band& band : kBands) {
        const COLORREF expected = Brightened(band.colour);
        const COLORREF shown = At(band.x, 8);
        std::printf("face %s hover %s expected %s\n", Hex(band.colour).c_str(), Hex(shown).c_str(),
                    Hex(expected).c_str());
        EXPECT_TRUE(Near(shown, expected, 1)) << "face " << Hex(band.colour) << " shows "
                                              << Hex(shown) << ", expected " << Hex(expected);
    }
    EXPECT_EQ(At(45, 25), kBackground) << "the background is not brightened";
}

TEST_F(HoverButtonTest, LookFollowsHoverLeaveAndPress) {
    Open(50, 30);
    const COLORREF hover = Brightened(kBand0);
    ASSERT_NE(hover, kBand0);

    MoveMouse(Button(), 20, 8);
    EXPECT_TRUE(WaitFor(5, 5, hover, 1)) << "resting on the button";
    MoveMouse(m_dlg->m_hWnd, 190, 55);
    EXPECT_TRUE(WaitFor(5, 5, kBand0)) << "after leaving";
    MoveMouse(Button(), 20, 8);
    EXPECT_TRUE(WaitFor(5, 5, hover, 1)) << "back on the button";
    LeftDown();
    EXPECT_TRUE(WaitFor(6, 6, kBand0) && At(5, 0) == kBackground) << "pressed";
    LeftUp();
    EXPECT_TRUE(WaitFor(5, 5, hover, 1)) << "released while still over it";
    EXPECT_EQ(m_dlg->Clicks(IDC_HOVER_A), 1);
}

TEST_F(HoverButtonTest, DoubleClickMakesTwoClicks) {
    Open(50, 30);
    MoveMouse(Button(), 20, 8);
    DoubleClick();
    PumpUntil([&] { return m_dlg->Clicks(IDC_HOVER_A) >= 2; }, 1500);
    EXPECT_EQ(m_dlg->Clicks(IDC_HOVER_A), 2);
}

struct FailingFace {
    const char* name;
    UINT id;
    LPCWSTR type;
};

void PrintTo(const FailingFace& c, std::ostream* os) {
    *os << c.name;
}

class HoverButtonFailingFaceTest : public HoverButtonTest,
                                   public ::testing::WithParamInterface<FailingFace> {};

TEST_P(HoverButtonFailingFaceTest, DrawsNothing) {
    BOOL loaded = TRUE;
    Open(50, 30, [&] { loaded = m_missing.LoadFaceImage(GetParam().id, GetParam().type); });
    EXPECT_FALSE(loaded);
    CRect all(0, 0, 50, 30);
    EXPECT_EQ(CountPixels(Button(IDC_HOVER_MISSING), all, kBackground), 50 * 30);
    // Whatever the parent paints shows through, in every look.
    Repaint(kChanged);
    EXPECT_EQ(CountPixels(Button(IDC_HOVER_MISSING), all, kChanged), 50 * 30);
    MoveMouse(Button(IDC_HOVER_MISSING), 20, 8);
    LeftDown();
    Pump(200);
    EXPECT_EQ(CountPixels(Button(IDC_HOVER_MISSING), all, kChanged), 50 * 30);
}

INSTANTIATE_TEST_SUITE_P(Faces, HoverButtonFailingFaceTest,
                         ::testing::Values(FailingFace{"MissingResource", 999, L"PNG"},
                                           // A bitmap resource has no file header to decode.
                                           FailingFace{"NotAnImage", IDB_TEST_GLYPH, RT_BITMAP}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
