#include "translucent/TranslucentButton.h"
#include <commctrl.h>

namespace {

constexpr ARGB kCaptionColour = 0xFF000000; // opaque black
constexpr wchar_t kCaptionFamily[] = L"Arial";
constexpr REAL kCaptionPoints = 12.0f;
constexpr INT kRegularStyle = 0;
constexpr DWORD kButtonTypeBits = 0xFF;

} // namespace

CTranslucentButton::CTranslucentButton()
    : m_brush(kCaptionColour),
      m_pFont(std::make_unique<CGdiFont>(kCaptionFamily, kCaptionPoints, kRegularStyle,
                                         Gdiplus::UnitPoint)) {
    m_format.SetAlignment(Gdiplus::StringAlignmentCenter);
    m_format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    m_images.resize(kSlotCount);
}

CTranslucentButton::Slot CTranslucentButton::PickSlot(bool bHover, bool bPressed, bool bDisabled,
                                                      bool bChecked) {
    // The mouse wins over every other state.
    if (bHover)
        return bPressed ? kPressed : kHover;
    if (bDisabled)
        return kDisabled;
    return bChecked ? kChecked : kNormal;
}

void CTranslucentButton::UpdateState() {
    CGdiImage* image = GetImage(PickSlot(m_bHover, m_bPressed, m_bDisabled, m_bChecked));
    if (!image)
        image = GetImage(kNormal);
    if (image == m_pCurImage)
        return;
    m_pCurImage = image;
    CTranslucentWnd::UpdateState();
}

void CTranslucentButton::Render(CGdiGraphics* pGraphics) {
    if (!m_pCurImage || !pGraphics || !m_hWnd)
        return;
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&rc), 2);
    const Gdiplus::RectF layout(static_cast<REAL>(rc.left), static_cast<REAL>(rc.top),
                                static_cast<REAL>(rc.Width()), static_cast<REAL>(rc.Height()));
    pGraphics->DrawImage(m_pCurImage, layout);
    const CString text = GetWindowText();
    if (!text.empty())
        pGraphics->DrawString(text.c_str(), static_cast<INT>(text.size()), *m_pFont, layout,
                              m_format, m_brush);
}

LRESULT CTranslucentButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        return OnMouseMove();
    case WM_MOUSEHOVER:
        return OnMouseHover();
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    case WM_LBUTTONDOWN:
        return OnLButtonDown();
    case WM_LBUTTONUP:
        return OnLButtonUp(CPoint(lParam));
    default:
        return CTranslucentWnd::WindowProc(message, wParam, lParam);
    }
}

LRESULT CTranslucentButton::OnMouseMove() {
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_bTracking = ::_TrackMouseEvent(&tme) != FALSE;
    }
    return Default();
}

LRESULT CTranslucentButton::OnMouseHover() {
    m_bHover = true;
    UpdateState();
    return 0;
}

LRESULT CTranslucentButton::OnMouseLeave() {
    m_bHover = false;
    m_bTracking = false;
    UpdateState();
    return 0;
}

LRESULT CTranslucentButton::OnLButtonDown() {
    m_bPressed = true;
    UpdateState();
    return Default();
}

LRESULT CTranslucentButton::OnLButtonUp(CPoint point) {
    m_bPressed = false;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        // The whole low byte on purpose: a check box with BS_LEFTTEXT counts as a push button.
        switch (GetStyle() & kButtonTypeBits) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            m_bChecked = !m_bChecked;
            break;
        default:
            m_bChecked = false;
            break;
        }
    } else {
        m_bHover = false;
    }
    UpdateState();
    return Default();
}
