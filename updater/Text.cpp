#include "updater/Text.h"

#include <windows.h>

#include "update/TextConvert.h"

std::wstring Widen(std::string_view text) {
    HeapText<wchar_t> wide = ToWide(std::string(text).c_str());
    return wide ? std::wstring(wide.get()) : std::wstring();
}

std::string ToUtf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                            size, nullptr, nullptr);
    return utf8;
}

std::wstring ErrorText(unsigned long error) {
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = L"error " + std::to_wstring(error);
    if (length && message) {
        std::wstring_view words(message, length);
        while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' ||
                                  words.back() == L' ' || words.back() == L'.'))
            words.remove_suffix(1);
        text += L": ";
        text += words;
    }
    LocalFree(message);
    return text;
}
