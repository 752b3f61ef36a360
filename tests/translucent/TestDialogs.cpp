#include "tests/translucent/TestDialogs.h"

void SolidWidget::Render(CGdiGraphics* pGraphics) {
    ++renders;
    const CRect rc = RectInParent();
    CGdiSolidBrush brush(m_color);
    Gdiplus::DllExports::GdipFillRectangleI(pGraphics->Native(), brush.Native(), rc.left, rc.top,
                                            rc.Width(), rc.Height());
}

CRect SolidWidget::RectInParent() const {
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

DWORD Premultiplied(ARGB argb) {
    const DWORD a = argb >> 24;
    auto channel = [a](DWORD c) { return (c * a + 127) / 255; };
    return (a << 24) | (channel((argb >> 16) & 0xFF) << 16) | (channel((argb >> 8) & 0xFF) << 8) |
           channel(argb & 0xFF);
}
