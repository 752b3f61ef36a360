// Every file below a folder with its bytes, to show that nothing changed.
#pragma once
#include <map>
#include <string>

#include "tests/support/TestFiles.h"

// Relative path ("/" separators) to contents; folders appear as "name/" with no contents.
using CSnapshot = std::map<std::string, std::string>;

CSnapshot Snapshot(const fs::path& root);
// What differs, one line per name ("+" only in `actual`, "-" only in `expected`, "~" other
// bytes); empty when nothing does. Binaries stay out of failure messages this way.
std::string Difference(const CSnapshot& actual, const CSnapshot& expected);
