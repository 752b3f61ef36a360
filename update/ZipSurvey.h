// A look at a whole archive before anything of it is written.
#pragma once

#include <unzip.h>

// True when the central directory can be read to its end and holds exactly `entries`
// entries, every one of them stored or deflated and not encrypted, no two of them
// sharing compressed data, and their declared sizes add up to at most `room` bytes.
// Leaves the archive at no particular entry.
bool SurveyArchive(unzFile zip, unsigned long long entries, unsigned long long room);
