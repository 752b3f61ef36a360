#include "controls/BitmapDC.h"

BOOL CBitmapDC::Create(CDC* compatible, int cx, int cy) {
    Release();
    if (!m_dc.CreateCompatibleDC(compatible))
        return FALSE;
    if (!m_bitmap.CreateCompatibleBitmap(compatible->GetSafeHdc(), cx, cy)) {
        m_dc.DeleteDC();
        return FALSE;
    }
    m_hOldBitmap = m_dc.SelectObject(m_bitmap);
    return TRUE;
}

void CBitmapDC::Release() {
    if (m_hOldBitmap)
        m_dc.SelectObject(m_hOldBitmap);
    m_hOldBitmap = nullptr;
    m_bitmap.DeleteObject();
    m_dc.DeleteDC();
}
