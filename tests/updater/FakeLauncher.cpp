// Stands in for the launcher around an update, as a process the tests control.
//   (no argument)  what the updater restarts: records its working folder and command line
//                  in "started.txt" beside itself and ends
//   wait           stays until it is ended (at most a minute)
//   hold PATH      opens PATH without sharing and stays until it is ended
#include <string>

#include <windows.h>

namespace {

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\'));
}

void RecordStart() {
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::wstring record = std::wstring(cwd) + L"\n" + GetCommandLineW();
    HANDLE file = CreateFileW((OwnFolder() + L"\\started.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring mode = count > 1 ? args[1] : L"";
    const std::wstring path = count > 2 ? args[2] : L"";
    LocalFree(args);
    if (mode.empty()) {
        RecordStart();
        return 0;
    }
    HANDLE held = INVALID_HANDLE_VALUE;
    if (mode == L"hold")
        held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    // Tells the test it is ready: the file is held by now.
    if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"ZorvaneFakeLauncherReady")) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    Sleep(60000);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    return 0;
}
