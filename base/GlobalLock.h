// The address of a global memory block, locked for as long as the object lives. The block
// itself stays the caller's.
#pragma once
#include <windows.h>
#include "base/Handle.h"

struct CGlobalLockTraits {
    struct Type {
        HGLOBAL block;
        void* data;
    };
    static constexpr Type Invalid() { return {nullptr, nullptr}; }
    static bool IsValid(const Type& lock) { return lock.data != nullptr; }
    static bool Close(const Type& lock) {
        // FALSE here only says the lock count reached zero.
        ::GlobalUnlock(lock.block);
        return true;
    }
};

class CGlobalLock : public CHandle<CGlobalLockTraits> {
public:
    CGlobalLock() = default;
    // Locks `block`; Data() is null when that fails.
    explicit CGlobalLock(HGLOBAL block)
        : CHandle(Type{block, block ? ::GlobalLock(block) : nullptr}) {}

    void* Data() const { return Get().data; }
    bool IsLocked() const { return IsValid(); }
    void Unlock() { Close(); }
};
