// GDI+ for the imaging layer and its users: the flat API and its types. None of the C++
// wrapper classes is used.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

using Gdiplus::ARGB;
using Gdiplus::GpStatus;
using Gdiplus::REAL;
