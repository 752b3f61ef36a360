// A push, check or radio button drawn into the translucent dialog's composite: one of five
// images for its state, and its window text centred over it. Clicks still reach the dialog
// as the control's ordinary BN_CLICKED.
#pragma once
#include <memory>
#include "translucent/TranslucentWnd.h"

class CTranslucentButton : public CTranslucentWnd {
public:
    // Image slots. An empty slot shows the normal image.
    enum Slot {
        kNormal = 0,
        kDisabled = 1,
        kHover = 2,
        kPressed = 3,
        kChecked = 4,
        kSlotCount = 5
    };

    CTranslucentButton();
    // Font, brush and format go before the images of the base.
    ~CTranslucentButton() override = default;

    void Render(CGdiGraphics* pGraphics) override;
    // Picks the image for the current flags; asks for a composite only when it changed.
    void UpdateState() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The slot the flags choose, before an empty slot falls back to the normal one.
    static Slot PickSlot(bool bHover, bool bPressed, bool bDisabled, bool bChecked);

    CGdiImage* GetCurrentImage() const { return m_pCurImage; }
    bool IsHover() const { return m_bHover; }
    bool IsPressed() const { return m_bPressed; }
    bool IsChecked() const { return m_bChecked; }
    bool IsTracking() const { return m_bTracking; }

protected:
    // WM_MOUSEMOVE: arms hover and leave tracking once; then default processing.
    LRESULT OnMouseMove();
    // WM_MOUSEHOVER / WM_MOUSELEAVE: the hover look on or off; return 0, no default processing.
    LRESULT OnMouseHover();
    LRESULT OnMouseLeave();
    // WM_LBUTTONDOWN / WM_LBUTTONUP: the pressed and checked looks; then default processing,
    // which makes the click.
    LRESULT OnLButtonDown();
    LRESULT OnLButtonUp(CPoint point);

private:
    CGdiImage* m_pCurImage = nullptr; // one of m_images, not owned
    bool m_bHover = false;
    bool m_bPressed = false;
    bool m_bChecked = false; // the look's own checked state, apart from the control's
    bool m_bTracking = false;
    CGdiStringFormat m_format;
    CGdiSolidBrush m_brush;
    std::unique_ptr<CGdiFont> m_pFont;
};
