#include "run_cli.h"

#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ReadTsv;
using testing::RunProgram;

// The synthetic condensate series through talvex-cli run, as the laboratory would add it.
class CondensateCliTest : public testing::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        const auto synth =
            RunProgram("talvex-synth", {"--set", "condensate", "--folder", (dir_ / "set").string()});
        ASSERT_EQ(synth.exitCode, 0) << synth.err;
    }

    testing::CommandResult Run(const std::vector<std::string>& files) {
        std::vector<std::string> args{"run", "--data-dir", (dir_ / "data").string(),  "--mode",
                                      "1",   "--tables",   (dir_ / "tables").string()};
        for (const std::string& f : files)
            args.push_back((dir_ / "set" / f).string());
        return RunProgram("talvex-cli", args);
    }
};

TEST_F(CondensateCliTest, EveryTableKindOfBothPagesIsWritten) {
    const auto r = Run({"dk-sample-2.stg", "dk-oke.stg", "dk-blank.stg", "dk-sample-1.stg", "dk-okp.stg",
                        "dk-calibration.stg", "dk-sample-3.stg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const fs::path t = dir_ / "tables";
    for (int kind = 1; kind <= 2; ++kind) {
        const auto rows = ReadTsv(t / ("condensate-" + std::to_string(kind) + ".tsv"));
        ASSERT_EQ(rows[0].size(), 9u); // №, Имя, three analyses, average, spread, limit, verdict
        EXPECT_EQ(rows[1][1], "Пропан");
        EXPECT_EQ(rows[6][1], "н-Пентан");
        EXPECT_EQ(rows[7][1], kind == 1 ? "F45-60" : "н-Гексан");
        const auto sum =
            std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row[1] == "Сумма"; });
        ASSERT_NE(sum, rows.end());
        EXPECT_EQ((std::vector<std::string>(sum->begin() + 2, sum->begin() + 5)),
                  (std::vector<std::string>{"100.000", "100.000", "100.000"}));
        for (const auto& row : rows) {
            ASSERT_EQ(row.size(), rows[0].size());
            if (&row != &rows[0] && !row[0].empty() && row[5] != "---") {
                EXPECT_EQ(row[8], "Да") << row[1]; // repeated runs of one condensate agree
            }
        }
    }
    const auto oke = ReadTsv(t / "condensate-5.tsv");
    EXPECT_EQ(oke[1], (std::vector<std::string>{"1", "н-Пентан", "9.999", "10.000", "0.001", "0.500", "Да"}));
    EXPECT_EQ(oke[3][1], "               н-Гексан");
    for (int kind = 3; kind <= 4; ++kind) {
        const auto okp = ReadTsv(t / ("condensate-" + std::to_string(kind) + ".tsv"));
        EXPECT_EQ(okp[0][3], "ОКП, масс%");
        EXPECT_NE(okp[1][3], "---"); // the control sample's own value
        EXPECT_EQ(okp[1][6], "Да");
        const auto marking = ReadTsv(t / ("marking-" + std::to_string(kind) + ".tsv"));
        EXPECT_EQ(marking[0].size(), 8u);
    }
    const auto marking = ReadTsv(t / "marking-1.tsv");
    EXPECT_EQ(marking[0].size(), 2u + 9u);
    EXPECT_EQ(marking[7][1], "F45-60");
    EXPECT_NE(marking[7][2], "---");
    EXPECT_EQ(ReadTsv(t / "marking-2.tsv")[7][1], "н-Гексан");
    const std::string log = ReadBytes(t / "log.txt");
    EXPECT_EQ(log.find("inf"), std::string::npos);
    EXPECT_EQ(log.find("nan"), std::string::npos);
}

TEST_F(CondensateCliTest, WithoutABlankOnlyTheStandardControlIsComputed) {
    const auto r = Run({"dk-sample-1.stg", "dk-oke.stg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadTsv(dir_ / "tables" / "condensate-1.tsv").size(),
              1u + 1u + 5u); // only "Сумма" and the block
    EXPECT_GT(ReadTsv(dir_ / "tables" / "condensate-5.tsv").size(), 10u);
}

TEST_F(CondensateCliTest, ARunShorterThanOneSecondEndsTheRecalculationWithAnError) {
    synth::StgContent c;
    c.passport.method = "ПИД ДК";
    c.passport.sampleName = "Проба 2";
    c.samples = {1, 2, 3};
    c.step = 0.001f; // 16 samples would make the first second
    std::string error;
    ASSERT_TRUE(synth::WriteStg((dir_ / "set" / "short.stg").string(), c, &error)) << error;
    const auto r = Run({"dk-blank.stg", "short.stg"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("short.stg"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("короче одной секунды"), std::string::npos) << r.err;
}

} // namespace
} // namespace talvex
