// What the screen really shows: the skin, pushed as a per-pixel-alpha layered window, with the
// colour-keyed companion and its ordinary button over it, all in front of a plain backdrop.
#include <gtest/gtest.h>
#include <cstdio>
#include <memory>
#include "imaging/ResourceImage.h"
#include "tests/support/HostCommand.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pixels.h"
#include "tests/support/Pump.h"
#include "tests/support/Screenshot.h"
#include "tests/translucent/TestDialogs.h"
#include "translucent/TranslucentButton.h"

using namespace Gdiplus::DllExports;

namespace {

constexpr COLORREF kBackdrop = RGB(40, 160, 90);
using CSurfacePtr = std::unique_ptr<CCompositeSurface>;

// The screen as a decoded picture.
class Screenshot {
public:
    explicit Screenshot(const std::wstring& path) {
        if (!path.empty() && GdipCreateBitmapFromFile(path.c_str(), &m_bitmap) != Gdiplus::Ok)
            m_bitmap = nullptr;
    }
    ~Screenshot() {
        if (m_bitmap)
            GdipDisposeImage(m_bitmap);
    }
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;
    bool IsValid() const { return m_bitmap != nullptr; }
    // 0xFFRRGGBB at screen point (x, y).
    DWORD At(int x, int y) const {
        ARGB argb = 0;
        GdipBitmapGetPixel(m_bitmap, x, y, &argb);
        return argb | 0xFF000000;
    }

private:
    Gdiplus::GpBitmap* m_bitmap = nullptr;
};

DWORD Opaque(COLORREF cr) {
    return 0xFF000000 | (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr);
}

// A plain window of one colour behind everything, so that what shows through can be told.
class Backdrop : public CWnd {
public:
    explicit Backdrop(const RECT& rc) : m_brush(::CreateSolidBrush(kBackdrop)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = m_brush;
        wc.lpszClassName = L"ZvTestBackdrop";
        ::RegisterClassW(&wc);
        CreateEx(0, wc.lpszClassName, L"backdrop", WS_POPUP | WS_VISIBLE, rc, nullptr, 0);
    }
    ~Backdrop() override {
        DestroyWindow();
        ::UnregisterClassW(L"ZvTestBackdrop", ::GetModuleHandleW(nullptr));
        ::DeleteObject(m_brush);
    }

private:
    HBRUSH m_brush;
};

// The skin with its companion in front of a backdrop, on screen and settled.
class TranslucentScreen : public testing::Test {
protected:
    void SetUp() override {
        // Around where the skin will be, not the whole screen (a window manager stacks
        // full-screen windows apart).
        CRect work;
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const CPoint centre = CTranslucentDialog::CenteredPosition(work, CSize(800, 564));
        backdrop = std::make_unique<Backdrop>(
            CRect(centre.x - 40, centre.y - 40, centre.x + 840, centre.y + 604));
        Pump(200);
        ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
        Pump(800);
    }
    CRect SkinRect() const {
        CRect rc;
        dlg.GetWindowRect(&rc);
        return rc;
    }
    CRect CompanionRect() const {
        CRect rc;
        dlg.Companion()->GetWindowRect(&rc);
        return rc;
    }
    CRect ButtonRect() const {
        CRect rc;
        ::GetWindowRect(::GetDlgItem(dlg.Companion()->m_hWnd, IDC_TEST_BUTTON), &rc);
        return rc;
    }
    // The button shows its own face on screen, not the skin under it.
    void ExpectButtonFace(const Screenshot& screen, const CCompositeSurface& composite) const {
        const CRect skin = SkinRect();
        const CRect button = ButtonRect();
        const DWORD face = Opaque(::GetSysColor(COLOR_BTNFACE));
        const CPoint inButton[] = {{button.left + 5, button.top + 5},
                                   {button.right - 6, button.bottom - 7},
                                   {button.left + 5, button.bottom - 7}};
        for (const CPoint& pt : inButton) {
            const DWORD shown = screen.At(pt.x, pt.y);
            EXPECT_TRUE(NearlyEqual(face, shown, 8))
                << std::hex << "button face " << face << ", screen " << shown;
            EXPECT_FALSE(
                NearlyEqual(composite.PixelAt(pt.x - skin.left, pt.y - skin.top), shown, 8));
        }
    }
    // Opaque skin pixels where the companion is keyed out show the skin itself.
    void ExpectSkinThroughKey(const Screenshot& screen, const CCompositeSurface& composite) const {
        struct Probe {
            const char* what;
            int x, y;
        };
        const Probe keyedOut[] = {
            {"gold rim", 10, 300},      {"dark panel", 400, 450}, {"title plate", 400, 50},
            {"left picture", 130, 250}, {"bottom bar", 120, 535},
        };
        const CRect skin = SkinRect();
        for (const Probe& p : keyedOut) {
            SCOPED_TRACE(p.what);
            ASSERT_EQ(0xFFu, composite.PixelAt(p.x, p.y) >> 24) << "probe an opaque skin pixel";
            ASSERT_FALSE(ButtonRect().PtInRect(CPoint(skin.left + p.x, skin.top + p.y)));
            const DWORD shown = screen.At(skin.left + p.x, skin.top + p.y);
            EXPECT_TRUE(NearlyEqual(composite.PixelAt(p.x, p.y), shown, 2))
                << std::hex << "skin " << composite.PixelAt(p.x, p.y) << ", screen " << shown;
            EXPECT_NE(Opaque(kTestKey), shown);
        }
    }

