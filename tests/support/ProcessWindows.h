// Windows of another process, seen from a test.
#pragma once
#include <functional>
#include <string>

#include <windows.h>

// The first top-level window of process `pid` that `match` accepts, or null.
HWND FindProcessWindow(DWORD pid, const std::function<bool(HWND)>& match);
// A window's title and class name.
std::wstring WindowTitle(HWND hwnd);
std::wstring WindowClass(HWND hwnd);

// The visible message box of process `pid` captioned "Zorvane", or null.
HWND FindMessageBox(DWORD pid);
// The message a message box shows.
std::wstring MessageBoxText(HWND box);
