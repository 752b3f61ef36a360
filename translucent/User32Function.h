// A USER function looked up by name at run time, for entry points that older systems lack.
// The library reference is held for as long as the object lives.
#pragma once
#include <windows.h>

template <class Fn> class CUser32Function {
public:
    explicit CUser32Function(const char* name)
        : m_hModule(::LoadLibraryW(L"User32.DLL")),
          m_pfn(m_hModule ? reinterpret_cast<Fn>(::GetProcAddress(m_hModule, name)) : nullptr) {}
    ~CUser32Function() {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }
    CUser32Function(const CUser32Function&) = delete;
    CUser32Function& operator=(const CUser32Function&) = delete;

    // Null when this system does not offer the function.
    Fn Get() const { return m_pfn; }

private:
    HMODULE m_hModule;
    Fn m_pfn;
};
