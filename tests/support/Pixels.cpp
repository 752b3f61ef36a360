#include "tests/support/Pixels.h"

#include <cstdio>
#include <cstdlib>

#include "framework/Gdi.h"

COLORREF Pixel(HWND hwnd, int x, int y) {
    CClientDC dc(hwnd);
    return dc.GetPixel(x, y);
}

int CountPixels(HWND hwnd, const RECT& rc, COLORREF colour) {
    CClientDC dc(hwnd);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += dc.GetPixel(x, y) == colour ? 1 : 0;
    return n;
}

bool NearlyEqual(DWORD a, DWORD b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance)
            return false;
    }
    return true;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    // A COLORREF's top byte is 0 in both, so it never differs.
    return NearlyEqual(a, b, tolerance);
}

std::string Hex(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof(text), "rgb(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}
