#include "imaging/ResourceCopy.h"
#include <cstring>
#include "base/GlobalLock.h"

CResourceCopy CopyResource(HINSTANCE module, LPCWSTR name, LPCWSTR type, UINT allocFlags) {
    CResourceCopy copy;
    HRSRC res = ::FindResourceW(module, name, type);
    const DWORD size = res ? ::SizeofResource(module, res) : 0;
    HGLOBAL data = size ? ::LoadResource(module, res) : nullptr;
    const void* bytes = data ? ::LockResource(data) : nullptr;
    if (!bytes)
        return copy;
    copy.block.Attach(::GlobalAlloc(allocFlags, size));
    {
        CGlobalLock lock(copy.block.Get());
        if (!lock.IsLocked()) {
            copy.block.Close();
            return copy;
        }
        std::memcpy(lock.Data(), bytes, size);
    }
    if (FAILED(::CreateStreamOnHGlobal(copy.block.Get(), FALSE, copy.stream.Receive())))
        copy.stream.Release();
    return copy;
}
