#include "updater/Install.h"

#include <algorithm>
#include <vector>

#include "base/Handle.h"
#include "updater/LauncherWait.h"
#include "updater/Package.h"
#include "updater/SetAside.h"
#include "updater/Text.h"

namespace {

// Temporary and backup names taken by someone else's files are skipped, up to this many.
constexpr int kNameAttempts = 100;
// Scanners and indexers open fresh files for a moment; a few retries ride that out.
constexpr int kBusyAttempts = 10;
constexpr DWORD kBusyPauseMs = 100;

bool IsBusy(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

template <class Operation> DWORD Retrying(Operation operation) {
    DWORD error = operation();
    for (int attempt = 1; attempt < kBusyAttempts && IsBusy(error); ++attempt) {
        Sleep(kBusyPauseMs);
        error = operation();
    }
    return error;
}

bool IsTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

std::wstring Numbered(const std::wstring& path, const wchar_t* suffix, int n) {
    return path + suffix + (n ? std::to_wstring(n) : std::wstring());
}

struct CStep {
    std::wstring source;
    std::wstring target;
    bool existed = false;
    std::wstring temp;   // the new file beside the target, once written
    std::wstring backup; // the old file, once moved aside
    bool swapped = false;
};

// What has been done so far, and how to undo it.
class CJournal {
public:
    explicit CJournal(CFileSystem& files) : m_files(files) {}
    CJournal(const CJournal&) = delete;
    CJournal& operator=(const CJournal&) = delete;
    ~CJournal() {
        if (!m_finished) {
            std::wstring ignored;
            Undo(ignored);
        }
    }

    std::vector<std::wstring> createdFolders;
    std::vector<CStep> steps;

    // Puts back every old file and removes every new one; false, with what is left where
    // in `damage`, when some old file could not be put back.
    bool Undo(std::wstring& damage);
    void Commit();

private:
    CFileSystem& m_files;
    bool m_finished = false;
};

bool CJournal::Undo(std::wstring& damage) {
    m_finished = true;
    bool whole = true;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (step->swapped) {
            if (Retrying([&] { return m_files.RemoveFile(step->target); }) != ERROR_SUCCESS) {
                damage += L" The new \"" + step->target + L"\" could not be removed.";
                if (!step->backup.empty())
                    damage += L" The old file is \"" + step->backup + L"\".";
                whole = false;
                continue;
            }
        } else if (!step->temp.empty()) {
            Retrying([&] { return m_files.RemoveFile(step->temp); });
        }
        if (!step->backup.empty() &&
            Retrying([&] { return m_files.Rename(step->backup, step->target); }) != ERROR_SUCCESS) {
            damage += L" The old \"" + step->target + L"\" is still \"" + step->backup + L"\".";
            whole = false;
        }
    }
    for (auto folder = createdFolders.rbegin(); folder != createdFolders.rend(); ++folder)
        m_files.RemoveFolder(*folder);
    return whole;
}

void CJournal::Commit() {
    m_finished = true;
    RemoveSetAside();
    for (const CStep& step : steps)
        if (!step.backup.empty() && m_files.RemoveFile(step.backup) != ERROR_SUCCESS)
            SetAside(m_files, step.backup);
}

// Every check that can be made before anything changes.
bool CheckTarget(const CInstallRequest& request, CStep& step, std::wstring& reason) {
    const DWORD attributes = GetFileAttributesW(step.target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return true;
        reason = L"\"" + step.target + L"\" cannot be looked at (" + ErrorText(error) + L")";
        return false;
    }
    step.existed = true;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        reason = L"a folder is in the way of \"" + step.target + L"\"";
        return false;
    }
    // Read-only says the file is not to be changed; checked by hand, since a program
    // running with every privilege could write it all the same.
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        reason = L"\"" + step.target + L"\" is read-only";
        return false;
    }
    if (!request.ownModule.empty() && IsSameFile(step.target, request.ownModule))
        return true;
    // Opening for writing fails for a running program or a file another program holds
    // without sharing; nothing is written.
    CKernelHandle probe(CreateFileW(step.target.c_str(), GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.IsValid()) {
        reason = L"\"" + step.target + L"\" is in use or cannot be changed (" +
                 ErrorText(GetLastError()) + L")";
        return false;
    }
    return true;
}

