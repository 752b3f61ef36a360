// A colour bitmap with one see-through colour, kept ready for drawing: the see-through pixels
// are turned black and a monochrome mask marks them, so that two raster copies (mask with AND,
// bitmap with OR) put only the opaque pixels on a target.
#pragma once
#include "framework/Gdi.h"

class CMaskedBitmap {
public:
    enum Result { Ok = 0, NotABitmap = 1, NoMask = 2 };

    // Takes `bitmap` over (it is changed in place) and builds its mask. On failure nothing is
    // held and the bitmap is deleted.
    Result Attach(CBitmap bitmap, COLORREF transparent);
    void Free();

    bool IsEmpty() const { return m_bitmap.GetSafeHandle() == nullptr; }
    int Width() const { return static_cast<int>(m_dwWidth); }
    int Height() const { return static_cast<int>(m_dwHeight); }
    COLORREF TransparentColor() const { return m_crTransparent; }

    // Draws the opaque pixels at (x, y) at full size. The target's text colour must be black
    // and its background colour white for the mask to act as a mask.
    void Draw(HDC target, int x, int y) const;

private:
    CBitmap m_bitmap;
    DWORD m_dwWidth = 0;
    DWORD m_dwHeight = 0;
    CBitmap m_mask;
    COLORREF m_crTransparent = 0;
};
