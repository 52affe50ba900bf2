#include "run_cli.h"

#include "test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::RunProgram;

using testing::ReadTsv;

// The degassing-gas set of talvex-synth run through talvex-cli in the gas-only mode.
class CliGasTest : public testing::CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        const auto synth = RunProgram("talvex-synth", {"--set", "gas", "--folder", (dir_ / "set").string()});
        ASSERT_EQ(synth.exitCode, 0) << synth.err;
        for (const auto& e : fs::directory_iterator(dir_ / "set"))
            files_.push_back(e.path().string());
        std::sort(files_.begin(), files_.end());
    }

    testing::CommandResult Run(std::vector<std::string> options, const std::string& mode = "0") {
        std::vector<std::string> args = {"run",   "--data-dir", (dir_ / "data").string(), "--mode", mode,
                                         "--log", "--tables",   (dir_ / "out").string()};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), files_.begin(), files_.end());
        return RunProgram("talvex-cli", args);
    }

    std::vector<std::string> files_;
};

TEST_F(CliGasTest, EveryTableKindOfTheGasPageIsWritten) {
    const auto r = Run({"--air", "79,21,0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(files_.size(), 14u);
    const auto one = ReadTsv(dir_ / "out" / "gas-1.tsv");
    ASSERT_GT(one.size(), 30u);
    EXPECT_EQ(one[0], (std::vector<std::string>{"№", "Имя", "Ан-1. Масс. доля, %", "Ан-2. Масс. доля, %",
                                                "Ан-3. Масс. доля, %", "Средн. масс. доля, %",
                                                "Расхождение, %", "Предел повт. r, %", "Соот-т"}));
    for (const auto& row : one)
        EXPECT_EQ(row.size(), one[0].size());
    // The TCD components lead, oxygen is gone after the air correction, methane is the bulk of the gas.
    EXPECT_EQ(one[1][1], "Водород");
    bool methane = false;
    for (const auto& row : one) {
        EXPECT_NE(row[1], "Кислород");
        if (row[1] == "Метан") {
            methane = true;
            EXPECT_NEAR(std::stod(row[2]), 52.6, 0.5);
            EXPECT_EQ(row[8], "Да");
        }
        if (row[1] == "Сумма") {
            EXPECT_EQ(row[5], "100.000");
        }
    }
    EXPECT_TRUE(methane);

    const auto two = ReadTsv(dir_ / "out" / "gas-2.tsv");
    EXPECT_EQ(two[13][1], "F45-60");
    EXPECT_EQ(two[30][1], "F220-230");
    const auto three = ReadTsv(dir_ / "out" / "gas-3.tsv");
    EXPECT_EQ(three[0][2], "Ан-1, масс%");
    EXPECT_EQ(three[5][1], "Метан");
    EXPECT_EQ(three[5][6], "Да");
    EXPECT_GT(ReadTsv(dir_ / "out" / "gas-4.tsv").size(), 20u);
    const std::string five = testing::ReadBytes(dir_ / "out" / "gas-5.tsv");
    EXPECT_EQ(five, testing::ReadBytes(dir_ / "out" / "gas-6.tsv"));
    EXPECT_THAT(five, HasSubstr("\n1\tМетан\t"));
}

TEST_F(CliGasTest, TheLogCarriesTheGasMessagesAndNoNumberIsInfinite) {
    const auto r = Run({"--no-air"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(r.out,
                HasSubstr("В хроматограммах газа дегазации (ГД) найдены безымянные пики:\r\n\t\t - ПИД, Газ, "
                          "анализ - 1, безымянных пиков: 3"));
    EXPECT_THAT(r.out, HasSubstr("Не найдены компоненты для сшивки анализов ПИД и ДТП."));
    EXPECT_THAT(r.out, Not(HasSubstr("холостого опыта")));
    for (int k = 1; k <= 6; ++k) {
        const std::string table = testing::ReadBytes(dir_ / "out" / ("gas-" + std::to_string(k) + ".tsv"));
        EXPECT_THAT(table, Not(HasSubstr("inf"))) << k;
        EXPECT_THAT(table, Not(HasSubstr("nan"))) << k;
    }
    // Without the air correction oxygen stays in the gas.
    EXPECT_THAT(testing::ReadBytes(dir_ / "out" / "gas-1.tsv"), HasSubstr("\tКислород\t"));
}

TEST_F(CliGasTest, WithoutTheBlankTheWarningShowsOnce) {
    files_.erase(std::remove_if(files_.begin(), files_.end(),
                                [](const std::string& f) { return f.find("blank") != std::string::npos; }),
                 files_.end());
    const auto r = Run({});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string header = "Не задана хроматограмма холостого опыта для газа дегазации.";
    const std::size_t at = r.out.find(header);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(r.out.find(header, at + 1), std::string::npos);
}

TEST_F(CliGasTest, InTheCondensateModeTheGasPageIsEmpty) {
    const auto r = Run({}, "1");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testing::ReadBytes(dir_ / "out" / "gas-1.tsv"), "№\tИмя\n");
}

} // namespace
} // namespace talvex
