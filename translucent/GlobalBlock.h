// An owned global memory block, freed (after undoing our lock, if any) when the owner goes.
#pragma once
#include <windows.h>
#include <utility>

class CGlobalBlock {
public:
    CGlobalBlock() = default;
    // Allocates `size` bytes with `flags`; check IsEmpty() for failure.
    CGlobalBlock(UINT flags, SIZE_T size) : m_hGlobal(::GlobalAlloc(flags, size)) {}
    CGlobalBlock(CGlobalBlock&& o) noexcept
        : m_hGlobal(std::exchange(o.m_hGlobal, nullptr)),
          m_pLocked(std::exchange(o.m_pLocked, nullptr)) {}
    CGlobalBlock& operator=(CGlobalBlock&& o) noexcept {
        if (this != &o) {
            Free();
            m_hGlobal = std::exchange(o.m_hGlobal, nullptr);
            m_pLocked = std::exchange(o.m_pLocked, nullptr);
        }
        return *this;
    }
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;
    ~CGlobalBlock() { Free(); }

    HGLOBAL Handle() const { return m_hGlobal; }
    bool IsEmpty() const { return m_hGlobal == nullptr; }
    bool IsLocked() const { return m_pLocked != nullptr; }

    // Locks once; later calls return the same address. Null on failure.
    void* Lock() {
        if (!m_pLocked && m_hGlobal)
            m_pLocked = ::GlobalLock(m_hGlobal);
        return m_pLocked;
    }
    void Unlock() {
        if (m_pLocked)
            ::GlobalUnlock(m_hGlobal);
        m_pLocked = nullptr;
    }
    // Unlocks and frees; the owner is empty afterwards.
    void Free() {
        Unlock();
        if (m_hGlobal)
            ::GlobalFree(std::exchange(m_hGlobal, nullptr));
    }

private:
    HGLOBAL m_hGlobal = nullptr;
    void* m_pLocked = nullptr;
};
