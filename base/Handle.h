// One owner for every kind of handle: move-only, released in its destructor, never turned
// into a raw handle by itself. A traits type says what the handle is and how it goes:
//
//     struct CThingTraits {
//         using Type = HTHING;
//         static constexpr Type Invalid() { return nullptr; }   // what an empty owner holds
//         static bool IsValid(Type h) { return h != nullptr; }  // what counts as a handle
//         static bool Close(Type h) { return ::CloseThing(h) != FALSE; }
//     };
//     using CThing = CHandle<CThingTraits>;
#pragma once
#include <windows.h>
#include <utility>

template <class Traits> class CHandle {
public:
    using Type = typename Traits::Type;

    CHandle() noexcept = default;
    // Takes over `h`, which the caller must not release any more.
    explicit CHandle(Type h) noexcept : m_h(h) {}
    CHandle(CHandle&& o) noexcept : m_h(o.Detach()) {}
    CHandle& operator=(CHandle&& o) noexcept {
        if (this != &o)
            Attach(o.Detach());
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Close(); }

    // Borrowed: valid while the owner holds it.
    Type Get() const noexcept { return m_h; }
    bool IsValid() const noexcept { return Traits::IsValid(m_h); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Releases what is held and takes over `h`.
    void Attach(Type h) noexcept {
        Close();
        m_h = h;
    }
    // Gives up ownership without releasing; the owner is empty afterwards.
    [[nodiscard]] Type Detach() noexcept { return std::exchange(m_h, Traits::Invalid()); }
    // Releases what is held; false only when the release itself failed.
    bool Close() noexcept {
        const Type h = Detach();
        return !Traits::IsValid(h) || Traits::Close(h);
    }
    // For out-parameters: releases what is held and hands out the empty slot.
    Type* Receive() noexcept {
        Close();
        return &m_h;
    }

private:
    Type m_h = Traits::Invalid();
};

// Kernel objects closed with CloseHandle: files, processes, threads, events, mutexes, access
// tokens. Some calls fail with null, others (CreateFile) with INVALID_HANDLE_VALUE; neither is
// a handle to close.
struct CKernelHandleTraits {
    using Type = HANDLE;
    static constexpr Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return ::CloseHandle(h) != FALSE; }
};
using CKernelHandle = CHandle<CKernelHandleTraits>;

// A folder listing of FindFirstFile, ended with FindClose.
struct CFindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static bool Close(Type h) { return ::FindClose(h) != FALSE; }
};
using CFindHandle = CHandle<CFindHandleTraits>;

// Handles that are null when there is none and go with one call answering BOOL.
template <class T, BOOL(WINAPI* Release)(T)> struct CNullHandleTraits {
    using Type = T;
    static constexpr Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static bool Close(Type h) { return Release(h) != FALSE; }
};

// A library reference of LoadLibrary.
using CModule = CHandle<CNullHandleTraits<HMODULE, ::FreeLibrary>>;

// A cursor this program made (CopyIcon, CreateCursor). Cursors loaded from resources belong
// to their module and are never destroyed.
using CCursor = CHandle<CNullHandleTraits<HCURSOR, ::DestroyCursor>>;

// A block of GlobalAlloc (see CGlobalLock for its address).
struct CGlobalMemoryTraits {
    using Type = HGLOBAL;
    static constexpr Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static bool Close(Type h) { return ::GlobalFree(h) == nullptr; }
};
using CGlobalMemory = CHandle<CGlobalMemoryTraits>;
