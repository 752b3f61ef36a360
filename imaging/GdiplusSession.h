// GDI+ running for as long as a session object holds its token.
#pragma once
#include "base/Handle.h"
#include "imaging/Gdiplus.h"

struct CGdiplusTokenTraits {
    using Type = ULONG_PTR;
    static constexpr Type Invalid() { return 0; }
    static bool IsValid(Type token) { return token != 0; }
    static bool Close(Type token) {
        Gdiplus::GdiplusShutdown(token);
        return true;
    }
};
using CGdiplusSession = CHandle<CGdiplusTokenTraits>;

// Starts GDI+ (version 1, with its background thread and external codecs); the session is
// empty when GDI+ did not start.
CGdiplusSession StartGdiplus();
