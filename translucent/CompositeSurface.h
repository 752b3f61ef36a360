// The surface one composite is drawn on: a 32-bit bottom-up DIB section (blue, green, red,
// alpha; premultiplied), all zero at first, selected into a memory context. Everything is
// released when the surface goes.
#pragma once
#include "framework/Gdi.h"

class CCompositeSurface {
public:
    // Compatible with `reference` (null: the screen). IsValid() is false when the DIB section
    // cannot be made, e.g. for a 0 by 0 size.
    CCompositeSurface(HDC reference, int width, int height);
    CCompositeSurface(const CCompositeSurface&) = delete;
    CCompositeSurface& operator=(const CCompositeSurface&) = delete;

    bool IsValid() const { return m_pBits != nullptr; }
    HDC GetSafeHdc() const { return m_dc.GetSafeHdc(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The pixel at (x, y) counted from the top-left, as 0xAARRGGBB with premultiplied colour.
    DWORD PixelAt(int x, int y) const;

private:
    CDC m_dc;
    CBitmap m_dib;
    // The DIB section can only be deleted once it is out of the context: declared last.
    CSelectObject m_selection;
    DWORD* m_pBits = nullptr;
    int m_width;
    int m_height;
};
