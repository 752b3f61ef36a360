// Lifetimes the framework must get right by itself: a borrowed window stays usable whatever
// happens to objects later, and a window object that deletes itself is never touched again
// once it has, not even when its creation fails.
#include "tests/framework/TestApp.h"
#include "framework/Afx.h"
#include "tests/framework/TestIds.h"
#include <gtest/gtest.h>
#include <cstddef>
#include <cstring>

namespace {

class CLateBindingDlg : public CDialog {
public:
    CLateBindingDlg() : CDialog(IDD_CONTROLS) {}
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        if (bind)
            DDX_Control(pDX, IDC_PUSH, m_push);
    }
    bool bind = false;
    CButton m_push;
};

// The order a dialog's code naturally takes: look a control up, give it an object of its own
// later, keep using what the lookup gave.
TEST(BorrowedWindow, LookupTakenBeforeTheControlGetsAnObjectStaysUsable) {
    TestApp();
    CLateBindingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS));
    HWND push = ::GetDlgItem(dlg.m_hWnd, IDC_PUSH);
    auto item = dlg.GetDlgItem(IDC_PUSH);
    auto parent = item->GetParent();

    dlg.bind = true;
    dlg.UpdateData(FALSE);
    ASSERT_EQ(CWnd::FromHandlePermanent(push), &dlg.m_push);

    EXPECT_EQ(item->GetDlgCtrlID(), IDC_PUSH);
    EXPECT_EQ(item->m_hWnd, push);
    item->SetWindowText(L"moved");
    EXPECT_EQ(dlg.m_push.GetWindowText(), L"moved");
    EXPECT_EQ(parent->m_hWnd, dlg.m_hWnd);

    // After the window is gone the borrowed value only fails, like the system's calls.
    dlg.DestroyWindow();
    EXPECT_EQ(item->GetDlgCtrlID(), 0);
    EXPECT_EQ(item->GetWindowText(), L"");
}

TEST(BorrowedWindow, MissingControlGivesAnEmptyHandle) {
    TestApp();
    CDialog dlg(IDD_EMPTY);
    ASSERT_TRUE(dlg.Create(IDD_EMPTY));
    EXPECT_FALSE(dlg.GetDlgItem(9999));
    EXPECT_TRUE(dlg.GetDlgItem(IDOK));
    dlg.DestroyWindow();
}

// Window objects that fail their own creation (WM_CREATE answers -1) and delete themselves,
// living in storage the test keeps, so that anything written there after the deletion shows.
constexpr unsigned char kFreed = 0xDD;
alignas(std::max_align_t) unsigned char g_storage[1024];
std::size_t g_deletedSize = 0;

template <class Base> class CSelfDeleting : public Base {
public:
    using Base::Base;
    static void* operator new(std::size_t size) {
        EXPECT_LE(size, sizeof g_storage);
        return g_storage;
    }
    static void operator delete(void* p, std::size_t size) {
        std::memset(p, kFreed, size);
        g_deletedSize = size;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE)
            return -1;
        return Base::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }
};

constexpr wchar_t kFailingClass[] = L"ZvFailingCreation";

struct FailingCreation {
    const char* what;
    std::size_t size;
    BOOL (*create)();
};

const FailingCreation kFailingCreations[] = {
    {"window", sizeof(CSelfDeleting<CWnd>),
     [] {
         return (new CSelfDeleting<CWnd>)
             ->CreateEx(0, kFailingClass, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
     }},
    {"dialog", sizeof(CSelfDeleting<CDialog>),
     [] { return (new CSelfDeleting<CDialog>)->Create(IDD_EMPTY); }},
};

TEST(SelfDeletingWindow, FailedCreationNeverTouchesTheDeletedObject) {
    TestApp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kFailingClass;
    ::RegisterClassW(&wc);
    for (const FailingCreation& c : kFailingCreations) {
        SCOPED_TRACE(c.what);
        std::memset(g_storage, 0, sizeof g_storage);
        g_deletedSize = 0;
        EXPECT_FALSE(c.create());
        ASSERT_EQ(g_deletedSize, c.size) << "the object deleted itself once";
        std::size_t written = 0;
        for (std::size_t i = 0; i < c.size; ++i)
            written += g_storage[i] != kFreed ? 1 : 0;
        EXPECT_EQ(written, 0u) << "bytes written to the object after its deletion";
    }
    ::UnregisterClassW(kFailingClass, ::GetModuleHandleW(nullptr));
}

} // namespace
