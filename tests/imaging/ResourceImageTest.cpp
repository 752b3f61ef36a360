#include <gtest/gtest.h>
#include <cstdio>
#include "res/resource.h"
#include "imaging/ResourceBitmap.h"
#include "imaging/ResourceImage.h"
#include "tests/imaging/TestIds.h"
#include "tests/support/Memory.h"

using namespace Gdiplus::DllExports;

namespace {

ARGB PixelAt(CGdiImage& image, int x, int y) {
    ARGB argb = 0;
    EXPECT_EQ(
        Gdiplus::Ok,
        GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(image.GetNativeImage()), x, y, &argb));
    return argb;
}

Gdiplus::PixelFormat FormatOf(CGdiImage& image) {
    Gdiplus::PixelFormat format = 0;
    GdipGetImagePixelFormat(image.GetNativeImage(), &format);
    return format;
}

struct SkinPixel {
    int x, y;
    ARGB argb;
};

// Read from res/skin.png with an independent PNG decoder (ImageMagick).
constexpr SkinPixel kSkinPixels[] = {
    {0, 0, 0x00000000},     // outside the panel: fully transparent
    {4, 300, 0x11000000},   // faint shadow
    {9, 300, 0x673E2911},   // translucent glow
    {400, 559, 0x8A2E1F0D}, // lower edge, about half
    {10, 300, 0xFFFAE7A9},  // gold rim
    {400, 300, 0xFF100F18}, // notice area
};

TEST(LoadImageFromResource, SkinKeepsSizeAndAlpha) {
    CGdiImagePtr image = LoadImageFromResource(IDR_PNG_SKIN, L"PNG");
    ASSERT_TRUE(image);
    EXPECT_EQ(800u, image->GetWidth());
    EXPECT_EQ(564u, image->GetHeight());
    EXPECT_TRUE(FormatOf(*image) & PixelFormatAlpha);
    for (const SkinPixel& p : kSkinPixels)
        EXPECT_EQ(p.argb, PixelAt(*image, p.x, p.y)) << "at " << p.x << "," << p.y;
}

TEST(LoadImageFromResource, ButtonFacesAreOpaque) {
    struct Face {
        UINT id, width, height;
    };
    const Face faces[] = {{IDR_PNG_REGISTER, 119, 32},
                          {IDR_PNG_START, 122, 28},
                          {IDR_PNG_HOME, 109, 32},
                          {IDR_PNG_ACCOUNT, 110, 32},
                          {IDR_PNG_FORUM, 96, 32}};
    for (const Face& f : faces) {
        SCOPED_TRACE(f.id);
        CGdiImagePtr image = LoadImageFromResource(f.id, L"PNG", ::GetModuleHandleW(nullptr));
        ASSERT_TRUE(image);
        EXPECT_EQ(f.width, image->GetWidth());
        EXPECT_EQ(f.height, image->GetHeight());
        EXPECT_FALSE(FormatOf(*image) & PixelFormatAlpha);
        for (UINT y = 0; y < f.height; y += 7)
            for (UINT x = 0; x < f.width; x += 13)
                ASSERT_EQ(0xFFu, PixelAt(*image, x, y) >> 24) << x << "," << y;
    }
}

TEST(LoadImageFromResource, OnlyTheLow16BitsNameTheResource) {
    CGdiImagePtr image = LoadImageFromResource(0x70000 | IDR_PNG_FORUM, L"PNG");
    ASSERT_TRUE(image);
    EXPECT_EQ(96u, image->GetWidth());
}

TEST(LoadImageFromResource, FailuresGiveAnEmptyImage) {
    struct Case {
        const char* what;
        UINT id;
        LPCWSTR type;
    };
    const Case cases[] = {
        {"missing id", IDR_TEST_MISSING, L"PNG"},
        {"missing type", IDR_PNG_SKIN, L"JPEG"},
        {"empty resource", IDR_TEST_EMPTY, L"PNG"},
        {"not an image", IDR_TEST_NOT_IMAGE, L"PNG"},
        {"missing bitmap", IDR_TEST_MISSING, RT_BITMAP},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGdiImagePtr image = LoadImageFromResource(c.id, c.type, ::GetModuleHandleW(nullptr));
        ASSERT_TRUE(image); // an object, never null, so callers need no special case
        EXPECT_EQ(nullptr, image->GetNativeImage());
        EXPECT_EQ(0u, image->GetWidth());
        EXPECT_EQ(0u, image->GetHeight());
        EXPECT_NE(Gdiplus::Ok, image->GetLastStatus());
        EXPECT_EQ(Gdiplus::Ok, image->GetLastStatus()); // reading clears it
    }
}

TEST(LoadImageFromResource, BitmapResourceKeepsItsPixels) {
    CGdiImagePtr image = LoadImageFromResource(IDB_CLOSE, RT_BITMAP, ::GetModuleHandleW(nullptr));
    ASSERT_TRUE(image);
    EXPECT_EQ(12u, image->GetWidth());
    EXPECT_EQ(13u, image->GetHeight());
    // The glyph sits on pure magenta.
    EXPECT_EQ(0xFFFF00FFu, PixelAt(*image, 0, 0));
}

