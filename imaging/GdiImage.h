// A decoded GDI+ image: the native image, the status of the last failing call made on it,
// and the memory block the native image may still read from. An image whose load failed
// has no native image, reads as 0 by 0 and draws nothing.
#pragma once
#include <cstddef>
#include <memory>
#include "base/Handle.h"
#include "imaging/Gdiplus.h"

class CGdiImage {
public:
    // Takes `native` (may be null) and the block it decodes from (may be empty); `status` is
    // the result of the call that made it.
    CGdiImage(Gdiplus::GpImage* native, GpStatus status, CGlobalMemory backing = {});
    // Disposes the native image before its backing block is freed.
    ~CGdiImage();
    CGdiImage(const CGdiImage&) = delete;
    CGdiImage& operator=(const CGdiImage&) = delete;

    // The wrappers live in GDI+'s own heap; null (no wrapper) when that heap cannot give one.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* p) noexcept;

    Gdiplus::GpImage* GetNativeImage() const { return m_pNative; }
    UINT GetWidth();
    UINT GetHeight();
    // The last failing call's status, cleared by reading it.
    GpStatus GetLastStatus();

private:
    GpStatus SetStatus(GpStatus status);

    Gdiplus::GpImage* m_pNative;
    GpStatus m_lastStatus;
    CGlobalMemory m_backing;
};

using CGdiImagePtr = std::unique_ptr<CGdiImage>;
