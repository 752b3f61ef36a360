// An owned COM interface reference, released when the owner goes.
#pragma once
#include <unknwn.h>
#include "base/Handle.h"

template <class T> struct CComTraits {
    using Type = T*;
    static constexpr Type Invalid() { return nullptr; }
    static bool IsValid(Type p) { return p != nullptr; }
    static bool Close(Type p) {
        p->Release();
        return true;
    }
};

template <class T> class CComPtr : public CHandle<CComTraits<T>> {
public:
    using CHandle<CComTraits<T>>::CHandle;

    // Takes over a reference the caller already holds.
    static CComPtr Adopt(T* p) { return CComPtr(p); }

    T* operator->() const { return this->Get(); }
    void Release() { this->Close(); }
};
