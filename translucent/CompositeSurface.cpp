#include "translucent/CompositeSurface.h"
#include <cstring>

namespace {

constexpr WORD kBitsPerPixel = 32; // blue, green, red, alpha

} // namespace

CCompositeSurface::CCompositeSurface(HDC reference, int width, int height)
    : m_width(width), m_height(height) {
    if (!m_dc.CreateCompatibleDC(reference) || width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    // Positive height: rows bottom-up, as UpdateLayeredWindow reads them.
    info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                      width,
                      height,
                      1,
                      kBitsPerPixel,
                      BI_RGB,
                      static_cast<DWORD>(width) * 4 * static_cast<DWORD>(height),
                      0,
                      0,
                      0,
                      0};
    void* bits = nullptr;
    m_dib.Attach(::CreateDIBSection(m_dc.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_dib.GetSafeHandle() || !bits) {
        m_dib.DeleteObject();
        return;
    }
    std::memset(bits, 0, static_cast<size_t>(width) * 4 * static_cast<size_t>(height));
    m_selection = CSelectObject(m_dc.GetSafeHdc(), m_dib.GetSafeHandle());
    m_pBits = static_cast<DWORD*>(bits);
}

DWORD CCompositeSurface::PixelAt(int x, int y) const {
    if (!m_pBits || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    ::GdiFlush();
    return m_pBits[static_cast<size_t>(m_height - 1 - y) * static_cast<size_t>(m_width) +
                   static_cast<size_t>(x)];
}
