// The off-screen context lands its drawing on the target at the target's own coordinates.
#include <gtest/gtest.h>

#include "controls/MemDC.h"
#include "tests/support/TestSurface.h"

namespace {

constexpr int kWidth = 100, kHeight = 80;
constexpr COLORREF kOriginal = RGB(10, 20, 30);
constexpr COLORREF kFill = RGB(0, 0, 255);
constexpr COLORREF kMarker = RGB(255, 0, 0);

// A target of known pixels: a 32-bit picture in a memory context.
class MemDCTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_surface.IsValid());
        const CRect all(0, 0, kWidth, kHeight);
        Target()->FillSolidRect(all, kOriginal);
    }

    CDC* Target() { return m_surface.Dc(); }
    // Every pixel outside `inside` still has the original colour.
    int TouchedOutside(const CRect& inside) {
        int touched = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (!inside.PtInRect(POINT{x, y}) && Target()->GetPixel(x, y) != kOriginal)
                    ++touched;
        return touched;
    }

    CTestSurface m_surface{kWidth, kHeight};
};

struct RectCase {
    const char* name;
    CRect rect;
};

void PrintTo(const RectCase& c, std::ostream* os) {
    *os << c.name;
}

class MemDCRectTest : public MemDCTest, public ::testing::WithParamInterface<RectCase> {};

TEST_P(MemDCRectTest, DrawingLandsInPlaceAndNothingElseIsTouched) {
    const CRect rc = GetParam().rect;
    const POINT marker{rc.left + 3, rc.top + 2};
    {
        CMemDC mem(Target(), rc);
        mem.FillSolidRect(rc, kFill);
        ::SetPixel(mem.GetSafeHdc(), marker.x, marker.y, kMarker);
        // Nothing reaches the target before the surface goes.
        EXPECT_EQ(Target()->GetPixel(marker.x, marker.y), kOriginal);
    }
    EXPECT_EQ(Target()->GetPixel(marker.x, marker.y), kMarker);
    EXPECT_EQ(Target()->GetPixel(rc.left, rc.top), kFill);
    EXPECT_EQ(Target()->GetPixel(rc.right - 1, rc.bottom - 1), kFill);
    EXPECT_EQ(TouchedOutside(rc), 0);
}

INSTANTIATE_TEST_SUITE_P(Rects, MemDCRectTest,
                         ::testing::Values(RectCase{"AwayFromOrigin", CRect(30, 20, 60, 50)},
                                           RectCase{"AtOrigin", CRect(0, 0, 25, 15)},
                                           RectCase{"AtFarCorner", CRect(70, 50, 100, 80)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemDCTest, EmptyRectangleCoversTheClipBox) {
    const CRect clip(10, 15, 50, 40);
    ::IntersectClipRect(m_surface.Hdc(), clip.left, clip.top, clip.right, clip.bottom);
    {
        CMemDC mem(Target(), CRect());
        const CRect all(0, 0, kWidth, kHeight);
        mem.FillSolidRect(all, kFill);
        ::SetPixel(mem.GetSafeHdc(), clip.left, clip.top, kMarker);
    }
    ::SelectClipRgn(m_surface.Hdc(), nullptr);
    EXPECT_EQ(Target()->GetPixel(clip.left, clip.top), kMarker);
    EXPECT_EQ(Target()->GetPixel(clip.right - 1, clip.bottom - 1), kFill);
    EXPECT_EQ(Target()->GetPixel(clip.right - 1, clip.top), kFill);
    EXPECT_EQ(TouchedOutside(clip), 0);
}

} // namespace
