// The test build's second launcher reads itself as 3.0.0.5, newer than the shipping one.
#include <gtest/gtest.h>

#include <windows.h>

#include "update/TextConvert.h"
#include "update/Version.h"
#include "update/VersionInfo.h"

namespace {

CVersion OwnVersionOf(const std::wstring& launcher) {
    HMODULE module = LoadLibraryExW(launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module, nullptr);
    CVersion version;
    HeapText<char> text = ToAnsi(GetVersionInfoString(module, "FileVersion").c_str());
    ParseVersion(version, text.get());
    FreeLibrary(module);
    return version;
}

TEST(NewerLauncherTest, ReadsItsOwnVersionAsNewerThanTheShippingOne) {
    const CVersion shipping = OwnVersionOf(std::wstring(ZV_BIN_DIR) + L"\\app\\Zorvane.exe");
    const CVersion newer = OwnVersionOf(std::wstring(ZV_BIN_DIR) + L"\\app\\3.0.0.5\\Zorvane.exe");
    EXPECT_EQ(shipping, (CVersion{3, 0, 0, 4}));
    EXPECT_EQ(newer, (CVersion{3, 0, 0, 5}));
    EXPECT_TRUE(IsNewerVersion(newer, shipping));
}

} // namespace
