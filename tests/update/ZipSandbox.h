// An archive and a destination inside a sandbox, so anything written outside the
// destination shows up in the sandbox.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"
#include "tests/update/ZipBuilder.h"
#include "update/UpdateConstants.h"

class ZipSandbox : public ::testing::Test {
protected:
    fs::path Zip(const std::vector<ZipEntrySpec>& entries) {
        EXPECT_TRUE(BuildZip(m_zip, entries));
        return m_zip;
    }
    // Opens the archive at m_zip and extracts it into m_dest, writing at most `limit`.
    bool ExtractZip(unsigned long long limit = zv::update::kPackageLimit);
    bool Extract(const std::vector<ZipEntrySpec>& entries,
                 unsigned long long limit = zv::update::kPackageLimit) {
        Zip(entries);
        return ExtractZip(limit);
    }
    // The sandbox beside the archive: "dest/..." entries only, if nothing escaped.
    std::string Sandbox() const;

    CTempFolder m_sandbox;
    fs::path m_zip = m_sandbox / "in.zip";
    fs::path m_dest = m_sandbox / "dest";
};
