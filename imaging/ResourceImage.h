// Decoded GDI+ images from the program's resources. GDI+ must be running.
#pragma once
#include "imaging/GdiImage.h"

// A new image from resource `nID` (low 16 bits) of type `lpszType` in `hModule`.
// A named type ("PNG") decodes from a private copy of the resource data, which the image
// keeps and frees with itself; a null module means the application's resource module, the
// executable. RT_BITMAP goes through a GDI bitmap, with `hModule` passed on as it is.
// Every failure gives an image that reads 0 by 0; null only when no wrapper could be had.
CGdiImagePtr LoadImageFromResource(UINT nID, LPCWSTR lpszType, HINSTANCE hModule = nullptr);
