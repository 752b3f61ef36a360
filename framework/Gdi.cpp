#include "framework/Gdi.h"
#include "framework/WinApp.h"

BOOL CBitmap::LoadBitmap(UINT id) {
    Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
    return GetSafeHandle() != nullptr;
}

void CDCHandle::FillSolidRect(LPCRECT rc, COLORREF cr) {
    // ExtTextOut with an opaque rectangle fills without making a brush.
    const COLORREF old = ::SetBkColor(m_hDC, cr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDCHandle::Draw3dRect(LPCRECT rc, COLORREF topLeft, COLORREF bottomRight) {
    const int x = rc->left, y = rc->top;
    const int cx = rc->right - rc->left, cy = rc->bottom - rc->top;
    RECT r{x, y, x + cx - 1, y + 1};
    FillSolidRect(&r, topLeft);
    r = {x, y, x + 1, y + cy - 1};
    FillSolidRect(&r, topLeft);
    r = {x + cx - 1, y, x + cx, y + cy};
    FillSolidRect(&r, bottomRight);
    r = {x, y + cy - 1, x + cx, y + cy};
    FillSolidRect(&r, bottomRight);
}

BOOL CDC::CreateCompatibleDC(HDC hdc) {
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(hdc);
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}
