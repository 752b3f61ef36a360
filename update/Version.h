// Launcher versions: four one-digit components read from a text such as "3.0.0.4".
#pragma once
#include <vector>

using CVersion = std::vector<int>;

// Appends exactly four numbers, read from characters 0, 2, 4 and 6 the way atoi reads a
// one-character text; a missing or non-digit character gives 0. The list is never cleared.
void ParseVersion(CVersion& version, const char* text);

// True only when both lists hold four numbers and the published one is strictly greater
// at the first component that differs.
bool IsNewerVersion(const CVersion& published, const CVersion& own);
