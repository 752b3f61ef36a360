// Folder creation and file times for the zip extractor.
#pragma once

#include <windows.h>

// Makes sure the folder exists, creating missing ancestors first. False when the path
// is empty or names an existing file.
bool CreateFolder(const wchar_t* path);

// Makes sure the folder that will hold the file `path` names exists. Cuts `path` at its
// last backslash in place; a path without one fails.
bool CreateParentFolder(char* path);

// Sets the file's creation and last-write times from an MS-DOS date (high word) and
// time (low word) read as local time; the last-access time is kept.
bool SetFileTimeFromDos(const wchar_t* path, DWORD dosDateTime);
// The same on a file already open for writing.
bool SetFileTimeFromDos(HANDLE file, DWORD dosDateTime);
