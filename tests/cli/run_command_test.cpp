#include "run_cli.h"

#include "stg_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

// Runs in a folder of its own with a copy of the shipped data folder and an empty profile.
class CliRunTest : public testing::CliFixture {
protected:
    std::string Chromatogram(const std::string& name, const std::string& method, const std::string& sample,
                             std::int64_t analysisTime, std::vector<std::string> peakNames) {
        synth::StgContent c;
        c.passport.method = method;
        c.passport.sampleName = sample;
        c.passport.analysisTime = analysisTime;
        c.passport.samplingTime = analysisTime;
        c.samples = {0, 2, 0, 0, 4, 0, 0};
        for (std::size_t i = 0; i < peakNames.size(); ++i) {
            cmpeek p;
            p.name = peakNames[i];
            p.beginTime = 3.0 * static_cast<double>(i);
            p.endTime = p.beginTime + 2;
            c.peaks.push_back(p);
        }
        const std::string path = (dir_ / name).string();
        std::string error;
        EXPECT_TRUE(synth::WriteStg(path, c, &error)) << error;
        return path;
    }
};

TEST_F(CliRunTest, WritesTheListThePeakPagesAndTheLog) {
    const auto fid = Chromatogram("fid.stg", "ПИД ГД", "Проба 1", 1700000000, {"Метан", ""});
    const auto tcd = Chromatogram("tcd.stg", "ДТП-1 ГД", "Проба 1", 1700000004, {"Азот"});
    const auto cond = Chromatogram("cond.stg", "ПИД ДК", "Проба 1", 1699990000, {});
    const auto bad = (dir_ / "missing.stg").string();
    const fs::path tables = dir_ / "out";
    const auto r = RunProgram("talvex-cli", {"run", "--data-dir", (dir_ / "data").string(), "--tables",
                                             tables.string(), "--log", cond, tcd, bad, fid});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testing::ReadBytes(tables / "list.tsv"),
              "№\tФайл\tПроба\tВремя анализа\tТип хрм.\tАнализ\n"
              "1\tfid.stg\tПроба 1\t14.11.23  22:13\tПИД, Газ, анализ\tАн - 1\n"
              "2\ttcd.stg\tПроба 1\t14.11.23  22:13\tДТП-1, Газ, анализ\tАн - 1\n"
              "3\tcond.stg\tПроба 1\t14.11.23  19:26\tПИД, ДК, анализ\tАн - 1\n");
    EXPECT_EQ(testing::ReadBytes(tables / "peaks-1.tsv"), "№\tКомпонент\tПлощадь пика\tВремя выхода, мин\n"
                                                          "1\tМетан\t2.000\t1.000\n"
                                                          "2\t\t4.000\t4.000\n");
    EXPECT_EQ(testing::ReadBytes(tables / "peaks-2.tsv"), "№\tКомпонент\tПлощадь пика\tВремя выхода, мин\n"
                                                          "1\tАзот\t2.000\t1.000\n");
    EXPECT_EQ(testing::ReadBytes(tables / "peaks-3.tsv"), "№\tКомпонент\tПлощадь пика\tВремя выхода, мин\n");
    EXPECT_FALSE(fs::exists(tables / "peaks-4.tsv"));
    EXPECT_EQ(testing::ReadBytes(tables / "log.txt"), r.out);
}

TEST_F(CliRunTest, MissingDataFilesAndUsageErrors) {
    const auto fid = Chromatogram("fid.stg", "ПИД ГД", "Проба 1", 1700000000, {"Метан"});
    fs::remove(dir_ / "data" / "TableSection7.csv");
    const auto noNorms = RunProgram("talvex-cli", {"run", "--data-dir", (dir_ / "data").string(), fid});
    EXPECT_EQ(noNorms.exitCode, 1);
    EXPECT_NE(noNorms.err.find("Файл базы данных не найден."), std::string::npos) << noNorms.err;
    EXPECT_NE(noNorms.err.find("TableSection7.csv"), std::string::npos);

    fs::copy(fs::path(TALVEX_SOURCE_DIR) / "data" / "TableSection7.csv", dir_ / "data");
    fs::remove(dir_ / "data" / "CompsTime.csv");
    const auto noTimes = RunProgram("talvex-cli", {"run", "--data-dir", (dir_ / "data").string(), fid});
    EXPECT_EQ(noTimes.exitCode, 1);
    EXPECT_NE(noTimes.err.find("CompsTime.csv"), std::string::npos) << noTimes.err;

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"run", "--mode", "3", fid},
                                               {"run", "--decimals", "x", fid},
                                               {"run", "--decimals", "0", fid},
                                               {"run", "--decimals=11", fid},
                                               {"run", "--air", "78,21", fid},
                                               {"run", "--log=1", fid},
                                               {"run", "--tables"},
                                               {"run", "--frobnicate", fid}}) {
        const auto r = RunProgram("talvex-cli", args);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage"), std::string::npos);
    }
}

