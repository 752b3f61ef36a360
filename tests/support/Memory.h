// Memory in use by this process, for tests that show a path gives back what it takes.
// (GetGuiResources always answers 0 under Wine, so GDI objects are seen through these.)
#pragma once
#include <cstddef>

// Bytes in use in the process heap, where GlobalAlloc and GDI+ take their memory; 0 when the
// heap cannot be walked.
std::size_t HeapBusyBytes();
// The process's private bytes as the system counts them.
std::size_t PrivateBytes();
