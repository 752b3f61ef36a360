// The entry point RUNDLL32.EXE calls: "RUNDLL32.EXE .\updater.dll,_ExternalUpdate@16 PATH".
#include <windows.h>

#include "updater/Updater.h"

namespace {

std::wstring ModulePath(HMODULE module) {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    return path;
}

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

} // namespace

// Exported as _ExternalUpdate@16 (see the module-definition files).
extern "C" void CALLBACK ExternalUpdate(HWND, HINSTANCE, LPSTR argument, int) {
    CUpdateResult result;
    try {
        CFileSystem files;
        result = RunUpdate(argument, ModulePath(ThisModule()), files);
    } catch (...) {
        // Only memory can run out here; the installation undoes itself as it unwinds.
        result.outcome = CUpdateResult::NotUpdated;
    }
    const std::wstring message = MessageFor(result);
    if (!message.empty())
        MessageBoxW(nullptr, message.c_str(), L"Zorvane",
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}
