// One dialog carrying each control, pictured in its normal look and with each one hovered, for
// people to look at: build/artifacts/controls-gallery.png.
#include <gtest/gtest.h>

#include "controls/HoverButton.h"
#include "controls/HyperLink.h"
#include "controls/ImageButton.h"
#include "res/resource.h"
#include "tests/controls/TestIds.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pixels.h"
#include "tests/support/Pump.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestDialog.h"

namespace {

constexpr COLORREF kBackground = RGB(30, 42, 64);
constexpr COLORREF kLinkHover = RGB(255, 200, 0);

TEST(GalleryTest, NormalAndHoverLooks) {
    CImageButton close;
    CHoverButton start;
    CHyperLink link;
    ParkMouse();
    CTestDialog dlg(
        IDD_GALLERY,
        {{IDC_GALLERY_IMAGE, &close}, {IDC_GALLERY_HOVER, &start}, {IDC_GALLERY_LINK, &link}});
    dlg.SetBackground(kBackground);
    ASSERT_TRUE(dlg.Open(POINT{100, 100}, [&](CTestDialog& d) {
        ::SetWindowPos(d.m_hWnd, nullptr, 0, 0, 356, 56, SWP_NOMOVE | SWP_NOZORDER);
        Place(d.Item(IDC_GALLERY_IMAGE), 14, 16, 20, 20);
        Place(d.Item(IDC_GALLERY_HOVER), 60, 12, 122, 28);
        Place(d.Item(IDC_GALLERY_LINK), 196, 18, 150, 16);
        close.SetImageBitmaps(IDB_CLOSE, RGB(255, 0, 255));
        start.LoadFaceImage(IDR_PNG_START, L"PNG");
        link.SetLinkFont(13, 700, FALSE);
        link.SetLinkColours(RGB(255, 255, 255), RGB(255, 255, 255), kLinkHover);
    }));
    CRect area;
    dlg.GetWindowRect(area);
    const HWND image = dlg.Item(IDC_GALLERY_IMAGE);
    const HWND hover = dlg.Item(IDC_GALLERY_HOVER);
    const HWND label = dlg.Item(IDC_GALLERY_LINK);
    const COLORREF startPixel = Pixel(hover, 60, 14);
    ASSERT_TRUE(!CaptureScreen(L"gallery-normal", &area).empty());

    // Each hover is confirmed on the control's own pixels before it is pictured.
    MoveMouse(image, 10, 10);
    ASSERT_TRUE(PumpUntil([&] { return Pixel(image, 0, 0) == ::GetSysColor(COLOR_BTNHIGHLIGHT); }));
    ASSERT_TRUE(!CaptureScreen(L"gallery-image-button", &area).empty());

    MoveMouse(hover, 60, 14);
    ASSERT_TRUE(PumpUntil([&] { return Pixel(hover, 60, 14) != startPixel; }));
    ASSERT_TRUE(!CaptureScreen(L"gallery-hover-button", &area).empty());

    MoveMouse(label, 20, 8);
    CRect text;
    ::GetClientRect(label, text);
    ASSERT_TRUE(PumpUntil([&] { return CountPixels(label, text, kLinkHover) > 0; }));
    ASSERT_TRUE(!CaptureScreen(L"gallery-link", &area).empty());

    EXPECT_TRUE(StackScreenshots(
        {L"gallery-normal", L"gallery-image-button", L"gallery-hover-button", L"gallery-link"},
        L"controls-gallery"));
}

} // namespace
