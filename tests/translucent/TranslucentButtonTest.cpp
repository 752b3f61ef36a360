#include <gtest/gtest.h>
#include <array>
#include "tests/translucent/TestDialogs.h"
#include "imaging/ResourceImage.h"
#include "translucent/TranslucentButton.h"

namespace {

// A plain dialog holding one button that a CTranslucentButton is attached to; it records the
// clicks that reach it.
class ButtonHost : public CDialog {
public:
    ButtonHost() : CDialog(IDD_TEST_WIDGETS) {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_TEST_WIDGET_A)
            ++clicks;
        return CDialog::OnCommand(wParam, lParam);
    }
    int clicks = 0;
};

// Five distinguishable images; `filled` says which slots get one.
void FillSlots(CTranslucentButton& button, unsigned filled) {
    const UINT ids[] = {IDR_PNG_REGISTER, IDR_PNG_START, IDR_PNG_HOME, IDR_PNG_ACCOUNT,
                        IDR_PNG_FORUM};
    for (std::size_t slot = 0; slot < CTranslucentButton::kSlotCount; ++slot) {
        if (filled & (1u << slot))
            button.SetImage(slot, LoadImageFromResource(ids[slot], L"PNG"));
    }
}

// Opens a host dialog and gives its widget control the button type `buttonStyle`; null on failure.
HWND OpenWidget(ButtonHost& host, DWORD buttonStyle) {
    if (!host.Create(IDD_TEST_WIDGETS))
        return nullptr;
    HWND hwnd = ::GetDlgItem(host.m_hWnd, IDC_TEST_WIDGET_A);
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~LONG_PTR{0xFF}) | buttonStyle);
    return hwnd;
}

class TranslucentButtonTest : public testing::Test {
protected:
    void Attach(DWORD buttonStyle, unsigned filledSlots = 0x1F) {
        HWND hwnd = OpenWidget(host, buttonStyle);
        ASSERT_NE(hwnd, nullptr);
        FillSlots(button, filledSlots);
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        button.SetListener(&listener);
    }
    CPoint Inside() const { return CPoint(3, 3); }
    CPoint Outside() const { return CPoint(-5, 400); }
    void Down(CPoint pt) { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    void Up(CPoint pt) { button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); }
    void Click() {
        Down(Inside());
        Up(Inside());
    }
    void Hover() { button.SendMessage(WM_MOUSEHOVER); }
    void Leave() { button.SendMessage(WM_MOUSELEAVE); }

    ButtonHost host;
    CTranslucentButton button;
    CountingListener listener;
};