// A held bitmap and its block, as a test sees them.
void ExpectHolds(const CResourceBitmap& holder, UINT width, UINT height) {
    ASSERT_TRUE(holder.m_pBitmap);
    EXPECT_EQ(width, holder.m_pBitmap->GetWidth());
    EXPECT_EQ(height, holder.m_pBitmap->GetHeight());
    ASSERT_TRUE(holder.m_hBuffer);
    EXPECT_TRUE(holder.m_bufferLock.IsLocked());
    EXPECT_NE(0u, ::GlobalFlags(holder.m_hBuffer.Get()) & GMEM_LOCKCOUNT);
}

void ExpectEmpty(const CResourceBitmap& holder) {
    EXPECT_FALSE(holder.m_pBitmap);
    EXPECT_FALSE(holder.m_hBuffer);
}

TEST(ResourceBitmap, LoadsAndReplaces) {
    CResourceBitmap holder;
    ExpectEmpty(holder);
    ASSERT_TRUE(holder.Load(MAKEINTRESOURCEW(IDR_PNG_START), L"PNG"));
    ExpectHolds(holder, 122, 28);
    ASSERT_TRUE(holder.Load(MAKEINTRESOURCEW(IDR_PNG_FORUM), L"PNG", ::GetModuleHandleW(nullptr)));
    ExpectHolds(holder, 96, 32);
}

TEST(ResourceBitmap, FailuresLeaveNothingHeldAfterAnEarlierLoad) {
    struct Case {
        const char* what;
        LPCWSTR name;
        LPCWSTR type;
    };
    const Case cases[] = {
        {"missing id", MAKEINTRESOURCEW(IDR_TEST_MISSING), L"PNG"},
        {"missing type", MAKEINTRESOURCEW(IDR_PNG_SKIN), L"GIF"},
        {"empty resource", MAKEINTRESOURCEW(IDR_TEST_EMPTY), L"PNG"},
        {"not an image", MAKEINTRESOURCEW(IDR_TEST_NOT_IMAGE), L"PNG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CResourceBitmap holder;
        ASSERT_TRUE(holder.Load(MAKEINTRESOURCEW(IDR_PNG_HOME), L"PNG"));
        EXPECT_FALSE(holder.Load(c.name, c.type));
        ExpectEmpty(holder);
        // And from empty, too.
        EXPECT_FALSE(holder.Load(c.name, c.type));
        ExpectEmpty(holder);
    }
}

// Many loads and destructions must leave the heap where it was: the resource copy each
// image decodes from (300 KB for the skin) goes with the image.
TEST(ResourceImageLeaks, ManyLoadsGiveBackTheirMemory) {
    constexpr int kLoads = 60;
    auto loadSkin = [] {
        CGdiImagePtr image = LoadImageFromResource(IDR_PNG_SKIN, L"PNG");
        ASSERT_TRUE(image);
        ASSERT_EQ(800u, image->GetWidth());
    };
    auto loadHolder = [] {
        CResourceBitmap holder;
        ASSERT_TRUE(holder.Load(MAKEINTRESOURCEW(IDR_PNG_SKIN), L"PNG"));
    };
    auto loadFailing = [] {
        CResourceBitmap holder;
        ASSERT_FALSE(holder.Load(MAKEINTRESOURCEW(IDR_TEST_NOT_IMAGE), L"PNG"));
        CGdiImagePtr image = LoadImageFromResource(IDR_TEST_NOT_IMAGE, L"PNG");
    };
    // Warm up: first use sets up GDI+'s codecs and caches.
    loadSkin();
    loadHolder();
    loadFailing();

    const std::size_t heapBefore = HeapBusyBytes();
    const std::size_t privateBefore = PrivateBytes();
    for (int i = 0; i < kLoads; ++i) {
        loadSkin();
        loadHolder();
        loadFailing();
    }
    const std::size_t heapAfter = HeapBusyBytes();
    const std::size_t privateAfter = PrivateBytes();
    std::printf("%d rounds of loads: heap in use %zu -> %zu bytes, private %zu -> %zu bytes\n",
                kLoads, heapBefore, heapAfter, privateBefore, privateAfter);
    ASSERT_GT(heapBefore, 0u) << "the heap cannot be walked here";
    // One leaked skin copy per round would be 60 * 300 KB = 18 MB.
    const std::size_t grown = heapAfter > heapBefore ? heapAfter - heapBefore : 0;
    EXPECT_LT(grown, 256u * 1024u);
    const std::size_t privateGrown =
        privateAfter > privateBefore ? privateAfter - privateBefore : 0;
    EXPECT_LT(privateGrown, 8u * 1024u * 1024u);
}

} // namespace
