// A decoded bitmap kept together with the resource data it decodes from.
#pragma once
#include "base/GlobalLock.h"
#include "base/Handle.h"
#include "imaging/GdiImage.h"

class CResourceBitmap {
public:
    CResourceBitmap() = default;
    ~CResourceBitmap() { Release(); }
    CResourceBitmap(const CResourceBitmap&) = delete;
    CResourceBitmap& operator=(const CResourceBitmap&) = delete;

    // Drops what is held, then decodes resource `lpszName` of type `lpszType` from
    // `hModule` (null: the executable). TRUE when a bitmap is held afterwards; on FALSE
    // nothing is held.
    BOOL Load(LPCWSTR lpszName, LPCWSTR lpszType, HINSTANCE hModule = nullptr);
    // Destroys the bitmap, then unlocks and frees its block.
    void Release();

    // The data the bitmap decodes from, locked (m_bufferLock) while the bitmap exists.
    CGlobalMemory m_hBuffer;
    CGlobalLock m_bufferLock;
    // The decoded image, read directly by its user; empty until a load succeeds.
    CGdiImagePtr m_pBitmap;
};
