// zv_bench_download URL TARGET   fetches URL into TARGET with DownloadToFile (the package's
//                                 limits) and prints the seconds the call took
#include <chrono>
#include <cstdio>

#include <windows.h>

#include "update/Download.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: zv_bench_download URL TARGET\n", stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const HRESULT result = DownloadToFile(argv[1], argv[2], kPackageDownload);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (FAILED(result)) {
        std::fprintf(stderr, "download failed: 0x%08lX\n", static_cast<unsigned long>(result));
        return 1;
    }
    std::printf("%.4f\n", took.count());
    return 0;
}
