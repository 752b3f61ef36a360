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
