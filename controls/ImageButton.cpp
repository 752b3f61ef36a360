#include "controls/ImageButton.h"
#include "framework/WinApp.h"
#include <commctrl.h>

namespace {

constexpr DWORD kButtonTypeMask = 0x1F;
// The bits of the type field that BS_OWNERDRAW (0x0B) does not have: cleared, with 0x0B
// added, they leave an owner-drawn button whatever type was asked for.
constexpr DWORD kBitsOwnerDrawnLacks = 0x14;

CBitmap LoadBitmapResource(UINT id) {
    CBitmap bitmap;
    bitmap.Attach(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                               LR_DEFAULTCOLOR));
    return bitmap;
}

} // namespace

CImageButton::CImageButton() {
    // Captured once: the button keeps these colours whatever the system changes later.
    m_crColors[BkActive] = ::GetSysColor(COLOR_BTNFACE);
    m_crColors[FgActive] = ::GetSysColor(COLOR_BTNTEXT);
    m_crColors[BkFocus] = ::GetSysColor(COLOR_BTNFACE);
    m_crColors[BkIdle] = ::GetSysColor(COLOR_BTNFACE);
    m_crColors[FgIdle] = ::GetSysColor(COLOR_BTNTEXT);
}

CImageButton::~CImageButton() {
    FreeBitmaps();
}

void CImageButton::FreeBitmaps() {
    m_main.Free();
    m_idle.Free();
}

int CImageButton::SetImageBitmaps(UINT nMainId, COLORREF crMainTransparent, UINT nIdleId,
                                  COLORREF crIdleTransparent) {
    // Both are owned from here on, whichever way the set-up ends.
    CBitmap main = LoadBitmapResource(nMainId);
    CBitmap idle = nIdleId ? LoadBitmapResource(nIdleId) : CBitmap();

    FreeBitmaps();
    if (main.GetSafeHandle()) {
        if (const auto r = m_main.Attach(std::move(main), crMainTransparent); r != 0) {
            FreeBitmaps();
            return r;
        }
        if (idle.GetSafeHandle()) {
            if (const auto r = m_idle.Attach(std::move(idle), crIdleTransparent); r != 0) {
                FreeBitmaps();
                return r;
            }
        }
    }
    if (m_hWnd)
        Invalidate();
    return 0;
}

void CImageButton::SetBackgroundColor(COLORREF colour) {
    m_crColors[BkActive] = colour;
    m_crColors[BkFocus] = colour;
    m_crColors[BkIdle] = colour;
    if (m_hWnd)
        Invalidate();
}

void CImageButton::PreSubclassWindow() {
    const DWORD type = GetStyle() & kButtonTypeMask;
    m_bIsDefault = type == BS_DEFPUSHBUTTON;
    ModifyStyle(kButtonTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

LRESULT CImageButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

LRESULT CImageButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        const LRESULT result = Default();
        EndHover();
        return result;
    }
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam));
        return 0;
    case WM_ENABLE:
        OnEnable(static_cast<BOOL>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode();
    case BM_SETSTYLE:
        return OnSetStyle(wParam, lParam);
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}

HBRUSH CImageButton::CtlColor(CDCHandle*, UINT) {
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CImageButton::OnMouseMove(UINT nFlags, CPoint point) {
    Default();
    CPoint screen = point;
    ClientToScreen(&screen);
    const HWND under = ::WindowFromPoint(screen);
    // Entering with the left button held (a drag from elsewhere) does not light the button.
    if ((nFlags & MK_LBUTTON) && !m_bHover)
        return;
    // Without an active window of this thread another application has the user's attention.
    if (under == m_hWnd && ::GetActiveWindow()) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Invalidate();
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, m_hWnd, 0};
            ::_TrackMouseEvent(&tme);
        }
    } else {
        EndHover();
    }
}

LRESULT CImageButton::OnMouseLeave() {
    EndHover();
    return 0;
}

void CImageButton::OnActivate(UINT nState) {
    Default();
    if (nState == WA_INACTIVE)
        EndHover();
}

