// The launcher's update state: where it lives, where it fetches from, and the two versions.
//
// The launcher dialog embeds one engine and fills it on its own thread during
// initialisation (ReadOwnVersion, SetupUpdatePaths). The worker thread is then handed a
// copy: it owns that copy outright, so a dialog deleted while a download is still running
// is never touched. The engine contains no window code.
#pragma once
#include <string>

#include <windows.h>

#include "update/UpdateConstants.h"
#include "update/Version.h"

class CUpdateEngine {
public:
    // Fills m_szExeDir from the path of `module` (null: the running executable) and
    // m_vOwnVersion from its FileVersion. False, with m_szExeDir empty, when the path does
    // not fit the field; the version is read all the same.
    bool ReadOwnVersion(HMODULE module = nullptr);

    // Builds the update folder, creates it (one level; an existing folder is fine) and
    // sets the four archive addresses and paths. False, with nothing set, when
    // m_szExeDir is empty or a path would not fit the 260-byte path buffer.
    bool SetupUpdatePaths();

    // Appends the version found in the version file at `path` to m_vPublishedVersion:
    // the seven characters before the first CR LF. Nothing when the file cannot be read
    // or is empty; zeros when it has no CR LF.
    void ReadRemoteVersion(const char* path);

    // True when the published version is strictly greater than the own one.
    bool IsRemoteNewer() const;

    // Unpacks `zipPath` into `folder`, keeping entry paths, writing at most `ullLimit`
    // bytes (kVersionArchiveLimit or kPackageLimit). True only for a full success: the
    // archive opened, held at least one entry, and every entry was written and checked.
    // After a failure the folder may hold some entries in full; never a partly written
    // or unchecked file.
    static bool UnzipToFolder(const std::wstring& zipPath, const std::wstring& folder,
                              unsigned long long ullLimit);

    // The executable's folder + "\Launcher Updater" + `sub` (with its own leading
    // backslash) in narrow form; empty when it would not fit a 260-byte path buffer.
    std::string UpdateFolderPath(const char* sub) const;

    char m_szExeDir[zv::update::kExeDirBuffer] = {};
    std::wstring m_strUpdateDir;
    std::wstring m_strVersionZipUrl;
    std::wstring m_strVersionZipPath;
    std::wstring m_strLauncherZipUrl;
    std::wstring m_strLauncherZipPath;
    CVersion m_vOwnVersion;
    CVersion m_vPublishedVersion;
};

// The address of version file 1, 2 or 3 on the version-file server; empty for any other.
std::wstring GetVersionFileUrl(int nVersionSource);
