// Installing the unpacked package over the launcher's files, all or nothing.
//
// How it works: every check is made before anything changes (the launcher is in the
// package; no target is a folder, read-only or held by another program). Then each new
// file is written completely beside its target under a temporary name. Only when all of
// them are on the disk are the targets swapped, one rename each: the old file to a backup
// name, the new one into its place, the launcher's executable last so that an
// interruption leaves the old launcher, which will find the update again. The backups
// go once every file is in place. Any failure undoes the steps taken, newest first: every
// old file returns to its name and every new file and created folder goes.
#pragma once
#include <string>

#include "updater/FileSystem.h"

struct CInstallRequest {
    std::wstring packageDir;   // the update folder holding the unpacked package
    std::wstring targetDir;    // the launcher's folder
    std::wstring launcherName; // the launcher's executable, which the package must hold
    std::wstring ownModule;    // the running updater library: renamed, never probed
};

enum class InstallOutcome {
    Installed,
    NotInstalled, // nothing changed, or every change was undone
    PartlyUndone, // some old file could not be put back; `reason` says where it is
};

InstallOutcome InstallPackage(const CInstallRequest& request, CFileSystem& files,
                              std::wstring& reason);
