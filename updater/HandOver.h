// The hand-over file the launcher writes for the updater, read and checked.
#pragma once
#include <string>
#include <string_view>

#include <windows.h>

struct CHandOver {
    std::string exePath;   // line 1: the launcher's executable
    std::string updateDir; // line 2: exeDir + "\Launcher Updater", where the package lies
    std::string exeDir;    // line 3: the folder of exePath, no trailing backslash
    DWORD processId = 0;   // line 4
    bool restart = false;  // line 5: "restart" or "no_restart"
    FILETIME written{};    // when the launcher wrote the file
};

// Accepts `bytes` only as exactly five CR LF lines that agree with each other and with
// `argument`, the path the updater was given: line 3 is the folder of line 1, line 2 is
// line 3 + "\Launcher Updater", and `argument` is line 2 + "\ud_data.txt". Paths are
// absolute and fit the launcher's 260-byte buffers. On refusal `reason` says why.
bool ParseHandOver(std::string_view argument, std::string_view bytes, CHandOver& handOver,
                   std::wstring& reason);

// Reads the file `argument` names and parses it as above.
bool ReadHandOver(const char* argument, CHandOver& handOver, std::wstring& reason);

// The folder part of a narrow path (before its last backslash); empty without one.
std::string_view FolderOf(std::string_view path);
