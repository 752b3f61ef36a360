// Small dialogs and widgets the toolkit's tests build on.
#pragma once
#include <functional>
#include <memory>
#include <vector>
#include "res/resource.h"
#include "tests/translucent/TestIds.h"
#include "translucent/TranslucentDialog.h"

constexpr COLORREF kTestKey = RGB(255, 0, 0);
// Posted to a test dialog to run its `action` inside its own message loop.
constexpr UINT WM_TEST_ACTION = WM_APP + 1;

// An overlay that runs a test's action when it gets WM_TEST_ACTION, and says when it goes.
class TestStandardDialog : public CStandardDialog {
public:
    TestStandardDialog(UINT nIDTemplate, CWnd* pParent, bool* pDeleted = nullptr)
        : CStandardDialog(nIDTemplate, kTestKey, pParent), m_pDeleted(pDeleted) {}
    ~TestStandardDialog() override {
        if (m_pDeleted)
            *m_pDeleted = true;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_ACTION && action) {
            action(*this);
            return 0;
        }
        if (message == WM_WINDOWPOSCHANGED &&
            (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW))
            ++hides;
        return CStandardDialog::WindowProc(message, wParam, lParam);
    }
    BOOL OnInitDialog() override {
        const BOOL result = CStandardDialog::OnInitDialog();
        if (postActionOnInit)
            PostMessage(WM_TEST_ACTION);
        return result;
    }
    INT_PTR ModalResult() const { return m_nModalResult; }

    std::function<void(TestStandardDialog&)> action;
    bool postActionOnInit = false;
    int hides = 0;

private:
    bool* m_pDeleted;
};

// A translucent dialog on a caption-less template with the launcher's skin and an overlay.
class TestSkinDialog : public CTranslucentDialog {
public:
    explicit TestSkinDialog(UINT nIDTemplate = IDD_TEST_SKIN, UINT nImageID = IDR_PNG_SKIN,
                            bool bCompanion = true)
        : CTranslucentDialog(nIDTemplate, nImageID, L"PNG"), m_bCompanion(bCompanion) {}

    BOOL OnInitDialog() override {
        CTranslucentDialog::OnInitDialog();
        OnInitChildrenWnds();
        UpdateView();
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    TestStandardDialog* Companion() const {
        return static_cast<TestStandardDialog*>(GetStandardDialog());
    }
    const BLENDFUNCTION& Blend() const { return m_blend; }

    int createCalls = 0;
    // Set by the companion object's destructor when not null.
    bool* companionDeleted = nullptr;
    std::function<void(TestSkinDialog&)> onInit;
    std::function<void(TestSkinDialog&)> initChildren;

protected:
    std::unique_ptr<CStandardDialog> CreateStandardDialog() override {
        ++createCalls;
        if (!m_bCompanion)
            return nullptr;
        return std::make_unique<TestStandardDialog>(IDD_TEST_COMPANION, this, companionDeleted);
    }
    void OnInitChildrenWnds() override {
        if (initChildren)
            initChildren(*this);
    }

private:
    bool m_bCompanion;
};

// A widget that fills its control's rectangle with one colour and counts its renders.
class SolidWidget : public CTranslucentWnd {
public:
    explicit SolidWidget(ARGB color) : m_color(color) {}
    void Render(CGdiGraphics* pGraphics) override;
    CRect RectInParent() const;
    int renders = 0;

private:
    ARGB m_color;
};

// A listener that only counts the requests it gets.
class CountingListener : public CTranslucentWndListener {
public:
    void OnRenderRequest(CTranslucentWnd*) override { ++requests; }
    int requests = 0;
};

// The 32-bit premultiplied form of a straight ARGB colour, as the composite holds it.
DWORD Premultiplied(ARGB argb);
