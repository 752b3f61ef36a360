// A window outline taken from a picture: every pixel that does not match a key colour.
#pragma once
#include <windows.h>

// The region of the pixels of `bitmap` whose red, green and blue each lie outside the key's
// bounds (the key's channel ±17; 0 to 16 for a black key, 239 to 255 for a white one). The
// caller owns the region. Null without a bitmap or when the work could not be done; an
// empty region when every pixel matches.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key);
