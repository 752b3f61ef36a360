#include <cstring>
#include <string>

#include "base/Handle.h"
#include "framework/String.h"
#include "update/PathBuffer.h"
#include "update/TextConvert.h"
#include "update/UpdateConstants.h"
#include "update/UpdateWorker.h"

using namespace zv::update;

std::wstring UpdaterCommandLine(const std::wstring& handOverPath) {
    // The framework's Format follows the platform's wide printf: %s takes wide text.
    CString command;
    command.Format(L"RUNDLL32.EXE .\\updater.dll,_ExternalUpdate@16 %s", handOverPath.c_str());
    return command;
}

int CUpdateWorker::StartUpdater(bool bRestart) {
    char exePath[kPathBuffer];
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameA(nullptr, exePath, sizeof exePath);
    if (length == 0 || length >= sizeof exePath || GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        return 1;
    exePath[length] = '\0';
    char exeDir[kPathBuffer];
    std::strcpy(exeDir, exePath);
    if (char* last = std::strrchr(exeDir, '\\'))
        *last = '\0';

    char updateDir[kPathBuffer];
    char handOverPath[kPathBuffer];
    if (!BuildPath(updateDir, {exeDir, "\\", kUpdateFolderName}) ||
        !BuildPath(handOverPath, {updateDir, "\\", kHandOverFileName}))
        return 1;

    CKernelHandle file(CreateFileA(handOverPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                   CREATE_ALWAYS, 0, nullptr));
    if (!file.IsValid())
        return 1;
    const std::string text = std::string(exePath) + "\r\n" + updateDir + "\r\n" + exeDir + "\r\n" +
                             std::to_string(GetCurrentProcessId()) + "\r\n" +
                             (bRestart ? "restart" : "no_restart") + "\r\n";
    DWORD written = 0;
    const bool whole =
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    // The updater must never read half a hand-over: one that could not be written whole
    // is not handed over at all.
    if (!file.Close() || !whole) {
        DeleteFileA(handOverPath);
        return 1;
    }

    const HeapText<wchar_t> wideHandOver = ToWide(handOverPath);
    const HeapText<wchar_t> wideExeDir = ToWide(exeDir);
    if (!wideHandOver || !wideExeDir)
        return 1;
    std::wstring command = UpdaterCommandLine(wideHandOver.get());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS | DETACHED_PROCESS, nullptr,
                        wideExeDir.get(), &startup, &process))
        return 1;
    // The launcher keeps nothing of the updater.
    CKernelHandle updaterThread(process.hThread);
    CKernelHandle updaterProcess(process.hProcess);
    SendMessageW(m_hSkin, WM_LAUNCHER_EXIT, 0, 0);
    return 0;
}
