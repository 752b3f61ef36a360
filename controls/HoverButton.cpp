#include "controls/HoverButton.h"
#include <commctrl.h>
#include "controls/MemDC.h"
#include "imaging/GdiplusDraw.h"
#include "imaging/ResourceBitmap.h"

namespace {

// Each colour channel c (0 to 1) becomes 1.05 c + 0.05; alpha stays.
const Gdiplus::ColorMatrix kHoverMatrix = {{
    {1.05f, 0.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 1.05f, 0.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 1.05f, 0.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
    {0.05f, 0.05f, 0.05f, 0.0f, 1.0f},
}};

constexpr DWORD kHoverTimeMs = 1;

} // namespace

CHoverButton::CHoverButton() = default;
CHoverButton::~CHoverButton() = default;

BOOL CHoverButton::LoadFaceImage(UINT nID, LPCWSTR lpszType) {
    m_pFace = std::make_unique<CResourceBitmap>();
    return m_pFace->Load(MAKEINTRESOURCEW(nID), lpszType, nullptr);
}

void CHoverButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CHoverButton::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

LRESULT CHoverButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        return Default();
    case WM_MOUSEHOVER:
        return OnMouseHover();
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    case WM_ERASEBKGND:
        return TRUE; // every paint covers the whole button
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}

void CHoverButton::OnMouseMove() {
    if (m_bTracking)
        return;
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, kHoverTimeMs};
    m_bTracking = ::_TrackMouseEvent(&tme);
}

LRESULT CHoverButton::OnMouseHover() {
    m_bHover = TRUE;
    Invalidate();
    return 0;
}

LRESULT CHoverButton::OnMouseLeave() {
    m_bTracking = FALSE;
    m_bHover = FALSE;
    Invalidate();
    return 0;
}

HBRUSH CHoverButton::CtlColor(CDCHandle* pDC, UINT) {
    if (!m_bReady && m_pFace && m_pFace->m_pBitmap)
        ComposeLooks(pDC);
    return nullptr;
}

BOOL CHoverButton::MakeLook(CBitmapDC& look, CDCHandle* source, int cx, int cy) {
    if (!look.Create(source, cx, cy))
        return FALSE;
    return look.GetDC()->BitBlt(0, 0, cx, cy, source, 0, 0, SRCCOPY);
}

void CHoverButton::ComposeLooks(CDCHandle* pDC) {
    CRect client;
    GetClientRect(client);
    const int cx = client.Width(), cy = client.Height();
    CGdiImage* face = m_pFace->m_pBitmap.get();

    CMemDC mem(pDC, client);
    {
        CGdiGraphics graphics(mem.GetSafeHdc());

        if (m_background.IsEmpty()) {
            // What the parent shows at the button's place right now; it never changes later.
            const HWND parent = ::GetParent(m_hWnd);
            CClientDC parentDC(parent);
            CRect place;
            GetWindowRect(place);
            ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&place), 2);
            if (m_background.Create(&parentDC, cx, cy))
                m_background.GetDC()->BitBlt(0, 0, cx, cy, &parentDC, place.left, place.top,
                                             SRCCOPY);
        }
        if (m_normal.IsEmpty()) {
            mem.BitBlt(0, 0, cx, cy, m_background.GetDC(), 0, 0, SRCCOPY);
            graphics.DrawImage(face, 0, 0);
            MakeLook(m_normal, &mem, cx, cy);
        }
        if (m_pressed.IsEmpty()) {
            mem.BitBlt(0, 0, cx, cy, m_background.GetDC(), 0, 0, SRCCOPY);
            graphics.DrawImage(face, 1, 1);
            MakeLook(m_pressed, &mem, cx, cy);
        }
        if (m_hover.IsEmpty()) {
            mem.BitBlt(0, 0, cx, cy, m_background.GetDC(), 0, 0, SRCCOPY);
            CGdiImageAttributes attributes;
            attributes.SetColorMatrix(kHoverMatrix);
            const auto w = static_cast<REAL>(face->GetWidth());
            const auto h = static_cast<REAL>(face->GetHeight());
            const Gdiplus::RectF rect(0.0f, 0.0f, w, h);
            graphics.DrawImage(face, rect, rect, &attributes);
            MakeLook(m_hover, &mem, cx, cy);
        }
        if (!m_pCurrent)
            m_pCurrent = &m_normal;
        m_bReady = TRUE;
    } // the graphics object goes before the memory context copies itself out
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    if (lpDIS->itemState & ODS_SELECTED)
        m_pCurrent = &m_pressed;
    else if (m_bHover)
        m_pCurrent = &m_hover;
    else
        m_pCurrent = &m_normal;
    if (m_pCurrent->IsEmpty())
        return;
    CRect client;
    GetClientRect(client);
    CDCHandle dc(lpDIS->hDC);
    dc.BitBlt(0, 0, client.Width(), client.Height(), m_pCurrent->GetDC(), 0, 0, SRCCOPY);
}