    std::unique_ptr<Backdrop> backdrop;
    TestSkinDialog dlg;
};

TEST_F(TranslucentScreen, SkinShowsThroughTheKeyedCompanionAndTheButtonOnTop) {
    CSurfacePtr composite = dlg.Composite();
    ASSERT_TRUE(composite);
    const std::wstring path = CaptureScreen(L"translucent-toolkit");
    ASSERT_FALSE(path.empty()) << "no screenshot could be taken";
    Screenshot screen(path);
    ASSERT_TRUE(screen.IsValid());

    ExpectSkinThroughKey(screen, *composite);
    ExpectButtonFace(screen, *composite);
    // Where the skin is fully transparent the backdrop shows.
    const CRect skin = SkinRect();
    EXPECT_EQ(Opaque(kBackdrop), screen.At(skin.left, skin.top));

    // Translucent skin pixels: reported, not asserted. With a compositing manager they blend
    // with what is behind; without one the system draws what it can.
    struct Probe {
        const char* what;
        int x, y;
    };
    const Probe translucent[] = {
        {"faint shadow", 4, 300}, {"glow", 9, 300}, {"half edge", 400, 559}};
    for (const Probe& p : translucent)
        std::printf("%-12s skin %08lX (premultiplied) -> screen %08lX over backdrop %08lX\n",
                    p.what, composite->PixelAt(p.x, p.y),
                    screen.At(skin.left + p.x, skin.top + p.y), Opaque(kBackdrop));
}

// A player drags the pair by the skin where the companion is keyed out: real input on the
// display, through the window manager.
TEST_F(TranslucentScreen, DraggingByAKeyedOutPointMovesSkinAndCompanion) {
    const CRect before = SkinRect();
    const CPoint grab(before.left + 10, before.top + 300); // the skin's rim, keyed out above
    const int dx = 100, dy = 60;
    wchar_t command[256];
    wsprintfW(command,
              L"xdotool mousemove %ld %ld mousedown 1 sleep 0.2 mousemove %ld %ld "
              L"sleep 0.2 mousemove %ld %ld sleep 0.2 mouseup 1",
              grab.x, grab.y, grab.x + dx / 2, grab.y + dy / 2, grab.x + dx, grab.y + dy);
    // The system's move loop runs inside the press: this thread keeps pumping meanwhile.
    CHostCommand drag(command);
    CRect expected = before;
    expected.OffsetRect(dx, dy);
    PumpUntil([&] { return SkinRect() == expected && CompanionRect() == expected; }, 5000);
    EXPECT_EQ(expected, SkinRect()) << "skin at " << SkinRect().left << "," << SkinRect().top;
    EXPECT_EQ(SkinRect(), CompanionRect());

    Pump(300);
    const std::wstring path = CaptureScreen(L"translucent-toolkit-dragged");
    ASSERT_FALSE(path.empty()) << "no screenshot could be taken";
    Screenshot screen(path);
    ASSERT_TRUE(screen.IsValid());
    CSurfacePtr composite = dlg.Composite();
    ASSERT_TRUE(composite);
    ExpectSkinThroughKey(screen, *composite);
    ExpectButtonFace(screen, *composite);
}

// A translucent button drawn into the skin answers the real mouse: its hover image reaches
// the screen through the composite, where the companion is keyed out above it.
TEST(TranslucentScreenWidget, HoverImageReachesTheScreen) {
    CTranslucentButton widget;
    TestSkinDialog dlg(IDD_TEST_WIDGETS);
    dlg.initChildren = [&](TestSkinDialog& d) {
        widget.SetImage(CTranslucentButton::kNormal,
                        LoadImageFromResource(IDR_PNG_REGISTER, L"PNG"));
        widget.SetImage(CTranslucentButton::kHover, LoadImageFromResource(IDR_PNG_START, L"PNG"));
        widget.SubclassDlgItem(IDC_TEST_WIDGET_A, &d);
        d.RegisterTranslucentWnd(&widget);
        widget.UpdateState();
    };
    ASSERT_TRUE(dlg.Create(IDD_TEST_WIDGETS));
    // Nothing else of the widgets template is drawn.
    ::ShowWindow(::GetDlgItem(dlg.m_hWnd, IDC_TEST_WIDGET_B), SW_HIDE);
    Pump(800);

    CRect rc;
    widget.GetWindowRect(&rc);
    CRect skin;
    dlg.GetWindowRect(&skin);
    const CPoint probe(rc.left + 4, rc.top + 4); // on the face, clear of the caption
    auto facePixel = [&] {
        CSurfacePtr composite = dlg.Composite();
        return composite ? composite->PixelAt(probe.x - skin.left, probe.y - skin.top) : 0;
    };
    const DWORD normal = facePixel();
    ASSERT_EQ(widget.GetImage(CTranslucentButton::kNormal), widget.GetCurrentImage());

    std::wstring path = CaptureScreen(L"translucent-widget");
    ASSERT_FALSE(path.empty()) << "no screenshot could be taken";
    {
        Screenshot screen(path);
        ASSERT_TRUE(screen.IsValid());
        EXPECT_TRUE(NearlyEqual(normal, screen.At(probe.x, probe.y), 2));
    }

    MoveMouse(CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    PumpUntil([&] { return widget.IsHover(); }, 5000);
    ASSERT_TRUE(widget.IsHover()) << "no hover reported";
    EXPECT_EQ(widget.GetImage(CTranslucentButton::kHover), widget.GetCurrentImage());
    const DWORD hover = facePixel();
    ASSERT_NE(normal, hover) << "probe a point where the two faces differ";
    Pump(300);

    path = CaptureScreen(L"translucent-widget-hover");
    ASSERT_FALSE(path.empty()) << "no screenshot could be taken";
    Screenshot screen(path);
    ASSERT_TRUE(screen.IsValid());
    EXPECT_TRUE(NearlyEqual(hover, screen.At(probe.x, probe.y), 2))
        << std::hex << "hover face " << hover << ", screen " << screen.At(probe.x, probe.y);
    MoveMouse(POINT{0, 0});
}

} // namespace
