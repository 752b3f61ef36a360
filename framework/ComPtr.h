// An owned COM interface reference, released when the owner goes.
#pragma once
#include <unknwn.h>
#include <utility>

template <class T> class CComPtr {
public:
    CComPtr() = default;
    CComPtr(CComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    CComPtr& operator=(CComPtr&& o) noexcept {
        if (this != &o) {
            Release();
            m_p = std::exchange(o.m_p, nullptr);
        }
        return *this;
    }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;
    ~CComPtr() { Release(); }

    // Takes over a reference the caller already holds.
    static CComPtr Adopt(T* p) {
        CComPtr owner;
        owner.m_p = p;
        return owner;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Receive() {
        Release();
        return &m_p;
    }
    void Release() {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};
