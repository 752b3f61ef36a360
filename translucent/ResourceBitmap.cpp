#include "translucent/ResourceBitmap.h"
#include <cstring>
#include "framework/ComPtr.h"

using namespace Gdiplus::DllExports;

void CResourceBitmap::Release() {
    m_pBitmap.reset();
    m_hBuffer.Free();
}

BOOL CResourceBitmap::Load(LPCWSTR lpszName, LPCWSTR lpszType, HINSTANCE hModule) {
    Release();

    HRSRC res = ::FindResourceW(hModule, lpszName, lpszType);
    if (!res)
        return FALSE;
    const DWORD size = ::SizeofResource(hModule, res);
    if (!size)
        return FALSE;
    HGLOBAL data = ::LoadResource(hModule, res);
    const void* bytes = data ? ::LockResource(data) : nullptr;
    if (!bytes)
        return FALSE;

    m_hBuffer = CGlobalBlock(GMEM_MOVEABLE, size);
    void* copy = m_hBuffer.Lock();
    if (!copy) {
        m_hBuffer.Free();
        return FALSE;
    }
    std::memcpy(copy, bytes, size);
    CComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(m_hBuffer.Handle(), FALSE, stream.Receive())) || !stream) {
        m_hBuffer.Free();
        return FALSE;
    }

    Gdiplus::GpBitmap* native = nullptr;
    const GpStatus status = GdipCreateBitmapFromStream(stream.Get(), &native);
    stream.Release();
    m_pBitmap.reset(new CGdiImage(native, status));
    if (!m_pBitmap) {
        if (native)
            GdipDisposeImage(native);
        m_hBuffer.Free();
        return FALSE;
    }
    if (m_pBitmap->GetLastStatus() != Gdiplus::Ok || !native) {
        Release();
        return FALSE;
    }
    return TRUE;
}
