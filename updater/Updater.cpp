#include "updater/Updater.h"

#include <vector>

#include <windows.h>

#include "update/ClearFolder.h"
#include "updater/HandOver.h"
#include "updater/Install.h"
#include "updater/LauncherWait.h"
#include "updater/Package.h"
#include "updater/Text.h"
#include "updater/UpdateLog.h"
#include "updater/UpdaterConstants.h"

namespace {

CUpdateResult Failed(CUpdateResult::Outcome outcome, const std::wstring& logFolder,
                     std::wstring reason) {
    CUpdateResult result{outcome, std::move(reason), {}};
    if (AppendToUpdateLog(logFolder, L"The launcher was not updated: " + result.reason))
        result.logPath = logFolder + L"\\" + kUpdateLogName;
    return result;
}

bool StartLauncher(const CHandOver& handOver, std::wstring& reason) {
    const std::wstring exe = Widen(handOver.exePath);
    const std::wstring folder = Widen(handOver.exeDir);
    std::wstring line = L"\"" + exe + L"\"";
    std::vector<wchar_t> commandLine(line.begin(), line.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        reason = L"\"" + exe + L"\" cannot be started (" + ErrorText(GetLastError()) + L")";
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

CUpdateResult RunUpdate(const char* argument, const std::wstring& ownModule, CFileSystem& files) {
    const std::string text = argument ? argument : "";
    // Before the hand-over is trusted, its own folder is the only place for the log.
    const std::wstring argumentFolder = Widen(FolderOf(text));

    CHandOver handOver;
    std::wstring reason;
    if (!ReadHandOver(text.c_str(), handOver, reason))
        return Failed(CUpdateResult::NotUpdated, argumentFolder, reason);
    const std::wstring updateDir = Widen(handOver.updateDir);

    if (WaitForLauncher(handOver, zv::updater::kLauncherWaitSeconds * 1000, reason) !=
        LauncherWait::Ended)
        return Failed(CUpdateResult::NotUpdated, updateDir, reason);

    const CInstallRequest request{updateDir, Widen(handOver.exeDir),
                                  Widen(handOver.exePath.substr(handOver.exeDir.size() + 1)),
                                  ownModule};
    switch (InstallPackage(request, files, reason)) {
    case InstallOutcome::Installed:
        break;
    case InstallOutcome::NotInstalled:
        return Failed(CUpdateResult::NotUpdated, updateDir, reason);
    case InstallOutcome::PartlyUndone:
        return Failed(CUpdateResult::PartlyUndone, updateDir, reason);
    }

    ClearFolder(handOver.updateDir.c_str());
    RemoveDirectoryA(handOver.updateDir.c_str());
    if (handOver.restart && !StartLauncher(handOver, reason))
        return {CUpdateResult::NotRestarted, reason, {}};
    return {CUpdateResult::Updated, {}, {}};
}

std::wstring MessageFor(const CUpdateResult& result) {
    const std::wstring where = result.logPath.empty()
                                   ? std::wstring()
                                   : L"\n\nThe reason is written in \"" + result.logPath + L"\".";
    switch (result.outcome) {
    case CUpdateResult::Updated:
        return {};
    case CUpdateResult::NotUpdated:
        return L"The Zorvane launcher could not be updated and was kept as it was." + where;
    case CUpdateResult::PartlyUndone:
        return L"The Zorvane launcher could not be updated, and some of its old files could not "
               L"be put back. Please install the launcher again." +
               where;
    case CUpdateResult::NotRestarted:
        return L"The Zorvane launcher was updated but could not be started again. Please start "
               L"it yourself.";
    }
    return {};
}
