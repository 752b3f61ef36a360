// Archive entry names: how their bytes are read, and which may be written below a
// destination folder.
#pragma once
#include <string>

// The entry name `bytes` as text: UTF-8 when the entry carries the UTF-8 flag (general
// purpose bit 11), else the system's ANSI code page; "/" becomes "\". Empty when the
// bytes are not valid in their encoding.
std::wstring DecodeEntryName(const char* bytes, bool bUtf8);

// `name` uses backslashes as separators. A safe name is one or more plain file or
// folder names joined by single backslashes (a folder entry may end with one), so
// that it can only ever name something inside the destination, under exactly that
// name. Refused: an empty name, a leading separator (root, UNC and device paths), any
// ':' (drives, alternate data streams), empty segments, segments ending in a dot or a
// blank (Windows would drop those, so "a.txt." would land on "a.txt" and ".." climb),
// control characters, wildcard or quoting characters, and reserved device names.
bool IsSafeEntryPath(const wchar_t* name);
// The same for a name in the system's ANSI code page.
bool IsSafeEntryPath(const char* name);
