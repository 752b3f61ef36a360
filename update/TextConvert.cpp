#include "update/TextConvert.h"

#include <windows.h>

char* WideToAnsi(const wchar_t* text) {
    if (!text)
        return nullptr;
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    auto* block = static_cast<char*>(std::malloc(size > 0 ? size : 1));
    if (!block)
        return nullptr;
    block[0] = '\0';
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text, -1, block, size, nullptr, nullptr);
    return block;
}

wchar_t* AnsiToWide(const char* text) {
    if (!text)
        return nullptr;
    const int size = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, nullptr, 0);
    auto* block = static_cast<wchar_t*>(std::malloc(sizeof(wchar_t) * (size > 0 ? size : 1)));
    if (!block)
        return nullptr;
    block[0] = L'\0';
    if (size > 0)
        MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, block, size);
    return block;
}
