// A memory device context with a bitmap of its own selected for the object's whole life:
// a picture that can be copied from and drawn into any time.
#pragma once
#include "framework/Gdi.h"

class CBitmapDC {
public:
    CBitmapDC() = default;
    CBitmapDC(const CBitmapDC&) = delete;
    CBitmapDC& operator=(const CBitmapDC&) = delete;

    // Makes a context compatible with `compatible` holding a compatible bitmap of cx by cy;
    // FALSE (and nothing held) when either cannot be made.
    BOOL Create(const CDCHandle* compatible, int cx, int cy);
    // Deselects and deletes the bitmap, then the context.
    void Release();

    bool IsEmpty() const { return m_dc.GetSafeHdc() == nullptr; }
    CDC* GetDC() { return &m_dc; }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CSelectObject m_selection; // undone before the bitmap and the context go
};
