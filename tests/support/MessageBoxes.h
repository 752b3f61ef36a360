// Message boxes of another process, seen from a test: the launcher and the updater show
// theirs captioned "Zorvane".
#pragma once
#include <string>

#include <windows.h>

// The visible message box of process `id` captioned "Zorvane", or null.
HWND FindMessageBox(DWORD id);
// The message a message box shows.
std::wstring MessageBoxText(HWND box);
