#include "translucent/ResourceImage.h"
#include <cstring>
#include "framework/WinApp.h"
#include "framework/ComPtr.h"

using namespace Gdiplus::DllExports;

namespace {

CGdiImagePtr LoadBitmapResource(UINT nID, HINSTANCE hModule) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    GpStatus status = Gdiplus::InvalidParameter;
    if (HBITMAP hbm = ::LoadBitmapW(hModule, MAKEINTRESOURCEW(nID))) {
        status = GdipCreateBitmapFromHBITMAP(hbm, nullptr, &bitmap);
        // GDI+ keeps its own copy of the pixels.
        ::DeleteObject(hbm);
    }
    CGdiImagePtr image(new CGdiImage(bitmap, status));
    if (!image && bitmap)
        GdipDisposeImage(bitmap);
    return image;
}

} // namespace

CGdiImagePtr LoadImageFromResource(UINT nID, LPCWSTR lpszType, HINSTANCE hModule) {
    nID &= 0xFFFF;
    if (lpszType == RT_BITMAP)
        return LoadBitmapResource(nID, hModule);
    if (!hModule)
        hModule = AfxGetResourceHandle();

    HRSRC res = ::FindResourceW(hModule, MAKEINTRESOURCEW(nID), lpszType);
    const DWORD size = res ? ::SizeofResource(hModule, res) : 0;
    HGLOBAL data = res ? ::LoadResource(hModule, res) : nullptr;
    const void* bytes = data ? ::LockResource(data) : nullptr;

    // GDI+ may go back to the stream after this returns, so the copy lives with the image.
    CGlobalBlock block;
    if (bytes && size)
        block = CGlobalBlock(GMEM_FIXED, size);
    if (void* copy = block.Lock())
        std::memcpy(copy, bytes, size);

    CComPtr<IStream> stream;
    if (block.IsLocked())
        ::CreateStreamOnHGlobal(block.Handle(), FALSE, stream.Receive());
    block.Unlock();

    Gdiplus::GpImage* native = nullptr;
    GpStatus status = Gdiplus::InvalidParameter;
    if (stream)
        status = GdipLoadImageFromStream(stream.Get(), &native);
    stream.Release();
    if (!native)
        block.Free();

    CGdiImagePtr image(new CGdiImage(native, status, std::move(block)));
    if (!image && native)
        GdipDisposeImage(native);
    return image;
}
