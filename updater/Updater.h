// The updater's whole run, from the hand-over path to the restarted launcher.
#pragma once
#include <string>

#include "updater/FileSystem.h"

struct CUpdateResult {
    enum Outcome {
        Updated,      // installed; the launcher was restarted when asked to
        NotUpdated,   // refused or failed; the launcher is as it was
        PartlyUndone, // failed, and some old file could not be put back
        NotRestarted, // installed, but the launcher could not be started again
    };
    Outcome outcome = NotUpdated;
    std::wstring reason;
    std::wstring logPath; // update.log when the reason was written there
};

// `argument` is the hand-over path, the whole argument text. `ownModule` is this
// library's file. Shows nothing: the caller tells the player.
CUpdateResult RunUpdate(const char* argument, const std::wstring& ownModule, CFileSystem& files);

// The one message for the player, by outcome; empty for Updated.
std::wstring MessageFor(const CUpdateResult& result);
