#include "controls/BitmapDC.h"

BOOL CBitmapDC::Create(const CDCHandle* compatible, int cx, int cy) {
    Release();
    if (!m_dc.CreateCompatibleDC(compatible))
        return FALSE;
    if (!m_bitmap.CreateCompatibleBitmap(compatible->GetSafeHdc(), cx, cy)) {
        m_dc.DeleteDC();
        return FALSE;
    }
    m_selection = CSelectObject(m_dc.GetSafeHdc(), m_bitmap.GetSafeHandle());
    return TRUE;
}

void CBitmapDC::Release() {
    m_selection.Restore();
    m_bitmap.DeleteObject();
    m_dc.DeleteDC();
}