void CImageButton::OnEnable(BOOL bEnable) {
    Default();
    if (bEnable)
        return;
    // A disabled button cannot keep the focus; hand it on the way Tab would.
    const HWND parent = ::GetParent(m_hWnd);
    HWND next = parent ? ::GetNextDlgTabItem(parent, m_hWnd, FALSE) : nullptr;
    if (!next || next == m_hWnd)
        next = parent;
    if (next)
        ::SetFocus(next);
    EndHover();
}

UINT CImageButton::OnGetDlgCode() {
    const auto code = static_cast<UINT>(Default());
    return code | (m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT CImageButton::OnSetStyle(WPARAM style, LPARAM redraw) {
    const DWORD type = static_cast<DWORD>(style) & kButtonTypeMask;
    if (type == BS_DEFPUSHBUTTON)
        m_bIsDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_bIsDefault = FALSE;
    // The dialog manager sets push-button types when the default button moves; the button
    // must stay owner-drawn whatever it asks for.
    const WPARAM kept = (style & ~static_cast<WPARAM>(kBitsOwnerDrawnLacks)) | BS_OWNERDRAW;
    return DefWindowProc(BM_SETSTYLE, kept, redraw);
}

void CImageButton::EndHover() {
    if (!m_bHover)
        return;
    m_bHover = FALSE;
    if (m_hWnd)
        Invalidate();
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CDCHandle dc(lpDIS->hDC);
    m_bIsPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;

    CRect item = lpDIS->rcItem;
    dc.SetBkMode(TRANSPARENT);
    PaintBackground(&dc, &item);
    if (m_bIsPressed || m_bHover)
        PaintFrame(&dc, &item);

    const CString caption = GetWindowText();
    CRect captionRect = item;
    if (!m_main.IsEmpty()) {
        dc.SetBkColor(RGB(255, 255, 255));
        const bool useIdle = !m_idle.IsEmpty() && !m_bIsPressed && !m_bHover;
        DrawImage(&dc, useIdle ? m_idle : m_main, item, caption.IsEmpty(), &captionRect);
    }
    if (!caption.IsEmpty())
        DrawCaption(&dc, caption, captionRect);
}

DWORD CImageButton::PaintBackground(CDCHandle* pDC, RECT* rc) {
    COLORREF colour = m_crColors[BkIdle];
    if (m_bHover || m_bIsPressed)
        colour = m_crColors[BkActive];
    else if (m_bIsFocused)
        colour = m_crColors[BkFocus];
    CBrush brush;
    brush.CreateSolidBrush(colour);
    pDC->FillRect(rc, brush.Handle());
    return 0;
}

DWORD CImageButton::PaintFrame(CDCHandle* pDC, RECT* rc) {
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_bIsPressed)
        pDC->Draw3dRect(rc, shadow, light);
    else
        pDC->Draw3dRect(rc, light, shadow);
    return 0;
}

void CImageButton::DrawImage(CDCHandle* pDC, const CMaskedBitmap& image, const CRect& item,
                             bool noCaption, CRect* caption) const {
    const int w = image.Width(), h = image.Height();
    int left = item.left;
    // An image beside a caption stands at the left edge, even when the caption is blank.
    if (noCaption)
        left += (item.Width() - w) / 2;
    else
        caption->left += w;
    int top = item.top + (item.Height() - h) / 2;
    if (m_bIsPressed) {
        ++left;
        ++top;
    }
    // The mask copy turns opaque pixels black only with black text on a white background;
    // the parent may have left other colours in the context.
    const COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
    image.Draw(pDC->GetSafeHdc(), left, top);
    pDC->SetTextColor(oldText);
}

void CImageButton::DrawCaption(CDCHandle* pDC, const CString& text, CRect rc) const {
    if (m_bIsPressed)
        rc.OffsetRect(1, 1);
    CRect measured = rc;
    pDC->DrawText(text, -1, measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    measured.OffsetRect((rc.Width() - measured.Width()) / 2, (rc.Height() - measured.Height()) / 2);
    pDC->SetBkMode(TRANSPARENT);
    if (m_bIsDisabled) {
        measured.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
    } else {
        pDC->SetTextColor(m_bHover || m_bIsPressed ? m_crColors[FgActive] : m_crColors[FgIdle]);
    }
    pDC->DrawText(text, -1, measured, DT_WORDBREAK | DT_CENTER);
}
