// Real input on the X display through xdotool, as a user gives it: the window manager and
// Wine see the same pointer. Each call returns once the events are sent (pumping meanwhile);
// pump further to see their effects.
#pragma once
#include <string>

#include <windows.h>

// `xdotool <args>` on the display; true once it has ended.
bool Xdo(const std::wstring& args);

void MoveMouse(POINT screen);
// To client coordinates of `hwnd`.
void MoveMouse(HWND hwnd, int x, int y);
void LeftDown();
void LeftUp();
void DoubleClick();
// Puts the pointer where no test window is.
void ParkMouse();
