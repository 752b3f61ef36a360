// The link label on real static controls of a test dialog, driven with real input.
#include <memory>

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "controls/HyperLink.h"
#include "tests/controls/TestIds.h"
#include "tests/support/MouseInput.h"
#include "tests/support/Pixels.h"
#include "tests/support/Pump.h"
#include "tests/support/TestDialog.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kNormal = RGB(0, 0, 255);
constexpr COLORREF kHover = RGB(255, 0, 0);

LOGFONTW FontOf(HWND hwnd) {
    LOGFONTW lf{};
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    if (font)
        ::GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

class HyperLinkTest : public ::testing::Test {
protected:
    // The labels borrow their hand cursor from the help program in the Windows folder; Wine
    // has none there, so the test puts a stand-in with the same cursor id in its place.
    static void SetUpTestSuite() {
        wchar_t windows[MAX_PATH];
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        s_helpPath = std::wstring(windows) + L"\\winhlp32.exe";
        if (::GetFileAttributesW(s_helpPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return;
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring standIn = self;
        standIn = standIn.substr(0, standIn.find_last_of(L'\\')) + L"\\winhlp32.exe";
        s_installed = ::CopyFileW(standIn.c_str(), s_helpPath.c_str(), TRUE) != FALSE;
        // Wine would load its own built-in program of that name instead of the file.
        if (s_installed)
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kWineOverrides, kHelpModule, REG_SZ, L"native",
                              sizeof(L"native"));
    }
    static void TearDownTestSuite() {
        if (s_installed) {
            ::DeleteFileW(s_helpPath.c_str());
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kWineOverrides, kHelpModule);
        }
        s_installed = false;
    }

    static constexpr const wchar_t* kWineOverrides = L"Software\\Wine\\DllOverrides";
    static constexpr const wchar_t* kHelpModule = L"winhlp32.exe";

    void TearDown() override {
        m_dlg.reset();
        ParkMouse();
    }

    // Opens the dialog; `setUp` plays the owner's OnInitDialog.
    void Open(std::function<void()> setUp = {}) {
        ParkMouse();
        m_dlg = std::make_unique<CTestDialog>(
            IDD_LINK_TEST, std::vector<std::pair<int, CWnd*>>{{IDC_LINK_A, &m_a}});
        m_dlg->SetBackground(kWhite);
        ASSERT_TRUE(m_dlg->Open(POINT{100, 100}, [&](CTestDialog&) {
            if (setUp)
                setUp();
        }));
    }

    HWND Link() const { return m_dlg->Item(IDC_LINK_A); }
    int Count(COLORREF colour) const {
        CRect rc;
        ::GetClientRect(Link(), rc);
        return CountPixels(Link(), rc, colour);
    }
    void Enter() { MoveMouse(Link(), 12, 6); }
    void Leave() { MoveMouse(m_dlg->m_hWnd, 250, 100); }

    static std::wstring s_helpPath;
    static bool s_installed;

    CHyperLink m_a;
    std::unique_ptr<CTestDialog> m_dlg;
};

std::wstring HyperLinkTest::s_helpPath;
bool HyperLinkTest::s_installed = false;

TEST_F(HyperLinkTest, WithoutSetLinkFontTheFontIsUnderlinedOnlyWhileHovered) {
    Open();
    const LOGFONTW dialogFont = FontOf(m_dlg->m_hWnd);
    LOGFONTW lf = FontOf(Link());
    EXPECT_EQ(lf.lfHeight, dialogFont.lfHeight) << "keeps the dialog font until hovered";
    EXPECT_STREQ(lf.lfFaceName, dialogFont.lfFaceName);

    for (int round = 0; round < 2; ++round) {
        Enter();
        ASSERT_TRUE(PumpUntil([&] { return FontOf(Link()).lfUnderline != 0; }, 1500))
            << "round " << round;
        lf = FontOf(Link());
        EXPECT_EQ(lf.lfHeight, 16);
        EXPECT_EQ(lf.lfWeight, 500);

        Leave();
        ASSERT_TRUE(PumpUntil([&] { return FontOf(Link()).lfUnderline == 0; }, 1500))
            << "round " << round;
        lf = FontOf(Link());
        EXPECT_EQ(lf.lfHeight, 16);
        EXPECT_EQ(lf.lfWeight, 500);
    }
}

TEST_F(HyperLinkTest, AfterSetLinkFontHoverNeverUnderlines) {
    Open([&] {
        m_a.SetLinkColours(kNormal, kNormal, kHover);
        m_a.SetLinkFont(13, 700, TRUE);
    });
    LOGFONTW lf = FontOf(Link());
    EXPECT_EQ(lf.lfHeight, 13);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 0);

    Enter();
    ASSERT_TRUE(PumpUntil([&] { return Count(kHover) > 0; }, 1500));
    lf = FontOf(Link());
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfHeight, 13);
}

