// The image button on real buttons of a test dialog, driven with real input.
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "controls/ImageButton.h"
#include "res/resource.h"
#include "tests/controls/TestIds.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pixels.h"
#include "tests/support/Pump.h"
#include "tests/support/SysColorGuard.h"
#include "tests/support/TestDialog.h"

namespace {

constexpr COLORREF kDialogBackground = RGB(40, 80, 120);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
// The test glyph: green with a red pixel at its origin and a magenta block at (4..7, 5..7).
constexpr COLORREF kGlyphGreen = RGB(0, 160, 0);
constexpr COLORREF kGlyphMarker = RGB(255, 0, 0);
constexpr int kButtonWidth = 30, kButtonHeight = 25;
constexpr int kGlyphWidth = 12, kGlyphHeight = 13;

class ImageButtonTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_dlg.reset();
        LeftUp();
        ParkMouse();
    }

    void Open(UINT glyph = IDB_TEST_GLYPH) {
        ParkMouse();
        m_dlg = std::make_unique<CTestDialog>(
            IDD_IMAGE_BUTTON_TEST,
            std::vector<std::pair<int, CWnd*>>{{IDC_BTN_BLANK, &m_blank},
                                               {IDC_BTN_EMPTY, &m_empty},
                                               {IDC_BTN_DEFAULT, &m_default}});
        m_dlg->SetBackground(kDialogBackground);
        ASSERT_TRUE(m_dlg->Open(POINT{100, 100}, [&](CTestDialog& d) {
            ::SetWindowPos(d.m_hWnd, nullptr, 0, 0, 300, 60, SWP_NOMOVE | SWP_NOZORDER);
            Place(d.Item(IDC_BTN_BLANK), 10, 10, kButtonWidth, kButtonHeight);
            Place(d.Item(IDC_EDIT_NEXT), 50, 10, 50, 20);
            Place(d.Item(IDC_BTN_EMPTY), 110, 10, kButtonWidth, kButtonHeight);
            Place(d.Item(IDC_BTN_DEFAULT), 150, 10, kButtonWidth, kButtonHeight);
            Place(d.Item(IDC_EDIT_OTHER), 190, 10, 50, 20);
            EXPECT_EQ(m_blank.SetImageBitmaps(glyph, kMagenta), 0);
            EXPECT_EQ(m_empty.SetImageBitmaps(glyph, kMagenta), 0);
            EXPECT_EQ(m_default.SetImageBitmaps(glyph, kMagenta), 0);
        }));
    }

    HWND Button(int id = IDC_BTN_BLANK) const { return m_dlg->Item(id); }
    COLORREF At(int x, int y, int id = IDC_BTN_BLANK) const { return Pixel(Button(id), x, y); }
    bool WaitFor(int x, int y, COLORREF expected, DWORD ms = 1500) const {
        return PumpUntil([&] { return At(x, y) == expected; }, ms);
    }
    // Where the glyph's red origin pixel shows in the button, or (-1, -1).
    POINT FindMarker(int id) const {
        for (int y = 0; y < kButtonHeight; ++y)
            for (int x = 0; x < kButtonWidth; ++x)
                if (At(x, y, id) == kGlyphMarker)
                    return {x, y};
        return {-1, -1};
    }

    // Made before any test changes system colours: the buttons capture theirs here.
    CImageButton m_blank, m_empty, m_default;
    const COLORREF m_face = ::GetSysColor(COLOR_BTNFACE);
    std::unique_ptr<CTestDialog> m_dlg;
};

