// The Start command: the game's patcher gets the chosen version file, and the launcher ends.
#include <cstdio>
#include "base/Handle.h"
#include "framework/WinApp.h"
#include "launcher/LauncherConstants.h"
#include "launcher/LauncherDlg.h"
#include "update/TextConvert.h"
#include "update/UpdateConstants.h"

using namespace zv::launcher;

CString CLauncherDlg::GetVersionFileUrl() const {
    return ::GetVersionFileUrl(m_nVersionSource);
}

namespace {

// Starts the patcher by bare name, so the system's program search finds it: the launcher's
// own folder first, then the current folder, the system folders and PATH. False when it could
// not be started (or the command would not fit its buffer).
bool StartPatcher(const char* versionFileUrl) {
    char commandLine[zv::update::kPathBuffer];
    const int length =
        std::snprintf(commandLine, sizeof commandLine, kPatcherCommand, versionFileUrl);
    if (length < 0 || static_cast<size_t>(length) >= sizeof commandLine)
        return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    // Nothing of the patcher is kept.
    CKernelHandle thread(process.hThread);
    CKernelHandle patcher(process.hProcess);
    return true;
}

} // namespace

void CLauncherDlg::OnStart() {
    const HeapText<char> url = ToAnsi(GetVersionFileUrl().c_str());
    if (!url || !StartPatcher(url.get()))
        AfxMessageBox(kPatcherFailed, 0);
    EndDialog(1);
}
