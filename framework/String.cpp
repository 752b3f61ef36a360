#include "framework/String.h"
#include "framework/WinApp.h"
#include <cstdarg>
#include <cwchar>

void CString::Format(LPCWSTR fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int n = _vscwprintf(fmt, copy);
    va_end(copy);
    if (n < 0) {
        clear();
        va_end(args);
        return;
    }
    resize(static_cast<size_t>(n) + 1);
    _vsnwprintf(data(), size(), fmt, args);
    resize(static_cast<size_t>(n));
    va_end(args);
}

bool CString::LoadString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the call returns a read-only pointer into the resource.
    const int n = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) {
        clear();
        return false;
    }
    assign(text, static_cast<size_t>(n));
    return true;
}
