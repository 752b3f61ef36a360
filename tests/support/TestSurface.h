// A picture in memory to draw on and read back: a 32-bit top-down DIB section, all zero at
// first, selected into a memory context for the object's life.
#pragma once
#include "framework/Gdi.h"

class CTestSurface {
public:
    CTestSurface(int width, int height);
    CTestSurface(const CTestSurface&) = delete;
    CTestSurface& operator=(const CTestSurface&) = delete;

    bool IsValid() const { return m_pBits != nullptr; }
    CDC* Dc() { return &m_dc; }
    HDC Hdc() const { return m_dc.GetSafeHdc(); }
    // The pixel at (x, y) as 0xAARRGGBB.
    DWORD At(int x, int y) const;
    // Whether any pixel of the rectangle x0..x1 by y0..y1 (ends excluded) is not zero.
    bool AnyNonZero(int x0, int y0, int x1, int y1) const;

private:
    int m_width;
    CDC m_dc;
    CBitmap m_bitmap;
    CSelectObject m_selection;
    DWORD* m_pBits = nullptr;
};
