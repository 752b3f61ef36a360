// What the worker tests share: test-made windows, the local server with a published
// version and package, and an engine pointing at them.
//
// The worker starts the updater beside the running executable, which here is the test
// program: the updater double is copied beside it, and the update folder is
// "Launcher Updater" in the test program's folder.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/doubles/Record.h"
#include "tests/support/TestServer.h"
#include "tests/update/ZipBuilder.h"
#include "tests/worker/WorkerWindows.h"
#include "update/UpdateWorker.h"

inline constexpr DWORD kWaitMs = 20000;

class WorkerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    fs::path UpdateFolder() const { return m_exeDir / "Launcher Updater"; }

    void PublishVersion(const std::string& versionFile);
    // A package with a file at the top, files in nested folders and an empty folder.
    void PublishPackage();

    bool Start() {
        return StartUpdateWorker(m_engine, m_windows.Dialog(), m_windows.Start(), m_windows.Skin());
    }

    std::vector<CDoubleRecord> UpdaterStarts() const {
        return ReadDoubleRecords(m_records.Path(), L"updater");
    }

    CTempFolder m_site;
    CTempFolder m_records;
    CTestServer m_server{m_site.Path()};
    CWorkerWindows m_windows;
    CUpdateEngine m_engine;
    fs::path m_exeDir;
};
