// The one way resource data reaches GDI+: a private copy of the bytes in a new global block,
// and a stream over it. GDI+ decodes lazily and reads the stream long after the image is
// made, so the block must outlive the image; the stream does not free it (delete-on-release
// off), whoever decodes keeps it.
#pragma once
#include <objidl.h>
#include "base/ComPtr.h"
#include "base/Handle.h"

struct CResourceCopy {
    CGlobalMemory block;
    CComPtr<IStream> stream;
};

// Copies resource `name` of `type` in `module` (null: the executable) into a block allocated
// with `allocFlags` (GMEM_FIXED or GMEM_MOVEABLE), unlocked afterwards. Both parts are empty
// when the resource is missing or empty or no block could be had; the stream alone is empty
// when none could be made over the block.
CResourceCopy CopyResource(HINSTANCE module, LPCWSTR name, LPCWSTR type, UINT allocFlags);
