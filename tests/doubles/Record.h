// How the doubles write down the way they were started, and how tests read it back.
//
// A double finds its folder in the environment variable ZV_DOUBLE_RECORDS (the launcher
// passes its environment on) and writes one file per start there,
// "<name>-<process id>.record", complete or not at all. Without the variable it writes
// nothing.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

inline constexpr wchar_t kDoubleRecordsVariable[] = L"ZV_DOUBLE_RECORDS";

struct CDoubleRecord {
    std::wstring commandLine;   // as the process was given it
    std::wstring argumentText;  // what the double takes as its argument
    std::wstring workingFolder; // the current folder at its start
    std::string handOver;       // the updater double: the bytes of the file its argument names
    bool handOverRead = false;  // ... and whether that file could be read at all
};

// Writes `record` for the double `name`; false when there is nowhere to write it.
bool WriteDoubleRecord(const wchar_t* name, const CDoubleRecord& record);

// Every record the double `name` left in `folder`, oldest first.
std::vector<CDoubleRecord> ReadDoubleRecords(const std::filesystem::path& folder,
                                             const std::wstring& name);
