#include <gtest/gtest.h>
#include <cstdio>
#include "tests/support/Memory.h"
#include "tests/support/Pixels.h"
#include "tests/support/Pump.h"
#include "tests/translucent/TestDialogs.h"

namespace {

CRect WindowRectOf(HWND hwnd) {
    CRect rc;
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

CRect WorkArea() {
    CRect work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

TEST(TranslucentDialogCentring, HalvesTheDifferenceTowardZero) {
    struct Case {
        const char* what;
        RECT work;
        SIZE outer;
        POINT expected;
    };
    const Case cases[] = {
        {"the skin in a 1024 by 738 area", {0, 0, 1024, 738}, {800, 564}, {112, 87}},
        {"odd difference", {0, 0, 1023, 738}, {800, 564}, {111, 87}},
        {"area with an offset", {100, 40, 1124, 778}, {800, 564}, {212, 127}},
        {"wider than the area", {0, 0, 699, 600}, {800, 564}, {-50, 18}},
        {"just one pixel too wide", {0, 0, 799, 564}, {800, 564}, {0, 0}},
        {"taller than an offset area", {10, 20, 810, 500}, {800, 564}, {10, -22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CPoint pos = CTranslucentDialog::CenteredPosition(c.work, c.outer);
        EXPECT_EQ(c.expected.x, pos.x);
        EXPECT_EQ(c.expected.y, pos.y);
    }
}

TEST(TranslucentDialog, CreationCentresSizesAndShowsTheCompanion) {
    TestSkinDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    const CRect work = WorkArea();
    const CRect rc = WindowRectOf(dlg.m_hWnd);
    EXPECT_EQ(work.left + (work.Width() - 800) / 2, rc.left);
    EXPECT_EQ(work.top + (work.Height() - 564) / 2, rc.top);
    EXPECT_EQ(800, rc.Width());
    EXPECT_EQ(564, rc.Height());
    EXPECT_EQ(0u, dlg.GetStyle() & WS_CAPTION);
    EXPECT_NE(0u, dlg.GetStyle() & WS_POPUP);
    EXPECT_NE(0u, dlg.GetExStyle() & WS_EX_LAYERED);
    EXPECT_EQ(AC_SRC_ALPHA, dlg.Blend().AlphaFormat);
    EXPECT_EQ(255, dlg.Blend().SourceConstantAlpha);

    EXPECT_EQ(1, dlg.createCalls);
    TestStandardDialog* companion = dlg.Companion();
    ASSERT_NE(nullptr, companion);
    ASSERT_TRUE(::IsWindow(companion->m_hWnd));
    EXPECT_TRUE(companion->IsWindowVisible());
    EXPECT_EQ(dlg.m_hWnd, ::GetWindow(companion->m_hWnd, GW_OWNER));
    EXPECT_EQ(rc, WindowRectOf(companion->m_hWnd));

    // The layered image is the whole look: erasing does nothing and says it is done.
    HDC dc = ::GetDC(dlg.m_hWnd);
    EXPECT_EQ(TRUE, dlg.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)));
    ::ReleaseDC(dlg.m_hWnd, dc);
}

TEST(TranslucentDialog, CompanionFollowsMovesAndSizes) {
    TestSkinDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    HWND companion = dlg.Companion()->m_hWnd;
    struct Step {
        int x, y, cx, cy;
    };
    const Step steps[] = {
        {50, 60, 800, 564}, {-30, 7, 800, 564}, {200, 100, 640, 480}, {201, 99, 640, 480}};
    for (const Step& s : steps) {
        dlg.MoveWindow(s.x, s.y, s.cx, s.cy);
        EXPECT_EQ(CRect(s.x, s.y, s.x + s.cx, s.y + s.cy), WindowRectOf(companion))
            << s.x << "," << s.y << " " << s.cx << "x" << s.cy;
    }
    // The companion's own moves are not fed back.
    ::SetWindowPos(companion, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(CRect(201, 99, 841, 579), WindowRectOf(dlg.m_hWnd));
}

TEST(TranslucentDialog, WithoutCompanionMovesTouchNothingElse) {
    TestSkinDialog dlg(IDD_TEST_SKIN, IDR_PNG_SKIN, false);
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    EXPECT_EQ(1, dlg.createCalls);
    EXPECT_EQ(nullptr, dlg.GetStandardDialog());
    dlg.MoveWindow(10, 20, 300, 200);
    EXPECT_EQ(CRect(10, 20, 310, 220), WindowRectOf(dlg.m_hWnd));
}

TEST(TranslucentDialog, CompositeIsThePremultipliedImage) {
    TestSkinDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    auto surface = dlg.Composite();
    ASSERT_TRUE(surface);
    ASSERT_EQ(800, surface->Width());
    ASSERT_EQ(564, surface->Height());
    struct Point {
        const char* what;
        int x, y;
        ARGB straight; // the PNG's own value
    };
    const Point points[] = {
        {"transparent", 0, 0, 0x00000000},   {"faint", 4, 300, 0x11000000},
        {"translucent", 9, 300, 0x673E2911}, {"half", 400, 559, 0x8A2E1F0D},
        {"opaque rim", 10, 300, 0xFFFAE7A9}, {"opaque panel", 400, 300, 0xFF100F18},
    };
    for (const Point& p : points) {
        const DWORD expected = Premultiplied(p.straight);
        const DWORD got = surface->PixelAt(p.x, p.y);
        EXPECT_TRUE(NearlyEqual(expected, got))
            << p.what << ": expected " << std::hex << expected << ", got " << got;
    }
}

TEST(TranslucentDialog, EveryPushGivesTheWindowTheImageSize) {
    TestSkinDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    const SIZE sizes[] = {{300, 200}, {1000, 700}, {1, 1}};
    for (const SIZE& s : sizes) {
        dlg.SetWindowPos(nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_EQ(s.cx, WindowRectOf(dlg.m_hWnd).Width());
        dlg.UpdateView();
        const CRect rc = WindowRectOf(dlg.m_hWnd);
        EXPECT_EQ(800, rc.Width()) << "after " << s.cx << "x" << s.cy;
        EXPECT_EQ(564, rc.Height()) << "after " << s.cx << "x" << s.cy;
        const CRect companion = WindowRectOf(dlg.Companion()->m_hWnd);
        EXPECT_EQ(rc, companion) << rc.left << "," << rc.top << " " << rc.Width() << "x"
                                 << rc.Height() << " vs " << companion.left << "," << companion.top
                                 << " " << companion.Width() << "x" << companion.Height();
    }
}

// Wine gives the skin a new X window at its first push, and the companion has to be mapped
// again over it; later shows of the same window (and every show on Windows, where the window
// does not change) leave the companion alone.
TEST(TranslucentDialog, LaterShowsLeaveTheCompanionAlone) {
    TestSkinDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    Pump(100);
    TestStandardDialog* companion = dlg.Companion();
    ASSERT_NE(nullptr, companion);
    const int hidesAfterFirstShow = companion->hides;
    std::printf("companion hidden %d time(s) while the skin was first shown\n",
                hidesAfterFirstShow);
    for (int round = 0; round < 2; ++round) {
        dlg.ShowWindow(SW_HIDE);
        dlg.ShowWindow(SW_SHOW);
        Pump(100);
    }
    EXPECT_EQ(hidesAfterFirstShow, companion->hides);
    EXPECT_TRUE(companion->IsWindowVisible());
}

TEST(TranslucentDialog, MissingImageShowsNothingAndPushesNothing) {
    TestSkinDialog dlg(IDD_TEST_SKIN, IDR_TEST_MISSING);
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    ASSERT_NE(nullptr, dlg.GetImage());
    const CRect rc = WindowRectOf(dlg.m_hWnd);
    EXPECT_EQ(0, rc.Width());
    EXPECT_EQ(0, rc.Height());
    const CRect work = WorkArea();
    EXPECT_EQ(work.left + work.Width() / 2, rc.left);
    EXPECT_EQ(nullptr, dlg.Composite());
    dlg.UpdateView(); // nothing to push, nothing to fail
}

// Widget colours, straight ARGB; opaque so the composite holds them unchanged.
constexpr ARGB kColorA = 0xFF20C040;
constexpr ARGB kColorB = 0xFF3050E0;
constexpr ARGB kColorHidden = 0xFFFF00FF;

struct WidgetSkin {
    SolidWidget a{kColorA};
    SolidWidget b{kColorB};
    SolidWidget hidden{kColorHidden};
    TestSkinDialog dlg{IDD_TEST_WIDGETS};

    WidgetSkin() {
        dlg.initChildren = [this](TestSkinDialog& d) {
            a.SubclassDlgItem(IDC_TEST_WIDGET_A, &d);
            b.SubclassDlgItem(IDC_TEST_WIDGET_B, &d);
            hidden.SubclassDlgItem(IDC_TEST_WIDGET_HIDDEN, &d);
            d.RegisterTranslucentWnd(&a);
            d.RegisterTranslucentWnd(&b);
            d.RegisterTranslucentWnd(&hidden);
        };
    }
};

TEST(TranslucentDialog, DrawsVisibleWidgetsInOrder) {
    WidgetSkin skin;
    ASSERT_TRUE(skin.dlg.Create(IDD_TEST_WIDGETS));
    EXPECT_EQ(static_cast<CTranslucentWndListener*>(&skin.dlg), skin.a.GetListener());
    EXPECT_FALSE(skin.hidden.IsVisible());
    auto surface = skin.dlg.Composite();
    ASSERT_TRUE(surface);
    const CRect ra = skin.a.RectInParent();
    const CRect rb = skin.b.RectInParent();
    const CRect rh = skin.hidden.RectInParent();
    ASSERT_TRUE(rb.PtInRect(CPoint(ra.right - 2, ra.bottom - 2)))
        << "the template overlaps A and B";
    EXPECT_EQ(kColorA, surface->PixelAt(ra.left + 2, ra.top + 2));
    EXPECT_EQ(kColorB, surface->PixelAt(ra.right - 2, ra.bottom - 2))
        << "B, registered later, covers A";
    EXPECT_EQ(kColorB, surface->PixelAt(rb.right - 2, rb.bottom - 2));
    EXPECT_NE(kColorHidden, surface->PixelAt(rh.left + 2, rh.top + 2));
    EXPECT_EQ(0, skin.hidden.renders);
}

TEST(TranslucentDialog, WidgetRequestsComposeUnlessLocked) {
    WidgetSkin skin;
    ASSERT_TRUE(skin.dlg.Create(IDD_TEST_WIDGETS));
    const int before = skin.a.renders;
    skin.b.UpdateState(); // any widget's request composes the whole image
    EXPECT_EQ(before + 1, skin.a.renders);
    skin.dlg.SetUpdateLocked(true);
    skin.b.UpdateState();
    skin.a.UpdateState();
    EXPECT_EQ(before + 1, skin.a.renders);
    skin.dlg.SetUpdateLocked(false);
    skin.a.UpdateState();
    EXPECT_EQ(before + 2, skin.a.renders);
}

TEST(TranslucentDialog, DestructionDeletesTheCompanion) {
    bool deleted = false;
    {
        TestSkinDialog dlg;
        dlg.companionDeleted = &deleted;
        ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
        HWND companion = dlg.Companion()->m_hWnd;
        dlg.DestroyWindow();
        EXPECT_FALSE(::IsWindow(companion)) << "the owned window goes with its owner";
        EXPECT_FALSE(deleted) << "the object stays until the dialog object goes";
    }
    EXPECT_TRUE(deleted);

    // A dialog object that goes while its windows still exist takes both along.
    HWND skinWnd = nullptr, companion = nullptr;
    {
        TestSkinDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
        skinWnd = dlg.m_hWnd;
        companion = dlg.Companion()->m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(companion));
    EXPECT_FALSE(::IsWindow(skinWnd));
}

TEST(TranslucentDialogLeaks, ManyPushesGiveBackTheirMemory) {
    TestSkinDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_SKIN));
    dlg.UpdateView();
    const std::size_t heapBefore = HeapBusyBytes();
    const std::size_t privateBefore = PrivateBytes();
    constexpr int kPushes = 40;
    for (int i = 0; i < kPushes; ++i)
        dlg.UpdateView();
    const std::size_t heapAfter = HeapBusyBytes();
    const std::size_t privateAfter = PrivateBytes();
    std::printf("%d pushes: heap in use %zu -> %zu bytes, process %zu -> %zu bytes\n", kPushes,
                heapBefore, heapAfter, privateBefore, privateAfter);
    // One kept surface per push would be 40 * 1.8 MB.
    const std::size_t grown = privateAfter > privateBefore ? privateAfter - privateBefore : 0;
    EXPECT_LT(grown, 8u * 1024u * 1024u);
    const std::size_t heapGrown = heapAfter > heapBefore ? heapAfter - heapBefore : 0;
    EXPECT_LT(heapGrown, 256u * 1024u);
}

} // namespace
