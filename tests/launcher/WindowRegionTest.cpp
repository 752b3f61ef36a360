// The About box's outline: which pixels of a picture a key colour cuts away.
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>
#include "framework/Gdi.h"
#include "launcher/WindowRegion.h"

namespace {

// A 24-bit picture, as bitmap resources are, from rows of colours.
CBitmap MakeBitmap(const std::vector<std::vector<COLORREF>>& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows[0].size());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmap bitmap;
    bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = GetBValue(rows[y][x]);
            row[x * 3 + 1] = GetGValue(rows[y][x]);
            row[x * 3 + 2] = GetRValue(rows[y][x]);
        }
    }
    return bitmap;
}

// The region as rows of 'x' (inside) and '.' (cut away).
std::vector<std::string> Mask(HRGN region, int width, int height) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x)
            row += ::PtInRegion(region, x, y) ? 'x' : '.';
        rows.push_back(row);
    }
    return rows;
}

struct RegionCase {
    const char* name;
    COLORREF key;
    std::vector<std::vector<COLORREF>> pixels;
    std::vector<std::string> expected;
};

void PrintTo(const RegionCase& c, std::ostream* out) {
    *out << c.name;
}

class WindowRegionTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(WindowRegionTest, CutsExactlyThePixelsWithinTheKeysBounds) {
    const RegionCase& c = GetParam();
    CBitmap bitmap = MakeBitmap(c.pixels);
    ASSERT_TRUE(bitmap.GetSafeHandle());
    CRgn region;
    region.Attach(CreateRegionFromBitmap(bitmap.Handle(), c.key));
    ASSERT_TRUE(region.GetSafeHandle());
    EXPECT_EQ(Mask(region.Handle(), static_cast<int>(c.pixels[0].size()),
                   static_cast<int>(c.pixels.size())),
              c.expected);
}

const COLORREF kGreen = RGB(0, 255, 0);

INSTANTIATE_TEST_SUITE_P(
    Keys, WindowRegionTest,
    ::testing::Values(
        // Green: red and blue 0 to 17, green 238 to 255.
        RegionCase{"GreenBounds",
                   kGreen,
                   {{RGB(0, 255, 0), RGB(17, 238, 17), RGB(18, 255, 0), RGB(0, 237, 0),
                     RGB(0, 255, 18), RGB(40, 200, 40)},
                    {RGB(9, 250, 3), RGB(0, 255, 0), RGB(0, 255, 0), RGB(255, 255, 255),
                     RGB(0, 0, 0), RGB(0, 255, 0)}},
                   {"..xxxx", "...xx."}},
        // Black: 0 to 16 in every channel.
        RegionCase{"BlackKey",
                   RGB(0, 0, 0),
                   {{RGB(0, 0, 0), RGB(16, 16, 16), RGB(17, 0, 0), RGB(0, 0, 17)}},
                   {"..xx"}},
        // White: 239 to 255 in every channel.
        RegionCase{
            "WhiteKey",
            RGB(255, 255, 255),
            {{RGB(255, 255, 255), RGB(239, 239, 239), RGB(238, 255, 255), RGB(255, 255, 238)}},
            {"..xx"}},
        // Another key: its channels ±17, clamped at 0 and 255.
        RegionCase{"ClampedBounds",
                   RGB(10, 250, 128),
                   {{RGB(0, 255, 111), RGB(27, 233, 145), RGB(28, 250, 128), RGB(10, 232, 128),
                     RGB(10, 250, 110), RGB(10, 250, 146)}},
                   {"..xxxx"}},
        RegionCase{"NoKeyPixelGivesTheFullRectangle",
                   kGreen,
                   {{RGB(1, 2, 3), RGB(200, 10, 10)}, {RGB(0, 0, 255), RGB(90, 90, 90)}},
                   {"xx", "xx"}},
        RegionCase{"AllKeyGivesNothing",
                   kGreen,
                   {{kGreen, kGreen, kGreen}, {kGreen, kGreen, kGreen}},
                   {"...", "..."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowRegionChunksTest, MoreThan3000RunsGiveTheSameOutlineAsOneByOne) {
    // Every other pixel cut: 100 runs a row, 4000 in all.
    const int width = 200, height = 40;
    std::vector<std::vector<COLORREF>> pixels(height, std::vector<COLORREF>(width));
    CRgn naive;
    naive.Attach(::CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool cut = (x + y) % 2 == 0;
            pixels[y][x] = cut ? kGreen : RGB(90, 40, 20);
            if (!cut) {
                CRgn pixel;
                pixel.Attach(::CreateRectRgn(x, y, x + 1, y + 1));
                ::CombineRgn(naive.Handle(), naive.Handle(), pixel.Handle(), RGN_OR);
            }
        }
    }
    CBitmap bitmap = MakeBitmap(pixels);
    CRgn region;
    region.Attach(CreateRegionFromBitmap(bitmap.Handle(), kGreen));
    ASSERT_TRUE(region.GetSafeHandle());
    EXPECT_TRUE(::EqualRgn(region.Handle(), naive.Handle()));
}

TEST(WindowRegionChunksTest, NoBitmapNoRegion) {
    EXPECT_EQ(CreateRegionFromBitmap(nullptr, kGreen), nullptr);
}

} // namespace
