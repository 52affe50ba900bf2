#include "run_cli.h"

#include "andi_builder.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace talvex {
namespace {

namespace fs = std::filesystem;
using testing::RunProgram;

// Every file of a folder by name, with its content.
std::map<std::string, std::string> FolderContent(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        files[e.path().filename().string()] = testing::ReadBytes(e.path());
    return files;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class AndiCliTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1); }

    void WriteSets(const fs::path& folder, const std::string& format) {
        for (const char* set : {"gas", "condensate"}) {
            const auto r =
                RunProgram("talvex-synth", {"--set", set, "--folder", folder.string(), "--format", format});
            ASSERT_EQ(r.exitCode, 0) << r.err;
        }
    }

    testing::TempFolder dir_;
};

TEST_F(AndiCliTest, ASessionHalfStgHalfAndiGivesTheTablesOfAllStg) {
    WriteSets(dir_ / "stg", "stg");
    WriteSets(dir_ / "cdf", "cdf");
    std::vector<std::string> allStg, mixed;
    bool takeAndi = false;
    for (const auto& [name, bytes] : FolderContent(dir_ / "stg")) {
        const fs::path stem = fs::path(name).stem();
        allStg.push_back((dir_ / "stg" / name).string());
        mixed.push_back(takeAndi ? (dir_ / "cdf" / (stem.string() + ".cdf")).string() : allStg.back());
        takeAndi = !takeAndi;
    }
    ASSERT_EQ(allStg.size(), 21u);
    const std::string data = (fs::path(TALVEX_SOURCE_DIR) / "data").string();
    const auto run = [&](const std::vector<std::string>& files, const std::string& out) {
        std::vector<std::string> args = {"run", "--data-dir", data};
        const std::vector<std::string> degassing = testing::ExampleDegassingOptions();
        args.insert(args.end(), degassing.begin(), degassing.end());
        args.insert(args.end(), {"--tables", (dir_ / out).string()});
        args.insert(args.end(), files.begin(), files.end());
        const auto r = RunProgram("talvex-cli", args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
    };
    run(allStg, "stg-tables");
    run(mixed, "mixed-tables");
    auto expected = FolderContent(dir_ / "stg-tables");
    auto got = FolderContent(dir_ / "mixed-tables");
    ASSERT_EQ(got.size(), expected.size());
    // The chromatogram list names the files; everything else is the same to the byte.
    got["list.tsv"] = Replaced(got["list.tsv"], ".cdf\t", ".stg\t");
    EXPECT_NE(expected["nlh.tsv"].find('\n'), std::string::npos);
    for (const auto& [name, bytes] : expected)
        EXPECT_EQ(got[name], bytes) << name;
}

TEST_F(AndiCliTest, ConvertWritesAFileInfoShowsAsTheStg) {
    WriteSets(dir_ / "stg", "stg");
    for (const char* name : {"gd-1-tcd1", "dk-calibration"}) {
        const std::string stg = (dir_ / "stg" / (std::string(name) + ".stg")).string();
        const std::string cdf = (dir_ / (std::string(name) + ".CDF")).string();
        const auto c = RunProgram("talvex-cli", {"convert", stg, cdf});
        ASSERT_EQ(c.exitCode, 0) << c.err;
        const auto a = RunProgram("talvex-cli", {"info", stg});
        const auto b = RunProgram("talvex-cli", {"info", cdf});
        ASSERT_EQ(b.exitCode, 0) << b.err;
        EXPECT_EQ(b.err, "");
        EXPECT_EQ(b.out, a.out) << name;
        EXPECT_NE(a.out.find("\n\n№\t"), std::string::npos);
    }
    for (const std::string& entry : dir_.Entries()) // no temporary file is left behind
        EXPECT_TRUE(entry == "stg" || entry == "config" || fs::path(entry).extension() == ".CDF") << entry;

    const auto usage = RunProgram("talvex-cli", {"convert", "a.stg", "b.txt"});
    EXPECT_EQ(usage.exitCode, 2);
    const auto missing =
        RunProgram("talvex-cli", {"convert", (dir_ / "none.stg").string(), (dir_ / "x.cdf").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(fs::exists(dir_ / "x.cdf"));
}

TEST_F(AndiCliTest, InfoNamesTheReasonAndThePeaksLeftOut) {
    const fs::path bad = dir_.Write("bad.cdf", "not netCDF at all");
    auto r = RunProgram("talvex-cli", {"info", bad.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.find("talvex-cli: " + bad.string() + ": not a chromatogram file: not a netCDF file"), 0u)
        << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);

    const fs::path unit =
        testing::AndiBuilder::Standard().Text("retention_unit", "Hours").WriteTo(dir_ / "h.cdf");
    r = RunProgram("talvex-cli", {"info", unit.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\"Hours\""), std::string::npos) << r.err;

    const fs::path partial = testing::AndiBuilder::Standard()
                                 .Array("peak_end_time", "peak_number", {90, -9999})
                                 .WriteTo(dir_ / "p.cdf");
    r = RunProgram("talvex-cli", {"info", partial.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("1 peak(s) without a start or end time left out"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("\n1\tМетан\t1.000\t1.000\n"), std::string::npos) << r.out;
    r = RunProgram("talvex-cli", {"info", "--json", partial.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"peaksLeftOut\":1"), std::string::npos) << r.out;
}

} // namespace
} // namespace talvex
