#include "tests/support/TestSurface.h"

CTestSurface::CTestSurface(int width, int height) : m_width(width) {
    BITMAPINFO bi{};
    // A negative height: rows top-down, so (x, y) is at y * width + x.
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    if (!m_dc.CreateCompatibleDC(static_cast<HDC>(nullptr)))
        return;
    m_bitmap.Attach(CreateDIBSection(m_dc.GetSafeHdc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap.GetSafeHandle() || !bits)
        return;
    m_selection = CSelectObject(m_dc.GetSafeHdc(), m_bitmap.GetSafeHandle());
    m_pBits = static_cast<DWORD*>(bits);
}

DWORD CTestSurface::At(int x, int y) const {
    GdiFlush();
    return m_pBits[y * m_width + x];
}

bool CTestSurface::AnyNonZero(int x0, int y0, int x1, int y1) const {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (At(x, y))
                return true;
    return false;
}
