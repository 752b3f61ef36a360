#include "tests/worker/WorkerFixture.h"

void WorkerTest::SetUp() {
    ASSERT_TRUE(m_server.IsRunning());
    ASSERT_TRUE(m_windows.Created());
    m_engine.ReadOwnVersion();
    m_engine.m_vOwnVersion = {3, 0, 0, 4};
    m_exeDir = m_engine.m_szExeDir;
    std::error_code error;
    fs::remove_all(UpdateFolder(), error);
    ASSERT_TRUE(m_engine.SetupUpdatePaths());
    m_engine.m_strVersionZipUrl = m_server.Url(L"/file/fileversion.zip");
    m_engine.m_strLauncherZipUrl = m_server.Url(L"/file/Zorvane.zip");
    SetEnvironmentVariableW(kDoubleRecordsVariable, m_records.Path().c_str());
}

void WorkerTest::TearDown() {
    SetEnvironmentVariableW(kDoubleRecordsVariable, nullptr);
    std::error_code error;
    fs::remove_all(UpdateFolder(), error);
}

void WorkerTest::PublishVersion(const std::string& versionFile) {
    ASSERT_TRUE(BuildZip(m_site / "fileversion.zip", {{"fileVersion.txt", versionFile}}));
}

void WorkerTest::PublishPackage() {
    ASSERT_TRUE(BuildZip(m_site / "Zorvane.zip", {{"Zorvane.exe", std::string(5000, 'Z')},
                                                  {"data/skin.bin", "skin"},
                                                  {"data/more/deep.txt", "deep"},
                                                  {"empty/", "", ZipEntrySpec::Kind::Folder}}));
}
