#include "imaging/GdiImage.h"

using namespace Gdiplus::DllExports;

CGdiImage::CGdiImage(Gdiplus::GpImage* native, GpStatus status, CGlobalMemory backing)
    : m_pNative(native), m_lastStatus(status), m_backing(std::move(backing)) {}

CGdiImage::~CGdiImage() {
    if (m_pNative)
        GdipDisposeImage(m_pNative);
    // m_backing is freed after this body, once nothing reads from it any more.
}

void* CGdiImage::operator new(std::size_t size) noexcept {
    return GdipAlloc(size);
}

void CGdiImage::operator delete(void* p) noexcept {
    GdipFree(p);
}

GpStatus CGdiImage::SetStatus(GpStatus status) {
    if (status != Gdiplus::Ok)
        m_lastStatus = status;
    return status;
}

UINT CGdiImage::GetWidth() {
    UINT width = 0;
    if (m_pNative)
        SetStatus(GdipGetImageWidth(m_pNative, &width));
    return width;
}

UINT CGdiImage::GetHeight() {
    UINT height = 0;
    if (m_pNative)
        SetStatus(GdipGetImageHeight(m_pNative, &height));
    return height;
}

GpStatus CGdiImage::GetLastStatus() {
    const GpStatus status = m_lastStatus;
    m_lastStatus = Gdiplus::Ok;
    return status;
}
