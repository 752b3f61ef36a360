// Move-only owner of a kernel file handle.
#pragma once
#include <utility>

#include <windows.h>

class CFileHandle {
public:
    CFileHandle() = default;
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    CFileHandle(CFileHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
    CFileHandle& operator=(CFileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_handle = std::exchange(other.m_handle, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    ~CFileHandle() { Close(); }

    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }
    // True when the handle was closed without error (or there was none).
    bool Close() {
        if (!IsValid())
            return true;
        return CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != FALSE;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
