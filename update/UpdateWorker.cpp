#include "update/UpdateWorker.h"

#include <memory>
#include <new>

#include <objbase.h>

#include "framework/WinApp.h"
#include "update/ClearFolder.h"
#include "update/Download.h"
#include "update/UpdateConstants.h"

using namespace zv::update;

namespace {

// The downloads run on this thread and need COM here.
class CComApartment {
public:
    CComApartment() : m_ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;
    ~CComApartment() {
        if (m_ok)
            CoUninitialize();
    }

private:
    bool m_ok;
};

std::string Sub(const char* name) {
    return std::string("\\") + name;
}

} // namespace

void CUpdateWorker::ShowStart() {
    ShowWindow(m_hStart, SW_SHOW);
    SendMessageW(m_hDialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hStart), TRUE);
}

void CUpdateWorker::CheckForUpdate() {
    const std::string folder = m_engine.UpdateFolderPath("");
    // Without its paths (a folder too long for them) the launcher cannot update itself.
    if (folder.empty() || m_engine.m_strVersionZipUrl.empty() || m_engine.m_strUpdateDir.empty()) {
        ShowStart();
        return;
    }
    // What an earlier run left (a version file, half a package, a hand-over) is never
    // read as this server's answer nor handed to the updater.
    ClearFolder(folder.c_str());

    // The download returns within its bound whatever the server does, so Start is
    // never kept from the player by a server that hangs.
    if (SUCCEEDED(DownloadToFile(m_engine.m_strVersionZipUrl, m_engine.m_strVersionZipPath,
                                 kVersionArchiveDownload))) {
        const bool unpacked = CUpdateEngine::UnzipToFolder(
            m_engine.m_strVersionZipPath, m_engine.m_strUpdateDir, kVersionArchiveLimit);
        DeleteFileW(m_engine.m_strVersionZipPath.c_str());
        // Only an archive that unpacked whole is taken for the server's answer.
        if (unpacked) {
            const std::string versionFile =
                m_engine.UpdateFolderPath(Sub(kVersionFileName).c_str());
            m_engine.ReadRemoteVersion(versionFile.c_str());
            if (m_engine.IsRemoteNewer()) {
                DownloadAndRunUpdate();
                return;
            }
        }
    }

    ClearFolder(folder.c_str());
    RemoveDirectoryA(folder.c_str());
    ShowStart();
}

void CUpdateWorker::DownloadAndRunUpdate() {
    // No total deadline, so a slow line can finish; a server that stops sending fails.
    if (FAILED(DownloadToFile(m_engine.m_strLauncherZipUrl, m_engine.m_strLauncherZipPath,
                              kPackageDownload))) {
        ShowStart();
        return;
    }
    const bool unpacked = CUpdateEngine::UnzipToFolder(m_engine.m_strLauncherZipPath,
                                                       m_engine.m_strUpdateDir, kPackageLimit);
    DeleteFileW(m_engine.m_strLauncherZipPath.c_str());
    // The updater installs what the folder holds: half a package would leave the player
    // half a launcher. Back to Start as after a failed download.
    if (!unpacked) {
        ShowStart();
        return;
    }
    StartUpdater(true);
}

UINT __cdecl WorkerThreadProc(LPVOID pParam) {
    std::unique_ptr<CUpdateWorker> worker(static_cast<CUpdateWorker*>(pParam));
    if (!worker)
        return 0;
    CComApartment com;
    try {
        worker->CheckForUpdate();
    } catch (...) {
        // Out of memory somewhere on the road: the player still gets Start.
        worker->ShowStart();
    }
    return 0;
}

bool StartUpdateWorker(const CUpdateEngine& engine, HWND hDialog, HWND hStart, HWND hSkin) {
    // Called from the dialog's initialisation: nothing may be thrown from here.
    std::unique_ptr<CUpdateWorker> worker;
    try {
        worker = std::make_unique<CUpdateWorker>(engine, hDialog, hStart, hSkin);
    } catch (const std::bad_alloc&) {
        return false;
    }
    CWinThread* thread = AfxBeginThread(WorkerThreadProc, worker.get(), THREAD_PRIORITY_NORMAL, 0,
                                        CREATE_SUSPENDED, nullptr);
    if (!thread)
        return false;
    // The thread object deletes itself when the worker ends, which may be before
    // ResumeThread has even returned: take the handle first and never look at it again.
    const HANDLE handle = thread->m_hThread;
    worker.release();
    return ResumeThread(handle) != static_cast<DWORD>(-1);
}
