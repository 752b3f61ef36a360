#include "bench/UnzipProbe.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include <unzip.h>

#include "update/ClearFolder.h"
#include "update/TextConvert.h"
#include "update/UpdateEngine.h"
#include "update/ZipFolders.h"
#include "update/ZipSurvey.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
    std::wstring path; // below the folder, backslashes
    unsigned long dosDate;
    bool folder;
};

std::vector<Entry> ListEntries(unzFile zip) {
    std::vector<Entry> entries;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info64 info;
        char name[zv::update::kEntryNameBuffer] = {};
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0);
        HeapText<wchar_t> wide = ToWide(name);
        std::wstring path = wide.get();
        std::replace(path.begin(), path.end(), L'/', L'\\');
        entries.push_back({path, info.dosDate, path.back() == L'\\'});
    }
    return entries;
}

template <class F> double Seconds(F&& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int RunProbe(long rounds, const wchar_t* zipPath, const wchar_t* folder) {
    HeapText<char> zipNarrow = ToAnsi(zipPath);
    HeapText<char> folderNarrow = ToAnsi(folder);
    unzFile zip = unzOpen(zipNarrow.get());
    if (!zip)
        return 1;
    unz_global_info64 global{};
    unzGetGlobalInfo64(zip, &global);
    const std::vector<Entry> entries = ListEntries(zip);
    std::vector<double> full, survey, reopen;
    for (long round = 0; round < rounds; ++round) {
        ClearFolder(folderNarrow.get());
        full.push_back(Seconds(
            [&] { CUpdateEngine::UnzipToFolder(zipPath, folder, zv::update::kPackageLimit); }));
        survey.push_back(
            Seconds([&] { SurveyArchive(zip, global.number_entry, zv::update::kPackageLimit); }));
        // What setting the times through a second opening of each file would add.
        reopen.push_back(Seconds([&] {
            for (const auto& entry : entries) {
                if (!entry.folder)
                    SetFileTimeFromDos((std::wstring(folder) + L"\\" + entry.path).c_str(),
                                       entry.dosDate);
            }
        }));
    }
    unzClose(zip);
    ClearFolder(folderNarrow.get());
    std::printf("probe rounds %ld, %zu entries\n", rounds, entries.size());
    std::printf("probe UnzipToFolder in-process   %.3f s\n", Median(full));
    std::printf("probe of which the survey        %.3f s (%.1f %%)\n", Median(survey),
                100.0 * Median(survey) / Median(full));
    std::printf("probe re-opening for times       %.3f s more (%.1f %%), saved\n", Median(reopen),
                100.0 * Median(reopen) / Median(full));
    return 0;
}