struct PlacementCase {
    const char* name;
    int id;
    POINT origin; // where the glyph's top-left pixel lands
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

class ImageButtonPlacementTest : public ImageButtonTest,
                                 public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(ImageButtonPlacementTest, ImageStandsWhereTheCaptionSays) {
    Open();
    const POINT expected = GetParam().origin;
    const POINT found = FindMarker(GetParam().id);
    EXPECT_EQ(found.x, expected.x);
    EXPECT_EQ(found.y, expected.y);
    // Opaque pixels show the glyph, see-through ones the button's background.
    EXPECT_EQ(At(expected.x + 1, expected.y + 1, GetParam().id), kGlyphGreen);
    EXPECT_EQ(At(expected.x + 5, expected.y + 6, GetParam().id), m_face);
    // The idle button has no frame.
    EXPECT_EQ(At(0, 0, GetParam().id), m_face);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, ImageButtonPlacementTest,
    ::testing::Values(
        // A blank caption counts as a caption: the image goes to the left edge.
        PlacementCase{"OneBlank", IDC_BTN_BLANK, {0, (kButtonHeight - kGlyphHeight) / 2}},
        PlacementCase{"Empty",
                      IDC_BTN_EMPTY,
                      {(kButtonWidth - kGlyphWidth) / 2, (kButtonHeight - kGlyphHeight) / 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every see-through pixel of the launcher's glyphs shows the background (the button's face
// colour, or the colour it was given), every other pixel the glyph's own colour.
struct GlyphCase {
    UINT glyph;
    bool coloured; // given kGivenBackground
};

constexpr COLORREF kGivenBackground = RGB(12, 10, 18);

void PrintTo(const GlyphCase& c, std::ostream* os) {
    *os << c.glyph << (c.coloured ? " coloured" : "");
}

class ImageButtonGlyphTest : public ImageButtonTest,
                             public ::testing::WithParamInterface<GlyphCase> {};

TEST_P(ImageButtonGlyphTest, MagentaShowsTheBackground) {
    if (GetParam().coloured)
        m_blank.SetBackgroundColor(kGivenBackground);
    Open(GetParam().glyph);
    CBitmap source;
    source.Attach(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(GetParam().glyph),
                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP bm{};
    ASSERT_TRUE(source.GetBitmap(&bm));
    CDC sourceDC;
    sourceDC.CreateCompatibleDC(static_cast<HDC>(nullptr));
    CSelectObject select(sourceDC.GetSafeHdc(), source.GetSafeHandle());

    const COLORREF background = GetParam().coloured ? kGivenBackground : m_face;
    const int top = (kButtonHeight - bm.bmHeight) / 2; // one-blank caption: left edge
    int magenta = 0, wrong = 0;
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x) {
            const COLORREF glyph = sourceDC.GetPixel(x, y);
            const COLORREF expected = glyph == kMagenta ? background : glyph;
            magenta += glyph == kMagenta ? 1 : 0;
            if (At(x, top + y) != expected) {
                if (++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " shows " << Hex(At(x, top + y))
                                  << ", expected " << Hex(expected);
            }
        }
    EXPECT_GT(magenta, 0);
    EXPECT_EQ(wrong, 0);
    // Beside the glyph, too.
    EXPECT_EQ(At(kButtonWidth - 2, 1), background);
}

INSTANTIATE_TEST_SUITE_P(LauncherGlyphs, ImageButtonGlyphTest,
                         ::testing::Values(GlyphCase{IDB_MINIMIZE, false},
                                           GlyphCase{IDB_CLOSE, false}, GlyphCase{IDB_CLOSE, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.glyph) +
                                    (info.param.coloured ? "Coloured" : "");
                         });

TEST_F(ImageButtonTest, FrameFollowsHoverAndPress) {
    Open();
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(light, m_face);
    ASSERT_NE(shadow, m_face);
    const int right = kButtonWidth - 1, bottom = kButtonHeight - 1;
    const int top = (kButtonHeight - kGlyphHeight) / 2;

    MoveMouse(Button(), 20, 12);
    ASSERT_TRUE(WaitFor(0, 0, light)) << "hover shows no raised frame";
    EXPECT_EQ(At(right, bottom), shadow);
    EXPECT_EQ(FindMarker(IDC_BTN_BLANK).x, 0);

    LeftDown();
    ASSERT_TRUE(WaitFor(0, 0, shadow)) << "press shows no sunken frame";
    EXPECT_EQ(At(right, bottom), light);
    const POINT pressed = FindMarker(IDC_BTN_BLANK);
    EXPECT_EQ(pressed.x, 1);
    EXPECT_EQ(pressed.y, top + 1);

    LeftUp();
    ASSERT_TRUE(WaitFor(0, 0, light)) << "release over the button restores the raised frame";
    EXPECT_EQ(At(right, bottom), shadow);
    EXPECT_EQ(FindMarker(IDC_BTN_BLANK).y, top);
    EXPECT_EQ(m_dlg->Clicks(IDC_BTN_BLANK), 1);

    MoveMouse(m_dlg->m_hWnd, 270, 50);
    EXPECT_TRUE(WaitFor(0, 0, m_face)) << "leaving keeps the frame";
}

TEST_F(ImageButtonTest, NoFrameWhileAnotherApplicationIsActive) {
    Open();
    // A window of another thread (its own input queue, as another program has) takes over.
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE quit = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        HWND w = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"other", WS_POPUP | WS_VISIBLE,
                                   600, 500, 100, 60, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(w);
        ::SetEvent(ready);
        while (::MsgWaitForMultipleObjects(1, &quit, FALSE, 2000, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
        }
        ::DestroyWindow(w);
    });
    ::WaitForSingleObject(ready, 5000);
    const bool inactive = PumpUntil([] { return ::GetActiveWindow() == nullptr; }, 2000);

    MoveMouse(Button(), 20, 12);
    MoveMouse(Button(), 22, 14);
    Pump(300);
    const COLORREF corner = At(0, 0);
    ::SetEvent(quit);
    other.join();
    ::CloseHandle(ready);
    ::CloseHandle(quit);

    ASSERT_TRUE(inactive) << "the other window did not take the activation";
    EXPECT_EQ(corner, m_face);
}

TEST_F(ImageButtonTest, NoFrameWhenEnteredWithTheButtonHeld) {
    Open();
    MoveMouse(m_dlg->m_hWnd, 270, 50); // free dialog surface
    LeftDown();
    MoveMouse(Button(), 15, 12);
    MoveMouse(Button(), 20, 14);
    Pump(300);
    EXPECT_EQ(At(0, 0), m_face);
    EXPECT_EQ(At(kButtonWidth - 1, kButtonHeight - 1), m_face);
}

TEST_F(ImageButtonTest, DoubleClickMakesTwoClicks) {
    Open();
    MoveMouse(Button(), 20, 12);
    DoubleClick();
    PumpUntil([&] { return m_dlg->Clicks(IDC_BTN_BLANK) >= 2; }, 1500);
    EXPECT_EQ(m_dlg->Clicks(IDC_BTN_BLANK), 2);
}

struct DisableCase {
    const char* name;
    int disabled;
    int focusedBefore;
    int focusedAfter;
};

void PrintTo(const DisableCase& c, std::ostream* os) {
    *os << c.name;
}

class ImageButtonDisableTest : public ImageButtonTest,
                               public ::testing::WithParamInterface<DisableCase> {};

TEST_P(ImageButtonDisableTest, FocusMovesToTheNextTabStop) {
    Open();
    ::SetFocus(m_dlg->Item(GetParam().focusedBefore));
    ASSERT_EQ(::GetFocus(), m_dlg->Item(GetParam().focusedBefore));
    ::EnableWindow(m_dlg->Item(GetParam().disabled), FALSE);
    Pump(50);
    EXPECT_EQ(::GetFocus(), m_dlg->Item(GetParam().focusedAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Disabling, ImageButtonDisableTest,
    ::testing::Values(DisableCase{"FocusedButton", IDC_BTN_BLANK, IDC_BTN_BLANK, IDC_EDIT_NEXT},
                      DisableCase{"FocusElsewhere", IDC_BTN_BLANK, IDC_EDIT_OTHER, IDC_EDIT_NEXT},
                      DisableCase{"DefaultButton", IDC_BTN_DEFAULT, IDC_BTN_DEFAULT,
                                  IDC_EDIT_OTHER}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImageButtonTest, SetStyleKeepsTheOwnerDrawnTypeAndTracksTheDefaultRole) {
    Open();
    const auto type = [](HWND h) { return ::GetWindowLongPtrW(h, GWL_STYLE) & BS_TYPEMASK; };
    const auto isDefault = [](HWND h) {
        return (::SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    };
    const auto isUndefault = [](HWND h) {
        return (::SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON) != 0;
    };
    // Attaching made every button owner-drawn and kept the template's default button.
    EXPECT_EQ(type(Button(IDC_BTN_DEFAULT)), BS_OWNERDRAW);
    EXPECT_TRUE(isDefault(Button(IDC_BTN_DEFAULT)));
    EXPECT_TRUE(isUndefault(Button(IDC_BTN_BLANK)));

    struct Step {
        UINT style;
        bool defaultAfter;
    };
    const Step steps[] = {
        {BS_DEFPUSHBUTTON, true},
        {BS_CHECKBOX, true}, // other types leave the role
        {BS_PUSHBUTTON, false},
        {BS_RADIOBUTTON, false},
    };
    HWND blank = Button(IDC_BTN_BLANK);
    for (const Step& step : steps) {
        ::SendMessageW(blank, BM_SETSTYLE, step.style, TRUE);
        EXPECT_EQ(type(blank), BS_OWNERDRAW) << "after style " << step.style;
        EXPECT_EQ(isDefault(blank), step.defaultAfter) << "after style " << step.style;
        EXPECT_EQ(isUndefault(blank), !step.defaultAfter) << "after style " << step.style;
    }
}

TEST_F(ImageButtonTest, KeepsTheColoursCapturedAtConstruction) {
    const COLORREF face = RGB(200, 170, 90), light = RGB(250, 240, 10), shadow = RGB(20, 30, 200);
    CSysColorGuard colours(
        {{COLOR_BTNFACE, face}, {COLOR_BTNHIGHLIGHT, light}, {COLOR_BTNSHADOW, shadow}});
    ASSERT_EQ(::GetSysColor(COLOR_BTNFACE), face);
    Open();
    MoveMouse(Button(), 20, 12);
    ASSERT_TRUE(WaitFor(0, 0, light)) << "the frame takes the current system colours";
    EXPECT_EQ(At(kButtonWidth - 1, kButtonHeight - 1), shadow);
    EXPECT_EQ(At(3, 2), m_face) << "the background keeps the colour it had at construction";
}

} // namespace
