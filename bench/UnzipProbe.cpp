#include "bench/UnzipProbe.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include <unzip.h>

#include "update/ClearFolder.h"
#include "update/FileHandle.h"
#include "update/TextConvert.h"
#include "update/UpdateEngine.h"
#include "update/ZipFolders.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
    std::string path; // below the folder, backslashes
    unsigned long dosDate;
    bool folder;
};

std::vector<Entry> ListEntries(unzFile zip) {
    std::vector<Entry> entries;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info info;
        char name[261] = {};
        unzGetCurrentFileInfo(zip, &info, name, 260, nullptr, 0, nullptr, 0);
        std::string path(name);
        std::replace(path.begin(), path.end(), '/', '\\');
        entries.push_back({path, info.dosDate, (info.external_fa & 0x10) != 0});
    }
    return entries;
}

// The extractor's copy loop without the time setting, with a buffer of `size` bytes.
void CopyAll(unzFile zip, const std::string& folder, std::size_t size) {
    std::vector<char> buffer(size);
    int status = unzGoToFirstFile(zip);
    for (; status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info info;
        char name[261] = {};
        unzGetCurrentFileInfo(zip, &info, name, 260, nullptr, 0, nullptr, 0);
        std::string path = folder + "\\" + name;
        std::replace(path.begin(), path.end(), '/', '\\');
        if (info.external_fa & 0x10) {
            HeapText<wchar_t> wide = ToWide(path.c_str());
            CreateFolder(wide.get());
            continue;
        }
        std::string parent = path;
        CreateParentFolder(parent.data());
        CFileHandle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        unzOpenCurrentFile(zip);
        for (int count;
             (count = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(size))) > 0;) {
            DWORD written = 0;
            WriteFile(out.Get(), buffer.data(), static_cast<DWORD>(count), &written, nullptr);
        }
        unzCloseCurrentFile(zip);
    }
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
    const std::string dest = folderNarrow.get();
    const std::vector<Entry> entries = ListEntries(zip);
    std::vector<double> full, times, small, large;
    for (long round = 0; round < rounds; ++round) {
        ClearFolder(dest.c_str());
        full.push_back(Seconds(
            [&] { CUpdateEngine::UnzipToFolder(zipPath, folder, zv::update::kPackageLimit); }));
        times.push_back(Seconds([&] {
            for (const auto& entry : entries) {
                if (entry.folder)
                    continue;
                HeapText<wchar_t> wide = ToWide((dest + "\\" + entry.path).c_str());
                SetFileTimeFromDos(wide.get(), entry.dosDate);
            }
        }));
        // Alternate the order so neither buffer size always runs on a warmer cache.
        for (int pass = 0; pass < 2; ++pass) {
            const bool first2048 = (round + pass) % 2 == 0;
            ClearFolder(dest.c_str());
            const double t = Seconds([&] { CopyAll(zip, dest, first2048 ? 2048 : 8192); });
            (first2048 ? small : large).push_back(t);
        }
    }
    unzClose(zip);
    ClearFolder(dest.c_str());
    std::printf("probe rounds %ld, %zu entries\n", rounds, entries.size());
    std::printf("probe UnzipToFolder in-process  %.3f s\n", Median(full));
    std::printf("probe re-open for times        %.3f s (%.1f %% of it)\n", Median(times),
                100.0 * Median(times) / Median(full));
    std::printf("probe copy loop 2048 B buffer  %.3f s\n", Median(small));
    std::printf("probe copy loop 8192 B buffer  %.3f s (2048 costs %+.3f s)\n", Median(large),
                Median(small) - Median(large));
    return 0;
}