struct ColourCase {
    const char* name;
    COLORREF hoverArgument;
    int hoverSysColour; // -1: the argument itself is the hover colour
};

void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << c.name;
}

class HyperLinkColourTest : public HyperLinkTest,
                            public ::testing::WithParamInterface<ColourCase> {};

TEST_P(HyperLinkColourTest, HoverColourFollowsThePointer) {
    const ColourCase& c = GetParam();
    const COLORREF hover = c.hoverSysColour < 0 ? c.hoverArgument : ::GetSysColor(c.hoverSysColour);
    ASSERT_NE(hover, kNormal);
    ASSERT_NE(hover, kWhite);
    Open([&] {
        m_a.SetLinkFont(13, 700, FALSE);
        m_a.SetLinkColours(kNormal, RGB(85, 26, 139), c.hoverArgument);
    });
    ASSERT_TRUE(PumpUntil([&] { return Count(kNormal) > 0; }, 1000));
    EXPECT_EQ(Count(hover), 0);

    Enter(); // one move
    ASSERT_TRUE(PumpUntil([&] { return Count(hover) > 0; }, 1000))
        << "no " << Hex(hover) << " text after one move";

    Leave();
    const ULONGLONG left = ::GetTickCount64();
    ASSERT_TRUE(PumpUntil([&] { return Count(hover) == 0 && Count(kNormal) > 0; }, 2000));
    const ULONGLONG elapsed = ::GetTickCount64() - left;
    std::printf("normal colour back %llu ms after the leaving move was sent\n", elapsed);
    // The hover timer ticks every 100 ms; a slow machine may add to that, not multiply it.
    EXPECT_LT(elapsed, 1000u);
}

INSTANTIATE_TEST_SUITE_P(Colours, HyperLinkColourTest,
                         ::testing::Values(ColourCase{"Given", kHover, -1},
                                           ColourCase{"AllBitsSetMeansHighlight",
                                                      static_cast<COLORREF>(-1), COLOR_HIGHLIGHT}),
                         [](const auto& info) { return std::string(info.param.name); });

// Watches a label's WM_DESTROY from outside the label: once the label has handled it, tries
// to stop the hover timer itself. KillTimer fails only for a timer that is gone already; the
// system would remove it only later, with the window.
LRESULT CALLBACK TimerWatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR ref) {
    const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_DESTROY) {
        *reinterpret_cast<int*>(ref) = ::KillTimer(hwnd, CHyperLink::kHoverTimerId) ? 1 : 0;
        ::RemoveWindowSubclass(hwnd, TimerWatch, id);
    }
    return result;
}

TEST_F(HyperLinkTest, DestroyedWhileHoveredLeavesNoTimerAndNoHover) {
    const auto setUp = [&] {
        m_a.SetLinkFont(13, 700, FALSE);
        m_a.SetLinkColours(kNormal, kNormal, kHover);
    };
    Open(setUp);
    Enter();
    ASSERT_TRUE(PumpUntil([&] { return Count(kHover) > 0; }, 1500));
    int timerLeftRunning = -1;
    ASSERT_TRUE(
        ::SetWindowSubclass(Link(), TimerWatch, 1, reinterpret_cast<DWORD_PTR>(&timerLeftRunning)));
    m_a.DestroyWindow();
    EXPECT_EQ(m_a.m_hWnd, nullptr);
    EXPECT_EQ(timerLeftRunning, 0) << "the label left its hover timer running";

    // The same object on a fresh control starts out of hover: the first move lights it.
    m_dlg.reset();
    Open(setUp);
    ASSERT_EQ(Count(kHover), 0);
    Enter();
    EXPECT_TRUE(PumpUntil([&] { return Count(kHover) > 0; }, 1500));
}

