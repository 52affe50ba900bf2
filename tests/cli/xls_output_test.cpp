// `talvex-cli run --xls FILE`: the results in a filled copy of the spreadsheet template, and a plain
// failure when the office suite is missing.
#include "run_cli.h"

#include "core/report/office_conversion.h"
#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class XlsOutput : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "config");
        ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    }
    testing::CommandResult Run(const fs::path& xls) {
        const fs::path examples = fs::path(TALVEX_SOURCE_DIR) / "examples";
        return testing::RunProgram(
            "talvex-cli",
            {"run", "--data-dir", std::string(TALVEX_SOURCE_DIR) + "/data", "--gas-volume1", "0.0118",
             "--cond-mass1", "84.6", "--xls", xls.string(), (examples / "gd-1-fid.stg").string(),
             (examples / "gd-1-tcd1.stg").string(), (examples / "gd-1-tcd2.stg").string()});
    }
    testing::TempFolder dir_;
};

TEST_F(XlsOutput, WritesAnExcelWorkbook) {
    if (!FindOfficeSuite())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const fs::path xls = dir_ / "Протокол.xls";
    const auto r = Run(xls);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // A workbook in the binary .xls format is an OLE2 compound file.
    EXPECT_EQ(testing::ReadBytes(xls).substr(0, 8), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    // LibreOffice reads it back as the protocol of the template (its CSV export is not UTF-8: look at ASCII).
    std::string error;
    ASSERT_TRUE(ConvertWithOffice(xls, "csv", dir_ / "sheet1.csv", kOfficeTimeLimit, error)) << error;
    EXPECT_THAT(testing::ReadBytes(dir_ / "sheet1.csv"), HasSubstr("________ 20___"));
}

TEST_F(XlsOutput, WithoutLibreOfficeFailsWithTheReason) {
    const std::string savedPath = std::getenv("PATH");
    fs::create_directories(dir_ / "empty-bin");
    ::setenv("PATH", (dir_ / "empty-bin").c_str(), 1);
    const auto r = Run(dir_ / "out.xls");
    ::setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("Excel not registered properly"));
    EXPECT_THAT(r.err, HasSubstr("LibreOffice is not installed"));
    EXPECT_FALSE(fs::exists(dir_ / "out.xls"));
}

TEST_F(XlsOutput, TheOptionNeedsAFileName) {
    const auto r = testing::RunProgram("talvex-cli", {"run", "--xls"});
    EXPECT_EQ(r.exitCode, 2);
}

} // namespace
} // namespace talvex
