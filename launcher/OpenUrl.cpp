#include "launcher/OpenUrl.h"
#include <shellapi.h>
#include <vector>

namespace {

constexpr int kValueChars = MAX_PATH;
constexpr int kCommandChars = 2 * MAX_PATH;

// Ends `command` where its placeholder starts: the quoted one if present, else the bare one.
void CutAtPlaceholder(LPWSTR command) {
    if (wchar_t* at = ::wcsstr(command, L"\"%1\"")) {
        *at = L'\0';
        return;
    }
    if (wchar_t* at = ::wcsstr(command, L"%1"))
        *at = L'\0';
}

} // namespace

LONG GetRegKey(HKEY root, LPCWSTR subKey, LPWSTR value) {
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, &key);
    if (result != ERROR_SUCCESS)
        return result;
    wchar_t data[kValueChars];
    // Bytes, not characters: a value of 130 characters or more does not fit.
    LONG size = kValueChars;
    result = ::RegQueryValueW(key, nullptr, data, &size);
    if (result == ERROR_SUCCESS)
        ::lstrcpyW(value, data);
    ::RegCloseKey(key);
    return result;
}

INT_PTR OpenUrl(LPCWSTR url, int showCmd) {
    const auto shell = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, showCmd));
    if (shell > 32)
        return shell;

    wchar_t command[kCommandChars];
    if (GetRegKey(HKEY_CLASSES_ROOT, L".htm", command) != ERROR_SUCCESS)
        return shell;
    ::lstrcatW(command, L"\\shell\\open\\command");
    if (GetRegKey(HKEY_CLASSES_ROOT, command, command) != ERROR_SUCCESS)
        return shell;
    CutAtPlaceholder(command);
    // The command is at most 129 characters; an address longer than the rest is refused
    // rather than written past the buffer.
    if (::lstrlenW(command) + 1 + ::lstrlenW(url) >= kCommandChars)
        return shell;
    ::lstrcatW(command, L" ");
    ::lstrcatW(command, url);

    const int length = ::lstrlenW(command);
    std::vector<char> narrow(static_cast<size_t>(length) * 2 + 2);
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, command, -1, narrow.data(),
                          static_cast<int>(narrow.size()), nullptr, nullptr);
    return static_cast<INT_PTR>(::WinExec(narrow.data(), static_cast<UINT>(showCmd)));
}
