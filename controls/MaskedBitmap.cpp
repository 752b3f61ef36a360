#include "controls/MaskedBitmap.h"

namespace {

// Builds the mask of `bitmap` (1 where it has colour `transparent`) and blackens those pixels
// in the bitmap itself. Returns an empty object when no mask can be made.
CBitmap BuildMask(HBITMAP bitmap, int width, int height, COLORREF transparent) {
    CBitmap mask;
    mask.Attach(::CreateBitmap(width, height, 1, 1, nullptr));
    if (!mask.GetSafeHandle())
        return mask;
    CDC colourDC, maskDC;
    colourDC.CreateCompatibleDC(static_cast<HDC>(nullptr));
    maskDC.CreateCompatibleDC(static_cast<HDC>(nullptr));
    if (!colourDC.GetSafeHdc() || !maskDC.GetSafeHdc()) {
        mask.DeleteObject();
        return mask;
    }
    CSelectObject selectColour(colourDC.GetSafeHdc(), bitmap);
    CSelectObject selectMask(maskDC.GetSafeHdc(), mask.GetSafeHandle());

    // Colour to monochrome: pixels equal to the background colour become 1.
    const COLORREF oldBk = colourDC.SetBkColor(transparent);
    maskDC.BitBlt(0, 0, width, height, &colourDC, 0, 0, SRCCOPY);
    // Monochrome to colour: 1 becomes the background colour (black), 0 the text colour (white).
    const COLORREF oldText = colourDC.SetTextColor(RGB(255, 255, 255));
    colourDC.SetBkColor(RGB(0, 0, 0));
    colourDC.BitBlt(0, 0, width, height, &maskDC, 0, 0, SRCAND);
    colourDC.SetTextColor(oldText);
    colourDC.SetBkColor(oldBk);
    return mask;
}

} // namespace

CMaskedBitmap::Result CMaskedBitmap::Attach(CBitmap bitmap, COLORREF transparent) {
    Free();
    m_bitmap = std::move(bitmap);
    m_crTransparent = transparent;
    BITMAP bm{};
    if (!m_bitmap.GetBitmap(&bm)) {
        Free();
        return NotABitmap;
    }
    m_dwWidth = static_cast<DWORD>(bm.bmWidth);
    m_dwHeight = static_cast<DWORD>(bm.bmHeight);
    m_mask = BuildMask(m_bitmap.Handle(), bm.bmWidth, bm.bmHeight, transparent);
    if (!m_mask.GetSafeHandle()) {
        Free();
        return NoMask;
    }
    return Ok;
}

void CMaskedBitmap::Free() {
    m_bitmap.DeleteObject();
    m_mask.DeleteObject();
    m_dwWidth = 0;
    m_dwHeight = 0;
    m_crTransparent = 0;
}

void CMaskedBitmap::Draw(HDC target, int x, int y) const {
    if (IsEmpty())
        return;
    CDC sourceDC;
    if (!sourceDC.CreateCompatibleDC(target))
        return;
    const int w = Width(), h = Height();
    {
        CSelectObject select(sourceDC.GetSafeHdc(), m_mask.GetSafeHandle());
        ::BitBlt(target, x, y, w, h, sourceDC.GetSafeHdc(), 0, 0, SRCAND);
    }
    CSelectObject select(sourceDC.GetSafeHdc(), m_bitmap.GetSafeHandle());
    ::BitBlt(target, x, y, w, h, sourceDC.GetSafeHdc(), 0, 0, SRCPAINT);
}
