// Reading back what windows and surfaces show.
#pragma once
#include <string>

#include <windows.h>

// The pixel a window shows at a client point, read from its own device context.
COLORREF Pixel(HWND hwnd, int x, int y);
// How many pixels of a client rectangle of `hwnd` have exactly `colour`.
int CountPixels(HWND hwnd, const RECT& rc, COLORREF colour);
// True when no channel of the two colours differs by more than `tolerance`.
bool Near(COLORREF a, COLORREF b, int tolerance);
// The same for two 32-bit pixels (alpha included), such as 0xAARRGGBB values.
bool NearlyEqual(DWORD a, DWORD b, int tolerance = 1);
std::string Hex(COLORREF c);
