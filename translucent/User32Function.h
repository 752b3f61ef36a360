// A USER function looked up by name at run time, for entry points that older systems lack.
// The library reference is held for as long as the object lives.
#pragma once
#include <windows.h>
#include "base/Handle.h"

template <class Fn> class CUser32Function {
public:
    explicit CUser32Function(const char* name)
        : m_module(::LoadLibraryW(L"User32.DLL")),
          m_pfn(m_module ? reinterpret_cast<Fn>(::GetProcAddress(m_module.Get(), name)) : nullptr) {
    }

    // Null when this system does not offer the function.
    Fn Get() const { return m_pfn; }

private:
    CModule m_module;
    Fn m_pfn;
};
