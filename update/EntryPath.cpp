#include "update/EntryPath.h"

#include <cwchar>
#include <string_view>

#include <windows.h>

namespace {

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const wchar_t x = (a[i] >= L'a' && a[i] <= L'z') ? a[i] - L'a' + L'A' : a[i];
        if (x != b[i])
            return false;
    }
    return true;
}

bool IsReservedDeviceName(std::wstring_view segment) {
    // The device is named by what stands before the first dot, trailing blanks ignored.
    segment = segment.substr(0, segment.find(L'.'));
    while (!segment.empty() && segment.back() == L' ')
        segment.remove_suffix(1);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (EqualsIgnoreCase(segment, device))
            return true;
    }
    if (segment.size() == 4 && (EqualsIgnoreCase(segment.substr(0, 3), L"COM") ||
                                EqualsIgnoreCase(segment.substr(0, 3), L"LPT"))) {
        // Superscript one, two and three count as digits too.
        const wchar_t digit = segment[3];
        return (digit >= L'0' && digit <= L'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

bool IsPlainSegment(std::wstring_view segment) {
    if (segment.empty() || segment.back() == L'.' || segment.back() == L' ')
        return false;
    for (wchar_t c : segment) {
        if (c < 0x20 || std::wcschr(L"<>:\"/|?*", c))
            return false;
    }
    return !IsReservedDeviceName(segment);
}

} // namespace

std::wstring DecodeEntryName(const char* bytes, bool bUtf8) {
    if (!bytes || !*bytes)
        return {};
    const UINT codePage = bUtf8 ? CP_UTF8 : CP_ACP;
    const DWORD flags = bUtf8 ? MB_ERR_INVALID_CHARS : MB_PRECOMPOSED;
    const int size = MultiByteToWideChar(codePage, flags, bytes, -1, nullptr, 0);
    if (size <= 1)
        return {};
    std::wstring name(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, flags, bytes, -1, name.data(), size) != size)
        return {};
    name.pop_back();
    for (wchar_t& c : name) {
        if (c == L'/')
            c = L'\\';
    }
    return name;
}

bool IsSafeEntryPath(const wchar_t* name) {
    if (!name || !*name)
        return false;
    std::wstring_view rest(name);
    if (rest.back() == L'\\')
        rest.remove_suffix(1);
    while (true) {
        const std::size_t separator = rest.find(L'\\');
        if (!IsPlainSegment(rest.substr(0, separator)))
            return false;
        if (separator == std::wstring_view::npos)
            return true;
        rest.remove_prefix(separator + 1);
    }
}

bool IsSafeEntryPath(const char* name) {
    if (!name || !*name)
        return false;
    const std::wstring wide = DecodeEntryName(name, false);
    return !wide.empty() && IsSafeEntryPath(wide.c_str());
}
