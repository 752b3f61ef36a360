// The engine's one-call extraction reports whether the archive arrived whole.
#include <gtest/gtest.h>

#include "tests/update/ZipSandbox.h"
#include "update/UpdateEngine.h"

namespace {

using Kind = ZipEntrySpec::Kind;
using zv::update::kPackageLimit;
using zv::update::kVersionArchiveLimit;

struct OutcomeCase {
    const char* label;
    std::vector<ZipEntrySpec> entries; // none with `notAZip`: a web page instead
    bool notAZip;
    unsigned long long limit;
    bool succeeds;
    const char* tree; // what the destination holds afterwards
    friend void PrintTo(const OutcomeCase& c, std::ostream* os) { *os << c.label; }
};

class UnzipToFolderTest : public ZipSandbox, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(UnzipToFolderTest, ReportsAFullSuccessOnly) {
    const OutcomeCase& c = GetParam();
    if (c.notAZip)
        WriteFile(m_zip, "<html>404 Not Found</html>");
    else
        Zip(c.entries);
    EXPECT_EQ(CUpdateEngine::UnzipToFolder(m_zip.wstring(), m_dest.wstring(), c.limit), c.succeeds);
    EXPECT_EQ(ListTree(m_dest), c.tree);
}

const std::string kMegabyte(1 << 20, 'm');

INSTANTIATE_TEST_SUITE_P(
    Archives, UnzipToFolderTest,
    ::testing::Values(
        OutcomeCase{"Whole",
                    {{"a.txt", "a"}, {"sub/b.txt", "b"}},
                    false,
                    kPackageLimit,
                    true,
                    "a.txt sub/ sub/b.txt"},
        OutcomeCase{"MegabyteUnderThePackageLimit",
                    {{"big.bin", kMegabyte}, {"c.txt", "c"}},
                    false,
                    kPackageLimit,
                    true,
                    "big.bin c.txt"},
        OutcomeCase{"MegabytePastTheVersionLimit",
                    {{"big.bin", kMegabyte}, {"c.txt", "c"}},
                    false,
                    kVersionArchiveLimit,
                    false,
                    ""},
        OutcomeCase{"NotAZip", {}, true, kPackageLimit, false, ""},
        OutcomeCase{"NoEntries", {}, false, kPackageLimit, false, ""},
        OutcomeCase{"BadEntryAfterAGoodOne",
                    {{"good.txt", "good"}, {"bad.bin", "bad", Kind::WrongCrc}, {"after.txt", "a"}},
                    false,
                    kPackageLimit,
                    false,
                    "good.txt"},
        OutcomeCase{"EscapingName",
                    {{"good.txt", "good"}, {"../evil.txt", "evil"}},
                    false,
                    kPackageLimit,
                    false,
                    "good.txt"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