TEST_F(TranslucentButtonTest, StateChoosesTheSlot) {
    struct Case {
        const char* what;
        bool checked, disabled, hover, pressed;
        unsigned filled;
        int slot;
    };
    constexpr unsigned kAll = 0x1F;
    const Case cases[] = {
        {"normal", false, false, false, false, kAll, 0},
        {"hover", false, false, true, false, kAll, 2},
        {"hover pressed", false, false, true, true, kAll, 3},
        {"pressed without hover", false, false, false, true, kAll, 0},
        {"disabled", false, true, false, false, kAll, 1},
        {"disabled under the mouse", false, true, true, false, kAll, 2},
        {"checked", true, false, false, false, kAll, 4},
        {"checked and disabled", true, true, false, false, kAll, 1},
        {"checked under the mouse", true, false, true, false, kAll, 2},
        {"checked, pressed", true, false, true, true, kAll, 3},
        {"disabled, no disabled image", false, true, false, false, kAll & ~0x02u, 0},
        {"hover, no hover image", false, false, true, false, kAll & ~0x04u, 0},
        {"pressed, no pressed image", false, false, true, true, kAll & ~0x08u, 0},
        {"checked, no checked image", true, false, false, false, kAll & ~0x10u, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonHost h;
        // A check box, so that a click can check it.
        HWND hwnd = OpenWidget(h, BS_CHECKBOX);
        ASSERT_NE(hwnd, nullptr);
        CTranslucentButton b;
        FillSlots(b, c.filled);
        ASSERT_TRUE(b.SubclassWindow(hwnd));
        if (c.checked) {
            b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            ASSERT_TRUE(b.IsChecked());
        }
        if (c.disabled)
            b.EnableWindow(FALSE);
        if (c.hover)
            b.SendMessage(WM_MOUSEHOVER);
        if (c.pressed)
            b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        b.UpdateState();
        ASSERT_NE(nullptr, b.GetCurrentImage());
        EXPECT_EQ(b.GetImage(c.slot), b.GetCurrentImage());
    }
}

TEST_F(TranslucentButtonTest, AsksForACompositeOnlyWhenTheImageChanges) {
    Attach(BS_PUSHBUTTON);
    button.UpdateState();
    EXPECT_EQ(1, listener.requests) << "the first pick";
    button.UpdateState();
    EXPECT_EQ(1, listener.requests) << "same look, no composite";
    Hover();
    EXPECT_EQ(2, listener.requests);
    Down(Inside());
    EXPECT_EQ(3, listener.requests);
    Up(Inside());
    EXPECT_EQ(4, listener.requests) << "back to the hover image";
    Leave();
    EXPECT_EQ(5, listener.requests);
    button.EnableWindow(FALSE);
    EXPECT_EQ(6, listener.requests);
    button.EnableWindow(FALSE);
    EXPECT_EQ(6, listener.requests) << "already disabled";
}

TEST_F(TranslucentButtonTest, OnlyANormalImageNeverAsksAgain) {
    Attach(BS_AUTOCHECKBOX, 0x01);
    button.UpdateState();
    ASSERT_EQ(1, listener.requests);
    Hover();
    Down(Inside());
    Up(Inside());
    Leave();
    button.EnableWindow(FALSE); // no disabled image: nothing to show differently
    button.EnableWindow(TRUE);
    EXPECT_EQ(1, listener.requests);
    EXPECT_EQ(button.GetImage(0), button.GetCurrentImage());
}

TEST_F(TranslucentButtonTest, ReleaseInsideChecksOnlyCheckAndRadioTypes) {
    struct Case {
        const char* what;
        DWORD style;
        bool toggles;
    };
    const Case cases[] = {
        {"push button", BS_PUSHBUTTON, false},
        {"default push button", BS_DEFPUSHBUTTON, false},
        {"check box", BS_CHECKBOX, true},
        {"automatic check box", BS_AUTOCHECKBOX, true},
        {"radio button", BS_RADIOBUTTON, true},
        {"automatic radio button", BS_AUTORADIOBUTTON, true},
        {"three-state box", BS_3STATE, false},
        {"check box with text on the left", BS_CHECKBOX | BS_LEFTTEXT, false},
        {"radio button with text on the left", BS_AUTORADIOBUTTON | BS_LEFTTEXT, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonHost h;
        HWND hwnd = OpenWidget(h, c.style);
        ASSERT_NE(hwnd, nullptr);
        CTranslucentButton b;
        FillSlots(b, 0x1F);
        ASSERT_TRUE(b.SubclassWindow(hwnd));
        b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(c.toggles, b.IsChecked()) << "after one click";
        EXPECT_FALSE(b.IsPressed());
        b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        EXPECT_FALSE(b.IsChecked()) << "after a second click";
        // The click still reaches the dialog as the control's own notification.
        EXPECT_EQ(2, h.clicks);
    }
}

TEST_F(TranslucentButtonTest, ReleaseOutsideDropsHoverAtOnce) {
    Attach(BS_AUTOCHECKBOX);
    Hover();
    Down(Inside());
    ASSERT_EQ(button.GetImage(CTranslucentButton::kPressed), button.GetCurrentImage());
    Up(Outside());
    EXPECT_FALSE(button.IsHover());
    EXPECT_FALSE(button.IsPressed());
    EXPECT_FALSE(button.IsChecked()) << "no click, no check";
    EXPECT_EQ(button.GetImage(CTranslucentButton::kNormal), button.GetCurrentImage());
    EXPECT_EQ(0, host.clicks);
}

TEST_F(TranslucentButtonTest, TrackingIsArmedOnceAndClearedOnLeave) {
    Attach(BS_PUSHBUTTON);
    EXPECT_FALSE(button.IsTracking());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(button.IsTracking());
    Hover();
    EXPECT_TRUE(button.IsHover());
    EXPECT_TRUE(button.IsTracking()) << "leave tracking stays armed after a hover";
    Leave();
    EXPECT_FALSE(button.IsHover());
    EXPECT_FALSE(button.IsTracking());
}

TEST_F(TranslucentButtonTest, AttachingReadsVisibilityAndEnabledState) {
    ASSERT_TRUE(host.Create(IDD_TEST_WIDGETS));
    CTranslucentButton hidden, disabled;
    HWND disabledHwnd = ::GetDlgItem(host.m_hWnd, IDC_TEST_WIDGET_B);
    ::EnableWindow(disabledHwnd, FALSE);
    ASSERT_TRUE(hidden.SubclassDlgItem(IDC_TEST_WIDGET_HIDDEN, &host));
    ASSERT_TRUE(disabled.SubclassWindow(disabledHwnd));
    EXPECT_FALSE(hidden.IsVisible());
    EXPECT_FALSE(hidden.IsDisabled());
    EXPECT_TRUE(disabled.IsVisible());
    EXPECT_TRUE(disabled.IsDisabled());
    disabled.EnableWindow(TRUE);
    EXPECT_FALSE(disabled.IsDisabled());
    // Showing the control later does not change what the composite draws.
    hidden.ShowWindow(SW_SHOW);
    EXPECT_FALSE(hidden.IsVisible());
}

// What a button draws, seen in its dialog's composite.
TEST(TranslucentButtonRender, DrawsTheImageAndTextOnlyWithAnImage) {
    CTranslucentButton withImage, textOnly;
    TestSkinDialog dlg(IDD_TEST_WIDGETS);
    dlg.initChildren = [&](TestSkinDialog& d) {
        withImage.SetImage(0, LoadImageFromResource(IDR_PNG_START, L"PNG"));
        withImage.SubclassDlgItem(IDC_TEST_WIDGET_A, &d);
        // Shown before it is attached, so that it counts as visible.
        ::ShowWindow(::GetDlgItem(d.m_hWnd, IDC_TEST_WIDGET_HIDDEN), SW_SHOW);
        textOnly.SubclassDlgItem(IDC_TEST_WIDGET_HIDDEN, &d);
        d.RegisterTranslucentWnd(&withImage);
        d.RegisterTranslucentWnd(&textOnly);
        withImage.UpdateState();
    };
    ASSERT_TRUE(dlg.Create(IDD_TEST_WIDGETS));
    ASSERT_TRUE(textOnly.IsVisible());
    ASSERT_EQ(nullptr, textOnly.GetCurrentImage());

    TestSkinDialog plain(IDD_TEST_WIDGETS); // the same skin with nothing registered
    ASSERT_TRUE(plain.Create(IDD_TEST_WIDGETS));
    auto drawn = dlg.Composite();
    auto skin = plain.Composite();
    ASSERT_TRUE(drawn && skin);

    auto rectOf = [&](CTranslucentButton& b) {
        CRect rc;
        b.GetWindowRect(&rc);
        dlg.ScreenToClient(&rc);
        return rc;
    };
    auto differing = [&](const CRect& rc) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += drawn->PixelAt(x, y) != skin->PixelAt(x, y);
        return n;
    };
    const CRect image = rectOf(withImage);
    EXPECT_GT(differing(image), image.Width() * image.Height() / 2) << "the face covers the button";
    // The face is stretched into the control's rectangle, and not beyond it.
    CRect around = image;
    around.DeflateRect(-6, -6, -6, -6);
    EXPECT_EQ(differing(around), differing(image));
    EXPECT_EQ(0, differing(rectOf(textOnly))) << "text without an image draws nothing";

    // The caption is drawn over the face: the same face without text differs.
    withImage.SetWindowText(L"");
    auto noText = dlg.Composite();
    int textPixels = 0;
    for (int y = image.top; y < image.bottom; ++y)
        for (int x = image.left; x < image.right; ++x)
            textPixels += noText->PixelAt(x, y) != drawn->PixelAt(x, y);
    EXPECT_GT(textPixels, 0);
}

} // namespace