TEST_F(CliRunTest, DegassingInputsAreTakenAsThePageTakesTypedText) {
    const fs::path tables = dir_ / "out";
    const auto r = RunProgram("talvex-cli", {"run",
                                             "--data-dir",
                                             (dir_ / "data").string(),
                                             "--tables",
                                             tables.string(),
                                             "--method",
                                             "A",
                                             "--pressure",
                                             "101,32",
                                             "--temperature",
                                             "293.15",
                                             "--gas-volume1",
                                             "0.01",
                                             "--gas-volume2",
                                             "0,002",
                                             "--cond-mass1",
                                             "80",
                                             "--cond-mass2",
                                             "abc",
                                             "--sample-mass",
                                             "12",
                                             "--decimals",
                                             "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("--cond-mass2 \"abc\" is not a number"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--sample-mass is not used by degassing method"), std::string::npos) << r.err;
    EXPECT_EQ(testing::ReadBytes(tables / "degassing.tsv"),
              "Метод дегазации\tМетод А \n"
              "Атмосферное давление при дегазации, кПа:\t101.32\n"
              "Температура отбора газа дегазации, К:\t293.15\n"
              "Масса пробы НЖУ, г:\t0.0\n"
              "Масса ДК в приемнике, г:\t80\n"
              "Масса ДК в фильтре, г:\t0\n"
              "Масса ДК, г:\t80.00\n"
              "Объем ГД прошедший через счетчик, м³:\t0.01\n"
              "Объем ГД отобранный на анализ, м³:\t0.002\n"
              "Объем ГД, м³:\t0.01\n"
              "Объем ГД при Н.У., м³:\t0.01\n"
              "Масса ГД , г:\t0.00\n"
              "Массовая доля ДК:\t0.00\n"
              "Массовая доля ГД:\t0.00\n"
              "Газовый фактор, м³/т:\t150.00\n");
    const auto bad = RunProgram("talvex-cli", {"run", "--method", "C"});
    EXPECT_EQ(bad.exitCode, 2);
}

TEST_F(CliRunTest, ReportXmlFollowsTheSwitchesAndAnUnwritableTargetFails) {
    const auto fid = Chromatogram("fid.stg", "ПИД ГД", "Проба 1", 1700000000, {"Метан"});
    std::vector<std::string> args = {"run",
                                     "--data-dir",
                                     (dir_ / "data").string(),
                                     "--device",
                                     "ГХ-2",
                                     "--xml",
                                     (dir_ / "r.xml").string(),
                                     "--json",
                                     (dir_ / "r.json").string()};
    for (const char* key :
         {"GD_ChrmList", "GD_AnComp", "GD_AnFract", "GD_CSS_Comp", "GD_CSS_Fract", "GD_CSR", "CD_ChrmList",
          "CD_AnComp", "CD_AnFract", "CD_CSS_Comp", "CD_CSS_Fract", "CD_CSR", "RezNLH"}) {
        args.push_back("--switch");
        args.push_back(std::string(key) + "=0");
    }
    args.push_back(fid);
    const auto r = RunProgram("talvex-cli", args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string xml = testing::ReadBytes(dir_ / "r.xml");
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n\t<DateCreated>", 0), 0u) << xml;
    EXPECT_NE(xml.find("<DataString>ГХ-2</DataString>"), std::string::npos);
    EXPECT_EQ(xml.find("Header_S"), std::string::npos) << xml;
    EXPECT_EQ(xml.find("<Table2"), std::string::npos);
    const std::string json = testing::ReadBytes(dir_ / "r.json");
    for (const char* part : {"\"settings\":{\"QtyNumAfterDot\":3", "\"typeLabel\":\"ПИД, Газ, анализ\"",
                             "\"degassing\":{\"Method\":0", "\"nlh\":{\"GasFactorKg\":null", "\"log\":\""})
        EXPECT_NE(json.find(part), std::string::npos) << part;

    const auto unwritable = RunProgram("talvex-cli", {"run", "--data-dir", (dir_ / "data").string(), "--xml",
                                                      (dir_ / "no-such-folder" / "r.xml").string(), fid});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("r.xml"), std::string::npos) << unwritable.err;
    const auto badSwitch = RunProgram("talvex-cli", {"run", "--switch", "GD_Nothing=1", fid});
    EXPECT_EQ(badSwitch.exitCode, 2);
}

TEST_F(CliRunTest, TheStoredProfileIsNotChangedByOverrides) {
    const fs::path conf = dir_ / "config" / "Vintaro" / "tlvx.conf";
    fs::create_directories(conf.parent_path());
    std::ofstream(conf) << "[settings]\nQtyNumAfterDot=5\n\n[paths]\nlast=/x\n";
    const auto r = RunProgram("talvex-cli", {"run", "--data-dir", (dir_ / "data").string(), "--decimals", "2",
                                             "--air", "75.5,23.1,0.05"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string after = testing::ReadBytes(conf);
    EXPECT_NE(after.find("QtyNumAfterDot=5"), std::string::npos) << after;
    EXPECT_EQ(after.find("[paths]"), std::string::npos) << after; // every recalculation drops it
    EXPECT_EQ(after.find("Conc"), std::string::npos) << after;
}

} // namespace
} // namespace talvex
