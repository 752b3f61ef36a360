// zv_bench_unzip PKG DEST            extracts PKG into DEST with UnzipToFolder
// zv_bench_unzip --probe N PKG DEST  prices parts of the extraction in-process
// zv_bench_unzip --list DEST          every file below DEST with its size and times
#include <cstdio>
#include <cwchar>
#include <string>

#include <windows.h>

#include "bench/TreeList.h"
#include "bench/UnzipProbe.h"
#include "update/UpdateEngine.h"

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--list") == 0)
        return PrintTree(argv[2]);
    if (argc == 3)
        return CUpdateEngine::UnzipToFolder(argv[1], argv[2], zv::update::kPackageLimit) ? 0 : 1;
    if (argc == 5 && std::wcscmp(argv[1], L"--probe") == 0)
        return RunProbe(std::wcstol(argv[2], nullptr, 10), argv[3], argv[4]);
    std::fputs("usage: zv_bench_unzip PKG DEST | --probe ROUNDS PKG DEST | --list DEST\n", stderr);
    return 2;
}
