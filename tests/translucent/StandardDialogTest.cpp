#include <gtest/gtest.h>
#include <vector>
#include "tests/support/TestSurface.h"
#include "tests/translucent/TestDialogs.h"

namespace {

TEST(StandardDialog, OnlyTheDialogBackgroundTakesTheKey) {
    TestStandardDialog dlg(IDD_TEST_PLAIN, nullptr);
    ASSERT_TRUE(dlg.CreateAndShow());
    EXPECT_TRUE(dlg.IsWindowVisible());
    ASSERT_NE(nullptr, dlg.GetKeyBrush());
    LOGBRUSH lb{};
    ASSERT_TRUE(::GetObjectW(dlg.GetKeyBrush(), sizeof(lb), &lb));
    EXPECT_EQ(kTestKey, lb.lbColor);

    // The colour key is set on a layered window.
    EXPECT_NE(0u, dlg.GetExStyle() & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(dlg.m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(kTestKey, key);
    EXPECT_EQ(static_cast<DWORD>(LWA_COLORKEY), flags);

    HDC dc = ::GetDC(dlg.m_hWnd);
    auto ask = [&](UINT message, HWND control) {
        return reinterpret_cast<HBRUSH>(::SendMessageW(
            dlg.m_hWnd, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    };
    EXPECT_EQ(dlg.GetKeyBrush(), ask(WM_CTLCOLORDLG, dlg.m_hWnd));
    struct Case {
        const char* what;
        UINT message;
        int id;
    };
    const Case others[] = {
        {"static", WM_CTLCOLORSTATIC, IDC_TEST_STATIC},
        {"edit", WM_CTLCOLOREDIT, IDC_TEST_EDIT},
        {"button", WM_CTLCOLORBTN, IDC_TEST_BUTTON},
        {"list", WM_CTLCOLORLISTBOX, IDC_TEST_LIST},
    };
    for (const Case& c : others) {
        SCOPED_TRACE(c.what);
        HBRUSH brush = ask(c.message, ::GetDlgItem(dlg.m_hWnd, c.id));
        EXPECT_NE(dlg.GetKeyBrush(), brush);
        LOGBRUSH other{};
        if (brush && ::GetObjectW(brush, sizeof(other), &other)) {
            EXPECT_NE(kTestKey, other.lbColor);
        }
    }
    ::ReleaseDC(dlg.m_hWnd, dc);

    // What the dialog paints for its own background is the key colour.
    CTestSurface surface(8, 8);
    dlg.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.Hdc()));
    EXPECT_EQ(kTestKey, surface.Dc()->GetPixel(4, 4));
}

// A top-level window that only records WM_CLOSE, and whether the overlay was still up then.
class RecordingParent : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CLOSE) {
            ++closes;
            dialogVisibleAtClose = watched && ::IsWindowVisible(watched);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int closes = 0;
    bool dialogVisibleAtClose = false;
    HWND watched = nullptr;
};

struct Ending {
    const char* what;
    void (*end)(TestStandardDialog&);
    INT_PTR result;
};

const Ending kEndings[] = {
    {"OnOK", [](TestStandardDialog& d) { d.OnOK(); }, IDOK},
    {"OnCancel", [](TestStandardDialog& d) { d.OnCancel(); }, IDCANCEL},
    {"EndDialog", [](TestStandardDialog& d) { d.EndDialog(7); }, 7},
};

TEST(StandardDialog, EndingsCloseTheParentFirst) {
    for (const Ending& e : kEndings) {
        SCOPED_TRACE(e.what);
        RecordingParent parent;
        ASSERT_TRUE(
            parent.CreateEx(0, L"STATIC", L"parent", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
        TestStandardDialog dlg(IDD_TEST_PLAIN, &parent);
        dlg.action = [&](TestStandardDialog& d) {
            parent.watched = d.m_hWnd;
            e.end(d);
        };
        // The action runs inside the modal run, as a click would.
        dlg.postActionOnInit = true;
        EXPECT_EQ(e.result, dlg.DoModal());
        EXPECT_EQ(1, parent.closes);
        EXPECT_TRUE(parent.dialogVisibleAtClose) << "the parent was closed before the dialog ended";
    }
}

TEST(StandardDialog, WithoutParentOnlyTheDialogEnds) {
    for (const Ending& e : kEndings) {
        SCOPED_TRACE(e.what);
        RecordingParent bystander;
        ASSERT_TRUE(bystander.CreateEx(0, L"STATIC", L"bystander", WS_POPUP, CRect(0, 0, 50, 50),
                                       nullptr, 0));
        TestStandardDialog dlg(IDD_TEST_PLAIN, nullptr);
        dlg.action = [&](TestStandardDialog& d) { e.end(d); };
        dlg.postActionOnInit = true;
        EXPECT_EQ(e.result, dlg.DoModal());
        EXPECT_EQ(0, bystander.closes);
        EXPECT_TRUE(::IsWindow(bystander.m_hWnd));
    }
}

// The launcher's shape: a translucent dialog run modally, its overlay ended from inside.
TEST(StandardDialog, EndingTheOverlayEndsTheTranslucentParentsModalRun) {
    for (const Ending& e : kEndings) {
        SCOPED_TRACE(e.what);
        TestSkinDialog skin;
        INT_PTR overlayResult = -2;
        skin.onInit = [&](TestSkinDialog& d) {
            d.Companion()->action = [&](TestStandardDialog& o) {
                e.end(o);
                overlayResult = o.ModalResult();
            };
            d.Companion()->PostMessage(WM_TEST_ACTION);
        };
        EXPECT_EQ(IDCANCEL, skin.DoModal());
        EXPECT_EQ(e.result, overlayResult);
        EXPECT_FALSE(::IsWindow(skin.m_hWnd));
    }
}

} // namespace
