// Helpers shared by the toolkit's tests.
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>

// Bytes in use in the process heap, where GlobalAlloc and GDI+ take their memory.
std::size_t HeapBusyBytes();
// The process's private bytes as the system counts them.
std::size_t PrivateBytes();
// Dispatches what is queued for the calling thread, for `ms` milliseconds.
void PumpMessages(DWORD ms = 0);
// The folder people find screenshots in (build/artifacts beside the build folders).
std::wstring ArtifactsDir();
// Starts a Linux program (a command line of Linux paths and arguments) beside Wine, on the
// same display; Wine gives no handle to wait on. False when it could not be started.
bool StartLinuxCommand(const std::string& commandLine);
// Saves what the X display shows now as ArtifactsDir()\`name` (a PNG), taken from outside
// Wine with ImageMagick; returns the file's Windows path, or an empty one on failure.
std::wstring CaptureScreen(const std::wstring& name);
