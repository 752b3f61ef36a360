#include "update/ZipSurvey.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "update/ZipEntryData.h"

namespace {

// Where the current entry's compressed data lie in the archive file. Its local header,
// which the central directory points to, says where they start.
bool DataRange(unzFile zip, const unz_file_info64& info,
               std::pair<unsigned long long, unsigned long long>& range) {
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK)
        return false;
    const unsigned long long start = unzGetCurrentFileZStreamPos64(zip);
    unzCloseCurrentFile(zip);
    range = {start, start + info.compressed_size};
    return range.second >= start;
}

} // namespace

bool SurveyArchive(unzFile zip, unsigned long long entries, unsigned long long room) {
    std::vector<std::pair<unsigned long long, unsigned long long>> ranges;
    unsigned long long seen = 0;
    unsigned long long total = 0;
    int status = unzGoToFirstFile(zip);
    for (; status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return false;
        ++seen;
        if (!IsExtractableEntry(info) || info.uncompressed_size > room - total)
            return false;
        total += info.uncompressed_size;
        std::pair<unsigned long long, unsigned long long> range;
        if (!DataRange(zip, info, range))
            return false;
        if (range.second > range.first)
            ranges.push_back(range);
    }
    // A record that cannot be read is damage, not the end of the list.
    if (status != UNZ_END_OF_LIST_OF_FILE || seen != entries)
        return false;

    // Entries pointing into each other's data would unpack the same bytes many times.
    std::sort(ranges.begin(), ranges.end());
    for (std::size_t i = 1; i < ranges.size(); ++i) {
        if (ranges[i].first < ranges[i - 1].second)
            return false;
    }
    return true;
}
