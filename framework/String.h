// Wide window text and addresses: a thin layer over std::wstring with the framework's name.
#pragma once
#include <windows.h>
#include <string>

class CString : public std::wstring {
public:
    using std::wstring::wstring;
    CString() = default;
    CString(const std::wstring& s) : std::wstring(s) {}
    CString(std::wstring&& s) : std::wstring(std::move(s)) {}
    CString(LPCWSTR s) : std::wstring(s ? s : L"") {}

    bool IsEmpty() const { return empty(); }
    int GetLength() const { return static_cast<int>(size()); }
    operator LPCWSTR() const { return c_str(); }
    void Empty() { clear(); }

    // printf-style formatting; the result is cut at nothing (it grows as needed).
    void Format(LPCWSTR fmt, ...);
    // Loads a string resource of the application's module; false when it is missing.
    bool LoadString(UINT id);
};
