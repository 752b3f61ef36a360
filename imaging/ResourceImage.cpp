#include "imaging/ResourceImage.h"
#include "imaging/ResourceCopy.h"

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
    nID = LOWORD(nID);
    if (lpszType == RT_BITMAP)
        return LoadBitmapResource(nID, hModule);
    if (!hModule)
        hModule = ::GetModuleHandleW(nullptr);

    CResourceCopy copy = CopyResource(hModule, MAKEINTRESOURCEW(nID), lpszType, GMEM_FIXED);
    Gdiplus::GpImage* native = nullptr;
    GpStatus status = Gdiplus::InvalidParameter;
    if (copy.stream)
        status = GdipLoadImageFromStream(copy.stream.Get(), &native);
    copy.stream.Release();
    if (!native)
        copy.block.Close();

    CGdiImagePtr image(new CGdiImage(native, status, std::move(copy.block)));
    if (!image && native)
        GdipDisposeImage(native);
    return image;
}