struct CursorCase {
    const char* name;
    bool flagBeforeFont;
};

void PrintTo(const CursorCase& c, std::ostream* os) {
    *os << c.name;
}

class HyperLinkCursorTest : public HyperLinkTest,
                            public ::testing::WithParamInterface<CursorCase> {};

TEST_P(HyperLinkCursorTest, HandOnlyWhenAskedForBeforeSetLinkFont) {
    ASSERT_TRUE(s_installed || ::GetFileAttributesW(s_helpPath.c_str()) != INVALID_FILE_ATTRIBUTES);
    // The hand the label should show, identified by its hot spot.
    HMODULE help = ::LoadLibraryExW(s_helpPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(help);
    ICONINFO hand{};
    ASSERT_TRUE(::GetIconInfo(::LoadCursorW(help, MAKEINTRESOURCEW(106)), &hand));
    ::DeleteObject(hand.hbmMask);
    ::DeleteObject(hand.hbmColor);
    ::FreeLibrary(help);

    Open([&] {
        m_a.m_bHandCursor = GetParam().flagBeforeFont;
        m_a.SetLinkFont(13, 700, FALSE);
        m_a.m_bHandCursor = true;
    });
    MoveMouse(m_dlg->m_hWnd, 250, 100);
    Pump(100);
    const HCURSOR before = ::GetCursor();
    Enter();
    MoveMouse(Link(), 14, 7);
    Pump(200);
    const HCURSOR over = ::GetCursor();
    ICONINFO shown{};
    const bool known = over && ::GetIconInfo(over, &shown);
    if (known) {
        ::DeleteObject(shown.hbmMask);
        ::DeleteObject(shown.hbmColor);
    }
    if (GetParam().flagBeforeFont) {
        ASSERT_TRUE(known);
        EXPECT_NE(over, before);
        EXPECT_EQ(shown.xHotspot, hand.xHotspot);
        EXPECT_EQ(shown.yHotspot, hand.yHotspot);
    } else {
        EXPECT_EQ(over, before) << "the pointer keeps the shape it had";
    }
}

INSTANTIATE_TEST_SUITE_P(Cursor, HyperLinkCursorTest,
                         ::testing::Values(CursorCase{"FlagSetBeforeSetLinkFont", true},
                                           CursorCase{"FlagSetAfterSetLinkFont", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// The label's hand cursor is a copy it made; it goes with the label.
TEST_F(HyperLinkTest, HandCursorCopyGoesWithTheLabel) {
    auto link = std::make_unique<CHyperLink>();
    ParkMouse();
    m_dlg = std::make_unique<CTestDialog>(
        IDD_LINK_TEST, std::vector<std::pair<int, CWnd*>>{{IDC_LINK_B, link.get()}});
    ASSERT_TRUE(m_dlg->Open(POINT{100, 100}, [&](CTestDialog&) {
        link->m_bHandCursor = true;
        link->SetLinkFont(13, 700, FALSE);
    }));
    const HCURSOR arrow = ::GetCursor();
    MoveMouse(m_dlg->Item(IDC_LINK_B), 12, 6);
    ASSERT_TRUE(PumpUntil([&] { return ::GetCursor() != arrow; }, 1500));
    const HCURSOR hand = ::GetCursor();
    MoveMouse(m_dlg->m_hWnd, 250, 100);
    ASSERT_TRUE(PumpUntil([&] { return ::GetCursor() != hand; }, 1500));

    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(hand, &info));
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    m_dlg.reset();
    link.reset();
    EXPECT_FALSE(::GetIconInfo(hand, &info));
}

} // namespace
