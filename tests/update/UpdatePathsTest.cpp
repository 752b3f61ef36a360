// Where the update engine fetches from and where it keeps its files.
#include <cstring>

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"
#include "update/UpdateConstants.h"
#include "update/UpdateEngine.h"

namespace {

using namespace zv::update;

CUpdateEngine EngineIn(const std::string& exeDir) {
    CUpdateEngine engine;
    std::strcpy(engine.m_szExeDir, exeDir.c_str());
    return engine;
}

TEST(UpdatePathsTest, BuildsEveryPathBesideTheExecutable) {
    CTempFolder temp;
    const std::string exeDir = temp.Path().string();
    CUpdateEngine engine = EngineIn(exeDir);
    ASSERT_TRUE(engine.SetupUpdatePaths());

    const std::wstring folder = temp.Path().wstring() + L"\\Launcher Updater";
    EXPECT_EQ(engine.m_strUpdateDir, folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(engine.m_strVersionZipPath, folder + L"\\fileversion.zip");
    EXPECT_EQ(engine.m_strLauncherZipPath, folder + L"\\Zorvane.zip");
    EXPECT_EQ(engine.m_strVersionZipUrl, std::wstring(kUpdateHost) + L"/fileversion.zip");
    EXPECT_EQ(engine.m_strLauncherZipUrl, std::wstring(kUpdateHost) + L"/Zorvane.zip");
    EXPECT_EQ(engine.UpdateFolderPath("\\fileVersion.txt"),
              exeDir + "\\Launcher Updater\\fileVersion.txt");
}

// The engine never looks at the current directory.
TEST(UpdatePathsTest, IgnoresTheCurrentDirectory) {
    CTempFolder exe, elsewhere;
    const fs::path before = fs::current_path();
    fs::current_path(elsewhere.Path());
    CUpdateEngine engine = EngineIn(exe.Path().string());
    const bool ok = engine.SetupUpdatePaths();
    fs::current_path(before);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(fs::is_directory(exe / "Launcher Updater"));
    EXPECT_EQ(ListTree(elsewhere.Path()), "");
}

TEST(UpdatePathsTest, AFolderLeftFromAnEarlierRunIsReused) {
    CTempFolder temp;
    WriteFile(temp / "Launcher Updater" / "old.zip", "old");
    CUpdateEngine engine = EngineIn(temp.Path().string());
    EXPECT_TRUE(engine.SetupUpdatePaths());
    EXPECT_EQ(ReadFile(temp / "Launcher Updater" / "old.zip"), "old");
}

TEST(UpdatePathsTest, ADriveRootGetsExactlyOneSeparator) {
    CUpdateEngine engine = EngineIn("C:");
    ASSERT_TRUE(engine.SetupUpdatePaths());
    EXPECT_EQ(engine.m_strUpdateDir, L"C:\\Launcher Updater");
    EXPECT_EQ(engine.m_strVersionZipPath, L"C:\\Launcher Updater\\fileversion.zip");
    RemoveDirectoryW(L"C:\\Launcher Updater");
}

// The longest path is the folder + "\Launcher Updater\fileversion.zip" (33 characters);
// it must fit 259 characters and a terminator.
struct LengthCase {
    const char* name;
    std::size_t exeDirLength;
    bool fits;
};

class UpdatePathLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(UpdatePathLengthTest, APathPastTheBufferFailsAndSetsNothing) {
    CTempFolder temp;
    std::string exeDir = temp.Path().string();
    if (GetParam().exeDirLength > 0) {
        exeDir += "\\";
        exeDir.resize(GetParam().exeDirLength, 'd');
    } else {
        exeDir.clear();
    }
    CUpdateEngine engine = EngineIn(exeDir);
    EXPECT_EQ(engine.SetupUpdatePaths(), GetParam().fits);
    if (GetParam().fits) {
        EXPECT_EQ(engine.m_strVersionZipPath.size(), GetParam().exeDirLength + 33);
    } else {
        EXPECT_TRUE(engine.m_strUpdateDir.empty());
        EXPECT_TRUE(engine.m_strVersionZipPath.empty());
        EXPECT_TRUE(engine.m_strLauncherZipUrl.empty());
    }
    EXPECT_EQ(ListTree(temp.Path()), "");
}

INSTANTIATE_TEST_SUITE_P(Lengths, UpdatePathLengthTest,
                         ::testing::Values(LengthCase{"Longest", 226, true},
                                           LengthCase{"OneTooMany", 227, false},
                                           LengthCase{"Far", 700, false},
                                           LengthCase{"NoFolder", 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VersionFileUrlTest, NamesOneOfThreeFilesOnTheVersionServer) {
    const std::wstring host(kVersionHost);
    EXPECT_EQ(GetVersionFileUrl(1), host + L"/version_qlt01.ini");
    EXPECT_EQ(GetVersionFileUrl(2), host + L"/version_qlt02.ini");
    EXPECT_EQ(GetVersionFileUrl(3), host + L"/version_qlt03.ini");
    EXPECT_EQ(GetVersionFileUrl(0), L"");
    EXPECT_EQ(GetVersionFileUrl(4), L"");
}

TEST(HostsTest, AreBarePlainHttpHosts) {
    for (const std::wstring host : {kUpdateHost, kVersionHost}) {
        EXPECT_EQ(host.rfind(L"http://", 0), 0u) << host.c_str();
        EXPECT_EQ(host.find(L'/', 7), std::wstring::npos) << host.c_str();
        EXPECT_EQ(host.find_first_of(L"?#@ "), std::wstring::npos) << host.c_str();
    }
}

} // namespace
