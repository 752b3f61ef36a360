// What an extraction leaves that a player could see: every file with its size, creation
// and last-write time.
#pragma once

// Prints one line per file below `folder`, sorted by path: path, size, creation time and
// last-write time (FILETIME ticks). 0 on success.
int PrintTree(const wchar_t* folder);
