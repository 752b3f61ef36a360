#include <gtest/gtest.h>
#include <string>
#include "res/resource.h"
#include "imaging/GdiplusDraw.h"
#include "imaging/ResourceImage.h"
#include "tests/imaging/TestIds.h"
#include "tests/support/TestSurface.h"

using namespace Gdiplus::DllExports;

namespace {

std::wstring FamilyNameOf(const CGdiFont& font) {
    Gdiplus::GpFontFamily* family = nullptr;
    if (GdipGetFamily(font.Native(), &family) != Gdiplus::Ok)
        return L"";
    WCHAR name[LF_FACESIZE] = {};
    GdipGetFamilyName(family, name, LANG_NEUTRAL);
    GdipDeleteFontFamily(family);
    return name;
}

std::wstring SansSerifName() {
    Gdiplus::GpFontFamily* family = nullptr;
    if (GdipGetGenericFontFamilySansSerif(&family) != Gdiplus::Ok)
        return L"";
    WCHAR name[LF_FACESIZE] = {};
    GdipGetFamilyName(family, name, LANG_NEUTRAL);
    GdipDeleteFontFamily(family);
    return name;
}

TEST(GdiFont, UnknownFamilyFallsBackToSansSerif) {
    CGdiFont font(L"No Such Family Anywhere", 12.0f, 0, Gdiplus::UnitPoint);
    ASSERT_TRUE(font.IsValid());
    const std::wstring expected = SansSerifName();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, FamilyNameOf(font));
}

TEST(GdiFont, KnownFamilyIsKept) {
    const std::wstring sans = SansSerifName();
    CGdiFont font(sans.c_str(), 9.0f, 1, Gdiplus::UnitPixel);
    ASSERT_TRUE(font.IsValid());
    EXPECT_EQ(sans, FamilyNameOf(font));
    REAL size = 0;
    GdipGetFontSize(font.Native(), &size);
    EXPECT_FLOAT_EQ(9.0f, size);
}

TEST(GdiGraphics, DrawsImagesWhereAsked) {
    CGdiImagePtr face = LoadImageFromResource(IDR_PNG_FORUM, L"PNG");
    ASSERT_TRUE(face && face->GetNativeImage());
    CTestSurface surface(300, 100);
    {
        CGdiGraphics g(surface.Hdc());
        ASSERT_TRUE(g.IsValid());
        EXPECT_EQ(Gdiplus::Ok, g.SetSmoothingMode(Gdiplus::SmoothingModeNone));
        EXPECT_EQ(Gdiplus::Ok, g.DrawImage(face.get(), 0, 0));
        EXPECT_EQ(Gdiplus::Ok, g.DrawImage(face.get(), 100, 0, 48, 16));
        EXPECT_EQ(Gdiplus::Ok, g.DrawImage(face.get(), Gdiplus::RectF(200, 0, 50, 50)));
        CGdiImageAttributes attributes;
        ASSERT_TRUE(attributes.IsValid());
        // Every colour channel to zero, alpha kept: the face turns black.
        Gdiplus::ColorMatrix black = {
            {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}}};
        EXPECT_EQ(Gdiplus::Ok, attributes.SetColorMatrix(black));
        EXPECT_EQ(Gdiplus::Ok, g.DrawImage(face.get(), Gdiplus::RectF(0, 50, 96, 32),
                                           Gdiplus::RectF(0, 0, 96, 32), &attributes));
    }
    EXPECT_TRUE(surface.AnyNonZero(0, 0, 96, 32));
    EXPECT_TRUE(surface.AnyNonZero(100, 0, 148, 16));
    EXPECT_FALSE(surface.AnyNonZero(148, 0, 200, 50)) << "the stretched copy stays in its box";
    EXPECT_TRUE(surface.AnyNonZero(200, 0, 250, 50));
    // The colour matrix blackened the copy: opaque, no colour.
    EXPECT_EQ(0xFF000000u, surface.At(40, 60));
}

TEST(GdiGraphics, EmptyImagesAndObjectsDrawNothing) {
    CGdiImagePtr missing = LoadImageFromResource(IDR_TEST_MISSING, L"PNG");
    ASSERT_TRUE(missing);
    CTestSurface surface(64, 64);
    {
        CGdiGraphics g(surface.Hdc());
        EXPECT_NE(Gdiplus::Ok, g.DrawImage(missing.get(), 0, 0));
        EXPECT_NE(Gdiplus::Ok, g.DrawImage(nullptr, 0, 0, 10, 10));
        EXPECT_NE(Gdiplus::Ok, g.DrawImage(missing.get(), Gdiplus::RectF(0, 0, 64, 64)));
    }
    EXPECT_FALSE(surface.AnyNonZero(0, 0, 64, 64));
    CGdiGraphics none(nullptr);
    EXPECT_FALSE(none.IsValid());
    EXPECT_NE(Gdiplus::Ok, none.SetSmoothingMode(Gdiplus::SmoothingModeNone));
}

TEST(GdiGraphics, DrawsCentredText) {
    CTestSurface surface(200, 60);
    CGdiFont font(L"Arial", 12.0f, 0, Gdiplus::UnitPoint);
    CGdiStringFormat format;
    CGdiSolidBrush brush(0xFFFFFFFF);
    ASSERT_TRUE(font.IsValid() && format.IsValid() && brush.IsValid());
    EXPECT_EQ(Gdiplus::Ok, format.SetAlignment(Gdiplus::StringAlignmentCenter));
    EXPECT_EQ(Gdiplus::Ok, format.SetLineAlignment(Gdiplus::StringAlignmentCenter));
    {
        CGdiGraphics g(surface.Hdc());
        EXPECT_EQ(Gdiplus::Ok,
                  g.DrawString(L"Start", -1, font, Gdiplus::RectF(0, 0, 200, 60), format, brush));
    }
    // Centred: ink in the middle band, none in the outer quarter of either side.
    EXPECT_TRUE(surface.AnyNonZero(70, 15, 130, 45));
    EXPECT_FALSE(surface.AnyNonZero(0, 0, 50, 60));
    EXPECT_FALSE(surface.AnyNonZero(150, 0, 200, 60));
}

} // namespace
