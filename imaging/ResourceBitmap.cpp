#include "imaging/ResourceBitmap.h"
#include "imaging/ResourceCopy.h"

using namespace Gdiplus::DllExports;

void CResourceBitmap::Release() {
    m_pBitmap.reset();
    m_bufferLock.Unlock();
    m_hBuffer.Close();
}

BOOL CResourceBitmap::Load(LPCWSTR lpszName, LPCWSTR lpszType, HINSTANCE hModule) {
    Release();

    CResourceCopy copy = CopyResource(hModule, lpszName, lpszType, GMEM_MOVEABLE);
    if (!copy.stream)
        return FALSE;
    m_hBuffer = std::move(copy.block);
    m_bufferLock = CGlobalLock(m_hBuffer.Get());

    Gdiplus::GpBitmap* native = nullptr;
    const GpStatus status = GdipCreateBitmapFromStream(copy.stream.Get(), &native);
    copy.stream.Release();
    m_pBitmap.reset(new CGdiImage(native, status));
    if (!m_pBitmap) {
        if (native)
            GdipDisposeImage(native);
        Release();
        return FALSE;
    }
    if (m_pBitmap->GetLastStatus() != Gdiplus::Ok || !native) {
        Release();
        return FALSE;
    }
    return TRUE;
}
