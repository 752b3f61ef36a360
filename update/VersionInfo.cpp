#include "update/VersionInfo.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "update/TextConvert.h"

namespace {

// The key is formatted into a buffer of this size, terminator included.
constexpr std::size_t kVersionKeyBuffer = 256;

// VerQueryValueA converts text values into the space after the block, as laid out by
// GetFileVersionInfo; a resource locked in place has no such space and may be read-only.
std::vector<BYTE> CopyVersionBlock(HMODULE module) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(1), RT_VERSION);
    if (!info)
        return {};
    HGLOBAL loaded = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0)
        return {};
    std::vector<BYTE> block(size * 2 + 4, 0);
    std::memcpy(block.data(), data, size);
    return block;
}

} // namespace

std::wstring GetVersionInfoString(HMODULE module, const char* name) {
    if (!name)
        return {};
    if (!module)
        module = GetModuleHandleW(nullptr);
    std::vector<BYTE> block = CopyVersionBlock(module);
    if (block.empty())
        return {};

    char key[kVersionKeyBuffer];
    int written = 0;
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) &&
        length == 4) {
        DWORD translation = 0;
        std::memcpy(&translation, value, 4);
        const unsigned language = LOWORD(translation);
        const unsigned codePage = HIWORD(translation);
        written =
            std::snprintf(key, sizeof key, "\\StringFileInfo\\%02X%02X%02X%02X\\%s", language >> 8,
                          language & 0xFF, codePage >> 8, codePage & 0xFF, name);
    } else {
        written = std::snprintf(key, sizeof key, "\\StringFileInfo\\%04X04B0\\%s",
                                static_cast<unsigned>(GetUserDefaultLangID()), name);
    }
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof key)
        return {};

    if (!VerQueryValueA(block.data(), key, &value, &length) || !value)
        return {};
    HeapText<wchar_t> wide = ToWide(static_cast<const char*>(value));
    return wide ? std::wstring(wide.get()) : std::wstring();
}
