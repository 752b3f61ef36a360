// The off-screen context lands its drawing on the target at the target's own coordinates.
#include <gtest/gtest.h>

#include "controls/MemDC.h"
#include "tests/controls/TestUi.h"

namespace {

constexpr int kWidth = 100, kHeight = 80;
constexpr COLORREF kOriginal = RGB(10, 20, 30);
constexpr COLORREF kFill = RGB(0, 0, 255);
constexpr COLORREF kMarker = RGB(255, 0, 0);

// A target of known pixels: a 32-bit picture in a memory context.
class MemDCTest : public ::testing::Test {
protected:
    void SetUp() override {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        ASSERT_TRUE(m_bitmap.GetSafeHandle());
        ASSERT_TRUE(m_target.CreateCompatibleDC(static_cast<HDC>(nullptr)));
        m_old = m_target.SelectObject(m_bitmap);
        const CRect all(0, 0, kWidth, kHeight);
        m_target.FillSolidRect(all, kOriginal);
    }
    void TearDown() override { m_target.SelectObject(m_old); }

    // Every pixel outside `inside` still has the original colour.
    int TouchedOutside(const CRect& inside) const {
        int touched = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (!inside.PtInRect(POINT{x, y}) && m_target.GetPixel(x, y) != kOriginal)
                    ++touched;
        return touched;
    }

    CBitmap m_bitmap;
    CDC m_target;
    HGDIOBJ m_old = nullptr;
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
        CMemDC mem(&m_target, rc);
        mem.FillSolidRect(rc, kFill);
        ::SetPixel(mem.GetSafeHdc(), marker.x, marker.y, kMarker);
        // Nothing reaches the target before the surface goes.
        EXPECT_EQ(m_target.GetPixel(marker.x, marker.y), kOriginal);
    }
    EXPECT_EQ(m_target.GetPixel(marker.x, marker.y), kMarker);
    EXPECT_EQ(m_target.GetPixel(rc.left, rc.top), kFill);
    EXPECT_EQ(m_target.GetPixel(rc.right - 1, rc.bottom - 1), kFill);
    EXPECT_EQ(TouchedOutside(rc), 0);
}

INSTANTIATE_TEST_SUITE_P(Rects, MemDCRectTest,
                         ::testing::Values(RectCase{"AwayFromOrigin", CRect(30, 20, 60, 50)},
                                           RectCase{"AtOrigin", CRect(0, 0, 25, 15)},
                                           RectCase{"AtFarCorner", CRect(70, 50, 100, 80)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemDCTest, EmptyRectangleCoversTheClipBox) {
    const CRect clip(10, 15, 50, 40);
    ::IntersectClipRect(m_target.GetSafeHdc(), clip.left, clip.top, clip.right, clip.bottom);
    {
        CMemDC mem(&m_target, CRect());
        const CRect all(0, 0, kWidth, kHeight);
        mem.FillSolidRect(all, kFill);
        ::SetPixel(mem.GetSafeHdc(), clip.left, clip.top, kMarker);
    }
    ::SelectClipRgn(m_target.GetSafeHdc(), nullptr);
    EXPECT_EQ(m_target.GetPixel(clip.left, clip.top), kMarker);
    EXPECT_EQ(m_target.GetPixel(clip.right - 1, clip.bottom - 1), kFill);
    EXPECT_EQ(m_target.GetPixel(clip.right - 1, clip.top), kFill);
    EXPECT_EQ(TouchedOutside(clip), 0);
}

} // namespace