// The folders below targetDir that `relative` needs and that do not exist yet, outermost
// first, appended to `missing` once each.
bool FindMissingFolders(const std::wstring& targetDir, const std::wstring& relative,
                        std::vector<std::wstring>& missing, std::wstring& reason) {
    for (std::size_t at = relative.find(L'\\'); at != std::wstring::npos;
         at = relative.find(L'\\', at + 1)) {
        const std::wstring folder = targetDir + L"\\" + relative.substr(0, at);
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (std::find(missing.begin(), missing.end(), folder) == missing.end())
                missing.push_back(folder);
        } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            reason = L"a file is in the way of the folder \"" + folder + L"\"";
            return false;
        }
    }
    return true;
}

bool Prepare(const CInstallRequest& request, std::vector<CStep>& steps,
             std::vector<std::wstring>& missingFolders, std::wstring& reason) {
    std::vector<std::wstring> files;
    if (!ListPackage(request.packageDir, files, reason))
        return false;
    const auto launcher = std::find_if(files.begin(), files.end(), [&](const std::wstring& f) {
        return SameName(f, request.launcherName);
    });
    if (launcher == files.end()) {
        reason = L"the package does not hold the launcher \"" + request.launcherName + L"\"";
        return false;
    }
    // Last, so that whatever interrupts the swap leaves the old launcher to try again.
    std::rotate(launcher, launcher + 1, files.end());
    for (const std::wstring& relative : files) {
        CStep step;
        step.source = request.packageDir + L"\\" + relative;
        step.target = request.targetDir + L"\\" + relative;
        if (!FindMissingFolders(request.targetDir, relative, missingFolders, reason) ||
            !CheckTarget(request, step, reason))
            return false;
        steps.push_back(std::move(step));
    }
    return true;
}

DWORD Stage(CFileSystem& files, CStep& step) {
    for (int n = 0; n < kNameAttempts; ++n) {
        const std::wstring temp = Numbered(step.target, L".zvnew", n);
        const DWORD error = files.CopyToNewFile(step.source, temp);
        if (!IsTaken(error)) {
            if (error == ERROR_SUCCESS)
                step.temp = temp;
            return error;
        }
    }
    return ERROR_FILE_EXISTS;
}

DWORD Swap(CFileSystem& files, CStep& step) {
    if (step.existed) {
        DWORD error = ERROR_FILE_EXISTS;
        for (int n = 0; n < kNameAttempts && IsTaken(error); ++n) {
            const std::wstring backup = Numbered(step.target, L".zvold", n);
            error = Retrying([&] { return files.Rename(step.target, backup); });
            if (error == ERROR_SUCCESS)
                step.backup = backup;
        }
        if (error != ERROR_SUCCESS)
            return error;
    }
    const DWORD error = Retrying([&] { return files.Rename(step.temp, step.target); });
    step.swapped = error == ERROR_SUCCESS;
    return error;
}

InstallOutcome Fail(CJournal& journal, std::wstring& reason) {
    std::wstring damage;
    if (journal.Undo(damage))
        return InstallOutcome::NotInstalled;
    reason += L"; not every old file could be put back:" + damage;
    return InstallOutcome::PartlyUndone;
}

} // namespace

InstallOutcome InstallPackage(const CInstallRequest& request, CFileSystem& files,
                              std::wstring& reason) {
    std::vector<CStep> steps;
    std::vector<std::wstring> missingFolders;
    if (!Prepare(request, steps, missingFolders, reason))
        return InstallOutcome::NotInstalled;

    CJournal journal(files);
    for (const std::wstring& folder : missingFolders) {
        if (const DWORD error = files.CreateFolder(folder)) {
            reason = L"the folder \"" + folder + L"\" cannot be made (" + ErrorText(error) + L")";
            return Fail(journal, reason);
        }
        journal.createdFolders.push_back(folder);
    }
    journal.steps = std::move(steps);
    for (CStep& step : journal.steps) {
        if (const DWORD error = Stage(files, step)) {
            reason =
                L"the new \"" + step.target + L"\" cannot be written (" + ErrorText(error) + L")";
            return Fail(journal, reason);
        }
    }
    for (CStep& step : journal.steps) {
        if (const DWORD error = Swap(files, step)) {
            reason = L"\"" + step.target + L"\" cannot be replaced (" + ErrorText(error) + L")";
            return Fail(journal, reason);
        }
    }
    journal.Commit();
    return InstallOutcome::Installed;
}
