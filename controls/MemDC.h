// An off-screen drawing surface for one rectangle of a target context. Callers draw into it
// at the target's own coordinates; when it goes out of scope the result lands on the target
// in one copy, so the target never shows a half-drawn state.
#pragma once
#include "framework/Gdi.h"

class CMemDC : public CDC {
public:
    // `rect` is in the target's logical coordinates; the empty rectangle means the target's
    // clip box. The surface's pixels start undefined: the first drawing must cover them.
    CMemDC(CDCHandle* pDC, CRect rect);
    // Copies the rectangle onto the target at the same place and releases the surface.
    ~CMemDC() override;

private:
    CBitmap m_bitmap;
    CSelectObject m_selection; // undone before the bitmap and the context go
    CDCHandle m_target;
    CRect m_rect;
};
