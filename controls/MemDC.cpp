#include "controls/MemDC.h"

CMemDC::CMemDC(CDCHandle* pDC, CRect rect) : m_target(*pDC), m_rect(rect) {
    CreateCompatibleDC(pDC);
    if (m_rect == CRect())
        pDC->GetClipBox(&m_rect);
    if (m_bitmap.CreateCompatibleBitmap(pDC->GetSafeHdc(), m_rect.Width(), m_rect.Height()))
        m_selection = CSelectObject(GetSafeHdc(), m_bitmap.GetSafeHandle());
    SetWindowOrg(m_rect.left, m_rect.top);
}

CMemDC::~CMemDC() {
    // Without a bitmap of our own the copy would paint the memory context's 1x1 stock bitmap
    // over the target; leaving the target untouched is the only honest result.
    if (m_selection.IsSelected())
        m_target.BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left,
                        m_rect.top, SRCCOPY);
}
