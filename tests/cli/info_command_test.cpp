#include "run_cli.h"

#include "core/app/data_folder.h"
#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

class CliInfoTest : public ::testing::Test {
protected:
    std::string Write(const synth::StgContent& content, const std::string& name) {
        const std::string path = (dir_ / name).string();
        std::string error;
        EXPECT_TRUE(synth::WriteStg(path, content, &error)) << error;
        return path;
    }

    static synth::StgContent TwoPeaks() {
        synth::StgContent c;
        c.passport.sampleName = "Проба 1";
        c.passport.method = "ПИД ГД";
        c.passport.operatorName = "Петров";
        c.passport.comment = "строка 1";
        c.passport.samplingTime = 1700000000;
        c.passport.analysisTime = 1700000000;
        c.passport.volume = 0.25;
        c.step = 0.5f;
        c.samples = {0, 0, 2, 0, 0, 0, 1, 0, 0};
        c.peaks.resize(2);
        c.peaks[0].name = "Метан";
        c.peaks[0].beginTime = 0.5;
        c.peaks[0].endTime = 1.5;
        c.peaks[1].beginTime = 2.5;
        c.peaks[1].endTime = 3.5;
        return c;
    }

    testing::TempFolder dir_;
};

TEST_F(CliInfoTest, PrintsTheDescriptionAnEmptyLineAndThePeakTable) {
    const std::string path = Write(TwoPeaks(), "a.stg");
    const auto r = RunProgram("talvex-cli", {"info", path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    const std::string table = "\n\n№\tКомпонент\tПлощадь пика\tВремя выхода, мин\n"
                              "1\tМетан\t1.000\t1.000\n"
                              "2\t\t0.500\t3.000\n";
    ASSERT_GE(r.out.size(), table.size());
    EXPECT_EQ(r.out.substr(r.out.size() - table.size()), table);
    EXPECT_EQ(r.out.rfind("ПРОБА: \tПроба 1\nОбъём: 0.25", 0), 0u);
    EXPECT_NE(r.out.find("Оператор: Петров        Метод: ПИД ГД\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nКОММЕНТАРИЙ: строка 1\n\n№"), std::string::npos);
}

TEST_F(CliInfoTest, JsonHoldsEveryFieldInFullPrecision) {
    synth::StgContent c = TwoPeaks();
    c.step = 0.1f; // not exact in binary: the JSON must keep every digit
    const std::string path = Write(c, "b.stg");
    const auto r = RunProgram("talvex-cli", {"info", "--json", path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* field :
         {"\"sampleName\":\"Проба 1\"", "\"method\":\"ПИД ГД\"", "\"volume\":0.25",
          "\"analysisTime\":1700000000", "\"step\":0.10000000149011612", "\"sampleCount\":9",
          "\"name\":\"Метан\"", "\"nextLinked\":-1", "\"samplingSite\":\"\"", "\"params\":[]", "\"path\":\""})
        EXPECT_NE(r.out.find(field), std::string::npos) << field << "\n" << r.out;
    EXPECT_EQ(r.out.front(), '{');
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "}\n");
}

TEST_F(CliInfoTest, FailuresAndUsage) {
    synth::StgContent damaged = TwoPeaks();
    damaged.passportVersion = 4;
    const std::string bad = Write(damaged, "bad.stg");
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{"info", (dir_ / "missing.stg").string()}, 1},
        {{"info", bad}, 1},
        {{"info", "--json", bad}, 1},
        {{"info"}, 2},
        {{"info", "--frobnicate", bad}, 2},
        {{"info", bad, bad}, 2},
        {{}, 2},
        {{"nonsense"}, 2},
    };
    for (const auto& c : cases) {
        const auto r = RunProgram("talvex-cli", c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
        if (c.exitCode == 1) { // one clear line naming the file
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
}

TEST(CliStart, VersionPrintsTheVersionAloneAndTakesNoArguments) {
    const auto version = RunProgram("talvex-cli", {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "talvex-cli " + ProgramVersion() + "\n");
    EXPECT_EQ(version.err, "");
    const auto extra = RunProgram("talvex-cli", {"--version", "x.stg"});
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_EQ(extra.out, "");
    EXPECT_NE(extra.err.find("talvex-cli --version"), std::string::npos); // the usage names it
}

} // namespace
} // namespace talvex
